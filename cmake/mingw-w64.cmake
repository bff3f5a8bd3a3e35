# Cross build for 64-bit Windows with Debian's MinGW-w64, tests run under wine.
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64.cmake -DRAVLET_WINDOWS_PREFIX=<prefix>
# The posix-threads compilers: the win32-threads ones of GCC 12 have no std::mutex.
# RAVLET_WINDOWS_PREFIX holds what the build needs of other projects (GoogleTest built
# with this toolchain); the host's /usr/include never enters.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(RAVLET_WINDOWS_PREFIX "" CACHE PATH "Prefix of the Windows build of GoogleTest")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${RAVLET_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Linked statically, so an .exe needs nothing beyond the system's own DLLs (the MinGW
# runtime DLLs are not on a Windows machine, nor on wine's path).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test executables (gtest_discover_tests, ctest) run through wine.
find_program(RAVLET_WINE NAMES wine wine64)
if(RAVLET_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${RAVLET_WINE}")
endif()
