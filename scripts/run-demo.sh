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
if [ -d "$root/examples/demo/data" ]; then
  "$build/vellum-pack" archive "$root/examples/demo/data" -o "$game/arc0.dat"
fi

args=(--game "$game")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run-demo: no display found, running headless"
  args+=(--headless)
fi
exec "$build/vellum" "${args[@]}"
