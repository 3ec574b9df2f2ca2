#!/usr/bin/env bash
# Makes the demo's pictures (ImageMagick) and sounds (sox, espeak-ng, oggenc) into a data folder,
# so nothing binary is committed.
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

# Sounds, made in a scratch folder and encoded as Ogg Vorbis.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Music: four slow chords (Am F C G), 12 s, looped endlessly by the script; each chord fades in and
# out, so the loop has no seam.
chords=()
for chord in "A3 C4 E4" "F3 A3 C4" "C3 E3 G3" "G3 B3 D4"; do
  set -- $chord
  sox -n -r 44100 -c 1 -b 16 "$work/chord_$1.wav" synth 3 sine "$1" synth 3 sine mix "$2" synth 3 sine mix "$3" \
      vol 0.3 fade q 0.4 3 0.6
  chords+=("$work/chord_$1.wav")
done
sox "${chords[@]}" -c 2 -b 16 "$work/bgm.wav" reverb 40
oggenc -Q -q 4 -o "$out/bgm.ogg" "$work/bgm.wav"

# Effect: the harbour bell, two plucked notes dying away.
sox -n -r 44100 -c 1 -b 16 "$work/bell.wav" synth 2.5 pluck C6 synth 2.5 pluck mix G6 vol 0.6 fade 0 2.5 2.2
oggenc -Q -q 4 -o "$out/bell.ogg" "$work/bell.wav"

# Voice: Irene's first line, spoken by espeak-ng's Mandarin voice (22050 Hz mono).
espeak-ng -v cmn -s 150 -w "$work/voice.wav" "早上好，旅行者。你也是来等渡船的吗？"
oggenc -Q -q 4 -o "$out/voice.ogg" "$work/voice.wav"
