#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   bash scripts/fuzz.sh [SECONDS_PER_TARGET]     (default 10; CI runs 6 targets x 10 s)
# Crashes and hangs are written to build-fuzz/artifacts/; a failing run exits non-zero.
# RAVLET_WERROR=ON makes warnings errors (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
build="$(pwd)/build-fuzz"

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRAVLET_BUILD_FUZZ=ON -DRAVLET_BUILD_GUI=OFF -DRAVLET_BUILD_TESTS=OFF -DRAVLET_WERROR="${RAVLET_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_key_lookup fuzz_replacement fuzz_listings \
  fuzz_value_choices fuzz_operations fuzz_cli >/dev/null

# Seeds: the bundled examples, joined the way the targets split their input.
corpus="$build/seeds"
rm -rf "$corpus"
mkdir -p "$corpus" "$build/artifacts"
sep=$'\n%%%%\n'
base="$(cat examples/rvbase.txt; printf x)"; base="${base%x}"
ini="$(cat examples/tarven.ini; printf x)"; ini="${ini%x}"
old="$(cat examples/old/tarven.ini; printf x)"; old="${old%x}"
printf '%s%s%s%s%s' "$base" "$sep" "$ini" "$sep" "$old" > "$corpus/base-ini-old"
printf '%s%s%s' "$base" "$sep" "$ini" > "$corpus/base-ini"
printf '%s%s%s%s%s%s%s' "$ini" "$sep" "[Video]" "$sep" "Scale" "$sep" "2" > "$corpus/ini-group-key-value"
printf '%s%s%s' '320x240,@640x480,800x600' "$sep" '640x480' > "$corpus/spec-value"
printf 'values\00.9\0[Video]\0Scale\0tarven.ini' > "$corpus/cli-versions"

status=0
for target in fuzz_key_lookup fuzz_replacement fuzz_listings fuzz_value_choices fuzz_operations fuzz_cli; do
  work="$build/corpus/$target"
  mkdir -p "$work"
  echo "fuzzing $target for ${seconds}s"
  if ! "$build/fuzz/$target" "$work" "$corpus" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
       -artifact_prefix="$build/artifacts/$target-" -print_final_stats=0 >"$build/$target.log" 2>&1; then
    echo "FAILED: $target (see $build/$target.log)"; tail -40 "$build/$target.log"; status=1
  fi
done
exit $status
