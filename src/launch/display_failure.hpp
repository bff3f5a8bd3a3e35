// What `ravlet` says when it cannot open its window: no display named at all, a Qt
// platform plugin that is not installed, or a display that does not answer. Chosen
// from the environment and what Qt reported on the way, so the user is told the cause
// that is really there and the remedy that fits it.
#pragma once

#include <string>
#include <vector>

namespace ravlet::launch {

// The variables that name the display; empty when unset.
struct DisplayEnvironment {
    std::string display;         // DISPLAY (X11)
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string qtPlatform;      // QT_QPA_PLATFORM
};

// The message (UTF-8, whole lines) when no display is named at all, or "" when one is:
// then Qt is left to try it.
std::string NoDisplayMessage(const DisplayEnvironment& environment);

// The message after Qt gave up opening the window, given the messages Qt logged before
// it. A platform plugin Qt could not find ("Could not find the Qt platform plugin
// "wayland" ...") is named as not installed, with its Debian package where known;
// otherwise the display of the plugin that failed (or, when Qt named none, the first
// display set) is named as unreachable. xvfb-run is suggested for X only.
std::string WindowFailureMessage(const DisplayEnvironment& environment,
                                 const std::vector<std::string>& qtMessages);

}  // namespace ravlet::launch
