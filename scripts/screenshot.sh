#!/usr/bin/env bash
# Makes docs/vantor-island.png, the README's picture of Vantor showing the sample island, on a
# virtual X display (Xvfb), so that it can be made again after the windows change.
# Environment: BUILD_DIR (default build/), SKIP_BUILD=1 uses the programs already built there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=$root/docs/vantor-island.png
"$root/scripts/install-deps.sh" --screenshot
if [[ ${SKIP_BUILD:-} != 1 ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target vantor vantor-sample-map dovrel-sample-tiles --parallel "$(nproc)" >/dev/null
fi

# On the virtual display: start Vantor on the island, put the palette beside the map window, let it
# draw, select a block of the island with the rectangle tool, copy it and hold it as a paste over
# the sea, and take the picture of the screen.
xvfb-run -a -s "-screen 0 1600x800x24" bash -c '
    set -euo pipefail
    "$1" "$2" &
    vantor=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "island.map" | head -n 1)
    palette=$(timeout 30 xdotool search --sync --onlyvisible --name "Tiles" | head -n 1)
    xdotool windowmove "$window" 0 0 windowsize "$window" 1265 800
    xdotool windowmove "$palette" 1270 0
    sleep 4
    # The screen pixel of the centre of hex (column, row): odd columns sit half a hex lower.
    hex() { echo $((9 + 37 * $1 + 24)) $((91 + 40 * $2 + 20 + 20 * ($1 % 2))); }
    xdotool windowfocus --sync "$window"
    xdotool key r
    xdotool mousemove $(hex 18 7) mousedown 1 mousemove $(hex 19 9) mousemove $(hex 21 11) mouseup 1
    xdotool key ctrl+c ctrl+v mousemove $(hex 2 11) mousemove $(hex 3 12)
    sleep 1
    import -window root "$3"
    kill "$vantor"
' screenshot "$build/bin/vantor" "$build/bin/island.map" "$out"
echo "Wrote $out"
