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
  echo "run-demo: no display found, running headless with the demo's playthrough"
  args+=(--headless --input "$root/examples/demo/playthrough.txt")
fi
exec "$build/vellum" "${args[@]}"
