// <windows.h> for the window's files: it defines a macro Yield(), left over from 16-bit
// Windows, that would erase the editor's own Yield.
#pragma once

#include <windows.h>

#undef Yield
