#!/usr/bin/env bash
# Builds every C library the engine uses, for the web, from Debian's own source packages, with
# Debian's emscripten: `scripts/web/build-libs.sh BUILD_DIR`.
#
#   BUILD_DIR/web-deps/src     the unpacked source packages (apt-get source)
#   BUILD_DIR/web-deps/work    out-of-tree builds
#   BUILD_DIR/web-deps/prefix  include/, lib/ (static, -pthread), lib/pkgconfig/
#   BUILD_DIR/web-deps/stamps  one file per library built; a second run does nothing
#   BUILD_DIR/web-deps/times.txt  seconds each library took
#
# Every library is built with -pthread (the engine runs its workers as threads in the page) and
# -O2. JOBS (default 2) and NICE (default 10) keep the build polite on a shared machine.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
mkdir -p "$1"
root=$(cd "$1" && pwd)/web-deps
src=$root/src work=$root/work prefix=$root/prefix stamps=$root/stamps
mkdir -p "$src" "$work" "$prefix/include" "$prefix/lib/pkgconfig" "$stamps"

jobs=${JOBS:-2}
nice_cmd=(nice -n "${NICE:-10}")

# Debian's emscripten runs its tools under node: node finds acorn in Debian's shared module
# folder, and this emscripten's output predates node's built-in fetch.
export NODE_PATH=/usr/share/nodejs NODE_OPTIONS=--no-experimental-fetch
export CFLAGS="-O2 -pthread" CXXFLAGS="-O2 -pthread" LDFLAGS="-pthread"
# Only the prefix's .pc files, never the machine's own (emconfigure and emcmake set the search
# path to emscripten's own folder and add EM_PKG_CONFIG_PATH in front).
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH= EM_PKG_CONFIG_PATH=$prefix/lib/pkgconfig
unset PKG_CONFIG_SYSROOT_DIR

for tool in emcc emcmake emconfigure emmake emar node cmake ninja pkg-config; do
  command -v "$tool" >/dev/null || { echo "build-libs: $tool is missing (scripts/deps.sh --web installs it)" >&2; exit 1; }
done

# Source packages come through apt: add deb-src entries beside the machine's deb ones once.
ensure_deb_src() {
  if grep -rqs -E '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then return; fi
  local sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "build-libs: adding deb-src entries to the apt sources" >&2
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    # deb822: the same archives, for sources.
    sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | sed 's/^deb /deb-src /' |
      $sudo tee /etc/apt/sources.list.d/debian-src.list >/dev/null
  fi
  $sudo apt-get update -qq >&2
}

# fetch_source PACKAGE: apt-get source, newest version first. A mirror can list a version it
# cannot serve (a security update whose files are not there yet gives 404): then the next older
# version the sources list, so one missing file does not stop the whole build.
fetch_source() {
  local pkg=$1 version
  (cd "$src" && apt-get source -qq "$pkg" >/dev/null 2>"$work/$pkg.source.log") && return 0
  for version in $(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -u -r -V | tail -n +2); do
    echo "build-libs: $pkg: the newest source could not be fetched, trying $version" >&2
    rm -rf "${src:?}/$pkg"_* "${src:?}/$pkg"-[0-9]*
    (cd "$src" && apt-get source -qq "$pkg=$version" >/dev/null 2>>"$work/$pkg.source.log") && return 0
  done
  cat "$work/$pkg.source.log" >&2
  echo "build-libs: apt-get source $pkg failed" >&2
  return 1
}

# fetch PACKAGE: unpacks the source package once; prints its folder.
fetch() {
  local pkg=$1 dir
  dir=$(find "$src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  if [ -z "$dir" ]; then
    ensure_deb_src
    fetch_source "$pkg" || return 1
    dir=$(find "$src" -maxdepth 1 -type d -name "$pkg-[0-9]*" | head -n 1)
  fi
  [ -n "$dir" ] || { echo "build-libs: no source folder for $pkg" >&2; return 1; }
  echo "$dir"
}

# cmake_lib NAME SOURCE ARGS...: configures, builds and installs a CMake project into the prefix.
cmake_lib() {
  local name=$1 dir=$2; shift 2
  rm -rf "${work:?}/$name"
  # emcmake's own emulator setting passes node a flag node 20 rejects: plain node runs the checks.
  "${nice_cmd[@]}" emcmake cmake -S "$dir" -B "$work/$name" -G Ninja \
    -DCMAKE_CROSSCOMPILING_EMULATOR=node -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF \
    "$@" >"$work/$name.configure.log" 2>&1 || { tail -n 40 "$work/$name.configure.log" >&2; return 1; }
  "${nice_cmd[@]}" cmake --build "$work/$name" -j "$jobs" >"$work/$name.build.log" 2>&1 ||
    { tail -n 40 "$work/$name.build.log" >&2; return 1; }
  cmake --install "$work/$name" >"$work/$name.install.log" 2>&1 || { tail -n 20 "$work/$name.install.log" >&2; return 1; }
}

# autotools_configure NAME SOURCE ARGS...: runs a configure script in an out-of-tree folder.
autotools_configure() {
  local name=$1 dir=$2; shift 2
  rm -rf "${work:?}/$name"; mkdir -p "$work/$name"
  (cd "$work/$name" &&
    "${nice_cmd[@]}" emconfigure "$dir/configure" --prefix="$prefix" --libdir="$prefix/lib" \
      --disable-shared --enable-static "$@" >"$work/$name.configure.log" 2>&1) ||
    { tail -n 40 "$work/$name.configure.log" >&2; return 1; }
}

# autotools_make NAME [MAKE ARGS...]: builds, then installs.
autotools_make() {
  local name=$1; shift
  (cd "$work/$name" && "${nice_cmd[@]}" emmake make -j "$jobs" "$@" >"$work/$name.build.log" 2>&1 &&
    emmake make "$@" install >>"$work/$name.install.log" 2>&1) ||
    { tail -n 40 "$work/$name.build.log" "$work/$name.install.log" >&2; return 1; }
}

autotools_lib() {
  autotools_configure "$@" && autotools_make "$1"
}

zlib_inc="-DZLIB_INCLUDE_DIR=$prefix/include" zlib_lib="-DZLIB_LIBRARY=$prefix/lib/libz.a"

build_zlib() {
  local dir; dir=$(fetch zlib)
  # zlib's configure builds in its source folder: copy it so the source stays as unpacked.
  rm -rf "${work:?}/zlib"; cp -a "$dir" "$work/zlib"
  (cd "$work/zlib" && "${nice_cmd[@]}" emconfigure ./configure --static --prefix="$prefix" --libdir="$prefix/lib" \
      >"$work/zlib.configure.log" 2>&1 &&
    "${nice_cmd[@]}" emmake make -j "$jobs" libz.a >"$work/zlib.build.log" 2>&1 &&
    emmake make install >"$work/zlib.install.log" 2>&1) || { tail -n 40 "$work"/zlib.*.log >&2; return 1; }
}

build_libdeflate() {
  local dir; dir=$(fetch libdeflate)
  rm -rf "${work:?}/libdeflate"; cp -a "$dir" "$work/libdeflate"
  (cd "$work/libdeflate" &&
    "${nice_cmd[@]}" emmake make -j "$jobs" CC=emcc AR=emar CFLAGS="$CFLAGS" DISABLE_SHARED=1 libdeflate.a \
      >"$work/libdeflate.build.log" 2>&1) || { tail -n 40 "$work/libdeflate.build.log" >&2; return 1; }
  install -m644 "$work/libdeflate/libdeflate.a" "$prefix/lib/"
  install -m644 "$work/libdeflate/libdeflate.h" "$prefix/include/"
  local version; version=$(sed -n 's/^#define LIBDEFLATE_VERSION_STRING[^"]*"\([^"]*\)".*/\1/p' "$dir/libdeflate.h")
  sed -e "s|@PREFIX@|$prefix|" -e "s|@LIBDIR@|$prefix/lib|" -e "s|@INCDIR@|$prefix/include|" \
    -e "s|@VERSION@|$version|" "$dir/libdeflate.pc.in" >"$prefix/lib/pkgconfig/libdeflate.pc"
}

# Lua comes with a libtool Makefile: the library is its core and standard libraries, compiled
# as Debian compiles them (LUA_COMPAT_ALL), without dlopen (the page has no shared objects).
build_lua() {
  local dir; dir=$(fetch lua5.2)
  rm -rf "${work:?}/lua"; mkdir -p "$work/lua"
  # Debian's luaconf.h names the architecture's library folder through a generated header.
  printf '#ifndef _LUA_DEB_MULTIARCH_\n#define _LUA_DEB_MULTIARCH_\n#define DEB_HOST_MULTIARCH "wasm32-emscripten"\n#endif\n' \
    >"$work/lua/lua5.2-deb-multiarch.h"
  local f objs=()
  for f in "$dir"/src/l*.c; do
    case $(basename "$f") in lua.c|luac.c) continue ;; esac
    objs+=("$work/lua/$(basename "${f%.c}").o")
  done
  # A small Makefile so the objects build on $jobs cores.
  {
    echo "all: liblua5.2.a"
    echo "liblua5.2.a: ${objs[*]}"
    printf '\temar rcs $@ $^\n'
    echo "$work/lua/%.o: $dir/src/%.c"
    printf '\temcc %s -DLUA_COMPAT_ALL -DLUA_USE_POSIX -I%s -c $< -o $@\n' "$CFLAGS" "$work/lua"
  } >"$work/lua/Makefile"
  (cd "$work/lua" && "${nice_cmd[@]}" make -j "$jobs" >"$work/lua.build.log" 2>&1) ||
    { tail -n 40 "$work/lua.build.log" >&2; return 1; }
  mkdir -p "$prefix/include/lua5.2"
  install -m644 "$work/lua/liblua5.2.a" "$prefix/lib/"
  install -m644 "$dir"/src/{lua.h,luaconf.h,lualib.h,lauxlib.h,lua.hpp} "$work/lua/lua5.2-deb-multiarch.h" \
    "$prefix/include/lua5.2/"
  cat >"$prefix/lib/pkgconfig/lua5.2.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: Lua
Description: Lua language engine (web build)
Version: 5.2.4
Libs: -L\${libdir} -llua5.2
Libs.private: -lm
Cflags: -I\${includedir}/lua5.2
EOF
}

build_libpng() {
  local dir; dir=$(fetch libpng1.6)
  cmake_lib libpng "$dir" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DSKIP_INSTALL_PROGRAMS=ON "$zlib_inc" "$zlib_lib"
}

build_libjpeg_turbo() {
  local dir; dir=$(fetch libjpeg-turbo)
  # Its own GNUInstallDirs takes a relative library folder as relative to the working folder.
  cmake_lib libjpeg-turbo "$dir" -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JAVA=OFF -DCMAKE_INSTALL_LIBDIR="$prefix/lib"
}

build_freetype() {
  local dir; dir=$(fetch freetype)
  cmake_lib freetype "$dir" -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON "$zlib_inc" "$zlib_lib"
}

build_libogg() {
  local dir; dir=$(fetch libogg)
  cmake_lib libogg "$dir" -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
}

build_libvorbis() {
  local dir; dir=$(fetch libvorbis)
  cmake_lib libvorbis "$dir" -DOGG_INCLUDE_DIR="$prefix/include" -DOGG_LIBRARY="$prefix/lib/libogg.a" \
    -DBUILD_TESTING=OFF
}

# opus's tarball ships an incomplete CMake build; its configure works. These configure scripts
# are older than the wasm32 triplet: a nominal non-native host makes them cross-compile, and the
# x86 assembly, intrinsics and run-time CPU detection stay off.
cross_host=--host=i686-pc-linux-gnu

build_opus() {
  local dir; dir=$(fetch opus)
  autotools_lib opus "$dir" "$cross_host" --disable-asm --disable-intrinsics --disable-rtcd \
    --disable-stack-protector --disable-hardening --disable-doc --disable-extra-programs
}

build_opusfile() {
  local dir; dir=$(fetch opusfile)
  autotools_lib opusfile "$dir" "$cross_host" --disable-http --disable-examples --disable-doc
}

build_libtheora() {
  local dir; dir=$(fetch libtheora)
  autotools_configure libtheora "$dir" "$cross_host" --disable-asm --disable-examples --disable-oggtest \
    --disable-vorbistest --disable-sdltest --disable-encode
  # Debian's source drops the documents the doc folder builds: the library, headers and .pc only.
  autotools_make libtheora/lib && autotools_make libtheora/include &&
    (cd "$work/libtheora" && emmake make install-pkgconfigDATA >>"$work/libtheora.install.log" 2>&1)
}

build_pcre2() {
  local dir; dir=$(fetch pcre2)
  cmake_lib pcre2 "$dir" -DPCRE2_SUPPORT_JIT=OFF -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF \
    -DPCRE2_BUILD_PCRE2_8=ON -DPCRE2_BUILD_PCRE2_16=OFF -DPCRE2_BUILD_PCRE2_32=OFF -DPCRE2_SUPPORT_LIBBZ2=OFF \
    -DPCRE2_SUPPORT_LIBZ=OFF -DPCRE2_SUPPORT_LIBEDIT=OFF -DPCRE2_SUPPORT_LIBREADLINE=OFF
}

build_sdl2() {
  local dir; dir=$(fetch libsdl2)
  # SDL's own Emscripten video and audio back-ends, with its threads on.
  cmake_lib sdl2 "$dir" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=ON -DSDL_PTHREADS=ON \
    -DSDL_STATIC_PIC=OFF
}

# Dear ImGui: its core and the SDL2 and OpenGL3 back-ends (OpenGL ES 3.0, which is WebGL2) as
# one static library, headers in include/imgui and include/imgui/backends like Debian's
# libimgui-dev, so `#include <imgui.h>` and `#include <backends/imgui_impl_opengl3.h>` work
# alike. Unlike Debian's it keeps its own copy of stb (Debian links the system one).
build_imgui() {
  local dir; dir=$(fetch imgui)
  rm -rf "${work:?}/imgui"; mkdir -p "$work/imgui"
  local sdl_cflags; sdl_cflags=$(pkg-config --cflags sdl2)
  local sources=(imgui.cpp imgui_demo.cpp imgui_draw.cpp imgui_tables.cpp imgui_widgets.cpp
    misc/cpp/imgui_stdlib.cpp backends/imgui_impl_sdl.cpp backends/imgui_impl_opengl3.cpp)
  local f objs=()
  for f in "${sources[@]}"; do objs+=("$work/imgui/$(basename "${f%.cpp}").o"); done
  {
    echo "all: libimgui.a"
    echo "libimgui.a: ${objs[*]}"
    printf '\temar rcs $@ $^\n'
    for f in "${sources[@]}"; do
      echo "$work/imgui/$(basename "${f%.cpp}").o: $dir/$f"
      printf '\tem++ %s -DIMGUI_IMPL_OPENGL_ES3 -I%s %s -c $< -o $@\n' "$CXXFLAGS" "$dir" "$sdl_cflags"
    done
  } >"$work/imgui/Makefile"
  (cd "$work/imgui" && "${nice_cmd[@]}" make -j "$jobs" >"$work/imgui.build.log" 2>&1) ||
    { tail -n 40 "$work/imgui.build.log" >&2; return 1; }
  mkdir -p "$prefix/include/imgui/backends"
  install -m644 "$work/imgui/libimgui.a" "$prefix/lib/"
  install -m644 "$dir"/*.h "$dir"/misc/cpp/*.h "$prefix/include/imgui/"
  install -m644 "$dir"/backends/imgui_impl_sdl.h "$dir"/backends/imgui_impl_opengl3.h \
    "$dir"/backends/imgui_impl_opengl3_loader.h "$prefix/include/imgui/backends/"
  cat >"$prefix/lib/pkgconfig/imgui.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include/imgui

Name: imgui
Description: Bloat-free Immediate Mode Graphical User interface for C++ (web build: SDL2 and OpenGL ES 3 back-ends)
Version: 1.86
Requires.private: sdl2
Libs: -L\${libdir} -limgui
Cflags: -I\${includedir} -DIMGUI_IMPL_OPENGL_ES3
EOF
}

# step NAME: builds one library unless its stamp says it is done, and notes the seconds it took.
step() {
  local name=$1 start
  [ -f "$stamps/$name" ] && return 0
  echo "build-libs: $name"
  start=$(date +%s)
  "build_${name//-/_}"
  echo "$name $(( $(date +%s) - start ))" >>"$root/times.txt"
  touch "$stamps/$name"
}

# In dependency order: libpng and FreeType need zlib, libvorbis/opusfile/libtheora need libogg,
# opusfile needs opus, ImGui needs SDL2.
for lib in zlib libdeflate lua libpng libjpeg-turbo freetype libogg libvorbis opus opusfile libtheora pcre2 sdl2 imgui; do
  step "$lib"
done

# Every library here is static: a program must link what each one needs too, so each .pc file
# names its private needs as plain ones (plain `pkg-config --libs` and CMake's IMPORTED_TARGET
# then give the whole list in order).
for pc in "$prefix"/lib/pkgconfig/*.pc; do
  grep -q -E '^(Requires|Libs)\.private:' "$pc" || continue
  awk '
    /^Requires\.private:/ { sub(/^Requires\.private:[ \t]*/, ""); req_private = $0; next }
    /^Libs\.private:/     { sub(/^Libs\.private:[ \t]*/, ""); libs_private = $0; next }
    { lines[++n] = $0 }
    END {
      for (i = 1; i <= n; i++) {
        line = lines[i]
        if (line ~ /^Requires:/) { if (req_private != "") line = line (line ~ /:[ \t]*$/ ? "" : ",") " " req_private; req_private = "" }
        if (line ~ /^Libs:/ && libs_private != "") line = line " " libs_private
        print line
      }
      if (req_private != "") print "Requires: " req_private
    }' "$pc" >"$pc.new"
  mv "$pc.new" "$pc"
done

# The .pc files that the engine's web configure asks for, each checked once everything is in.
for pc in sdl2 zlib libpng libjpeg lua5.2 freetype2 libpcre2-8 libdeflate vorbisfile opusfile theoradec ogg imgui; do
  pkg-config --exists "$pc" || { echo "build-libs: $pc.pc is missing from $prefix/lib/pkgconfig" >&2; exit 1; }
done
echo "build-libs: libraries ready in $prefix"
