#!/usr/bin/env bash
# The demo's playthrough, headless, with the engine built for the web running under node: it must
# end with status 0 and print the same story lines as the native engine.
#   scripts/web/playthrough-node.sh NATIVE_BUILD WEB_ENGINE_DIR [WORK_DIR]
# NATIVE_BUILD holds vellum, vellum-pack and vellum-movie (it packs the demo and plays it natively);
# WEB_ENGINE_DIR holds vellum.js and vellum.wasm. WORK_DIR keeps both runs' output (default: a
# scratch folder, removed afterwards).
set -euo pipefail
native=$(cd "${1:?usage: playthrough-node.sh NATIVE_BUILD WEB_ENGINE_DIR [WORK_DIR]}" && pwd)
web=$(cd "${2:?usage: playthrough-node.sh NATIVE_BUILD WEB_ENGINE_DIR [WORK_DIR]}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -n "${3:-}" ]; then
  mkdir -p "$3"
  work=$(cd "$3" && pwd)
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs} NODE_OPTIONS=${NODE_OPTIONS:---no-experimental-fetch}
# Each run keeps its instance lock to itself, so a copy of the game running elsewhere cannot turn it away.
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

rm -rf "$work/game" "$work/native" "$work/web"
bash "$root/scripts/pack-demo.sh" "$native" "$work/game" > "$work/pack.log"
cp -r "$work/game" "$work/native"
cp -r "$work/game" "$work/web"
playthrough=$root/examples/demo/playthrough.txt

"$native/vellum" --headless --game "$work/native" --input "$playthrough" > "$work/native.txt" 2> "$work/native.err"

# The page ships a CJK font in /fonts; under node the build machine's own is mounted there.
fonts=${VELLUM_WEB_FONTS:-/usr/share/fonts/truetype/wqy}
start=$(date +%s%N)
status=0
(cd "$work" && VELLUM_WEB_FONTS=$fonts node "$web/vellum.js" --headless --game "$work/web" --input "$playthrough") \
  > "$work/web.txt" 2> "$work/web.err" || status=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
echo "playthrough-node: node run took ${elapsed} ms, status $status; $(wc -l < "$work/web.txt") story lines (native $(wc -l < "$work/native.txt"))"
if [ "$status" -ne 0 ]; then
  echo "playthrough-node: the web engine ended with status $status; its last messages:" >&2
  tail -20 "$work/web.err" >&2
  exit 1
fi
if ! diff -u "$work/native.txt" "$work/web.txt"; then
  echo "playthrough-node: the web engine told a different story (above: native, then web)" >&2
  exit 1
fi
echo "playthrough-node: the same story as the native engine"
