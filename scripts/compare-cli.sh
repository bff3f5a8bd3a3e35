#!/usr/bin/env bash
# Runs two builds of ravlet-cli on every command the README shows, on copies of
# examples/, and compares stdout, stderr, exit status and the files left behind byte
# for byte. For a change that must not alter what ravlet-cli does:
#   bash scripts/compare-cli.sh OLD/ravlet-cli NEW/ravlet-cli
# Prints one line per difference and ends with status 1 when there was any.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

old=$(realpath "$1")
new=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One command a line, run in a fresh copy of examples/ (arguments split on spaces).
commands=(
  "--help"
  "--version"
  "set --help"
  "versions"
  "detect tarven.ini"
  "detect old/tarven.ini"
  "groups 2.0"
  "params 2.0 [Video]"
  "params 2.0 [Video] --full"
  "values 2.0 [Video] Scale tarven.ini"
  "hint [Video] Scale"
  "get tarven.ini Scale"
  "get tarven.ini Scale --group [Video]"
  "get rvbase.txt Scale --version 2.0 --group [Video]"
  "set tarven.ini [Video] Scale 4"
  "set tarven.ini [Video] Fullscreen OFF"
  "set tarven.ini [Video] Missing 4"
  "set tarven.ini  Language en"
  "defaults tarven.ini"
  "defaults tarven.ini --dry-run"
  "defaults tarven.ini --version 1.0"
  "transfer old/tarven.ini tarven.ini"
  "transfer old/tarven.ini tarven.ini --dry-run"
  "check tarven.ini"
  "check old/tarven.ini"
  "changed tarven.ini"
  "changed old/tarven.ini"
  "diff old/tarven.ini tarven.ini"
  "--base rvbase.txt groups 1.0"
  "groups 9.9"
  "params 2.0 Video"
  "get missing.ini Scale"
  "nosuch"
)

differences=0
run() {  # binary, folder, args...
  local bin=$1 dir=$2
  shift 2
  (cd "$dir" && "$bin" "$@" >"$dir.out" 2>"$dir.err"; echo $? >"$dir.status")
}
for line in "${commands[@]}"; do
  read -ra args <<<"$line"
  [[ $line == "set tarven.ini  Language en" ]] && args=(set tarven.ini "" Language en)
  for side in old new; do
    rm -rf "$work/$side"
    cp -r examples "$work/$side"
  done
  run "$old" "$work/old" "${args[@]}"
  run "$new" "$work/new" "${args[@]}"
  for part in out err status; do
    if ! cmp -s "$work/old.$part" "$work/new.$part"; then
      echo "differs ($part): ravlet-cli $line"
      differences=$((differences + 1))
    fi
  done
  if ! diff -r "$work/old" "$work/new" >/dev/null; then
    echo "differs (files): ravlet-cli $line"
    differences=$((differences + 1))
  fi
done
echo "${#commands[@]} commands, $differences differences"
((differences == 0))
