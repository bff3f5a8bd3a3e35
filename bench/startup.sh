#!/usr/bin/env bash
# Start-up of the window against an empty Qt window: wall time from launch to the end of
# the first paint (the window on screen) and from launch to exit, of two probes that each
# quit right after their first paint.
#
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]     (defaults: /work/build-bench, 30)
#
# Needs: a build folder configured with -DRAVLET_BUILD_BENCH=ON -DRAVLET_BUILD_GUI=ON
# (Release for figures worth reading) in which ravlet_bench is already built (it writes
# the generated 1 MiB base); Xvfb (Debian package xvfb); python3 is not needed.
# Builds the two probe targets, starts one Xvfb server on display :91 (STARTUP_DISPLAY
# to change it) and stops it at the end, then times RUNS alternating launches of each
# probe, under Xvfb (xcb) and again with QT_QPA_PLATFORM=offscreen: the empty window,
# the empty window with one captioned frame (what the first text costs any Qt window),
# Ravlet in examples/ (the bundled base) and Ravlet in a folder holding the generated
# 1 MiB base. Prints median and p90 per row and the ratio Ravlet / empty; the raw times
# go to BUILD_DIR/startup/.
set -euo pipefail

src="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-/work/build-bench}"
runs="${2:-30}"
display="${STARTUP_DISPLAY:-:91}"
out="$build/startup"
empty="$build/bench/startup_empty_window"
text="$build/bench/startup_text_window"
ravlet="$build/bench/startup_ravlet_window"

command -v Xvfb >/dev/null || { echo "startup.sh: Xvfb not found (apt-get install xvfb)" >&2; exit 1; }
[[ -x "$build/bench/ravlet_bench" ]] || {
    echo "startup.sh: build ravlet_bench first: cmake --build $build -j2 --target ravlet_bench" >&2; exit 1; }
cmake --build "$build" -j2 --target startup_empty_window startup_text_window startup_ravlet_window >/dev/null

mkdir -p "$out/base-1mib"
"$build/bench/ravlet_bench" --write_data="$out/base-1mib"
rm -f "$out"/*.times "$out"/*.paint "$out/probe-stderr.log"

if [[ -e "/tmp/.X${display#:}-lock" ]]; then
    echo "startup.sh: display $display is taken; set STARTUP_DISPLAY to a free one" >&2; exit 1
fi
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [[ -S "/tmp/.X11-unix/X${display#:}" ]] && break; sleep 0.05; done
export DISPLAY="$display"

# One launch, timed by the shell itself (no helper process inside the interval); the
# working directory is set before the clock starts. Appends milliseconds to $out/NAME.times
# (launch to exit) and, as the probe prints it, to $out/NAME.paint (launch to the end of
# the first paint: the window on screen).
launch() {  # NAME PLATFORM DIR BINARY
    cd "$3"
    # Each launch starts on an idle machine: the X server finishes with the previous
    # client after it has gone, and would otherwise slow down whichever probe comes next.
    sleep "${STARTUP_PAUSE:-0.3}"
    local start end
    start=$EPOCHREALTIME
    RAVLET_STARTUP_T0=$start QT_QPA_PLATFORM="$2" "$4" >>"$out/$1.paint" 2>>"$out/probe-stderr.log" ||
        { echo "startup.sh: $1 failed" >&2; exit 1; }
    end=$EPOCHREALTIME
    cd "$src"
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }' >>"$out/$1.times"
}

# name|platform|working directory|probe
rows=(
    "xcb-empty|xcb|$src/examples|$empty"
    "xcb-text|xcb|$src/examples|$text"
    "xcb-ravlet-examples|xcb|$src/examples|$ravlet"
    "xcb-ravlet-1mib|xcb|$out/base-1mib|$ravlet"
    "offscreen-empty|offscreen|$src/examples|$empty"
    "offscreen-text|offscreen|$src/examples|$text"
    "offscreen-ravlet-examples|offscreen|$src/examples|$ravlet"
    "offscreen-ravlet-1mib|offscreen|$out/base-1mib|$ravlet"
)

echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
# Warm-up (page cache, font cache, the server's first client), not counted.
for row in "${rows[@]}"; do
    IFS='|' read -r -a args <<<"$row"
    for _ in 1 2 3; do launch "${args[@]}"; done
done
rm -f "$out"/*.times "$out"/*.paint
for _ in $(seq "$runs"); do
    for row in "${rows[@]}"; do
        IFS='|' read -r -a args <<<"$row"
        launch "${args[@]}"
    done
done
echo "load average at end:   $(cut -d' ' -f1-3 /proc/loadavg)"

# Median (mean of the middle two for an even count) and p90 (nearest rank), in ms.
stats() {  # FILE
    sort -n "$1" | awk '{ v[NR] = $1 } END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        r = int(0.9 * NR); if (r < 0.9 * NR) r++
        printf "%.1f %.1f %.1f %.1f\n", m, v[r], v[1], v[NR] }'
}
table() {  # EXTENSION TITLE
    printf "\n%s\n\n| platform | probe | median | p90 | min | max | ratio to empty (median / p90) |\n|---|---|---:|---:|---:|---:|---:|\n" "$2"
    for platform in xcb offscreen; do
        read -r em ep _ _ <<<"$(stats "$out/$platform-empty.$1")"
        for probe in empty text ravlet-examples ravlet-1mib; do
            read -r m p lo hi <<<"$(stats "$out/$platform-$probe.$1")"
            ratio=$(awk -v a="$m" -v b="$em" -v c="$p" -v d="$ep" 'BEGIN { printf "%.2f / %.2f", a / b, c / d }')
            printf "| %s | %s | %s ms | %s ms | %s ms | %s ms | %s |\n" "$platform" "$probe" "$m" "$p" "$lo" "$hi" "$ratio"
        done
    done
}
table paint "Launch to the end of the first paint (the window on screen):"
table times "Launch to exit (the whole process, quitting right after the first paint):"
echo
echo "$runs runs per row; raw times in $out/*.paint and *.times, the probes' stderr in $out/probe-stderr.log"
