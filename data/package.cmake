# `cpack -G DEB` in the build tree: the program, vantreld with its units, and
# maintainer scripts that create the group and enable the socket.
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "The Vantrel developers")
set(CPACK_PACKAGE_CONTACT "The Vantrel developers <maintainers@vantrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor and tune NVIDIA graphics cards")
set(CPACK_PACKAGE_DESCRIPTION "A small window with the card's live readings, clock and power tuning, an
eight-point fan curve, a tray icon and a screenshot hot key. The root service
vantreld carries out the fan and clock writes the driver reserves for root.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Texts the skin font lacks fall back to DejaVu Sans; the shared-library list is added to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# The NVML bridge loads the driver's library at run time; the simulated card works without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libnvidia-ml1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/data/debian/postinst ${PROJECT_SOURCE_DIR}/data/debian/prerm
    ${PROJECT_SOURCE_DIR}/data/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_GENERATOR DEB)
include(CPack)
