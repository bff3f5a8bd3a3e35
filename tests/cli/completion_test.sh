#!/usr/bin/env bash
# The bash completion of ravlet-cli against the built program, in a copy of the
# examples: each row is the words typed (the last one being completed) and the
# completions expected, sorted and joined by spaces.
#   completion_test.sh COMPLETION_FILE RAVLET_CLI EXAMPLES_DIR
set -uo pipefail
completion=$1 cli=$2 examples=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$examples"/. "$work"
mkdir "$work/other"
printf ';b\n[DESCRIPTIONS]\n\nTARVEN=x1\nSUPPORT=9\n[Zeta]\n+Key=1,@2\n' > "$work/other/base.txt"
cd "$work" || exit 1

# shellcheck source=/dev/null
source "$completion" || exit 1

passed=0 failed=0
row() {
    local expected=$1
    shift
    COMP_WORDS=(ravlet-cli "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _ravlet_cli "$cli" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' ')
    if [[ $got == "$expected" ]]; then
        ((passed++))
    else
        ((failed++))
        echo "FAILED: ravlet-cli $* -> [$got], expected [$expected]"
    fi
}

row "versions versions-diff" ve
row "changed check check-base" ch
row "0.9 1.2 2.0" versions-diff 1.2 ""
row "--base --help --version --wait" --
row "0.9 1.2 2.0" groups ""
row "[Video]" params 2.0 "[V"
row "Scale" values 2.0 "[Video]" S
row "1 2 3 4" set tarven.ini "[Video]" Scale ""
row "Pimlow\ 128 Pimlow\ 256 Pimlow\ 64" set tarven.ini "[System]" Model P
row "Pimlow\ 128" set tarven.ini "[System]" Model "Pimlow\\ 1"
row "Pimlow\ 256" set tarven.ini "[System]" Model "'Pimlow 2"
row "[Debug]" set tarven.ini "[D"
row "x1" --base other/base.txt groups ""
row "x1" groups --base other/base.txt ""
row "[Zeta]" --base=other/base.txt hint ""
row "--base --dry-run --help --version --wait" defaults tarven.ini --
row "[Sound] [System]" get tarven.ini Scale --group "[S"
row "0.9 1.2 2.0" check tarven.ini --version ""
row "tarven.ini" detect tarv
row "other/base.txt" --base other/b
row "" set missing.ini ""

echo "$passed passed, $failed failed"
((failed == 0))
