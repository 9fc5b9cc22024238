#!/usr/bin/env bash
# Makes docs/vantor-island.png, the README's picture of Vantor showing the sample island, on a
# virtual X display (Xvfb), so that it can be made again after the windows change. It clicks its
# way through the File menu, so a new order of that menu needs a change here.
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

# On the virtual display: start Vantor, give its window the screen, open the island with File >
# Load Map (the fifth item of the File menu) through the file dialog, let it draw, and take the
# picture of the screen.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    set -euo pipefail
    "$1" &
    vantor=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name Vantor | head -n 1)
    xdotool windowmove "$window" 0 0 windowsize "$window" 1280 800
    sleep 2
    xdotool mousemove --window "$window" 15 10 click 1
    sleep 1
    xdotool key Down Down Down Down Down Return
    sleep 2
    xdotool type --delay 20 "$2"
    xdotool key Return
    sleep 4
    import -window root "$3"
    kill "$vantor"
' screenshot "$build/bin/vantor" "$build/bin/island.map" "$out"
echo "Wrote $out"
