#!/usr/bin/env bash
# Whole-process timings of ravlet-cli as the data grows, side by side with plain floors
# (cat of the same inputs, one-pass awk doing the same job) in one run.
#
#   bench/scale.sh [RAVLET_CLI]
#
# RAVLET_CLI (argument or environment): the ravlet-cli to time, any build of it
#   (default: build-bench/src/cli/ravlet-cli of this tree).
# RAVLET_GEN: the data generator (default: build-bench/bench/ravlet_gen of this tree).
# SIZES ("1 2 4 8 16"): scale factors; base S MiB, settings files S * 256 KiB.
# MANY ("5000 10000 20000 40000 50000"): record counts of the many-versions bases.
# Either may be set empty to leave that part out.
# REPS (5): runs per command and size, interleaved; the median is reported.
# BUDGET (10): seconds per command and size after which no further run starts.
# TIMEOUT (60): seconds after which a run is killed and shown as "> TIMEOUT s"; a
#   command that timed out is not run at the larger sizes.
# WORK: scratch folder (default: a new one under /tmp, removed at the end).
#
# Each run is `timeout /usr/bin/time CMD` under bash's `time`: wall-clock and CPU time
# (user + system, milliseconds) of the whole process tree, so the same start-up of the
# two wrappers is in every row, cat's included; peak RSS is GNU time's %M. The ratios
# use CPU time, which other loads on a shared machine disturb far less than wall time.
# The markdown table goes to stdout, progress to stderr.
set -uo pipefail
export LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-${RAVLET_CLI:-$here/../build-bench/src/cli/ravlet-cli}}
gen=${RAVLET_GEN:-$here/../build-bench/bench/ravlet_gen}
sizes=${SIZES-1 2 4 8 16}
many=${MANY-5000 10000 20000 40000 50000}
reps=${REPS:-5}
budget=${BUDGET:-10}
limit=${TIMEOUT:-60}

for tool in "$cli" "$gen"; do
    [[ -x $tool ]] || { echo "scale.sh: not executable: $tool" >&2; exit 2; }
done
cli=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
gen=$(cd "$(dirname "$gen")" && pwd)/$(basename "$gen")
if [[ ! -x /usr/bin/time ]]; then
    echo "scale.sh: /usr/bin/time missing, installing package time" >&2
    apt-get install -y time >/dev/null || exit 2
fi

if [[ -n ${WORK:-} ]]; then
    work=$WORK; mkdir -p "$work"
else
    work=$(mktemp -d /tmp/ravlet-scale-XXXXXX)
    trap 'rm -rf "$work"' EXIT
fi

# One run of "$@" in the current folder: sets run_us (wall), run_cpu_us, run_rss (KiB)
# and run_rc.
run() {
    local TIMEFORMAT='%3R %3U %3S' wall user sys
    { time timeout -k 2 "$limit" /usr/bin/time -f '%M' -o "$work/rss" "$@" >"$work/out" 2>"$work/err"; } 2>"$work/times"
    run_rc=$?
    read -r wall user sys <"$work/times"
    run_us=$((10#${wall/./} * 1000))
    run_cpu_us=$(((10#${user/./} + 10#${sys/./}) * 1000))
    run_rss=$(tail -n 1 "$work/rss" 2>/dev/null)
    [[ $run_rss =~ ^[0-9]+$ ]] || run_rss=0
}

# What a right answer looks like, per command (checked on every run's output).
check() {
    local name=$1
    case $name in
        ravlet_defaults|awk_defaults)
            [[ $run_rc == 0 ]] && (( $(wc -c <"$work/out") * 20 >= ${exp[ini_bytes]} * 19 )) &&
                grep -q '^TARVEN=' "$work/out" ;;
        ravlet_transfer|awk_transfer)
            [[ $run_rc == 0 ]] && (( $(wc -c <"$work/out") * 20 >= ${exp[ini_bytes]} * 19 )) &&
                (( $(grep -c '=' "$work/err") == ${exp[carried]} )) ;;
        ravlet_versions|awk_versions)
            [[ $run_rc == 0 ]] && (( $(wc -l <"$work/out") == ${exp[versions]} )) &&
                [[ $(tail -n 1 "$work/out") == "${exp[last_version]}" ]] ;;
        ravlet_detect)
            [[ $run_rc == 0 ]] && [[ $(cat "$work/out") == "${exp[last_version]}" ]] ;;
        # Status 1 is their answer "something was found"; the realistic files always
        # differ from the defaults and from each other, and lack no parameter.
        ravlet_check)
            [[ $run_rc == 0 || $run_rc == 1 ]] && ! grep -q ': нет в файле$' "$work/out" ;;
        ravlet_changed)
            [[ $run_rc == 0 ]] && [[ -s $work/out ]] ;;
        ravlet_diff)
            [[ $run_rc == 1 ]] && [[ -s $work/out ]] ;;
        *) [[ $run_rc == 0 ]] ;;
    esac
}

declare -A cmd exp times cpus rss state timedout
results=$work/results.tsv
: >"$results"

# measure SET LABEL NAME...: runs the named commands round-robin, then appends
# "set label name runs median_wall_us median_cpu_us rss_kib state" lines to the results.
measure() {
    local set=$1 label=$2; shift 2
    local names=("$@") name r spent
    declare -A spentus
    for name in "${names[@]}"; do
        times[$name]=""; cpus[$name]=""; rss[$name]=0; spentus[$name]=0
        if [[ -n ${timedout[$set.$name]:-} ]]; then state[$name]=skipped; else state[$name]=ok; fi
    done
    for ((r = 0; r < reps; r++)); do
        for name in "${names[@]}"; do
            [[ ${state[$name]} == ok ]] || continue
            (( r > 0 && spentus[$name] > budget * 1000000 )) && continue
            echo "  $label $name run $((r + 1))" >&2
            # shellcheck disable=SC2086
            run ${cmd[$name]}
            if (( run_rc == 124 || run_rc == 137 )); then
                state[$name]=timeout; timedout[$set.$name]=1; continue
            fi
            if ! check "$name"; then
                if (( run_rc == 0 )); then state[$name]="wrong output"; else state[$name]="failed(rc=$run_rc)"; fi
                continue
            fi
            times[$name]+="$run_us "
            cpus[$name]+="$run_cpu_us "
            spentus[$name]=$((spentus[$name] + run_us))
            (( run_rss > rss[$name] )) && rss[$name]=$run_rss
        done
    done
    for name in "${names[@]}"; do
        local n
        n=$(wc -w <<<"${times[$name]}")
        printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$set" "$label" "$name" "$n" "$(median "${times[$name]}")" \
            "$(median "${cpus[$name]}")" "${rss[$name]}" "${state[$name]}" >>"$results"
    done
}

# The median of a list of integers, "-" for none.
median() {
    tr ' ' '\n' <<<"$1" | grep . | sort -n |
        awk '{ a[NR] = $1 } END { if (!NR) print "-"; else printf "%d\n", (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}

load_expectations() {
    exp=()
    local k v
    while IFS='=' read -r k v; do exp[$k]=$v; done <"$1"
}

# What the figures were taken on, for the record.
describe() {
    echo "Run of $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg) $1;" \
        "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'); awk is" \
        "$(readlink -f "$(command -v awk)"); ravlet-cli $cli ($(stat -c %s "$cli") bytes," \
        "sha256 $(sha256sum "$cli" | cut -c1-12)); reps $reps, budget ${budget} s, timeout ${limit} s."
}
start_note=$(describe "at the start")
echo "$start_note" >&2
for s in $sizes; do
    dir=$work/x$s; mkdir -p "$dir"
    "$gen" "$s" "$dir" >"$dir/expect" || exit 1
    load_expectations "$dir/expect"
    cd "$dir" || exit 1
    cmd=(
        [cat_base]="cat rvbase.txt"
        [cat_base_ini]="cat rvbase.txt tarven.ini"
        [cat_all]="cat rvbase.txt old.ini tarven.ini"
        [awk_defaults]="awk -f $here/defaults.awk rvbase.txt tarven.ini"
        [ravlet_defaults]="$cli defaults --dry-run tarven.ini"
        [awk_transfer]="awk -f $here/transfer.awk rvbase.txt old.ini tarven.ini"
        [ravlet_transfer]="$cli transfer --dry-run old.ini tarven.ini"
        [awk_versions]="awk -f $here/versions.awk rvbase.txt"
        [ravlet_versions]="$cli versions"
        [ravlet_detect]="$cli detect tarven.ini"
        [ravlet_check]="$cli check tarven.ini"
        [ravlet_changed]="$cli changed tarven.ini"
        [ravlet_diff]="$cli diff old.ini tarven.ini"
    )
    measure real "x$s" cat_base cat_base_ini cat_all awk_defaults ravlet_defaults awk_transfer \
        ravlet_transfer awk_versions ravlet_versions ravlet_detect ravlet_check ravlet_changed ravlet_diff
    cd "$work" && rm -rf "$dir"
done

for n in $many; do
    dir=$work/v$n; mkdir -p "$dir"
    "$gen" --versions "$n" "$dir" >"$dir/expect" || exit 1
    load_expectations "$dir/expect"
    cd "$dir" || exit 1
    cmd=(
        [cat_base]="cat rvbase.txt"
        [awk_versions]="awk -f $here/versions.awk rvbase.txt"
        [ravlet_versions]="$cli versions"
        [ravlet_detect]="$cli detect tarven.ini"
    )
    measure many "$n" cat_base awk_versions ravlet_versions ravlet_detect
    cd "$work" && rm -rf "$dir"
done

echo "$start_note"
echo "Load average $(cut -d' ' -f1-3 /proc/loadavg) at the end."
echo

# The table: per set, size and command; ratios (of CPU time) to the previous size of the
# same command, to cat of the same inputs and to the awk doing the same job.
awk -F'\t' -v limit="$limit" '
function ms(us) { return us == "-" ? "-" : sprintf("%.0f", us / 1000) }
function ratio(a, b) { return (a == "-" || b == "-" || b == 0) ? "-" : sprintf(a / b >= 10 ? "%.0f" : "%.2f", a / b) }
BEGIN {
    floor["ravlet_defaults"] = "cat_base_ini"; floor["awk_defaults"] = "cat_base_ini"
    floor["ravlet_transfer"] = "cat_all"; floor["awk_transfer"] = "cat_all"
    floor["ravlet_versions"] = "cat_base"; floor["awk_versions"] = "cat_base"
    floor["ravlet_detect"] = "cat_base_ini"
    floor["ravlet_check"] = "cat_base_ini"; floor["ravlet_changed"] = "cat_base_ini"
    floor["ravlet_diff"] = "cat_all"
    script["ravlet_defaults"] = "awk_defaults"; script["ravlet_transfer"] = "awk_transfer"
    script["ravlet_versions"] = "awk_versions"
}
{
    key = $1 SUBSEP $2 SUBSEP $3
    wall[key] = $5; med[key] = $6; runs[key] = $4; peak[key] = $7; st[key] = $8
    if (!(($1 SUBSEP $2) in seenlabel)) { seenlabel[$1 SUBSEP $2] = 1; labels[$1, ++nl[$1]] = $2 }
    if (!(($1 SUBSEP $3) in seenname)) { seenname[$1 SUBSEP $3] = 1; names[$1, ++nn[$1]] = $3 }
}
END {
    for (si = 1; si <= 2; si++) {
        set = si == 1 ? "real" : "many"
        if (!nl[set]) continue
        if (set == "real") print "### Base S MiB (5 versions, 70*S groups), settings files S * 256 KiB\n"
        else print "\n### Bases of many small versions (N records)\n"
        print "| size | command | runs | wall ms | CPU ms | peak RSS MiB | x previous size | x cat | x awk |"
        print "|---|---|---:|---:|---:|---:|---:|---:|---:|"
        for (i = 1; i <= nl[set]; i++) {
            label = labels[set, i]
            for (j = 1; j <= nn[set]; j++) {
                name = names[set, j]; key = set SUBSEP label SUBSEP name
                if (!(key in med)) continue
                m = med[key]
                if (st[key] == "timeout") shown = "> " limit " s"
                else if (st[key] == "skipped") shown = "not run (> " limit " s at a smaller size)"
                else if (st[key] != "ok") shown = st[key]
                else shown = ms(wall[key])
                if (st[key] != "ok") m = "-"
                prev = i > 1 ? med[set, labels[set, i - 1], name] : "-"
                if (i > 1 && st[set, labels[set, i - 1], name] != "ok") prev = "-"
                c = "-"
                if (name in floor) c = ((set, label, floor[name]) in med) ? med[set, label, floor[name]] : med[set, label, "cat_base"]
                a = (name in script) ? med[set, label, script[name]] : "-"
                printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", label, name, runs[key], shown,
                    (st[key] == "ok" ? ms(m) : "-"), (peak[key] > 0 && st[key] == "ok" ? sprintf("%.1f", peak[key] / 1024) : "-"),
                    ratio(m, prev), ratio(m, c), ratio(m, a)
            }
        }
    }
}' "$results"
