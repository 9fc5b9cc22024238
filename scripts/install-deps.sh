#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when they are missing.
# Options add what some tasks need besides:
#   --tiled       Tiled's tmxrasterizer, which the export test compares Vantor's picture with
#   --package     dpkg-dev, with which `cpack -G DEB` finds the package's dependencies, and lintian
#   --screenshot  xdotool and ImageMagick, for scripts/screenshot.sh
set -euo pipefail

packages=(
    cmake g++ make
    qt6-base-dev qt6-base-dev-tools libgl-dev libisal-dev
    # Tiled's compressed layer data
    zlib1g-dev libzstd-dev
    libbenchmark-dev
    xvfb xauth
    # scripts/fuzz.sh: clang and its libFuzzer runtime
    clang libclang-rt-14-dev
    # the manual pages, and the check of the installed tree (packaging/check_install.cmake)
    help2man man-db desktop-file-utils shared-mime-info libglib2.0-bin xdg-utils
    appstream libxml2-utils bash-completion
)
for option in "$@"; do
    case $option in
        --tiled) packages+=(tiled) ;;
        --package) packages+=(dpkg-dev lintian) ;;
        --screenshot) packages+=(xdotool imagemagick) ;;
        *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
