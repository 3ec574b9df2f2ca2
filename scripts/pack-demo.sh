#!/usr/bin/env bash
# Packs examples/demo into a game folder: the scripts, the pictures and sounds in arc0.dat
# (compressed), and the movies and the Lua and Squirrel sources in arc1.dat, stored as they are
# (both are read straight from their stored bytes). The data is made by demo-assets.sh in a
# scratch folder.
#   scripts/pack-demo.sh BUILD_DIR GAME_DIR
set -euo pipefail
build=${1:?usage: pack-demo.sh BUILD_DIR GAME_DIR}
game=${2:?usage: pack-demo.sh BUILD_DIR GAME_DIR}
root=$(cd "$(dirname "$0")/.." && pwd)

rm -rf "$game"
mkdir -p "$game"
"$build/vellum-pack" script "$root/examples/demo" -o "$game/script.dat" --from-utf8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$root/scripts/demo-assets.sh" "$work/data" "$build/vellum-movie"
if [ -d "$root/examples/demo/data" ]; then
  cp -r "$root/examples/demo/data/." "$work/data/"
fi
mkdir -p "$work/movies"
mv "$work/data/"*.thor "$work/movies/"
mv "$work/data/lua" "$work/data/squ" "$work/movies/"
"$build/vellum-pack" archive "$work/data" -o "$game/arc0.dat"
"$build/vellum-pack" archive "$work/movies" -o "$game/arc1.dat" --mode plain
