#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Vellum needs.
# Idempotent: packages already present are left alone. Uses apt-get as root, sudo otherwise.
#   scripts/deps.sh          what the native build, its tests and the demo need
#   scripts/deps.sh --web    that, and the web build's toolchain (make web, make web-test)
set -euo pipefail

web=0
case "${1:-}" in
  "") ;;
  --web) web=1 ;;
  *) echo "usage: $0 [--web]" >&2; exit 2 ;;
esac

packages=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libdeflate-dev libsdl2-dev libpng-dev libjpeg62-turbo-dev libfreetype-dev libfontconfig-dev
  imagemagick lua5.2 liblua5.2-dev libpcre2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # libspng, measured against libpng by a benchmark (the engine decodes PNG with libpng).
  libspng-dev
  clang libclang-rt-14-dev
  # The renderer: GL headers, and Mesa's drivers (llvmpipe) with EGL for machines without a GPU.
  libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libglx-mesa0
  xvfb xauth xdotool libx11-dev
  # Sound: Ogg Vorbis and Opus decoding, and the encoders the tests make their files with.
  libvorbis-dev vorbis-tools libopusfile-dev opus-tools
  # The demo's sounds are made at build time from these.
  sox espeak-ng
  # Movies: Theora decoding, and ffmpeg, which the tests and the demo make their Theora videos with.
  libtheora-dev libogg-dev ffmpeg
  # A CJK face for the message font (Chinese and Japanese glyphs, about 5 MB): the default face
  # names games use map onto it.
  fonts-wqy-microhei
  # Downloads (HTTP and HTTPS), and the menu and settings dialog drawn in the game's window.
  libcurl4-openssl-dev libimgui-dev
  # Reading the story aloud: speech-dispatcher's client library.
  libspeechd-dev
)
if [ "$web" -eq 1 ]; then
  packages+=(
    # Emscripten (with its clang, binaryen and node) builds the libraries and the engine for the
    # browser; dpkg-dev's dpkg-source unpacks the libraries' Debian source packages.
    emscripten nodejs dpkg-dev
    # make web-test: the page in headless Chromium, served by a Python script.
    chromium python3
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
