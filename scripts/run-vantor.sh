#!/usr/bin/env bash
# Installs what is missing, builds everything, and starts Vantor beside the sample tile sets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --parallel "$(nproc)"
exec "$root/build/bin/vantor" "$@"
