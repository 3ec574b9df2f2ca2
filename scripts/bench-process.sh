#!/usr/bin/env bash
# Times whole engine processes the way a player meets them, against a baseline binary in the same run:
#   first-frame  start, a 1280x720 picture on screen, quit (wall time and peak memory), with the
#                GL driver's shader cache warm and without it
#   no-screen    start and quit of a game without a screen (what the screen set-up adds)
#   idle         a game waiting for a click (eventWait + draw2): CPU share of one core over a fixed time
#   sprites      a 1280x720 picture, a line of text and 100 moving 64x64 sprites: CPU time per frame
#                (all threads, the software rasteriser's included), from a long and a short run of the
#                same scene; once as the game starts and once with the filter a first run picks
# Each figure is the median of RUNS runs; the runs of the two binaries alternate so that a busy
# machine slows both alike.
#
#   scripts/bench-process.sh [-n RUNS] [-t IDLE_SECONDS] [-m MODES] [-x] NEW_BINARY [OLD_BINARY]
# -m runs only the modes named (comma-separated: first-frame,no-screen,idle,sprites).
# -x runs the idle game in a window under a private Xvfb as well (when Xvfb is installed).
set -euo pipefail

runs=5
idle_seconds=3
with_x=0
modes=first-frame,no-screen,idle,sprites
while getopts "n:t:m:x" opt; do
  case "$opt" in
    n) runs=$OPTARG ;;
    t) idle_seconds=$OPTARG ;;
    m) modes=$OPTARG ;;
    x) with_x=1 ;;
    *) echo "usage: $0 [-n RUNS] [-t IDLE_SECONDS] [-m MODES] [-x] NEW_BINARY [OLD_BINARY]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 1 ] || { echo "usage: $0 [-n RUNS] [-t IDLE_SECONDS] [-m MODES] [-x] NEW_BINARY [OLD_BINARY]" >&2; exit 2; }
wanted() { [[ ",$modes," == *",$1,"* ]]; }
new_bin=$(realpath "$1")
old_bin=${2:+$(realpath "$2")}
here=$(cd "$(dirname "$0")/.." && pwd)
pack=${VELLUM_PACK:-$here/build/vellum-pack}
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A lock folder of our own: a copy of the game running elsewhere must not turn our runs away.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

# A game folder from a script text; every game shows the same 1280x720 picture.
make_game() {
  local name=$1 text=$2
  mkdir -p "$work/src-$name/script" "$work/$name"
  printf '%s\n' "$text" >"$work/src-$name/script/0.txt"
  "$pack" script "$work/src-$name" -o "$work/$name/script.dat" --from-utf8 >/dev/null
  cp "$work/bg.png" "$work/$name/bg.png"
}

python3 - "$work/bg.png" <<'EOF'
import struct, sys, zlib
w, h = 1280, 720
rows = b"".join(b"\0" + bytes(v for x in range(w) for v in (x * 255 // w, y * 255 // h, (x ^ y) & 255)) for y in range(h))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
EOF

make_game first-frame 'screen 1280, 720, 1280, 0
sp 0, "bg.png", 0, 0
draw
end'
make_game no-screen 'end'
# Flags 2: no start-up settings dialog, which a windowed game would otherwise wait in.
make_game idle 'int owner
int code
int state
screen 1280, 720, 1280, 2
sp 0, "bg.png", 0, 0
draw
*wait
eventWait %owner, %code, %state
draw2
goto *wait'

# The sprite scene: the picture, a story line shown at once, then FRAMES frames of 100 sprites
# moving by whole pixels. With a settings file the engine picks the first run's scaling filter.
sprite_scene() {
  local frames=$1 settings=$2
  printf '%s\n' 'int f' 'int i' "${settings}" 'screen 1280, 720, 1280, 2' 'setMessCreate 200, 60' \
    'setMessXY 40, 640' 'setMessWH 40, 2, 24, 12, 0, 30' 'setMessLine 0, 2' 'sufMessGosub "*message"' \
    'sp 0, "bg.png", 0, 0' 'sp_xy 0, 640, 360' 'sp_o 0, 1000' 'for %i, 1, 100' 'sp %i, "ball.png", 0, 0' 'next' \
    '【艾琳】你也是来等渡船的吗？雾太大了。' '' "for %f, 1, ${frames}" 'for %i, 1, 100' \
    'sp_xy %i, 32 + (%i * 37 + %f * 3) % 1216, 32 + (%i * 53 + %f * 2) % 656' 'next' 'draw' 'next' 'end' '' \
    '*message' 'formatMessDraw' 'endMessDraw' 'return'
}
python3 - "$work/ball.png" <<'EOF'
import struct, sys, zlib
def pixel(x, y):
    d = (x - 31.5) ** 2 + (y - 31.5) ** 2
    return bytes((255, x * 4 & 255, y * 4 & 255, 255 if d < 900 else 128 if d < 1024 else 0))
rows = b"".join(b"\0" + b"".join(pixel(x, y) for x in range(64)) for y in range(64))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 64, 64, 8, 6, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
EOF
sprite_frames_short=20
sprite_frames_long=220
for kind in plain filtered; do
  settings=''
  [ "$kind" = filtered ] && settings='loadSetting "", ""'
  for frames in $sprite_frames_short $sprite_frames_long; do
    make_game "sprites-$kind-$frames" "$(sprite_scene "$frames" "$settings")"
    cp "$work/ball.png" "$work/sprites-$kind-$frames/ball.png"
  done
done

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# "seconds maxrss_kib" of one whole run.
time_run() {
  local bin=$1 game=$2 mode=$3
  local start=$EPOCHREALTIME
  /usr/bin/time -o "$work/time.out" -f "%M" "$bin" $mode --game "$work/$game" >/dev/null 2>&1 || true
  echo "$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.4f", b - a }') $(tail -1 "$work/time.out")"
}

# Percent of one core the idle game used over idle_seconds, after a second to settle.
idle_share() {
  local bin=$1 mode=$2 pid ticks0 ticks1 hz
  hz=$(getconf CLK_TCK)
  "$bin" $mode --game "$work/idle" >/dev/null 2>&1 &
  pid=$!
  sleep 1
  ticks0=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  sleep "$idle_seconds"
  ticks1=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v a="$ticks0" -v b="$ticks1" -v hz="$hz" -v s="$idle_seconds" 'BEGIN { printf "%.2f\n", 100 * (b - a) / hz / s }'
}

# CPU seconds (user + system, every thread) of one whole run. The first-run filter's games answer
# the save-folder question with the game folder; later runs find their settings there.
cpu_run() {
  local bin=$1 game=$2 mode=$3
  /usr/bin/time -o "$work/time.out" -f "%U %S" "$bin" $mode --answers no,yes --game "$work/$game" >/dev/null 2>&1 || true
  awk '{ printf "%.3f\n", $1 + $2 }' "$work/time.out"
}

# Milliseconds of CPU per frame of a sprite game: the long run less the short one, per extra frame,
# from the medians of each.
sprites_scenario() {
  local label=$1 kind=$2 mode=$3
  local -a bins=("$new_bin")
  [ -n "$old_bin" ] && bins+=("$old_bin")
  local i b frames
  for ((i = 0; i < runs; i++)); do
    for b in "${!bins[@]}"; do
      for frames in $sprite_frames_short $sprite_frames_long; do
        cpu_run "${bins[$b]}" "sprites-$kind-$frames" "$mode" >>"$work/$label.$b.$frames"
      done
    done
  done
  local -a per=()
  for b in "${!bins[@]}"; do
    per[$b]=$(awk -v s="$(median <"$work/$label.$b.$sprite_frames_short")" -v l="$(median <"$work/$label.$b.$sprite_frames_long")" \
      -v n=$((sprite_frames_long - sprite_frames_short)) 'BEGIN { printf "%.2f", (l - s) * 1000 / n }')
    local who=new
    [ "$b" = 1 ] && who=old
    printf '%-28s %-4s  cpu %6s ms per frame\n' "$label" "$who" "${per[$b]}"
  done
  if [ -n "$old_bin" ]; then
    printf '%-28s new/old cpu per frame %s\n' "$label" "$(awk -v n="${per[0]}" -v o="${per[1]}" 'BEGIN { if (o > 0) printf "%.3f", n / o; else print "-" }')"
  fi
}

# Runs one scenario for both binaries, alternating, and prints its table rows.
scenario() {
  local label=$1 kind=$2 game=$3 mode=$4
  local -a bins=("$new_bin")
  [ -n "$old_bin" ] && bins+=("$old_bin")
  local i b
  for ((i = 0; i < runs; i++)); do
    for b in "${!bins[@]}"; do
      if [ "$kind" = idle ]; then
        idle_share "${bins[$b]}" "$mode" >>"$work/$label.$b.cpu"
      else
        time_run "${bins[$b]}" "$game" "$mode" >>"$work/$label.$b.run"
      fi
    done
  done
  for b in "${!bins[@]}"; do
    local who=new
    [ "$b" = 1 ] && who=old
    if [ "$kind" = idle ]; then
      printf '%-28s %-4s  cpu %6s %%\n' "$label" "$who" "$(median <"$work/$label.$b.cpu")"
    else
      printf '%-28s %-4s  wall %6s s  maxrss %6s MiB\n' "$label" "$who" \
        "$(cut -d' ' -f1 "$work/$label.$b.run" | median)" \
        "$(cut -d' ' -f2 "$work/$label.$b.run" | median | awk '{ printf "%.1f", $1 / 1024 }')"
    fi
  done
  if [ -n "$old_bin" ]; then
    if [ "$kind" = idle ]; then
      printf '%-28s new/old cpu %s\n' "$label" "$(awk -v n="$(median <"$work/$label.0.cpu")" -v o="$(median <"$work/$label.1.cpu")" 'BEGIN { if (o > 0) printf "%.3f", n / o; else print "-" }')"
    else
      printf '%-28s new/old wall %s  maxrss %s\n' "$label" \
        "$(awk -v n="$(cut -d' ' -f1 "$work/$label.0.run" | median)" -v o="$(cut -d' ' -f1 "$work/$label.1.run" | median)" 'BEGIN { printf "%.3f", n / o }')" \
        "$(awk -v n="$(cut -d' ' -f2 "$work/$label.0.run" | median)" -v o="$(cut -d' ' -f2 "$work/$label.1.run" | median)" 'BEGIN { printf "%.3f", n / o }')"
    fi
  fi
}

echo "medians of $runs runs; idle share over ${idle_seconds} s"
if wanted no-screen; then scenario "no-screen (headless)" time no-screen --headless; fi
if wanted first-frame; then
  # Software GL keeps the code it builds for shaders in a disk cache (~/.cache/mesa_shader_cache):
  # two untimed starts of each binary fill it (it is written behind the driver's back, and a start
  # that quits at once may end before the last code is in), so the first row is a player's later
  # starts; the second row reads and writes no cache, like the very first start after installing.
  for b in "$new_bin" ${old_bin:+"$old_bin"}; do
    for _ in 1 2; do time_run "$b" first-frame --headless >/dev/null; done
  done
  scenario "first-frame (headless)" time first-frame --headless
  MESA_SHADER_CACHE_DISABLE=true scenario "first-frame (no shader cache)" time first-frame --headless
fi
if wanted idle; then scenario "idle (headless)" idle idle --headless; fi
if wanted sprites; then
  sprites_scenario "sprites (headless)" plain --headless
  sprites_scenario "sprites, filter (headless)" filtered --headless
fi

if [ "$with_x" = 1 ] && command -v Xvfb >/dev/null; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
  if wanted idle; then scenario "idle (Xvfb)" idle idle ""; fi
  if wanted sprites; then sprites_scenario "sprites, filter (Xvfb)" filtered ""; fi
fi
