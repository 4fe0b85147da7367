# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh)
# makes kestrix_<version>_<arch>.deb from the install rules, with /usr as
# prefix and the library dependencies computed from the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KESTRIX_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "see at a glance how full every drive is")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTRIX_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's fonts and the desktop's "open" for help and links.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The summary above is its first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kestrix is a small window that shows how full every drive of the machine
is: one row per drive letter C: to Z:, dealt out to the mounted
filesystems, with the drive's name, size, free and used space, a gradient
gauge, the used percentage and a lamp coloured by how full it is. Under
the rows stand the totals and the memory in use.
.
kestrix-drives prints the same drive map as text or JSON for scripts.")
include(CPack)
