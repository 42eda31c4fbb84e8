# `cpack -G DEB` in the build folder makes sedilo_<version>_amd64.deb for
# Debian 12: the libraries' packages come from dpkg-shlibdeps; what Qt loads
# at run time (the platform plugin) and the Chinese fonts are named here.
set(CPACK_PACKAGE_NAME sedilo)
set(CPACK_PACKAGE_VENDOR "The Sedilo developers")
set(CPACK_PACKAGE_CONTACT "The Sedilo developers <sedilo@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "seat the examinees of an examination in exam rooms")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/sedilo/sedilo")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei")
# Opening folders and workbooks goes through the desktop's default applications.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc")
# The long description; CPack indents it and marks the empty line as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sedilo seats the examinees of an examination in exam rooms. An exam office
imports its examinee list from a workbook, defines the rooms by their
template workbooks, picks an ordering and an S-shaped fill direction, and
gets one filled seat-chart workbook per room plus query workbooks per unit.

The package holds the window (sedilo, in Chinese) and the command-line tool
sedilo-cli. Workbooks are read and written without an office suite.")
include(CPack)
