// The window's components as any toolkit builds them: kind, container, place and size
// in twips, tab index, caption, tooltip, font, colour, the editor control each one
// shows and the name a screen reader speaks. Texts are UTF-8. Each window builds
// itself from this table in one loop; neither spells a place, text or font again.
#pragma once

#include <cstddef>
#include <string_view>

#ifndef RAVLET_CAPTION_VERSION
#error "RAVLET_CAPTION_VERSION (major.minor of the project) is set by the editor's target"
#endif

namespace ravlet::window {

inline constexpr const char* kCaption =
    "Настройщик Tarven Pimlow (Ravlet v" RAVLET_CAPTION_VERSION ")";
// The client area, in twips.
inline constexpr int kClientWidth = 5175;
inline constexpr int kClientHeight = 4935;
// The credit label's one line.
inline constexpr const char* kCredit = "© 2026 the Ravlet authors";
// Twips per pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixelAt96 = 15;
// Twips per inch.
inline constexpr int kTwipsPerInch = 1440;

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

// A font as data. An empty family is the toolkit's dialog font (the small sans-serif
// the fixed layout was drawn for, `kDialogFont`).
struct Font {
    const char* family;
    double pointSize;
    bool bold;
    bool italic;
    int charset;  // Windows character set number; 0 for the system's default
};

inline constexpr int kCyrillicCharset = 204;
// The dialog font: Tahoma 8 pt, or its metric twin where Tahoma is missing.
inline constexpr Font kDialogFont{"Tahoma", 8, false, false, 0};
inline constexpr Font kListFont{"Courier New", 8.25, false, false, kCyrillicCharset};
inline constexpr Font kCreditFont{"Times New Roman", 12, true, true, kCyrillicCharset};

// A text colour; `system` for the system's own.
struct Colour {
    bool system;
    int red, green, blue;
};
inline constexpr Colour kSystemColour{true, 0, 0, 0};

struct Component {
    const char* name;
    Kind kind;
    const char* container;  // "Form1" or a frame's name
    int left, top, width, height;
    int tabIndex;  // the frames and the label never take the focus
    const char* caption;
    const char* toolTip;  // "" for none; also what a screen reader gives as the description
    Font font;
    Colour colour;
    // The editor's control the component shows and takes the user's actions for
    // (Editor::ControlNamed); "" for the frames and the label.
    const char* control;
    // What a screen reader speaks as the component's name: short, Russian.
    const char* accessibleName;
};

// In the order of creation, which is also the stacking order, except that a push
// button is drawn above whatever it touches (DrawnOnTop).
inline constexpr Component kComponents[] = {
    {"Save", Kind::PushButton, "Form1", 2880, 4440, 2175, 400, 7, "Save and Exit",
     "Запись измененного ini файла и выход", kDialogFont, kSystemColour, "Save",
     "Сохранить и выйти"},
    {"Frame2", Kind::Frame, "Form1", 120, 120, 4935, 1215, 4, "Версия tarven.ini", "", kDialogFont,
     kSystemColour, "", "Версия tarven.ini"},
    {"Loadini", Kind::PushButton, "Frame2", 3960, 680, 855, 400, 12, "Load",
     "Загрузить файл ini для настройки", kDialogFont, kSystemColour, "Loadini", "Загрузить"},
    {"Autoset", Kind::CheckBox, "Frame2", 120, 600, 2775, 255, 11, "Заполнить значениями из базы",
     "Разрешить перенос параметров из текущей записи версии в редактируемый ini файл", kDialogFont,
     kSystemColour, "Autoset", "Заполнить значениями из базы"},
    {"Autoupdate", Kind::PushButton, "Frame2", 3000, 680, 855, 400, 10, "Auto",
     "Перенос настроек из старой версии эмулятора в новую", kDialogFont, kSystemColour,
     "Autoupdate", "Перенести из старой версии"},
    {"Advanced", Kind::CheckBox, "Frame2", 120, 840, 3015, 255, 6, "Полный список параметров",
     "Разрешить отображение полного списка доступных для изменения параметров", kDialogFont,
     kSystemColour, "Advanced", "Полный список параметров"},
    {"Version", Kind::DropDownList, "Frame2", 120, 240, 4695, 330, 5, "",
     "Выбор записи версии эмулятора из базы версий", kListFont, kSystemColour, "Version", "Версия"},
    {"Frame1", Kind::Frame, "Form1", 120, 1440, 4935, 2895, 0, "Насторйка параметров", "",
     kDialogFont, kSystemColour, "", "Настройка параметров"},
    {"Description", Kind::TextBox, "Frame1", 120, 2050, 4695, 720, 9, "", "Поле подсказки",
     kListFont, kSystemColour, "Description", "Подсказка"},
    {"Parameters", Kind::ListBox, "Frame1", 120, 645, 4695, 900, 3, "",
     "Список доступных параметров в выбранной группе", kListFont, kSystemColour, "Parameters",
     "Параметры"},
    {"Value", Kind::EditableDropDown, "Frame1", 120, 1640, 4695, 330, 2, "",
     "Поле изменения значения параметра", kListFont, kSystemColour, "Value", "Значение"},
    {"Group", Kind::DropDownList, "Frame1", 120, 240, 4695, 330, 1, "",
     "Список доступных групп параметров", kListFont, kSystemColour, "Group", "Группа"},
    {"Label1", Kind::Label, "Form1", 120, 4485, 2220, 285, 8, kCredit, "Автор программы",
     kCreditFont, Colour{false, 0, 128, 128}, "", "Автор"},
};

inline constexpr std::size_t kComponentCount = std::size(kComponents);

// Whether the component takes the keyboard focus: the frames and the label never do.
constexpr bool TakesFocus(Kind kind) { return kind != Kind::Frame && kind != Kind::Label; }

// A push button is drawn above a sibling it overlaps (Auto and the full-list box share
// a corner in the fixed layout): the button must stay whole and clickable.
constexpr bool DrawnOnTop(Kind kind) { return kind == Kind::PushButton; }

// The index of the component `name` in kComponents; kComponentCount for none.
constexpr std::size_t IndexOf(std::string_view name) {
    for (std::size_t i = 0; i < kComponentCount; ++i) {
        if (name == kComponents[i].name) return i;
    }
    return kComponentCount;
}

// Twips as pixels at `dpi` dots per inch, rounded to the nearest (halves away from zero).
constexpr int Pixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + kTwipsPerInch / 2) / kTwipsPerInch);
}

// The indexes of the components that take the focus, in ascending tab index.
template <typename F>
void ForEachInTabOrder(F f) {
    for (int tab = 0; tab <= static_cast<int>(kComponentCount); ++tab) {
        for (std::size_t i = 0; i < kComponentCount; ++i) {
            if (kComponents[i].tabIndex == tab && TakesFocus(kComponents[i].kind)) f(i);
        }
    }
}

}  // namespace ravlet::window
