// The messages of a window that cannot open, and which of them fits.
#include "launch/display_failure.hpp"

#include <string_view>

namespace ravlet::launch {
namespace {

constexpr std::string_view kMissingPlugin = "Could not find the Qt platform plugin \"";
constexpr std::string_view kFailedPlugin = "Could not load the Qt platform plugin \"";

constexpr const char* kXAdvice =
    "Запустите его на виртуальном дисплее X:  xvfb-run -a ravlet\n"
    "(или используйте ravlet-cli, которому дисплей не нужен).\n";
constexpr const char* kCliAdvice = "Командной строке ravlet-cli дисплей не нужен.\n";

// The plugin names Qt put in quotes after `prefix`, in the order it tried them.
std::vector<std::string> PluginsAfter(const std::vector<std::string>& messages,
                                      std::string_view prefix) {
    std::vector<std::string> names;
    for (const std::string& message : messages) {
        const std::size_t at = message.find(prefix);
        if (at == std::string::npos) continue;
        const std::size_t start = at + prefix.size();
        const std::size_t end = message.find('"', start);
        if (end != std::string::npos) names.push_back(message.substr(start, end - start));
    }
    return names;
}

std::string Quoted(const std::string& name) { return "«" + name + "»"; }

std::string MissingPlugins(const DisplayEnvironment& environment,
                           const std::vector<std::string>& plugins) {
    std::string names;
    bool wayland = false;
    for (const std::string& plugin : plugins) {
        if (!names.empty()) names += ", ";
        names += Quoted(plugin);
        wayland = wayland || plugin == "wayland" || plugin.rfind("wayland-", 0) == 0;
    }
    std::string text =
        "ravlet: не установлен модуль Qt для платформы " + names + ", окно открыть нельзя.\n";
    if (wayland) {
        text += "Модуль Wayland для Qt 6 — в пакете qt6-wayland: sudo apt install qt6-wayland\n";
        if (!environment.display.empty())
            text += "(или откройте окно через XWayland:  QT_QPA_PLATFORM=xcb ravlet).\n";
    }
    return text + kCliAdvice;
}

std::string Unreachable(const std::string& display, bool x) {
    return "ravlet: дисплей " + display + " недоступен, окно открыть нельзя.\n" +
           (x ? kXAdvice : kCliAdvice);
}

}  // namespace

std::string NoDisplayMessage(const DisplayEnvironment& environment) {
    if (!environment.display.empty() || !environment.waylandDisplay.empty() ||
        !environment.qtPlatform.empty())
        return "";
    return std::string(
               "ravlet: нет дисплея (не заданы ни DISPLAY, ни WAYLAND_DISPLAY), окно открыть "
               "нельзя.\n") +
           kXAdvice;
}

std::string WindowFailureMessage(const DisplayEnvironment& environment,
                                 const std::vector<std::string>& qtMessages) {
    const std::vector<std::string> missing = PluginsAfter(qtMessages, kMissingPlugin);
    if (!missing.empty()) return MissingPlugins(environment, missing);

    const std::vector<std::string> failed = PluginsAfter(qtMessages, kFailedPlugin);
    const std::string plugin = failed.empty() ? "" : failed.back();
    if (plugin == "xcb" && !environment.display.empty())
        return Unreachable(Quoted(environment.display), true);
    if (plugin.rfind("wayland", 0) == 0 && !environment.waylandDisplay.empty())
        return Unreachable(Quoted(environment.waylandDisplay), false);
    if (!environment.display.empty()) return Unreachable(Quoted(environment.display), true);
    if (!environment.waylandDisplay.empty())
        return Unreachable(Quoted(environment.waylandDisplay), false);
    return Unreachable(Quoted("QT_QPA_PLATFORM=" + environment.qtPlatform), false);
}

}  // namespace ravlet::launch
