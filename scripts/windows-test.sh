#!/usr/bin/env bash
# The Windows build, checked on Linux: cross-builds the core, ravlet-cli.exe, the window
# ravlet.exe and the test suites with MinGW-w64 in build-windows/ and runs every suite
# under wine, in a WINEPREFIX of its own (build-windows/wine) whose graphics driver is
# wine's null driver: the window's tests need no display. Installs what is missing
# (Debian packages, as root).
#   bash scripts/windows-test.sh [--build-only]
# RAVLET_JOBS sets the parallel jobs (2), RAVLET_WERROR=ON makes warnings errors (CI).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
build="$root/build-windows"
prefix="$build/prefix"
jobs="${RAVLET_JOBS:-2}"

bash scripts/install-deps.sh cmake g++-mingw-w64-x86-64 wine64 wine googletest

toolchain="$root/cmake/mingw-w64.cmake"

# GoogleTest built with the same toolchain, so that nothing of the host's /usr/include
# enters the Windows build.
if [[ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]]; then
  cmake -S /usr/src/googletest -B "$build/googletest" --toolchain "$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$build/googletest" --parallel "$jobs" >/dev/null
  cmake --install "$build/googletest" >/dev/null
fi

cmake -S . -B "$build/ravlet" --toolchain "$toolchain" -DRAVLET_WINDOWS_PREFIX="$prefix" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVLET_BUILD_GUI=OFF -DRAVLET_BUILD_TESTS=ON \
  -DRAVLET_WERROR="${RAVLET_WERROR:-OFF}" >/dev/null
cmake --build "$build/ravlet" --parallel "$jobs"

# Each program is one file that starts on Windows 7 SP1 and later: it may import only
# functions of Windows' own DLLs that Windows 7 has.
bash scripts/windows-imports.sh "$build/ravlet/src/win32/ravlet.exe" "$build/ravlet/src/cli/ravlet-cli.exe"
if [[ ${1:-} == --build-only ]]; then exit 0; fi

# A private, quiet wine: its own prefix, no debug channels, no desktop integration.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
# Windows without a display: the null driver keeps them in memory, where the tests read them.
if ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wineserver -w
fi
# One server for the whole run: test processes started side by side would otherwise
# race to start one each time the last process of the previous test has left.
wineserver -p
# The first program of a fresh prefix takes wine many seconds to start; not inside a test.
wine "$build/ravlet/src/cli/ravlet-cli.exe" --version >/dev/null
status=0
ctest --test-dir "$build/ravlet" --output-on-failure --parallel "$jobs" || status=$?
wineserver -k 2>/dev/null || true
exit "$status"
