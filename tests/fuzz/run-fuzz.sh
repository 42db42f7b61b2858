#!/usr/bin/env bash
# Runs every fuzz harness of a build folder for a while from its corpus and prints, per harness,
# the runs, the coverage reached and the crashes found. New inputs go to the build folder, never
# into the committed corpus; a crash's input is kept in <build>/fuzz-crashes/<reader>/.
# Usage: run-fuzz.sh <build folder> <seconds per harness> [reader...]
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
shift 2
here=$(cd "$(dirname "$0")" && pwd)

dictionary() {
    case $1 in
    rtf | note_file) echo rtf ;;
    dataset | ares_xml) echo xml ;;
    ares_json) echo json ;;
    template) echo template ;;
    memtable) echo memtable ;;
    ini | note_index | backup_info) echo ini ;;
    connection_file) echo connection_file ;;
    connection_string) echo connection_string ;;
    csv | clipboard) echo csv ;;
    esac
}

harnesses=()
for harness in "$build"/tests/fuzz/fuzz_*; do
    [[ -f $harness && -x $harness ]] && harnesses+=("$harness")
done
if (($# > 0)); then
    harnesses=()
    for reader in "$@"; do harnesses+=("$build/tests/fuzz/fuzz_$reader"); done
fi
if ((${#harnesses[@]} == 0)) || [[ ! -x ${harnesses[0]} ]]; then
    echo "fuzz: no harnesses in $build/tests/fuzz" >&2
    exit 1
fi
failed=0
printf '%-12s %8s %10s %8s %8s  %s\n' reader seconds runs cov crashes note
for harness in "${harnesses[@]}"; do
    reader=${harness##*/fuzz_}
    corpus=$here/corpus/$reader
    work=$build/fuzz-corpus/$reader
    crashes=$build/fuzz-crashes/$reader
    log=$build/fuzz-logs/$reader.log
    mkdir -p "$work" "$crashes" "$(dirname "$log")"
    args=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 -print_final_stats=1
        -artifact_prefix="$crashes/")
    dict=$(dictionary "$reader")
    [[ -n $dict ]] && args+=(-dict="$here/dict/$dict.dict")
    # Every harness starts from real files: one without them fails the run.
    if [[ -z $(ls -A "$corpus" 2>/dev/null) ]]; then
        echo "fuzz: $reader has no corpus in $corpus" >&2
        failed=1
        continue
    fi
    before=$(find "$crashes" -type f | wc -l)
    start=$SECONDS
    # Qt keeps some of its objects until the process ends: leak reports are off.
    ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
        QT_QPA_PLATFORM=offscreen "$harness" "${args[@]}" "$work" "$corpus" >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    found=$(($(find "$crashes" -type f | wc -l) - before))
    note=
    if ((rc != 0)); then
        failed=1
        ((found == 0)) && found=1
        note="see $log"
    fi
    printf '%-12s %8d %10s %8s %8d  %s\n' "$reader" $((SECONDS - start)) "${runs:-0}" "${cov:-0}" \
        "$found" "$note"
done
exit $failed
