# What `cmake --install` puts where, and what the program file carries about itself.
include(GNUInstallDirs)

set(SORAMADO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(SORAMADO_ICON_PNG ${PROJECT_SOURCE_DIR}/src/assets/icon.png)

install(TARGETS soramado soramado-preview
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .
)

# The freedesktop pieces: desktop entry, icons, AppStream data, manual page.
if(UNIX AND NOT APPLE)
    # The larger icons are the 48 × 48 one enlarged by whole factors, pixel by pixel.
    add_executable(soramado-iconscale ${SORAMADO_PACKAGING_DIR}/iconscale.cpp)
    target_link_libraries(soramado-iconscale PRIVATE Qt6::Gui)
    set(soramado_icon_files)
    foreach(factor 2 4)
        math(EXPR size "48 * ${factor}")
        set(icon ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/soramado.png)
        add_custom_command(OUTPUT ${icon}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
            COMMAND soramado-iconscale ${SORAMADO_ICON_PNG} ${factor} ${icon}
            DEPENDS soramado-iconscale ${SORAMADO_ICON_PNG}
            COMMENT "Enlarging the icon to ${size} × ${size}"
            VERBATIM)
        list(APPEND soramado_icon_files ${icon})
        install(FILES ${icon}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(soramado-icons ALL DEPENDS ${soramado_icon_files})

    install(FILES ${SORAMADO_ICON_PNG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME soramado.png)
    install(FILES ${SORAMADO_PACKAGING_DIR}/soramado.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${SORAMADO_PACKAGING_DIR}/soramado.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${SORAMADO_PACKAGING_DIR}/soramado.1 ${SORAMADO_PACKAGING_DIR}/soramado-preview.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
