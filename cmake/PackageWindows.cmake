# What the Windows build installs and how CPack packs it:
#   cpack -G ZIP    soramado.exe, a short read-me and the licence
#   cpack -G NSIS   an installer (makensis from Debian's nsis package) for the
#                   current user, no administrator: %LOCALAPPDATA%\Programs\Soramado,
#                   a Start-menu shortcut, optionally the start at sign-in, and an
#                   uninstaller that leaves the user's settings
#                   (packaging/windows/NSIS.template.in).
install(TARGETS soramado RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
# With an extension, so that a double click opens it.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The uninstaller closes a running clock through its main window's class;
# the program declares that name in one place.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/win32/mainwindow.h class_line
     REGEX "ClassName = L\"[A-Za-z]+\"")
if(NOT class_line MATCHES "L\"([A-Za-z]+)\"")
    message(FATAL_ERROR "No main window class name in src/win32/mainwindow.h")
endif()
set(SORAMADO_WINDOW_CLASS ${CMAKE_MATCH_1})

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Soramado)
set(CPACK_PACKAGE_VENDOR "The Soramado developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop clock with a pixel-art view of the sky outdoors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME soramado-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Soramado)
# The name of the uninstall entry under HKCU\...\CurrentVersion\Uninstall, apart
# from HKCU\Software\Soramado\Setting, so uninstalling never removes the settings.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Soramado)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt)

# The installer's script is the project's own template (CPack looks for
# NSIS.template.in on its module path): CPack's asks for administrator rights.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)
set(CPACK_NSIS_PACKAGE_NAME Soramado)
set(CPACK_NSIS_DISPLAY_NAME Soramado)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/assets/icon.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/assets/icon.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME soramado${CMAKE_EXECUTABLE_SUFFIX})
# A 64-bit installer for a 64-bit program: it sees the real registry, and runs
# where only 64-bit Wine is installed.
set(CPACK_NSIS_DEFINES "  Unicode true
  Target amd64-unicode
  !define PROGRAM ${CPACK_NSIS_INSTALLED_ICON_NAME}
  !define CLOCK_CLASS ${SORAMADO_WINDOW_CLASS}")

include(CPack)
