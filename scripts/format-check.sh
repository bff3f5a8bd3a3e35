#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format 14 (Debian's) makes
# of it under .clang-format, and shows the difference. To mend: clang-format -i FILE.
#   bash scripts/format-check.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh clang-format-14 >&2
format=clang-format-14
# Another major version formats differently: the check would fail on a tree that is right.
[[ $("$format" --version) == *" version 14."* ]] || { echo "format-check: $format is not version 14" >&2; exit 2; }

readarray -d '' files < <(git ls-files -z -- '*.cpp' '*.hpp' '*.h')
differing=0
for file in "${files[@]}"; do
  if ! "$format" --style=file "$file" | cmp -s - "$file"; then
    echo "not formatted: $file"
    "$format" --style=file "$file" | diff -u --label "$file" --label "$file (formatted)" "$file" - | head -40 || true
    differing=$((differing + 1))
  fi
done
echo "format-check: ${#files[@]} files, $differing not formatted"
((differing == 0))
