# The engine's layers, lowest first: the one place that says which code may use which.
#
#   base      error reports and their sinks, engine-wide state, clock, text encoding
#   platform  the only code that knows SDL, OpenGL, fontconfig, Dear ImGui, speech-dispatcher and Linux devices
#   squirrel  our Squirrel VM and its standard libraries; it stands alone
#   formats   storage (archives, hashes), image (codecs, image library), services (conversions, downloads)
#   script    the script language and the command table it dispatches into (registry, accessor)
#   commands  the commands' argument lists and their bindings to the native script, Lua and Squirrel
#   persist   settings, read flags, carry-over
#   shell     window, display modes, geometry, input
#   report    the system report (Information.txt)
#   render    the renderer, filters and shaders
#   scene     sprites, animation, buttons, screen transforms
#   text      message window, fonts and glyphs, backlog
#   sound     sound channels and decoders
#   movie     movie playback
#   engine    process entry, command line, start-up, interpreter loop, shutdown
#   exports   the functions plug-ins call back into
#
# A file under src/<folder>/ may include headers of its own layer and of every layer that layer
# uses, directly or through another; include/vellum (the plug-in API, declarations only) is open to
# all. Only the platform layer includes the headers of SDL, OpenGL, fontconfig and ALSA. A layer
# uses only layers named before it. Where a lower layer must call a higher one it owns
# a callback slot that the higher one fills (see the renderer's and shell's seams). The include
# check (check_layers.cmake, run by the tests) and the build (one library per layer, linking what
# it uses) both read this table.
set(VELLUM_LAYER_NAMES "")

macro(vellum_layer name)
  cmake_parse_arguments(_layer "" "" "FOLDERS;USES;PACKAGES" ${ARGN})
  foreach(_used IN LISTS _layer_USES)
    if(NOT _used IN_LIST VELLUM_LAYER_NAMES)
      message(FATAL_ERROR "layers.cmake: layer '${name}' uses '${_used}', which is not a layer named before it")
    endif()
  endforeach()
  list(APPEND VELLUM_LAYER_NAMES ${name})
  set(VELLUM_LAYER_${name}_FOLDERS ${_layer_FOLDERS})
  set(VELLUM_LAYER_${name}_USES ${_layer_USES})
  set(VELLUM_LAYER_${name}_PACKAGES ${_layer_PACKAGES})
endmacro()

#            layer     folders under src/           uses                      packages it links
vellum_layer(base      FOLDERS base)
vellum_layer(platform  FOLDERS platform             USES base                 PACKAGES PkgConfig::SDL2 PkgConfig::FREETYPE PkgConfig::FONTCONFIG PkgConfig::IMGUI vellum_speechd Threads::Threads)
vellum_layer(squirrel  FOLDERS squirrel                                       PACKAGES PkgConfig::PCRE2)
vellum_layer(formats   FOLDERS storage image services USES base               PACKAGES ZLIB::ZLIB PkgConfig::LIBDEFLATE PNG::PNG JPEG::JPEG vellum_curl_headers Threads::Threads)
vellum_layer(script    FOLDERS script               USES platform formats squirrel PACKAGES PkgConfig::PCRE2 ${CMAKE_DL_LIBS})
vellum_layer(commands  FOLDERS commands             USES script               PACKAGES PkgConfig::LUA)
vellum_layer(persist   FOLDERS persist              USES commands)
vellum_layer(shell     FOLDERS shell                USES persist)
vellum_layer(report    FOLDERS report               USES shell)
vellum_layer(render    FOLDERS render               USES shell)
vellum_layer(scene     FOLDERS scene                USES render)
vellum_layer(text      FOLDERS text                 USES scene)
vellum_layer(sound     FOLDERS sound                USES persist              PACKAGES PkgConfig::VORBISFILE PkgConfig::OPUSFILE)
vellum_layer(movie     FOLDERS movie                USES scene sound          PACKAGES vellum_theora)
vellum_layer(engine    FOLDERS engine               USES report text movie)
vellum_layer(exports   FOLDERS exports              USES engine)

# Every layer `name` may reach: itself and, transitively, what it uses.
function(vellum_layer_closure name out)
  set(result ${name})
  set(pending ${VELLUM_LAYER_${name}_USES})
  while(pending)
    list(POP_FRONT pending next)
    if(NOT next IN_LIST result)
      list(APPEND result ${next})
      list(APPEND pending ${VELLUM_LAYER_${next}_USES})
    endif()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# The layer a folder under src/ belongs to (empty when the table does not list it).
function(vellum_layer_of_folder folder out)
  set(found "")
  foreach(layer IN LISTS VELLUM_LAYER_NAMES)
    if(folder IN_LIST VELLUM_LAYER_${layer}_FOLDERS)
      set(found ${layer})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()
