# Installs Tintavo like any desktop program (`cmake --install`) and builds a
# Debian package from the same rules (`cpack`, run by scripts/package.sh).
include(GNUInstallDirs)
install(TARGETS tintavo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tintavo)
set(CPACK_PACKAGE_VENDOR "The Tintavo developers")
set(CPACK_PACKAGE_CONTACT "The Tintavo developers <tintavo@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour picker for people who write web pages by hand")
set(CPACK_PACKAGE_DESCRIPTION
    "Tintavo holds a foreground and a background colour and sets each channel with a slider, \
a decimal box or a hexadecimal box, shows text in the two colours with their RGB and #RRGGBB \
codes ready to copy, keeps collected colours in a colour box and picks colours from the screen \
with a hot key. The interface is Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# tintavo_<version>_<arch>.deb, with the shared libraries it links worked out
# by dpkg-shlibdeps. What it loads by name rather than links is added by hand:
# the CJK fonts its whole interface is set in, the toolkit's Chinese texts, the
# libraries the picker loads when it first needs them (X Input, DAMAGE,
# LittleCMS), and its decoders of pictures beyond PNG and JPEG (WebP, TIFF).
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tintavo.github.io/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, fonts-noto-cjk, qt6-translations-l10n, \
libxcb-xinput0, libxcb-damage0, liblcms2-2, qt6-image-formats-plugins")
# On a Wayland desktop: Qt's Wayland platform plugin to run natively, and the
# desktop portal that picks colours and hands out the global key there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-desktop-portal")

include(CPack)
