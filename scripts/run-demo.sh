#!/usr/bin/env bash
# Packs examples/demo into a game folder under the build tree and runs it.
# With no display (no DISPLAY or WAYLAND_DISPLAY) the engine runs headless.
set -euo pipefail
build=${1:-build}
game=${2:-$build/demo-game}
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/pack-demo.sh" "$build" "$game"

args=(--game "$game")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # Nobody can click without a display: the demo's own playthrough clicks for them.
  # Its shot lines leave pictures of what a player would have seen.
  echo "run-demo: no display found, running headless with the demo's playthrough (pictures in $build/demo-shots)"
  args+=(--headless --input "$root/examples/demo/playthrough.txt" --shots "$build/demo-shots")
fi
exec "$build/vellum" "${args[@]}"
