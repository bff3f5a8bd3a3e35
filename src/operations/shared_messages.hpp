// The texts both front ends show, the window and ravlet-cli (UTF-8): each once. Their
// own texts stay with them (editor/messages.hpp, src/cli).
#pragma once

#include <string>

#include "operations/transfer.hpp"
#include "textengine/codepage.hpp"

namespace ravlet {

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
    return "Перенос остановлен: значение с управляющим символом нельзя записать в файл "
           "настроек:\n" +
           Cp1251ToUtf8(stop.line);
}

}  // namespace ravlet
