# The Debian package (cpack -G DEB, see scripts/package.sh): the installed
# layout under /usr. Its dependencies are those of the libraries the programs
# link (dpkg-shlibdeps) plus the analyser it drives.
set(CPACK_PACKAGE_NAME kestrum)
set(CPACK_PACKAGE_VENDOR "Brannock")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop front end for the web-log analyser analog")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrum keeps one profile per web site, turns it into a correct analog.cfg, fetches the\n"
    "logs by FTP, runs the analyser and opens the report. It ships the system-services\n"
    "control Tellurix, the command-line tools kestrum-cli and tellurix-host, and the\n"
    "bundled reverse-DNS resolver kestrum-dns.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "Brannock <kestrum@brannock.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brannock.example/kestrum/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "analog")
include(CPack)
