# What `cmake --install` and the package put where: the runtime folder as
# lib/vantrel with a bin/vantrel link, the menu entry, icons, AppStream data and
# the man pages.
include(GNUInstallDirs)
set(VANTREL_INSTALL_DIR "lib/vantrel" CACHE STRING "The runtime folder, relative to the prefix")

install(TARGETS vantrel RUNTIME DESTINATION ${VANTREL_INSTALL_DIR})
install(FILES ${VANTREL_RUNTIME_DIR}/Vantrel.xml DESTINATION ${VANTREL_INSTALL_DIR})
# Marks the folder as installed: the program then writes only to the per-user folder,
# even when run by someone who could write here (root).
install(FILES ${PROJECT_SOURCE_DIR}/data/installed DESTINATION ${VANTREL_INSTALL_DIR})
# The pictures' build stamp stays in the build tree.
install(DIRECTORY ${VANTREL_RUNTIME_DIR}/ImageRes ${VANTREL_RUNTIME_DIR}/font ${VANTREL_RUNTIME_DIR}/translations
        DESTINATION ${VANTREL_INSTALL_DIR}
        PATTERN ".drawn" EXCLUDE)
install(TARGETS nvapi_sim nvapi-nvml LIBRARY DESTINATION ${VANTREL_INSTALL_DIR}/lib)
# Relative, so the link survives DESTDIR staging and a moved prefix.
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ../${VANTREL_INSTALL_DIR}/vantrel \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vantrel\" SYMBOLIC)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vantrel -> ../${VANTREL_INSTALL_DIR}/vantrel\")")

install(FILES ${VANTREL_RUNTIME_DIR}/ImageRes/vantrel.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/org.vantrel.vantrel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantrel RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/vantrel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET vantreld)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/vantreld.8 DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)
endif()
