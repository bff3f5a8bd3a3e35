// The texts the window programs print before there is a window (UTF-8) that are not about
// the display (display_failure.hpp): no folder to work in. Only the two mains show them.
#pragma once

#include <string>
#include <string_view>

namespace ravlet::launch {

// Followed by the folder's path.
inline constexpr const char* kNoFolder = "ravlet: не удалось перейти в папку ";

}  // namespace ravlet::launch
