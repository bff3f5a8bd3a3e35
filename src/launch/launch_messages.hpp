// The texts the window programs print before there is a window (UTF-8): no display to
// open it on, no folder to work in. Only the two mains show them.
#pragma once

#include <string>
#include <string_view>

namespace ravlet::launch {

// Printed when the window is started without any display to open it on, followed by
// kDisplayAdvice.
inline constexpr const char* kNoDisplay =
    "ravlet: нет дисплея (не заданы ни DISPLAY, ни WAYLAND_DISPLAY), окно открыть нельзя.\n";
// Printed when the display named is set but cannot be opened (no server there, no
// access), followed by kDisplayAdvice.
inline std::string DisplayUnreachable(std::string_view display) {
    return "ravlet: дисплей " + std::string(display) + " недоступен, окно открыть нельзя.\n";
}
inline constexpr const char* kDisplayAdvice =
    "Запустите его на виртуальном дисплее X:  xvfb-run -a ravlet\n"
    "(или используйте ravlet-cli, которому дисплей не нужен).\n";
// Followed by the folder's path.
inline constexpr const char* kNoFolder = "ravlet: не удалось перейти в папку ";

}  // namespace ravlet::launch
