# The engine is built as one object library per layer (layers.cmake), each from the sources of its
# folders and linking the layers it uses, so a layer compiles against nothing above it and a tool
# links only the layers it needs. Object libraries keep every exported function in the final link.
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

set(VELLUM_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(VELLUM_TEXT_ENCODING_TABLES ${VELLUM_GENERATED_DIR}/text_encoding_tables.cpp)
# Generated on the build machine, in native and cross builds alike.
include(${CMAKE_CURRENT_LIST_DIR}/codepage_tables.cmake)
# The process entry is the executable's own; the layer library holds the rest of the engine's top.
set(VELLUM_ENTRY_POINT ${PROJECT_SOURCE_DIR}/src/engine/entry_point.cpp)

# Builds the layers as `<variant>_<layer>` with extra compile and link flags (the sanitizer and
# fuzzing builds are variants of their own).
# Files for the web browser sit beside the others: src/<folder>/web/*.cpp are the web's own, and
# a file named `name_web.cpp` stands in for `name.cpp` of the same folder there. The native build
# leaves both out.
function(vellum_choose_platform_files list_name)
  set(files ${${list_name}})
  if(EMSCRIPTEN)
    foreach(file IN LISTS files)
      if(file MATCHES "^(.*)_web\\.cpp$")
        list(REMOVE_ITEM files ${CMAKE_MATCH_1}.cpp)
      endif()
    endforeach()
  else()
    list(FILTER files EXCLUDE REGEX "(_web\\.cpp|/web/[^/]*\\.cpp)$")
  endif()
  set(${list_name} ${files} PARENT_SCOPE)
endfunction()

function(vellum_add_engine variant extra_flags)
  foreach(layer IN LISTS VELLUM_LAYER_NAMES)
    set(sources "")
    foreach(folder IN LISTS VELLUM_LAYER_${layer}_FOLDERS)
      file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
      list(APPEND sources ${found})
    endforeach()
    list(REMOVE_ITEM sources ${VELLUM_ENTRY_POINT})
    vellum_choose_platform_files(sources)
    if(layer STREQUAL "base")
      list(APPEND sources ${VELLUM_TEXT_ENCODING_TABLES})
    endif()
    if(NOT sources)
      # A layer still to come: an empty interface keeps the table's links valid.
      add_library(${variant}_${layer} INTERFACE)
      set(scope INTERFACE)
    else()
      add_library(${variant}_${layer} OBJECT ${sources})
      target_compile_options(${variant}_${layer} PRIVATE ${VELLUM_WARNINGS})
      set(scope PUBLIC)
    endif()
    target_include_directories(${variant}_${layer} ${scope} ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_compile_definitions(${variant}_${layer} ${scope} VELLUM_GAME_TITLE="${VELLUM_GAME_TITLE}")
    if(extra_flags)
      target_compile_options(${variant}_${layer} ${scope} ${extra_flags})
      target_link_options(${variant}_${layer} ${scope} ${extra_flags})
    endif()
    foreach(used IN LISTS VELLUM_LAYER_${layer}_USES)
      target_link_libraries(${variant}_${layer} ${scope} ${variant}_${used})
    endforeach()
    target_link_libraries(${variant}_${layer} ${scope} ${VELLUM_LAYER_${layer}_PACKAGES})
    if(layer STREQUAL "base")
      add_dependencies(${variant}_${layer} vellum_codepage_tables)
    endif()
  endforeach()
  # The movie's colour conversion is written to be vectorised, which -O2 does not do for it.
  set_source_files_properties(${PROJECT_SOURCE_DIR}/src/movie/colour_conversion.cpp PROPERTIES COMPILE_OPTIONS "-O3")
  # The generated tables are data only; keep them out of the warning flags' way.
  set_source_files_properties(${VELLUM_TEXT_ENCODING_TABLES} PROPERTIES GENERATED TRUE)
endfunction()

# Links `target` with the objects of `layers` and of every layer they use. Objects of an object
# library reach a link only when it is linked directly, so every layer of the closure is named.
function(vellum_link_layers target variant)
  set(closure "")
  foreach(layer IN LISTS ARGN)
    vellum_layer_closure(${layer} reached)
    list(APPEND closure ${reached})
  endforeach()
  list(REMOVE_DUPLICATES closure)
  foreach(layer IN LISTS closure)
    target_link_libraries(${target} PRIVATE ${variant}_${layer})
  endforeach()
endfunction()

# Links the whole engine: every layer.
function(vellum_link_engine target variant)
  vellum_link_layers(${target} ${variant} ${VELLUM_LAYER_NAMES})
endfunction()
