# `cmake --install BUILD` (with `--prefix DIR` for another place than
# /usr/local): the two programs, the help pages, the default resources, the
# sample data sets, and what a Linux desktop needs to offer the program: the
# menu entry, the icon and the type of the native data files, so a file
# manager opens a .dvx file with DALVEX.
#
# The program finds the samples as <prefix>/share/dalvex/samples beside
# <prefix>/bin and copies them into its data folder on the first start. The
# help pages and the text resources are built into the program as well; the
# installed copies are for reading and for other tools.
include(GNUInstallDirs)
set(DALVEX_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/dalvex)

install(TARGETS dalvex-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET dalvex)
  install(TARGETS dalvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${DALVEX_SHARE_DIR}/help)
install(FILES ${CMAKE_BINARY_DIR}/resources/Sth.ini DESTINATION ${DALVEX_SHARE_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/samples/ DESTINATION ${DALVEX_SHARE_DIR}/samples)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/dalvex.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/dalvex.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/dalvex-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME dalvex.xml)

# Installed straight into a live system (no DESTDIR, as a package build has),
# the desktop learns of the new type, entry and icon at once.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    set(share "${CMAKE_INSTALL_PREFIX}/share")
    find_program(DALVEX_UPDATE_MIME update-mime-database)
    find_program(DALVEX_UPDATE_DESKTOP update-desktop-database)
    find_program(DALVEX_UPDATE_ICONS gtk-update-icon-cache)
    if(DALVEX_UPDATE_MIME)
      execute_process(COMMAND ${DALVEX_UPDATE_MIME} "${share}/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(DALVEX_UPDATE_DESKTOP)
      execute_process(COMMAND ${DALVEX_UPDATE_DESKTOP} -q "${share}/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(DALVEX_UPDATE_ICONS AND EXISTS "${share}/icons/hicolor/index.theme")
      execute_process(COMMAND ${DALVEX_UPDATE_ICONS} -q -t "${share}/icons/hicolor" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])
