# The C libraries the engine links on every platform: the desktop build finds the system's, the
# web build (web.cmake) the ones built for the browser in its prefix. The desktop's own system
# services (fontconfig, libcurl, speech-dispatcher) are looked up by CMakeLists.txt alone.
find_package(ZLIB REQUIRED)
find_package(PNG 1.6 REQUIRED)
find_package(JPEG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(LUA REQUIRED IMPORTED_TARGET lua5.2)
# The engine's own small dialogs draw their labels with FreeType.
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-8)
# Whole-buffer zlib streams (archive entries, the script container, settings and saves).
pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET libdeflate)
# Ogg Vorbis and Ogg Opus sound sources.
pkg_check_modules(VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile)
pkg_check_modules(OPUSFILE REQUIRED IMPORTED_TARGET opusfile)
pkg_check_modules(THEORADEC REQUIRED IMPORTED_TARGET theoradec ogg)
# The menu bar and the engine's dialogs, drawn inside the game's window.
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)
find_package(Threads REQUIRED)
