// The window's own texts shown to the user outside the window layout (UTF-8): each
// fixed text once, and one helper for each text built around a value. The texts
// ravlet-cli shows as well are in operations/shared_messages.hpp.
#pragma once

#include <string>
#include <string_view>

namespace ravlet::messages {

// The title of every message box and question.
inline constexpr const char* kProgramTitle = "Ravlet";

inline constexpr const char* kBaseNotFound = "Не найдена база версий rvbase.txt!";
inline constexpr const char* kSaved = "Файл настроек сохранен!";
inline constexpr const char* kOpenTitle = "Открыть tarven.ini";
inline constexpr const char* kOpenOldTitle = "Открыть tarven.ini старой версии";
// The open dialog's file types, in the order offered.
struct FilterText {
    const char* description;
    const char* pattern;
};
inline constexpr FilterText kFilter[] = {
    {"Файл настройки", "*.ini"}, {"Текстовый файл", "*.txt"}, {"Все файлы", "*.*"}};
// Below the hint of a parameter whose key the settings file lacks. One line of the hint
// box, so that it shows whole below a hint of two.
inline constexpr const char* kNotInSettingsFile = "нет в файле настроек, не будет записано";
inline constexpr const char* kChangedOnDisk =
    "Файл настроек изменён другой программой после загрузки. Перезаписать?";
inline constexpr const char* kDeletedOnDisk =
    "Файл настроек удалён другой программой после загрузки. Сохранить его заново?";

// Asked once a load or a save has waited about a second for another program's lock on
// `path` (`byRavlet`: another Ravlet's in-place save); the wait ends by itself after
// `seconds`.
inline std::string FileHeld(std::string_view path, long long seconds, bool byRavlet = false) {
    return "Файл " + std::string(path) +
           (byRavlet ? " занят другим сохранением Ravlet.\nПодождать, пока оно закончится"
                     : " занят другой программой.\nПодождать, пока она его освободит") +
           " (не дольше " + std::to_string(seconds) +
           " с)?\n«Нет» прекращает ожидание; файл и правки в окне останутся как были.";
}

// What a screen reader calls the hint box's action that shows the whole settings text.
inline constexpr const char* kShowWholeText = "Показать весь файл настроек";

// What a failed file operation was trying to do, for FileFailed.
inline constexpr const char* kLoadSettingsFile = "загрузить файл настроек";
inline constexpr const char* kLoadOldSettingsFile = "загрузить старый файл настроек";
inline constexpr const char* kSaveSettingsFile = "сохранить файл настроек";

// A file operation that failed: what it was trying to do, on which file, and why.
inline std::string FileFailed(std::string_view attempt, std::string_view path,
                              std::string_view reason) {
    return "Не удалось " + std::string(attempt) + " " + std::string(path) + ":\n" +
           std::string(reason);
}

// Added to a file failure whose file an interrupted save left torn: the window cannot
// put the copy back itself.
inline constexpr const char* kRecoverTorn =
    "\nЗакройте окно и верните прежний текст командой ravlet-cli recover, затем откройте файл "
    "снова.";

}  // namespace ravlet::messages
