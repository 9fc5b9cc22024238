#!/usr/bin/env bash
# Times `vantor-cli render` against Tiled's `tmxrasterizer` drawing the same 72 x 70 hex map.
# See README.md. Environment: BUILD_DIR (default: the repository's build/, or build-release/ when
# build/ is not a Release build), RUNS (15), WARMUP (2), KEEP=1 keeps the generated folder,
# LOOP=1 times with a date +%s%N loop instead of hyperfine, SKIP_BUILD=1 uses the programs as built.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
RUNS=${RUNS:-15}
WARMUP=${WARMUP:-2}

if [[ -z ${BUILD_DIR:-} ]]; then
    BUILD_DIR=$ROOT/build
    if [[ -f $BUILD_DIR/CMakeCache.txt ]] &&
        ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$BUILD_DIR/CMakeCache.txt"; then
        BUILD_DIR=$ROOT/build-release
    fi
fi

if [[ ${SKIP_BUILD:-} == 1 ]]; then
    echo "== using the programs already built in $BUILD_DIR"
else
    echo "== building vantor-cli and make_render_comparison (Release) in $BUILD_DIR"
    if ! { cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build "$BUILD_DIR" --target vantor-cli make_render_comparison -j2 >/dev/null; }; then
        echo "FAIL: the build failed; SKIP_BUILD=1 times the programs already in $BUILD_DIR/bin" >&2
        exit 1
    fi
fi
VANTOR=$BUILD_DIR/bin/vantor-cli
MAKER=$BUILD_DIR/bin/make_render_comparison

apt_install() {
    if [[ -z ${APT_UPDATED:-} ]]; then
        apt-get update -qq
        APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null
}
if ! command -v tmxrasterizer >/dev/null; then
    echo "== installing Debian's tiled package for tmxrasterizer"
    apt_install tiled
fi
if [[ ${LOOP:-} != 1 ]] && ! command -v hyperfine >/dev/null; then
    echo "== installing hyperfine"
    apt_install hyperfine || echo "hyperfine could not be installed: timing with a loop instead"
fi

# tmxrasterizer is a Qt GUI program: without a display it needs the offscreen platform.
export QT_QPA_PLATFORM=offscreen
RUNTIME_DIR=
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR=$RUNTIME_DIR
fi

DATA=$(mktemp -d)
if [[ ${KEEP:-} == 1 ]]; then
    echo "== keeping the generated files in $DATA"
    trap '[[ -z $RUNTIME_DIR ]] || rm -rf "$RUNTIME_DIR"' EXIT
else
    trap 'rm -rf "$DATA"; [[ -z $RUNTIME_DIR ]] || rm -rf "$RUNTIME_DIR"' EXIT
fi
echo "== generating the map, tile sets and Tiled files in $DATA"
"$MAKER" "$DATA"

# Both pictures are 24-bit bitmaps of the map: vantor-cli's is 37 * 72 + 12 = 2676 wide, Tiled's
# hexagonal map is 37 * 72 + 11 = 2675 wide; both are 40 * 70 + 20 = 2820 high. A row of either
# pads to 8028 bytes, so both files are 54 + 8028 * 2820 bytes.
EXPECTED_BYTES=$((54 + 8028 * 2820))
check_bmp() { # FILE WIDTH HEIGHT
    local file=$1 width height bits bytes
    [[ -f $file ]] || { echo "FAIL: $file was not written" >&2; exit 1; }
    [[ $(head -c 2 "$file") == BM ]] || { echo "FAIL: $file is not a bitmap" >&2; exit 1; }
    read -r width height < <(od -An -tu4 -j18 -N8 "$file")
    read -r bits < <(od -An -tu2 -j28 -N2 "$file")
    bytes=$(stat -c %s "$file")
    echo "   $(basename "$file"): ${width} x ${height}, ${bits} bits, ${bytes} bytes"
    if [[ $width != "$2" || $height != "$3" || $bits != 24 || $bytes != "$EXPECTED_BYTES" ]]; then
        echo "FAIL: $file should be $2 x $3, 24 bits, $EXPECTED_BYTES bytes" >&2
        exit 1
    fi
}

cd "$DATA"
# The timed commands. map.tmx uses BMP tile sheets, map_png.tmx the same sheets as PNG.
NAMES=("vantor-cli render" "tmxrasterizer (BMP sheets)" "tmxrasterizer (PNG sheets)")
COMMANDS=("$VANTOR render map.map out_vantor.bmp --sets sets"
          "tmxrasterizer map.tmx out_tiled.bmp"
          "tmxrasterizer map_png.tmx out_tiled_png.bmp")
if [[ $VANTOR == *" "* ]]; then
    COMMANDS[0]="$(printf '%q' "$VANTOR") render map.map out_vantor.bmp --sets sets"
fi

echo "== checking the outputs"
for c in "${COMMANDS[@]}"; do
    eval "$c"
done
check_bmp out_vantor.bmp 2676 2820
check_bmp out_tiled.bmp 2675 2820
check_bmp out_tiled_png.bmp 2675 2820
# tmxrasterizer leaves the background black (transparent), so compare against a black background.
"$VANTOR" render map.map out_vantor_black.bmp --sets sets --background 0
echo -n "   vantor-cli vs tmxrasterizer (BMP sheets): "
"$MAKER" --compare out_vantor_black.bmp out_tiled.bmp
echo -n "   vantor-cli vs tmxrasterizer (PNG sheets): "
"$MAKER" --compare out_vantor_black.bmp out_tiled_png.bmp

echo "== timing: $WARMUP warm-up runs, then $RUNS timed runs of each, wall time"
MEDIANS=()
MINS=()
if [[ ${LOOP:-} != 1 ]] && command -v hyperfine >/dev/null; then
    hyperfine -N --style basic --warmup "$WARMUP" --runs "$RUNS" --export-json times.json \
        "${COMMANDS[@]}" >hyperfine.log
    for i in "${!COMMANDS[@]}"; do
        MEDIANS+=("$(jq ".results[$i].median * 1000" times.json)")
        MINS+=("$(jq ".results[$i].min * 1000" times.json)")
    done
    TIMER=hyperfine
else
    for c in "${COMMANDS[@]}"; do
        for ((i = 0; i < WARMUP; ++i)); do eval "$c"; done
        samples=()
        for ((i = 0; i < RUNS; ++i)); do
            start=$(date +%s%N)
            eval "$c"
            end=$(date +%s%N)
            samples+=($(((end - start) / 1000)))
        done
        sorted=($(printf '%s\n' "${samples[@]}" | sort -n))
        MINS+=("$(awk -v us="${sorted[0]}" 'BEGIN { print us / 1000 }')")
        MEDIANS+=("$(printf '%s\n' "${sorted[@]}" | awk '{ v[NR] = $1 } END {
            print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) / 1000 }')")
    done
    TIMER="a date +%s%N loop"
fi

echo "   (timed with $TIMER; ratio = time / vantor-cli's time)"
printf '   %-28s %12s %12s %14s %11s\n' command "median ms" "min ms" "median ratio" "min ratio"
for i in "${!COMMANDS[@]}"; do
    printf '   %-28s %12.1f %12.1f %14.2f %11.2f\n' "${NAMES[$i]}" "${MEDIANS[$i]}" "${MINS[$i]}" \
        "$(awk -v a="${MEDIANS[$i]}" -v b="${MEDIANS[0]}" 'BEGIN { print a / b }')" \
        "$(awk -v a="${MINS[$i]}" -v b="${MINS[0]}" 'BEGIN { print a / b }')"
done
echo "   load average while timing: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
