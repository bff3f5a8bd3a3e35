// The DPI the window is laid out for, on every Windows from 7 on. The per-monitor
// functions came later (Windows 8.1, Windows 10 1607); they are looked up when first
// asked for, so that ravlet.exe imports none of them and still starts where they are
// missing.
#pragma once

#include "win32/system.hpp"

namespace ravlet::win32 {

// The DPI of the monitor the window is on: GetDpiForWindow (Windows 10 1607), else
// GetDpiForMonitor (Windows 8.1), else the system DPI, which Windows 7 and 8 give
// every window.
UINT WindowDpi(HWND window);

// The DPI every window has on Windows 7 and 8: the screen's logical pixels per inch.
// 96 when even that cannot be read.
UINT SystemDpi();

// AdjustWindowRectEx for a window at `dpi`: AdjustWindowRectExForDpi where the system
// has it; else AdjustWindowRectEx, whose frame is the system DPI's, as every window's
// frame is on a system without the per-monitor function.
BOOL AdjustWindowRectForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);

}  // namespace ravlet::win32
