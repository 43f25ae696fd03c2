# What `cmake --install` puts where, and the Debian package CPack builds from it:
#   bin/vextools, bin/vextools-ide (when Qt is found), share/man/man1/vextools.1.gz (when help2man is
#   installed), the desktop entry and the icon of vextools-ide.
include(GNUInstallDirs)

install(TARGETS vextools RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vextools-ide)
  install(TARGETS vextools-ide RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(NOT WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/vextools-ide.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/src/app/icons/vextools.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  endif()
endif()

# The man page is made from the built program's own --help (help2man, Debian package help2man).
if(NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  find_program(HELP2MAN help2man)
  if(HELP2MAN)
    set(VEXTOOLS_MAN_PAGE ${CMAKE_BINARY_DIR}/vextools.1.gz)
    add_custom_command(OUTPUT ${VEXTOOLS_MAN_PAGE}
                       COMMAND ${PROJECT_SOURCE_DIR}/scripts/make-man-page.sh $<TARGET_FILE:vextools> ${VEXTOOLS_MAN_PAGE}
                       DEPENDS vextools ${PROJECT_SOURCE_DIR}/scripts/make-man-page.sh
                       COMMENT "Writing the vextools(1) man page")
    add_custom_target(man_page ALL DEPENDS ${VEXTOOLS_MAN_PAGE})
    install(FILES ${VEXTOOLS_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(STATUS "help2man not found: no man page")
  endif()
endif()

set(CPACK_PACKAGE_NAME vextools)
set(CPACK_PACKAGE_VENDOR "VexTools")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Line numbers, error handlers, indentation and backups for Visual Basic 6 code")
set(CPACK_PACKAGE_DESCRIPTION
    "vextools rewrites the code of Visual Basic 6 projects as the VB6 IDE sees it: it numbers the lines of\n"
    "every procedure, adds or removes error handlers built from templates, re-indents procedures, deletes\n"
    "lines holding a keyword and backs up projects, keeping every byte it does not change. vextools-ide is\n"
    "a small desktop IDE that hosts the same commands.")
set(CPACK_PACKAGE_CONTACT "VexTools developers <vextools@localhost>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)  # the debugging information stays in the build tree
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The libraries the programs link (Qt, fmt, the C++ runtime) as dpkg-shlibdeps finds them, and the SVG
# plugin Qt loads for the toolbar's images.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET vextools-ide)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()
include(CPack)
