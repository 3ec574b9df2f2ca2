# The engine for the web browser, built with Emscripten (emcmake cmake -DVELLUM_WEB_DEPS=<prefix>).
# Only the `vellum` target is made: the tools, tests, benchmarks and fuzz targets stay native. The
# libraries come from <prefix> (include/, lib/, lib/pkgconfig/), built for the web from Debian's
# sources; the layer table is the same as the native one, with the system libraries the browser
# has no use for (fontconfig, libcurl, speech-dispatcher) standing as empty targets.
# Release at -O2 unless asked otherwise: -O3 makes a larger download for little gain here.
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")

set(VELLUM_WEB_DEPS "" CACHE PATH "Prefix of the libraries built for the web (include/, lib/, lib/pkgconfig/)")
if(NOT VELLUM_WEB_DEPS OR NOT IS_DIRECTORY ${VELLUM_WEB_DEPS}/lib/pkgconfig)
  message(FATAL_ERROR "The web build needs -DVELLUM_WEB_DEPS=<prefix> with the libraries built for the web "
                      "(scripts/web/build-libs.sh makes them); got '${VELLUM_WEB_DEPS}'")
endif()
# Configure checks that run a program run it with plain node (emcmake's default adds a flag that
# node 20 refuses).
set(CMAKE_CROSSCOMPILING_EMULATOR node)
set(CMAKE_FIND_ROOT_PATH ${VELLUM_WEB_DEPS} ${CMAKE_FIND_ROOT_PATH})
list(PREPEND CMAKE_PREFIX_PATH ${VELLUM_WEB_DEPS})
# pkg-config sees only the web prefix, never the build machine's own .pc files.
set(ENV{PKG_CONFIG_LIBDIR} ${VELLUM_WEB_DEPS}/lib/pkgconfig:${VELLUM_WEB_DEPS}/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Threads everywhere (the libraries were built with -pthread too), C++ exceptions, and the
# asynchronous unwinding that lets the engine's nested loops yield to the browser.
# WebAssembly SIMD (every current browser has it) lets the SSE2 paths of the picture and movie
# decoders compile through Emscripten's SSE2 headers.
set(VELLUM_WEB_FLAGS -pthread -fexceptions)
set(VELLUM_WEB_COMPILE_FLAGS -msimd128 -msse2)
add_compile_options(${VELLUM_WEB_FLAGS} ${VELLUM_WEB_COMPILE_FLAGS})
add_link_options(${VELLUM_WEB_FLAGS})
set(THREADS_PREFER_PTHREAD_FLAG ON)

include(${CMAKE_CURRENT_LIST_DIR}/libraries.cmake)
# The browser has no font configuration, no libcurl and no speech service; the platform's web
# files take their places (a font shipped with the page, the browser's fetch, no speech).
add_library(PkgConfig::FONTCONFIG INTERFACE IMPORTED)
add_library(vellum_curl_headers INTERFACE)
add_library(vellum_speechd INTERFACE)
# The page links libtheoradec; the native build opens it when the first movie needs it.
add_library(vellum_theora INTERFACE)
target_link_libraries(vellum_theora INTERFACE PkgConfig::THEORADEC)

set(VELLUM_WARNINGS -Wall -Wextra -Werror -Wno-missing-field-initializers)

# (engine.cmake brings the code page tables' rules: in a cross build their generator is compiled
# with the build machine's compiler, or taken from a native build with -DVELLUM_CODEPAGE_TABLES_FROM.)
include(cmake/engine.cmake)

vellum_add_engine(vellum_engine "")

# Everything is linked statically: each library brings the ones it needs (its .pc file's private
# requirements), found in the prefix.
link_directories(${VELLUM_WEB_DEPS}/lib)
set(VELLUM_WEB_STATIC_LIBRARIES "")
foreach(module IN ITEMS SDL2 LUA FREETYPE PCRE2 LIBDEFLATE VORBISFILE OPUSFILE THEORADEC IMGUI)
  list(APPEND VELLUM_WEB_STATIC_LIBRARIES ${${module}_STATIC_LIBRARIES})
endforeach()

# The page loads vellum.js (it is never linked straight to .html: that crashes at -O2 here).
add_executable(vellum src/engine/entry_point.cpp)
vellum_link_engine(vellum vellum_engine)
target_link_libraries(vellum PRIVATE ${VELLUM_WEB_STATIC_LIBRARIES})
set_target_properties(vellum PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR} SUFFIX ".js")
set(VELLUM_WEB_SHELL ${PROJECT_SOURCE_DIR}/src/platform/web)
set(VELLUM_WEB_LIBRARY_FUNCTIONS ${CMAKE_BINARY_DIR}/library-functions.json)
file(WRITE ${VELLUM_WEB_LIBRARY_FUNCTIONS} [=[["$autoResumeAudioContext", "$dynCall"]
]=])
target_link_options(vellum PRIVATE
  -sASYNCIFY
  # The saved call stack of the deepest nested loop (a dialog inside a wait inside the script).
  -sASYNCIFY_STACK_SIZE=1048576
  -sALLOW_MEMORY_GROWTH
  -sINITIAL_MEMORY=134217728
  # Threads start from a pool made before main(): a thread made later needs the browser to take a
  # turn first, which a waiting main thread never gives.
  -sPTHREAD_POOL_SIZE=32
  -sMAX_WEBGL_VERSION=2 -sMIN_WEBGL_VERSION=2 -sFULL_ES3
  -sFORCE_FILESYSTEM
  -sEXIT_RUNTIME
  -sENVIRONMENT=web,worker,node
  -sFETCH
  -lidbfs.js -lnodefs.js
  # SDL's audio resumes the page's AudioContext at the first click, and calls back through dynCall.
  # (Listed in a file: a '$' on the command line would reach the shell.)
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${VELLUM_WEB_LIBRARY_FUNCTIONS}
  "-sEXPORTED_RUNTIME_METHODS=['FS']"
  --pre-js ${VELLUM_WEB_SHELL}/vellum_pre.js)
set_property(TARGET vellum APPEND PROPERTY LINK_DEPENDS ${VELLUM_WEB_SHELL}/vellum_pre.js)

# The page template travels with the engine's files: vellum-pack web copies all of them.
add_custom_command(TARGET vellum POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELLUM_WEB_SHELL}/index.html ${CMAKE_BINARY_DIR}/index.html
  VERBATIM)
