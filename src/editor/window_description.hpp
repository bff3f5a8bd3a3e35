// The window's components as any toolkit builds them: kind, container, place and size
// in twips, tab index, caption, tooltip and font. Texts are UTF-8.
#pragma once

namespace ravlet::window {

inline constexpr const char* kCaption = "Настройщик Tarven Pimlow (Ravlet v1.1)";
// The client area, in twips.
inline constexpr int kClientWidth = 5175;
inline constexpr int kClientHeight = 4935;
// The credit label's one line.
inline constexpr const char* kCredit = "© 2026 the Ravlet authors";
// Twips per pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixelAt96 = 15;

enum class Kind {
    Frame,
    PushButton,
    CheckBox,
    DropDownList,
    EditableDropDown,
    ListBox,
    TextBox,
    Label
};
// Dialog: the window's small sans-serif font; List: "Courier New" 8.25 pt, Cyrillic;
// Credit: "Times New Roman" 12 pt bold italic, Cyrillic, teal (0, 128, 128).
enum class Font { Dialog, List, Credit };

struct Component {
    const char* name;
    Kind kind;
    const char* container;  // "Form1" or a frame's name
    int left, top, width, height;
    int tabIndex;  // the frames and the label never take the focus
    const char* caption;
    const char* toolTip;  // "" for none
    Font font;
};

// In the order of creation, which is also the stacking order.
inline constexpr Component kComponents[] = {
    {"Save", Kind::PushButton, "Form1", 2880, 4440, 2175, 400, 7, "Save and Exit",
     "Запись измененного ini файла и выход", Font::Dialog},
    {"Frame2", Kind::Frame, "Form1", 120, 120, 4935, 1215, 4, "Версия tarven.ini", "",
     Font::Dialog},
    {"Loadini", Kind::PushButton, "Frame2", 3960, 680, 855, 400, 12, "Load",
     "Загрузить файл ini для настройки", Font::Dialog},
    {"Autoset", Kind::CheckBox, "Frame2", 120, 600, 2775, 255, 11, "Заполнить значениями из базы",
     "Разрешить перенос параметров из текущей записи версии в редактируемый ini файл",
     Font::Dialog},
    {"Autoupdate", Kind::PushButton, "Frame2", 3000, 680, 855, 400, 10, "Auto",
     "Перенос настроек из старой версии эмулятора в новую", Font::Dialog},
    {"Advanced", Kind::CheckBox, "Frame2", 120, 840, 3015, 255, 6, "Полный список параметров",
     "Разрешить отображение полного списка доступных для изменения параметров", Font::Dialog},
    {"Version", Kind::DropDownList, "Frame2", 120, 240, 4695, 330, 5, "",
     "Выбор записи версии эмулятора из базы версий", Font::List},
    {"Frame1", Kind::Frame, "Form1", 120, 1440, 4935, 2895, 0, "Насторйка параметров", "",
     Font::Dialog},
    {"Description", Kind::TextBox, "Frame1", 120, 2050, 4695, 720, 9, "", "Поле подсказки",
     Font::List},
    {"Parameters", Kind::ListBox, "Frame1", 120, 645, 4695, 900, 3, "",
     "Список доступных параметров в выбранной группе", Font::List},
    {"Value", Kind::EditableDropDown, "Frame1", 120, 1640, 4695, 330, 2, "",
     "Поле изменения значения параметра", Font::List},
    {"Group", Kind::DropDownList, "Frame1", 120, 240, 4695, 330, 1, "",
     "Список доступных групп параметров", Font::List},
    {"Label1", Kind::Label, "Form1", 120, 4485, 2220, 285, 8, kCredit, "Автор программы",
     Font::Credit},
};

}  // namespace ravlet::window
