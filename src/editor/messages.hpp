// The program's own texts shown outside the window layout (UTF-8).
#pragma once

namespace ravlet::messages {

inline constexpr const char* kBaseNotFound = "Не найдена база версий rvbase.txt!";
inline constexpr const char* kVersionNotRecognised = "Не удалось распознать версию tarven.ini!";
inline constexpr const char* kSaved = "Файл настроек сохранен!";
inline constexpr const char* kOpenTitle = "Открыть tarven.ini";
inline constexpr const char* kOpenOldTitle = "Открыть tarven.ini старой версии";
inline constexpr const char* kFilter = "Файл настройки|*.ini|Текстовый файл|*.txt|Все файлы|*.*";
inline constexpr const char* kDefaultIniName = "tarven.ini";
inline constexpr const char* kBaseName = "rvbase.txt";

}  // namespace ravlet::messages
