// The texts both front ends show, the window and ravlet-cli (UTF-8): each once. Their
// own texts stay with them (editor/messages.hpp, src/cli).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "operations/transfer.hpp"
#include "textengine/codepage.hpp"
#include "textengine/file_reason.hpp"
#include "textengine/value_rule.hpp"

namespace ravlet {

// The version base and the settings file, as both front ends name them.
inline constexpr const char* kBaseFileName = "rvbase.txt";
inline constexpr const char* kSettingsFileName = "tarven.ini";

// An action stopped by a failure no handler foresaw, and its cause (kNoMemory for too
// little memory; none when nothing says more).
inline std::string UnforeseenFailure(std::string_view cause) {
    std::string text = "Действие не выполнено из-за непредвиденной ошибки";
    if (!cause.empty()) text += ":\n" + std::string(cause);
    return text;
}

// A program argument (on Windows, UTF-16) that holds a lone surrogate: no UTF-8 holds
// it, and a guess would name another file. `index` counts from the program's name, 0.
inline std::string ArgumentNotUnicode(int index) {
    return "аргумент " + std::to_string(index) + " не является текстом Юникода";
}

// A settings file that no support list names.
inline constexpr const char* kVersionNotRecognised = "Не удалось распознать версию tarven.ini!";

// Why the transfer stopped, with the line it stopped at.
inline std::string TransferStopMessage(const TransferStop& stop) {
    switch (stop.kind) {
        case TransferStop::Kind::NoDescriptions:
            return "В базе версий нет раздела [DESCRIPTIONS]: переносить нечего.";
        case TransferStop::Kind::LineWithoutColon:
            return "Перенос остановлен: в строке описаний нет \":\":\n" + Cp1251ToUtf8(stop.line);
        case TransferStop::Kind::ValueRefused:
            break;
    }
    // The line is "[group]name=value"; the value rule names what it refuses in the value.
    const std::string_view line = stop.line;
    const std::size_t equals = line.find('=');
    const std::optional<RefusedCharacter> refused =
        FirstRefused(equals == std::string_view::npos ? line : line.substr(equals + 1));
    return "Перенос остановлен: " +
           (refused ? RefusedCharacterMessage(*refused)
                    : std::string("значение нельзя записать в файл настроек")) +
           ":\n" + Cp1251ToUtf8(stop.line);
}

}  // namespace ravlet
