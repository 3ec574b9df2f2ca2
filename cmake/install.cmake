# `cmake --install` (and `make install PREFIX=...`): the engine and the authoring tools in bin/,
# a manual page for each, the plug-in headers, and the authors' guide with the command reference.
include(GNUInstallDirs)
set(VELLUM_INSTALLED_PROGRAMS vellum vellum-pack vellum-image vellum-movie vellum-sq vellum-lint)
install(TARGETS ${VELLUM_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(program IN LISTS VELLUM_INSTALLED_PROGRAMS)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/vellum DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} FILES_MATCHING PATTERN "*.md")
install(FILES ${CMAKE_BINARY_DIR}/docs/commands.md ${CMAKE_BINARY_DIR}/docs/messages.md DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)
