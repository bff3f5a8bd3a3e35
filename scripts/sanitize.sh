#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs it. Any sanitizer report fails the run. RAVLET_WERROR=ON makes
# warnings errors (CI).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DRAVLET_SANITIZE=address,undefined \
  -DRAVLET_WERROR="${RAVLET_WERROR:-OFF}" >/dev/null
cmake --build build-asan --parallel "${RAVLET_JOBS:-2}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Qt and fontconfig keep some allocations for the life of the process; they are not ours.
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
ctest --test-dir build-asan --output-on-failure --parallel "${RAVLET_JOBS:-2}"
