#!/usr/bin/env bash
# Kills ravlet-cli (SIGKILL) at random moments of set, defaults and transfer on a large
# generated settings file that is rewritten in place (it has a second hard link; or its
# folder may not be written), and checks after every kill that the file is the old text
# or the new one, or refused under every name and environment until `ravlet-cli
# recover` gives the old one back; a copy left after a finished save is never put back.
# CI runs 20 kills of 20 MB; the defaults are slow.
#   bash scripts/kill-harness.sh [KILLS=200] [MEGABYTES=150] [RAVLET_CLI=build/src/cli/ravlet-cli]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kills=${1:-200}
megabytes=${2:-150}
cli=$(realpath "${3:-$root/build/src/cli/ravlet-cli}")
work=$(mktemp -d /tmp/ravlet-kill-XXXXXX)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
base="$root/examples/rvbase.txt"

# The example file, then comment lines up to the size asked for (CR LF, as the file has).
big="$work/big.ini"
cp "$root/examples/tarven.ini" "$big"
python3 - "$big" "$megabytes" <<'EOF'
import sys
path, megabytes = sys.argv[1], int(sys.argv[2])
line = b"; " + b"x" * 94 + b"\r\n"
with open(path, "ab") as f:
    f.write(line * (megabytes * 1024 * 1024 // len(line)))
EOF

# The new text of each command, made by an uninterrupted run on a scratch copy.
commands=("set|[Video]|Scale|4444444444" "defaults" "transfer")
run_args() {  # COMMAND FILE -> the ravlet-cli arguments
    local IFS='|'
    read -ra parts <<< "$1"
    case ${parts[0]} in
        set) echo "set" "$2" "${parts[1]}" "${parts[2]}" "${parts[3]}" ;;
        defaults) echo "defaults" "$2" ;;
        transfer) echo "transfer" "$root/examples/old/tarven.ini" "$2" ;;
    esac
}
declare -A newText duration
for c in "${commands[@]}"; do
    cp "$big" "$work/scratch.ini"
    start=$(date +%s%N)
    # shellcheck disable=SC2046
    "$cli" --base "$base" $(run_args "$c" "$work/scratch.ini") > /dev/null
    duration[$c]=$(( ($(date +%s%N) - start) / 1000000 ))
    newText[$c]="$work/new-${c%%|*}.ini"
    mv "$work/scratch.ini" "${newText[$c]}"
    cmp -s "$big" "${newText[$c]}" && { echo "$c changes nothing: no test" >&2; exit 1; }
done

# The two in-place settings: a second hard link (as this user), and a folder this
# process may not write (as nobody under root, whose rights ignore folder modes).
as=()
setup() {  # MODE -> the file to save, fresh
    chmod -R u+w "$work/case" 2>/dev/null || true
    rm -rf "$work/case" "$work/cache"
    mkdir "$work/case" "$work/cache"
    cp "$big" "$work/case/tarven.ini"
    if [[ $1 == linked ]]; then
        ln "$work/case/tarven.ini" "$work/case/second.ini"
        as=()
    elif [[ $(id -u) == 0 ]]; then
        chown 65534:65534 "$work/case/tarven.ini" "$work/cache"
        chmod 755 "$work/case"
        chmod 755 "$work"
        as=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    else
        chmod a-w "$work/case"
        as=()
    fi
}

declare -A tally
for ((n = 1; n <= kills; n++)); do
    c=${commands[RANDOM % ${#commands[@]}]}
    mode=$([[ $((RANDOM % 2)) == 0 ]] && echo linked || echo folder)
    setup "$mode"
    file="$work/case/tarven.ini"
    # Every other kill lands in the last 40% of the run, where the file is written.
    delay=$((RANDOM * 32768 + RANDOM))
    if ((n % 2)); then
        delay=$((delay % (duration[$c] + 1)))
    else
        delay=$((duration[$c] * 6 / 10 + delay % (duration[$c] * 4 / 10 + 1)))
    fi
    # shellcheck disable=SC2046
    env XDG_CACHE_HOME="$work/cache" "${as[@]}" "$cli" --base "$base" $(run_args "$c" "$file") \
        > /dev/null 2>&1 &
    pid=$!
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if cmp -s "$file" "$big"; then
        outcome=old
    elif cmp -s "$file" "${newText[$c]}"; then
        outcome=new
    else
        outcome=torn
    fi
    # A torn file is refused under every name, also without the environment that found
    # its cache; `recover` then puts the old text back. A copy a kill left after the
    # save had finished is never put back over the new text.
    refused=no
    names=("$file")
    [[ $mode == linked ]] && names+=("$work/case/second.ini")
    for name in "${names[@]}"; do
        for env in "XDG_CACHE_HOME=$work/cache" "HOME=/nonexistent"; do
            status=0
            env -i "$env" "${as[@]}" "$cli" get "$name" Scale > /dev/null 2>&1 || status=$?
            if ((status == 3)); then refused=yes; elif [[ $refused == yes ]]; then outcome="$outcome, REFUSED UNDER ONE NAME ONLY"; fi
        done
    done
    copies=$(find "$work/case" "$work/cache" -name '*.ravlet-recovery' | wc -l)
    if [[ $refused == yes ]]; then
        env XDG_CACHE_HOME="$work/cache" "${as[@]}" "$cli" recover "$file" > /dev/null 2>&1 || true
        if cmp -s "$file" "$big"; then outcome="$outcome, refused, recovered"; else outcome="$outcome, refused, NOT recovered"; fi
    elif ((copies > 0)); then
        before=$(md5sum < "$file")
        env XDG_CACHE_HOME="$work/cache" "${as[@]}" "$cli" recover "$file" > /dev/null 2>&1 || true
        if [[ $(md5sum < "$file") == "$before" ]]; then outcome="$outcome, stale copy left alone"; else outcome="$outcome, STALE COPY PUT BACK"; fi
    fi
    [[ $mode == linked ]] && ! cmp -s "$file" "$work/case/second.ini" && outcome="$outcome, LINKS DIFFER"
    tally["$mode $outcome"]=$(( ${tally["$mode $outcome"]:-0} + 1 ))
done

echo "$kills kills of set/defaults/transfer on a $megabytes MB file (uncut runs: set ${duration[${commands[0]}]} ms, defaults ${duration[defaults]} ms, transfer ${duration[transfer]} ms):"
bad=0
for key in "${!tally[@]}"; do
    echo "  ${tally[$key]}	$key"
    [[ $key == *torn || $key == *NOT* || $key == *DIFFER* || $key == *ONLY* || $key == *PUT\ BACK* ]] && bad=1
done
exit $bad
