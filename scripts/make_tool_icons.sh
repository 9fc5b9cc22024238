#!/bin/sh
# Draws the map tools' 24 x 24 tool-bar icons with ImageMagick: each is drawn at 96 x 96 and
# reduced, which smooths its edges. Run from anywhere; writes resources/vantor/icons/tools/*.png.
set -eu
out="$(cd "$(dirname "$0")/.." && pwd)/resources/vantor/icons/tools"
mkdir -p "$out"

draw() { # name, then ImageMagick drawing options
    name=$1
    shift
    convert -size 96x96 xc:none "$@" -filter Triangle -resize 24x24 +repage -strip "PNG32:$out/$name.png"
}

# A brush, handle up to the right, its tip dipped in blue.
draw brush \
    -stroke '#5a3a1a' -strokewidth 4 -fill '#b07030' -draw 'polygon 84,6 90,12 52,50 46,44' \
    -stroke '#404040' -fill '#c0c0c0' -draw 'polygon 44,40 56,52 48,60 36,48' \
    -stroke '#1a3070' -fill '#3070e0' -draw 'path "M 36,48 L 48,60 C 40,76 24,86 6,90 C 10,72 20,56 36,48 Z"'

# A tipped bucket pouring paint.
draw fill \
    -stroke '#303030' -strokewidth 5 -fill '#d8d8d8' -draw 'polygon 20,34 52,12 80,52 48,74' \
    -fill none -draw 'arc 28,8 66,46 200,340' \
    -stroke '#1a3070' -strokewidth 3 -fill '#3070e0' -draw 'path "M 76,54 C 88,62 90,74 88,88 C 80,86 78,74 74,62 Z"' \
    -draw 'ellipse 84,88 8,5 0,360'

# A dashed rectangle, as a selection's outline.
draw rect_select \
    -fill none -stroke '#ffffff' -strokewidth 10 -draw 'rectangle 12,18 84,78' \
    -stroke '#000000' -strokewidth 6 -draw 'stroke-dasharray 14 10 rectangle 12,18 84,78'

# A wand with a white tip and a spark.
draw magic_wand \
    -stroke '#000000' -strokewidth 12 -draw 'line 12,84 58,38' \
    -stroke '#ffffff' -strokewidth 6 -draw 'line 56,40 62,34' \
    -stroke '#806000' -strokewidth 3 -fill '#ffd800' \
    -draw 'polygon 72,6 77,19 90,24 77,29 72,42 67,29 54,24 67,19' \
    -draw 'polygon 30,10 33,17 40,20 33,23 30,30 27,23 20,20 27,17' \
    -draw 'polygon 82,50 85,56 91,58 85,60 82,66 79,60 73,58 79,56'

# Two matching hexes side by side.
hex() { # centre x, centre y
    echo "polygon $(($1 - 22)),$2 $(($1 - 11)),$(($2 - 20)) $(($1 + 11)),$(($2 - 20)) $(($1 + 22)),$2 $(($1 + 11)),$(($2 + 20)) $(($1 - 11)),$(($2 + 20))"
}
draw same_tile \
    -stroke '#104010' -strokewidth 5 -fill '#40b040' -draw "$(hex 26 36)" -draw "$(hex 70 60)" \
    -stroke none -fill '#e0f0a0' -draw 'circle 26,36 26,28' -draw 'circle 70,60 70,52'
