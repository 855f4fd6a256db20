# packaging.cmake: `cmake --install` lays the programs out in an FHS tree and `cpack -G DEB`
# makes a Debian package of the same tree.
#
#   bin/lortan, bin/vetrix-check, bin/vetrix-demo-data
#   lib/vetrix/libvetrix_win.so            the window layer, shared by host and module
#   lib/vetrix/plugins/libvetrix.so        the module the host loads
#   lib/vetrix/libvetrix_unicode.so        the SQLite extension (.load it in the sqlite3 shell)
#   share/vetrix/templates/Vetrix/*.odt    the report templates
#   share/applications/lortan.desktop      the host's menu entry
#
# The host finds its plug-ins and templates relative to its own location (VETRIX_RELATIVE_*
# below), so the same tree runs from any prefix; RUNPATHs are relative ($ORIGIN) for the same
# reason.
set(VETRIX_INSTALL_LIBDIR lib/vetrix)
set(VETRIX_INSTALL_PLUGINDIR ${VETRIX_INSTALL_LIBDIR}/plugins)
set(VETRIX_INSTALL_DATADIR share/vetrix)

set_target_properties(lortan PROPERTIES INSTALL_RPATH "$ORIGIN/../${VETRIX_INSTALL_LIBDIR}")
set_target_properties(vetrix PROPERTIES INSTALL_RPATH "$ORIGIN/..")
install(TARGETS lortan vetrix-check vetrix-import vetrix-demo-data RUNTIME DESTINATION bin)
install(TARGETS vetrix_win LIBRARY DESTINATION ${VETRIX_INSTALL_LIBDIR})
install(TARGETS vetrix LIBRARY DESTINATION ${VETRIX_INSTALL_PLUGINDIR})
install(TARGETS vetrix_unicode LIBRARY DESTINATION ${VETRIX_INSTALL_LIBDIR})
install(DIRECTORY ${LORTAN_TEMPLATE_FOLDER}/ DESTINATION ${VETRIX_INSTALL_DATADIR}/templates)
install(FILES ${PROJECT_SOURCE_DIR}/host/desktop/lortan.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/vetrix)
install(FILES ${PROJECT_SOURCE_DIR}/examples/demo-areas.csv ${PROJECT_SOURCE_DIR}/examples/demo-certificates.csv
        ${PROJECT_SOURCE_DIR}/docs/import.md DESTINATION ${VETRIX_INSTALL_DATADIR}/examples)

set(CPACK_PACKAGE_NAME vetrix)
set(CPACK_PACKAGE_VENDOR "Vetrix")
set(CPACK_PACKAGE_CONTACT "Vetrix developers <dev@vetrix.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Detector linearity check for natural-gas analysis, with its reference host and headless check")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The shared libraries' packages come from dpkg-shlibdeps; what the programs need at run
# time without linking it is named here: the Qt platform plug-ins and the chart's font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/platform/win)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
include(CPack)
