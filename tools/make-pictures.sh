#!/bin/sh
# Draws the customer display's pictures with ImageMagick into resources/display/:
# the banner (JPEG, 770 x 112) and the logo (PNG with transparency, 50 x 56).
# Stand-ins of the right sizes: a restaurant may put its own pictures there
# under the same names and sizes.
set -eu
cd "$(dirname "$0")/.."
out=resources/display
mkdir -p "$out"
font=$(fc-match -f '%{file}' 'Carlito:bold')

# Banner: the display's dark blue deepening downwards, a yellow rule under a
# plate with a fork and a knife, and the greeting.
convert -size 770x112 gradient:'rgb(44,66,112)'-'rgb(34,50,86)' \
    -fill 'rgb(255,242,6)' -draw 'rectangle 0,104 769,107' \
    -stroke white -strokewidth 4 -fill none -draw 'circle 70,52 70,16' \
    -strokewidth 2 -draw 'circle 70,52 70,28' \
    -stroke none -fill white \
    -draw 'roundrectangle 18,14 24,90 3,3' -draw 'rectangle 14,14 16,40' -draw 'rectangle 26,14 28,40' \
    -draw 'rectangle 14,38 28,44' \
    -draw 'roundrectangle 116,14 124,90 3,3' -draw 'polygon 116,14 130,22 124,54 116,54' \
    -font "$font" -pointsize 64 -fill white -gravity center -annotate +60+0 'Bon appétit' \
    -strip -quality 90 "$out/banner.jpg"

# Logo: a white chef's hat outlined in yellow, on transparency.
convert -size 50x56 xc:none \
    -stroke 'rgb(255,242,6)' -strokewidth 2 -fill white \
    -draw 'circle 14,22 14,11' -draw 'circle 36,22 36,11' -draw 'circle 25,16 25,3' \
    -stroke none -draw 'rectangle 12,22 38,40' \
    -stroke 'rgb(255,242,6)' -strokewidth 2 -fill white -draw 'rectangle 12,38 38,50' \
    -stroke 'rgb(34,50,86)' -strokewidth 1 -draw 'line 18,41 18,48' -draw 'line 25,41 25,48' -draw 'line 32,41 32,48' \
    -strip "PNG32:$out/logo.png"
identify "$out/banner.jpg" "$out/logo.png"
