# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (scripts/package): `cpack -G DEB` in a configured build folder.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelo)
set(CPACK_PACKAGE_VENDOR Brinmoor)
set(CPACK_PACKAGE_CONTACT "Brinmoor <tarvelo@brinmoor.dev>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fixes words typed in the wrong keyboard layout")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
# The extended description under the summary, line by line as the control file shows it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tarvelo corrects words typed in the wrong keyboard layout, for English
(US QWERTY) and Russian (JCUKEN). Type 'ghbdtn' with the English layout
active and, at the space, Tarvelo replaces it with the Russian word those
keys give, in whatever application has the focus. It changes a word only
when the conversion clearly wins, converts the selection or the last word on
a shortcut, and undoes its latest correction with Ctrl+Z.
.
It lives in the system tray of X11 desktops. Typed text stays in memory and
nothing is sent over a network. The package also holds tarvelo-cli, which
converts and fixes text from the shell.")
# The libraries come from what the programs link (dpkg-shlibdeps, from dpkg-dev); the dictionaries are
# opened at run time, and so is the Qt platform plugin that puts the windows on X11.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "hunspell-en-us, hunspell-ru, qt6-qpa-plugins")
# AT-SPI reaches other applications' text.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS at-spi2-core)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
