#!/usr/bin/env bash
# Fails when a Windows program imports a function that Windows 7 SP1 lacks. The loader
# refuses to start a program one of whose imports is missing, before any of its code
# runs, so a newer function must be looked up at run time (GetProcAddress) instead.
# Every function the programs import by name or ordinal must be on
# scripts/windows7-imports.txt, the functions checked to be in Windows 7: a new import
# fails here until it is checked and added there.
#   bash scripts/windows-imports.sh EXE...
# OBJDUMP names the objdump that reads PE files (x86_64-w64-mingw32-objdump).
set -euo pipefail
list="$(dirname "${BASH_SOURCE[0]}")/windows7-imports.txt"
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"

known=$(grep -v -e '^#' -e '^$' "$list" | sort -u)
status=0
for exe in "$@"; do
  # "DLL Name: X" opens a DLL's table; each row below it is "vma hint name", with
  # "<none>" for a function imported by ordinal.
  imports=$("$objdump" -p "$exe" | awk '
    /^\tDLL Name: / { dll = tolower($3); next }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ {
      print dll " " ($3 == "<none>" ? "#" $2 : $3)
    }' | sort -u)
  if [[ -z $imports ]]; then
    echo "$exe: no imports read; is it a Windows program?" >&2
    status=1
    continue
  fi
  unknown=$(comm -23 <(echo "$imports") <(echo "$known"))
  if [[ -n $unknown ]]; then
    {
      echo "$(basename "$exe") imports what $list does not list, so Windows 7 may"
      echo "refuse to start it (look a newer function up at run time; list one only once"
      echo "checked to be in Windows 7):"
      sed 's/^/  /' <<< "$unknown"
    } >&2
    status=1
  fi
done
exit "$status"
