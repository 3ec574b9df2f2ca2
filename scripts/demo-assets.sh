#!/usr/bin/env bash
# Makes the demo's pictures with ImageMagick into a data folder, so nothing binary is committed.
#   scripts/demo-assets.sh OUT_DIR
set -euo pipefail
out=${1:?usage: demo-assets.sh OUT_DIR}
mkdir -p "$out"

# The harbour at dawn: a sky fading to the horizon, the sea below it, a pier on the left.
convert -size 1280x430 gradient:'#94a8c6'-'#dde6ef' \
        -size 1280x290 gradient:'#778c9f'-'#485a78' -append \
        -fill '#3d3733' -draw 'rectangle 0,561 699,599' \
        -strip "PNG32:$out/bg.png"

# Irene: a plain figure on a transparent ground, anchored at her feet.
convert -size 320x560 xc:none \
        -fill '#593c77' -draw 'polygon 110,150 210,150 310,560 10,560' \
        -fill '#efd3b5' -draw 'circle 160,90 160,30' \
        -strip "PNG32:$out/chara.png"

# The message window: a dark, half-transparent panel with a light rim that the text sits on.
convert -size 1080x190 xc:none \
        -fill '#10182880' -stroke '#c8d4e8c0' -strokewidth 3 -draw 'roundrectangle 2,2 1077,187 18,18' \
        -strip "PNG32:$out/window.png"
