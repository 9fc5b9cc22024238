#!/usr/bin/env bash
# Installs what is missing, builds everything, and starts Vantor beside the sample tile sets. With no
# file named, Vantor opens the sample map.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --parallel "$(nproc)"
if [ $# -eq 0 ]; then
    set -- "$root/build/bin/island.map"
fi
exec "$root/build/bin/vantor" "$@"
