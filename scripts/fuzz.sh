#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz and runs every one of them, two at a time.
#
#   scripts/fuzz.sh                  smoke run: 30 seconds per target (what CI runs)
#   scripts/fuzz.sh --long           looking for bugs: 1,000,000 executions per target, at most 30 minutes each
#   scripts/fuzz.sh --runs N         N executions per target (no time limit unless --seconds is given too)
#   scripts/fuzz.sh --seconds S      S seconds per target
#   scripts/fuzz.sh ... --jobs J     J targets at a time (default 2)
#   scripts/fuzz.sh ... NAME...      only the named targets (fuzz_native_map_file, ...)
#
# The corpus each target grows is kept in build-fuzz/fuzz/corpus/<target> and used again by the next
# run. The script exits non-zero when a target crashes or a sanitizer reports a finding; the input
# is then left in build-fuzz/fuzz/findings/<target>/ (reproduce with: build-fuzz/fuzz/<target> <file>)
# and the target's log in build-fuzz/fuzz/logs/<target>.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

runs=""
seconds=30
jobs=2
names=()
while [ $# -gt 0 ]; do
    case "$1" in
        --smoke) runs=""; seconds=30 ;;
        --long) runs=1000000; seconds=1800 ;;
        --runs) runs=$2; seconds=""; shift ;;
        --seconds) seconds=$2; shift ;;
        --jobs) jobs=$2; shift ;;
        -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
        -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
        *) names+=("$1") ;;
    esac
    shift
done

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ is missing (Debian packages clang and libclang-rt-14-dev)" >&2
    exit 1
fi
echo "== Fuzz build (clang, libFuzzer, ASan + UBSan) in $build =="
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DVANTOR_FUZZ=ON -DWARNINGS_AS_ERRORS=ON \
    -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" >/dev/null
cmake --build "$build" --target fuzz-targets --parallel "$jobs"

fuzz="$build/fuzz"
[ ${#names[@]} -eq 0 ] && mapfile -t names < "$fuzz/targets.txt"
rm -rf "$fuzz/seeds" "$fuzz/logs"
mkdir -p "$fuzz/seeds" "$fuzz/logs"
"$fuzz/make_fuzz_seeds" "$fuzz/seeds"

# The public BMP test suite, read in place, for the readers of bitmaps.
bmp_suite="$(head -n1 "$fuzz/bmp_corpora_dir.txt")/bmpsuite"
bmp_dirs=()
for d in g q b x; do
    [ -d "$bmp_suite/$d" ] && bmp_dirs+=("$bmp_suite/$d")
done
[ ${#bmp_dirs[@]} -eq 0 ] && echo "note: no BMP test suite at $bmp_suite; the bitmap targets start from their own seeds"

# Scratch files of the targets that read through a path go to memory when it can be had.
scratch=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm

limits=()
[ -n "$runs" ] && limits+=("-runs=$runs")
[ -n "$seconds" ] && limits+=("-max_total_time=$seconds")
echo "== Fuzzing ${#names[@]} targets, $jobs at a time: ${limits[*]} =="

run_target() {
    local name=$1
    local extra=() max_len=16384
    case "$name" in
        fuzz_sketch_conversion|fuzz_tile_set_image) extra=("${bmp_dirs[@]}"); max_len=65536 ;;
    esac
    # The TMX reader: whole documents, with its dictionary; any allocation over 64 MB (an inflate
    # that does not stop) is a finding.
    local options=()
    [ "$name" = fuzz_tmx_import ] && { options=("-dict=$root/fuzz/tmx.dict" -malloc_limit_mb=64); max_len=262144; }
    mkdir -p "$fuzz/corpus/$name" "$fuzz/findings/$name"
    TMPDIR=$scratch ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
        "$fuzz/$name" "${limits[@]}" "${options[@]}" -max_len=$max_len -timeout=30 -rss_limit_mb=2560 -print_final_stats=1 \
        -artifact_prefix="$fuzz/findings/$name/" \
        "$fuzz/corpus/$name" "$fuzz/seeds/$name" "${extra[@]}" >"$fuzz/logs/$name.log" 2>&1
}

failed=()
pids=()
pid_names=()
finish_one() {
    # Waits for the oldest running target.
    local pid=${pids[0]} name=${pid_names[0]}
    pids=("${pids[@]:1}")
    pid_names=("${pid_names[@]:1}")
    if wait "$pid"; then
        local count
        count=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$fuzz/logs/$name.log" | tail -n1 | grep -o '[0-9]*$' || true)
        printf '  %-28s ok, %s executions\n' "$name" "${count:-?}"
    else
        printf '  %-28s FAILED: see %s and %s\n' "$name" "$fuzz/logs/$name.log" "$fuzz/findings/$name/"
        grep -m3 -E 'ERROR: |runtime error|check failed|deadly signal' "$fuzz/logs/$name.log" | sed 's/^/      /' || true
        failed+=("$name")
    fi
}
for name in "${names[@]}"; do
    if [ ! -x "$fuzz/$name" ]; then
        echo "fuzz.sh: no fuzz target $name" >&2
        exit 2
    fi
    [ ${#pids[@]} -ge "$jobs" ] && finish_one
    run_target "$name" &
    pids+=($!)
    pid_names+=("$name")
done
while [ ${#pids[@]} -gt 0 ]; do
    finish_one
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found problems in: ${failed[*]}"
    exit 1
fi
echo "Fuzzing: ${#names[@]} targets, no findings."
