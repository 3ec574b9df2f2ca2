# The Squirrel VM and its standard libraries are a library of their own that links nothing else of
# the engine (PCRE2 aside): vellum-sq links it alone, so VM code that called into the engine would
# fail to link there. The engine links it whole, because plug-ins reach every sq_* function through
# the executable's dynamic symbol list even when the engine itself never calls it.
file(GLOB_RECURSE VELLUM_SQUIRREL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/squirrel/*.cpp)

function(vellum_add_squirrel name extra_flags)
  if(TARGET ${name})
    return()
  endif()
  add_library(${name} STATIC ${VELLUM_SQUIRREL_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
  target_compile_options(${name} PRIVATE ${VELLUM_WARNINGS})
  if(extra_flags)
    target_compile_options(${name} PUBLIC ${extra_flags})
    target_link_options(${name} PUBLIC ${extra_flags})
  endif()
  target_link_libraries(${name} PUBLIC PkgConfig::PCRE2)
endfunction()
