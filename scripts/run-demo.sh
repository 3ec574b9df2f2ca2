#!/usr/bin/env bash
# Packs examples/demo into a game folder under the build tree and runs it.
# With no display (no DISPLAY or WAYLAND_DISPLAY) the engine runs headless.
set -euo pipefail
build=${1:-build}
game=${2:-$build/demo-game}
root=$(cd "$(dirname "$0")/.." && pwd)

rm -rf "$game"
mkdir -p "$game"
"$build/vellum-pack" script "$root/examples/demo" -o "$game/script.dat" --from-utf8
# The pictures are made here; any data committed beside the scripts joins them.
data="$build/demo-data"
rm -rf "$data"
bash "$root/scripts/demo-assets.sh" "$data" "$build/vellum-movie"
if [ -d "$root/examples/demo/data" ]; then
  cp -r "$root/examples/demo/data/." "$data/"
fi
"$build/vellum-pack" archive "$data" -o "$game/arc0.dat"

args=(--game "$game")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # Nobody can click without a display: the demo's own playthrough clicks for them.
  echo "run-demo: no display found, running headless with the demo's playthrough"
  args+=(--headless --input "$root/examples/demo/playthrough.txt")
fi
exec "$build/vellum" "${args[@]}"
