#!/usr/bin/env bash
# Makes the demo's pictures (ImageMagick), sounds (sox, espeak-ng, oggenc) and opening movie
# (ffmpeg, packed with vellum-movie) into a data folder, so nothing binary is committed.
#   scripts/demo-assets.sh OUT_DIR VELLUM_MOVIE
set -euo pipefail
out=${1:?usage: demo-assets.sh OUT_DIR VELLUM_MOVIE}
movie_tool=${2:?usage: demo-assets.sh OUT_DIR VELLUM_MOVIE}
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

# The title screen: the harbour in deep blue with a lighthouse beam, and two buttons on it: a
# green "begin" arrow and a grey "leave" cross, each on a round plate whose corners are clear.
convert -size 1280x720 gradient:'#1b2a44'-'#4d6688' \
        -fill '#f2e6b8' -draw 'polygon 980,250 1280,120 1280,380' \
        -fill '#2a2623' -draw 'rectangle 940,250 1000,720' \
        -strip "PNG32:$out/title.png"
convert -size 240x96 xc:none -fill '#e8efe4' -draw 'roundrectangle 0,0 239,95 40,40' \
        -fill '#3f8f4f' -draw 'polygon 95,22 95,74 150,48' \
        -strip "PNG32:$out/btn_start.png"
convert -size 240x96 xc:none -fill '#e8efe4' -draw 'roundrectangle 0,0 239,95 40,40' \
        -stroke '#7a7a7a' -strokewidth 10 -draw 'line 98,26 142,70' -draw 'line 142,26 98,70' \
        -strip "PNG32:$out/btn_quit.png"

# The choice: stay on the bench (a bench) or walk the pier (an arrow along a plank).
convert -size 300x120 xc:none -fill '#f4ede0' -draw 'roundrectangle 0,0 299,119 30,30' \
        -fill '#6b4f35' -draw 'rectangle 90,50 210,62' -draw 'rectangle 100,62 110,90' -draw 'rectangle 190,62 200,90' \
        -strip "PNG32:$out/choice_stay.png"
convert -size 300x120 xc:none -fill '#f4ede0' -draw 'roundrectangle 0,0 299,119 30,30' \
        -fill '#6b4f35' -draw 'rectangle 70,80 230,88' \
        -fill '#2f5f8f' -draw 'polygon 90,45 180,45 180,30 215,55 180,80 180,65 90,65' \
        -strip "PNG32:$out/choice_walk.png"

# Evening over the harbour (staying), and the far end of the pier (walking).
convert -size 1280x430 gradient:'#e9a46a'-'#f6d9a8' \
        -size 1280x290 gradient:'#8a6a6a'-'#3e3a5a' -append \
        -fill '#3d3733' -draw 'rectangle 0,561 699,599' \
        -strip "PNG32:$out/bg_evening.png"
convert -size 1280x430 gradient:'#a9bcd6'-'#e6edf3' \
        -size 1280x290 gradient:'#6f8699'-'#42546f' -append \
        -fill '#3d3733' -draw 'rectangle 300,540 1280,600' -draw 'rectangle 1180,300 1200,540' \
        -strip "PNG32:$out/bg_pier.png"

# The rule of the evening change: a soft diagonal sweep from the top left, in grey only.
convert -size 1280x720 gradient:white-black -rotate 0 \
        \( -size 1280x720 gradient:white-black -rotate 90 -resize 1280x720! \) \
        -compose multiply -composite -colorspace Gray -depth 8 \
        -strip "PNG24:$out/rule_sweep.png"

# The message window: a dark, half-transparent panel with a light rim that the text sits on, tall
# enough for four rows of text with their ruby.
convert -size 1080x236 xc:none \
        -fill '#10182880' -stroke '#c8d4e8c0' -strokewidth 3 -draw 'roundrectangle 2,2 1077,233 18,18' \
        -strip "PNG32:$out/window.png"

# The title's settings button: a plate like the others with a ring and a dot (a dial).
convert -size 240x96 xc:none -fill '#e8efe4' -draw 'roundrectangle 0,0 239,95 40,40' \
        -fill none -stroke '#8a6a2f' -strokewidth 8 -draw 'circle 120,48 120,24' \
        -fill '#8a6a2f' -stroke none -draw 'circle 120,48 120,40' \
        -strip "PNG32:$out/btn_config.png"

# Small dark plates with a light rim: the labelled buttons of the story, the settings screen and
# the backlog (the engine writes their labels on them).
convert -size 110x44 xc:none \
        -fill '#2c3e5cf0' -stroke '#c8d4e8' -strokewidth 2 -draw 'roundrectangle 1,1 108,42 12,12' \
        -strip "PNG32:$out/btn_small.png"

# The settings screen's panel, and a volume meter: a dark track and the light bar laid over it.
convert -size 800x560 xc:none \
        -fill '#0c1424' -stroke '#c8d4e8' -strokewidth 3 -draw 'roundrectangle 2,2 797,557 24,24' \
        -strip "PNG32:$out/settings_panel.png"
convert -size 300x16 xc:'#394861' -strip "PNG32:$out/bar_track.png"
convert -size 300x16 xc:'#e9c46a' -strip "PNG32:$out/bar_fill.png"

# A clear pixel: the backlog's picture before a page's picture replaces it.
convert -size 1x1 xc:none -strip "PNG32:$out/blank.png"

# The backlog's ground: the whole screen darkened, with a rim around the place of the page's picture.
convert -size 1280x720 xc:'#080c16' \
        -fill none -stroke '#c8d4e8' -strokewidth 3 -draw 'rectangle 76,56 724,424' \
        -strip "PNG32:$out/log_panel.png"

# The opening movie: three seconds of dawn light drifting over the harbour's colours, fading in and
# out, with the harbour bell as its sound.
ffmpeg -y -loglevel error -f lavfi \
       -i "gradients=s=1280x720:d=3:r=30:c0=#1b2a44:c1=#4d6688:c2=#e9a46a:speed=0.02,fade=in:0:20,fade=out:70:20" \
       -pix_fmt yuv420p -c:v libtheora -q:v 5 "$work/opening.ogv"
"$movie_tool" pack "$work/opening.ogv" "$out/bell.ogg" -o "$out/opening.thor"
