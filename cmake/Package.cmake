# `cpack` in a Linux build makes a Debian package of what `cmake --install` installs.
set(CPACK_PACKAGE_NAME soramado)
set(CPACK_PACKAGE_VENDOR "The Soramado developers")
set(CPACK_PACKAGE_CONTACT "${SORAMADO_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop clock with a pixel-art view of the sky outdoors")
# Lines of at most 80 columns, for a terminal's `apt show`.
set(CPACK_PACKAGE_DESCRIPTION
    "Beside the time, the date and the weekday, Soramado shows a 160 x 120 pixel\n\
picture of the view outdoors as it looks right now, following an approximate\n\
sunrise and sunset for one of six Japanese cities. Its user interface is in\n\
Japanese.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries it links decide its dependencies (needs dpkg-shlibdeps from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its X11 platform plugin at run time; no linked library pulls it in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The labels and menus are Japanese; without such a font they show as boxes.
# Qt's own translations put the font chooser in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n")

include(CPack)
