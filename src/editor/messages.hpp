// The program's own texts shown outside the window layout (UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace ravlet::messages {

inline constexpr const char* kBaseNotFound = "Не найдена база версий rvbase.txt!";
inline constexpr const char* kVersionNotRecognised = "Не удалось распознать версию tarven.ini!";
inline constexpr const char* kSaved = "Файл настроек сохранен!";
inline constexpr const char* kOpenTitle = "Открыть tarven.ini";
inline constexpr const char* kOpenOldTitle = "Открыть tarven.ini старой версии";
inline constexpr const char* kFilter = "Файл настройки|*.ini|Текстовый файл|*.txt|Все файлы|*.*";
inline constexpr const char* kDefaultIniName = "tarven.ini";
inline constexpr const char* kBaseName = "rvbase.txt";
// Below the hint of a parameter whose key the settings file lacks.
inline constexpr const char* kNotInSettingsFile = "нет в файле настроек, значение не будет записано";
inline constexpr const char* kChangedOnDisk =
    "Файл настроек изменён другой программой после загрузки. Перезаписать?";

// The sign next to the value field when a typed or pasted character is refused.
inline std::string RefusedCharacter(std::string_view shown) {
    return "Символ «" + std::string(shown) + "» нельзя записать в файл настроек";
}

}  // namespace ravlet::messages
