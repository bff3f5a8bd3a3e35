#include "launch/display_failure.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ravlet::launch::DisplayEnvironment;

const std::string kX =
    "Запустите его на виртуальном дисплее X:  xvfb-run -a ravlet\n"
    "(или используйте ravlet-cli, которому дисплей не нужен).\n";
const std::string kCli = "Командной строке ravlet-cli дисплей не нужен.\n";
const std::string kNoWayland =
    "ravlet: не установлен модуль Qt для платформы «wayland», окно открыть нельзя.\n"
    "Модуль Wayland для Qt 6 — в пакете qt6-wayland: sudo apt install qt6-wayland\n";

std::string Missing(const char* plugin) {
    return std::string("Could not find the Qt platform plugin \"") + plugin + "\" in \"\"";
}
std::string Failed(const char* plugin) {
    return std::string("Could not load the Qt platform plugin \"") + plugin +
           "\" in \"\" even though it was found.";
}

struct Case {
    const char* name;
    DisplayEnvironment environment;
    std::vector<std::string> logged;  // what Qt logged before it gave up
    std::string said;
};

const Case kCases[] = {
    {"WaylandPluginMissing", {"", "wayland-0", ""}, {Missing("wayland")}, kNoWayland + kCli},
    {"WaylandPluginMissingWithXWayland",
     {":0", "wayland-0", ""},
     {Missing("wayland"), Failed("xcb")},
     kNoWayland + "(или откройте окно через XWayland:  QT_QPA_PLATFORM=xcb ravlet).\n" + kCli},
    {"OtherPluginMissing",
     {"", "", "vnc"},
     {Missing("vnc")},
     "ravlet: не установлен модуль Qt для платформы «vnc», окно открыть нельзя.\n" + kCli},
    {"XServerGone",
     {":9999", "", ""},
     {"qt.qpa.xcb: could not connect to display :9999", Failed("xcb")},
     "ravlet: дисплей «:9999» недоступен, окно открыть нельзя.\n" + kX},
    {"WaylandSocketGoneIsNoXMatter",
     {":0", "wayland-9", "wayland"},
     {"Failed to create wl_display (No such file or directory)", Failed("wayland")},
     "ravlet: дисплей «wayland-9» недоступен, окно открыть нельзя.\n" + kCli},
    {"NothingNamedByQt",
     {"", "", "eglfs"},
     {},
     "ravlet: дисплей «QT_QPA_PLATFORM=eglfs» недоступен, окно открыть нельзя.\n" + kCli},
};

TEST(WindowFailureMessage, NamesTheCauseQtReported) {
    for (const Case& c : kCases) {
        EXPECT_EQ(ravlet::launch::WindowFailureMessage(c.environment, c.logged), c.said) << c.name;
    }
}

TEST(NoDisplayMessage, OnlyWhenNothingNamesADisplay) {
    EXPECT_EQ(ravlet::launch::NoDisplayMessage({}),
              "ravlet: нет дисплея (не заданы ни DISPLAY, ни WAYLAND_DISPLAY), окно открыть "
              "нельзя.\n" +
                  kX);
    for (const DisplayEnvironment& named :
         {DisplayEnvironment{":0", "", ""}, DisplayEnvironment{"", "wayland-0", ""},
          DisplayEnvironment{"", "", "offscreen"}}) {
        EXPECT_EQ(ravlet::launch::NoDisplayMessage(named), "");
    }
}

}  // namespace
