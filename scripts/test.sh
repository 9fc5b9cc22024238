#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs every test:
# once in a Release build, then once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# Tiled's rasterizer lets the export test compare Tiled's picture of an exported map with Vantor's.
"$root/scripts/install-deps.sh" --tiled

run_suite() {
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -DWARNINGS_AS_ERRORS=ON "$@" >/dev/null
    cmake --build "$dir" --parallel "$jobs"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure --parallel "$jobs"
}

echo "== Release build =="
run_suite "$root/build" -DCMAKE_BUILD_TYPE=Release
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DENABLE_SANITIZERS=ON
echo "== Fuzz smoke run: every reader's libFuzzer target for 30 seconds (clang, ASan + UBSan) =="
"$root/scripts/fuzz.sh" --smoke
