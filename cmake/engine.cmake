# The engine is one object library built from every source under src/ (the process entry aside),
# so the executable, the tests and the benchmarks link the very same code. Object libraries keep
# every exported function in the final link.
file(GLOB_RECURSE VELLUM_ENGINE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp)
list(REMOVE_ITEM VELLUM_ENGINE_SOURCES ${PROJECT_SOURCE_DIR}/src/engine/entry_point.cpp)
# The Squirrel VM is its own library (cmake/squirrel.cmake), linked below.
list(FILTER VELLUM_ENGINE_SOURCES EXCLUDE REGEX "/src/squirrel/")
include(${CMAKE_CURRENT_LIST_DIR}/squirrel.cmake)

set(VELLUM_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(VELLUM_CODEPAGE_TABLES ${VELLUM_GENERATED_DIR}/codepage_tables.cpp)

function(vellum_add_engine name extra_flags)
  add_library(${name} OBJECT ${VELLUM_ENGINE_SOURCES} ${VELLUM_CODEPAGE_TABLES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
  target_compile_definitions(${name} PUBLIC VELLUM_GAME_TITLE="${VELLUM_GAME_TITLE}")
  target_compile_options(${name} PRIVATE ${VELLUM_WARNINGS})
  if(extra_flags)
    target_compile_options(${name} PUBLIC ${extra_flags})
    target_link_options(${name} PUBLIC ${extra_flags})
  endif()
  add_dependencies(${name} vellum_codepage_tables)
  # vellum_engine links vellum_squirrel, vellum_engine_asan vellum_squirrel_asan, and so on.
  string(REPLACE vellum_engine vellum_squirrel squirrel_library ${name})
  vellum_add_squirrel(${squirrel_library} "${extra_flags}")
  target_link_libraries(${name} PUBLIC "$<LINK_LIBRARY:WHOLE_ARCHIVE,${squirrel_library}>")
  target_link_libraries(${name} PUBLIC ZLIB::ZLIB PNG::PNG JPEG::JPEG PkgConfig::SDL2 PkgConfig::LUA PkgConfig::PCRE2
                        PkgConfig::FREETYPE PkgConfig::FONTCONFIG Threads::Threads ${CMAKE_DL_LIBS})
  # The generated tables are data only; keep them out of the warning flags' way.
  set_source_files_properties(${VELLUM_CODEPAGE_TABLES} PROPERTIES GENERATED TRUE)
endfunction()
