#!/usr/bin/env bash
# Builds the Debian package of Ravlet: installs what is missing, configures a Release
# build without tests in build-release/, builds it and runs cpack. The build's output
# goes to stderr; stdout gets only the path of the .deb (ravlet_<version>_<arch>.deb),
# so that  deb=$(bash scripts/package.sh)  works.
# RAVLET_CMAKE_ARGS adds configure options, RAVLET_JOBS sets the parallel jobs (2),
# RAVLET_WERROR=ON makes warnings errors (CI).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh >&2

build="$PWD/build-release"
read -ra extra <<< "${RAVLET_CMAKE_ARGS:-}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DRAVLET_BUILD_TESTS=OFF -DRAVLET_BUILD_GUI=ON \
  -DRAVLET_BUILD_BENCH=OFF -DRAVLET_BUILD_FUZZ=OFF -DRAVLET_SANITIZE= -DRAVLET_WERROR="${RAVLET_WERROR:-OFF}" "${extra[@]}" >&2
cmake --build "$build" --parallel "${RAVLET_JOBS:-2}" >&2

# A package left from an earlier version must not be taken for this one.
rm -f "$build"/ravlet_*.deb
(cd "$build" && cpack -G DEB) >&2

debs=("$build"/ravlet_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
  echo "package.sh: cpack made no single ravlet_*.deb in $build" >&2
  exit 1
fi
echo "${debs[0]}"
