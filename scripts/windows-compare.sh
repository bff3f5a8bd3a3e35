#!/usr/bin/env bash
# ravlet-cli of the Linux build against ravlet-cli.exe of the Windows build under wine:
# the same commands (the README's examples, a Cyrillic file name, Cyrillic arguments)
# over two copies of examples/ must give byte-identical stdout, stderr, exit status
# and files. Builds what is missing (build-compare-linux/, build-windows/).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"
jobs="${RAVLET_JOBS:-2}"

linux_build="$root/build-compare-linux"
cmake -S . -B "$linux_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVLET_BUILD_GUI=OFF -DRAVLET_BUILD_TESTS=OFF \
  -DRAVLET_WERROR="${RAVLET_WERROR:-OFF}" >/dev/null
cmake --build "$linux_build" --target ravlet-cli --parallel "$jobs" >/dev/null
bash scripts/windows-test.sh --build-only >/dev/null
linux_cli="$linux_build/src/cli/ravlet-cli"
windows_cli="$root/build-windows/ravlet/src/cli/ravlet-cli.exe"

# Both read their arguments as UTF-8: Linux from the locale, wine to make UTF-16 of them.
export LC_ALL=C.UTF-8
export WINEPREFIX="$root/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
wineserver -p  # one server for all the runs
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

work="$(mktemp -d)"
for side in linux windows; do
  mkdir -p "$work/$side"
  cp -r examples/. "$work/$side/"
  cp examples/tarven.ini "$work/$side/настройки.ini"
done
mkdir -p "$work/out"

passed=0
failed=0
# Runs one command on both sides and compares what each printed, returned and left.
same() {
  local status=0
  (cd "$work/linux" && "$linux_cli" "$@") >"$work/out/linux.out" 2>"$work/out/linux.err" || status=$?
  echo "$status" >"$work/out/linux.status"
  status=0
  (cd "$work/windows" && wine "$windows_cli" "$@") >"$work/out/windows.out" 2>"$work/out/windows.err" || status=$?
  echo "$status" >"$work/out/windows.status"

  local what=()
  for part in out err status; do
    cmp -s "$work/out/linux.$part" "$work/out/windows.$part" || what+=("$part")
  done
  diff -r "$work/linux" "$work/windows" >/dev/null || what+=("files")
  if ((${#what[@]} == 0)); then
    passed=$((passed + 1))
    echo "same (status $(cat "$work/out/linux.status")): ravlet-cli $*"
  else
    failed=$((failed + 1))
    echo "DIFFERENT ${what[*]}: ravlet-cli $*"
    for part in out err status; do
      if ! cmp -s "$work/out/linux.$part" "$work/out/windows.$part"; then
        echo "  linux $part:";   od -c "$work/out/linux.$part" | head -8 | sed 's/^/    /'
        echo "  windows $part:"; od -c "$work/out/windows.$part" | head -8 | sed 's/^/    /'
      fi
    done
    diff -r "$work/linux" "$work/windows" | head -5 | sed 's/^/  /' || true
    # The next command starts from equal files again.
    rm -rf "$work/windows" && cp -r "$work/linux" "$work/windows"
  fi
}

# The README's examples.
same versions
same detect tarven.ini
same values 2.0 '[Video]' Scale tarven.ini
same transfer old/tarven.ini tarven.ini --dry-run
same check tarven.ini
same changed old/tarven.ini
same diff old/tarven.ini tarven.ini
same defaults tarven.ini --dry-run
same set tarven.ini '[Video]' Scale 4
same get tarven.ini Scale --group '[Video]'
same transfer old/tarven.ini tarven.ini
# A Cyrillic file name: read, changed as itself, printed.
same detect настройки.ini
same values 2.0 '[Video]' Scale настройки.ini
same set настройки.ini '[Sound]' Volume 75
same transfer old/tarven.ini настройки.ini --dry-run
same get настройки.ini Volume
# Cyrillic arguments: stored as Windows-1251, printed as UTF-8; outside the code page refused.
same set tarven.ini '[Input]' Layout ЙЦУКЕН
same values 2.0 '[Input]' Layout tarven.ini
same get tarven.ini Layout
same set настройки.ini '[Input]' Layout 'ЁЖИК ёжик'
same set tarven.ini '[Input]' Layout '日本'
same set tarven.ini '[Ввод]' Layout x
# Failures with their messages.
same detect нет-такого.ini
same params 2.0 Video
same --base /нет/rvbase.txt versions

echo "windows-compare: $passed passed, $failed failed"
((failed == 0))
