#!/usr/bin/env bash
# clang-tidy 14 with the project's .clang-tidy (every finding an error) over the sources
# that build/compile_commands.json compiles: all of src/ by default, or the files given,
# or with --changed REF the C++ files of src/ and tests/ changed since REF. Configures
# build/ when it has no compilation database (the headers Qt's moc makes are built too).
#   bash scripts/tidy.sh [--changed REF | FILE...]
# RAVLET_JOBS sets the parallel jobs (2).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

bash scripts/install-deps.sh clang-tidy-14 >&2
if [[ ! -f build/compile_commands.json ]]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVLET_BUILD_GUI=ON -DRAVLET_BUILD_TESTS=ON >/dev/null
fi
# The ui's sources include what moc generates.
cmake --build build --parallel "${RAVLET_JOBS:-2}" --target ravlet_ui_autogen >/dev/null 2>&1 || true

files=()
if [[ ${1:-} == --changed ]]; then
  readarray -t files < <(git diff --name-only --diff-filter=d "${2:?--changed needs a git reference}" -- \
                           'src/*.cpp' 'tests/*.cpp')
elif (($# > 0)); then
  files=("$@")
else
  readarray -t files < <(git ls-files -- 'src/*.cpp')
fi
# Only what this build compiles: the other system's files are not in its database.
compiled=()
for file in "${files[@]}"; do
  grep -qF "\"file\": \"$root/$file\"" build/compile_commands.json && compiled+=("$root/$file")
done
if ((${#compiled[@]} == 0)); then
  echo "tidy: no file to check"
  exit 0
fi
echo "tidy: ${#compiled[@]} files"
# run-clang-tidy takes regular expressions: the paths are matched whole.
patterns=()
for file in "${compiled[@]}"; do patterns+=("^$(printf '%s' "$file" | sed 's/[][\.*^$+?(){}|]/\\&/g')\$"); done
run-clang-tidy-14 -p build -j "${RAVLET_JOBS:-2}" -quiet "${patterns[@]}"
