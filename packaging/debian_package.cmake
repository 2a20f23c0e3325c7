# The Debian package: `cpack -G DEB` in the build tree (scripts/package).
set(CPACK_PACKAGE_NAME vantorel)
set(CPACK_PACKAGE_VENDOR "Vantorel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DICOM film print server")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantorel takes the place of a laser film camera: modalities print to it over\n"
    "DICOM Print Management and it composes each film on one page of an ordinary\n"
    "printer, or fills a page template, saves the film and records it in a\n"
    "MariaDB archive. The package holds the service (systemd unit vantorel.service,\n"
    "home /var/lib/vantorel), the operator console and a modality simulator.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX ${VANTOREL_PACKAGE_PREFIX})
# Installed programs carry no debugging information.
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vantorel developers <vantorel@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries (DCMTK, Qt) are found by dpkg-shlibdeps; these are the
# parts the programs load at run time or need beside them: image plugins
# (TIFF export), the ODBC SQL driver with unixODBC and the MariaDB connector
# (registered by postinst under the name the archive's connection uses),
# CJK fonts for the Chinese texts on films and pages, Qt's Chinese
# translations for its standard buttons and dialogs, adduser for the
# service's user.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "adduser, qt6-image-formats-plugins, libqt6sql6-odbc, unixodbc, odbcinst, odbc-mariadb, fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mariadb-server, cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst
    ${CMAKE_CURRENT_SOURCE_DIR}/debian/prerm
    ${CMAKE_CURRENT_SOURCE_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

set(CPACK_GENERATOR DEB)
include(CPack)
