#!/usr/bin/env bash
# Installs what is missing, configures build/ and builds the given targets (all by default).
# RAVLET_CMAKE_ARGS adds configure options, RAVLET_JOBS sets the parallel jobs (2),
# RAVLET_WERROR=ON makes warnings errors (CI).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

read -ra extra <<< "${RAVLET_CMAKE_ARGS:-}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVLET_BUILD_GUI=ON -DRAVLET_BUILD_TESTS=ON \
  -DRAVLET_WERROR="${RAVLET_WERROR:-OFF}" "${extra[@]}"

targets=()
if (($# > 0)); then targets=(--target "$@"); fi
cmake --build build --parallel "${RAVLET_JOBS:-2}" "${targets[@]}"
