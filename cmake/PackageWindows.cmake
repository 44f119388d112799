# What the Windows build installs and how CPack packs it:
#   cpack -G ZIP    soramado.exe and a short read-me
#   cpack -G NSIS   an installer (makensis from Debian's nsis package) that puts
#                   them into Program Files, adds a Start-menu shortcut and an
#                   uninstaller; uninstalling leaves the user's settings.
install(TARGETS soramado RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Soramado)
set(CPACK_PACKAGE_VENDOR "The Soramado developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop clock with a pixel-art view of the sky outdoors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME soramado-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Soramado)
# The installer's own registry key (install folder, uninstall entry) lives
# apart from HKCU\Software\Soramado\Setting, so uninstalling never removes
# the clock's settings.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Soramado Installer")
set(CPACK_PACKAGE_EXECUTABLES soramado Soramado)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt)

set(CPACK_NSIS_PACKAGE_NAME Soramado)
set(CPACK_NSIS_DISPLAY_NAME Soramado)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/assets/icon.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/assets/icon.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME soramado.exe)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# A 64-bit installer for a 64-bit program: it sees the real Program Files and
# registry, and runs where only 64-bit Wine is installed.
set(CPACK_NSIS_DEFINES "Unicode true\nTarget amd64-unicode")

include(CPack)
