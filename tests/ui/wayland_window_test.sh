#!/usr/bin/env bash
# The window on a Wayland desktop: ravlet, started on a headless weston in a copy of the
# examples, opens its toplevel with the caption and the desktop entry's name (the app_id
# the compositor finds the name and icon by), draws into it and keeps running. Read from
# the client's side of the protocol (WAYLAND_DEBUG). Skipped (77) without weston or Qt's
# Wayland plugin.
#   wayland_window_test.sh RAVLET EXAMPLES QT_PLATFORM_PLUGINS_DIR
set -euo pipefail
app=$1 examples=$2 plugins=$3

command -v weston >/dev/null || { echo "skipped: weston is not installed"; exit 77; }
compgen -G "$plugins/libqwayland-*.so" >/dev/null ||
  { echo "skipped: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }

scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$scratch/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cp -r "$examples" "$scratch/examples"

# Waits up to 30 s for a command to succeed.
await() {
  for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
  return 1
}

weston --backend=headless-backend.so --shell=kiosk-shell.so --socket=ravlet-test --idle-time=0 \
  >"$scratch/weston.log" 2>&1 &
pids+=($!)
await test -S "$XDG_RUNTIME_DIR/ravlet-test" || { cat "$scratch/weston.log"; exit 1; }

(cd "$scratch/examples" &&
  exec env -u DISPLAY WAYLAND_DISPLAY=ravlet-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
    "$app" >"$scratch/out.log" 2>"$scratch/protocol.log") &
pids+=($!)
ravlet=$!

fail() { echo "FAIL: $*"; grep -v '^\[' "$scratch/protocol.log" || true; exit 1; }
# A buffer attached after the toplevel was made: the window drew itself.
drawn() { sed -n '/xdg_toplevel@[0-9]*\.set_app_id/,$p' "$scratch/protocol.log" | grep -q 'wl_surface@[0-9]*\.attach(wl_buffer'; }
await drawn || fail "the window drew nothing on the compositor"
kill -0 "$ravlet" 2>/dev/null || fail "ravlet ended"
grep -qF 'set_app_id("ravlet")' "$scratch/protocol.log" || fail "no app_id ravlet"
grep -qF 'set_title("Настройщик Tarven Pimlow (Ravlet v' "$scratch/protocol.log" || fail "no caption"
if grep -q '^ravlet:' "$scratch/protocol.log"; then fail "ravlet complained"; fi
echo "the window opened, named and drawn, on a headless weston"
