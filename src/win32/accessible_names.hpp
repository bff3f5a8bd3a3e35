// What a screen reader gets for the window's controls through the system's
// accessibility interface (MSAA, and UI Automation over it): the control's own object,
// with the short Russian name and the description (its tooltip) of the window
// description, and for the hint box the action that shows the whole settings text.
#pragma once

#include "win32/system.hpp"

#include <functional>

#include "editor/window_description.hpp"

namespace ravlet::win32 {

// The answer to WM_GETOBJECT for `hwnd`, the control (or the value field's edit) of
// `component`: for its client object the system's standard object with the component's
// name and description, and `defaultAction` (when set) as its default action. 0 for
// any other object, or where the system lacks the accessibility library: the
// control's window procedure answers then.
LRESULT AccessibleObject(HWND hwnd, WPARAM wParam, LPARAM lParam,
                         const window::Component& component,
                         const std::function<void()>& defaultAction);

}  // namespace ravlet::win32
