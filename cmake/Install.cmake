# What `cmake --install` puts where, and what the program file carries about itself.
include(GNUInstallDirs)

set(SORAMADO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(SORAMADO_ICON_PNG ${PROJECT_SOURCE_DIR}/src/assets/icon.png)
# Who answers for the program: the package's maintainer and the copyright file's contact.
set(SORAMADO_CONTACT "The Soramado developers <soramado@example.org>")

install(TARGETS soramado soramado-preview
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .
)

# The freedesktop pieces: desktop entry, icons, AppStream data, manual page;
# and the licence and changelog.
if(UNIX AND NOT APPLE)
    # The larger icons are the 48 × 48 one enlarged by whole factors, pixel by pixel,
    # by tools/iconscale.
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

    # Manual pages and the changelog go out compressed as Debian wants them
    # (gzip -9n: no name or time stamp, so a rebuild gives the same bytes);
    # man reads them so on every distribution. One page serves both programs:
    # soramado-preview.1.gz is a link to it.
    find_program(SORAMADO_GZIP gzip REQUIRED)
    set(docs ${CMAKE_CURRENT_BINARY_DIR}/doc)
    set(man_page ${docs}/soramado.1)
    add_custom_command(OUTPUT ${man_page}.gz ${docs}/soramado-preview.1.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${SORAMADO_PACKAGING_DIR}/soramado.1 ${man_page}
        COMMAND ${SORAMADO_GZIP} -9nf ${man_page}
        COMMAND ${CMAKE_COMMAND} -E create_symlink soramado.1.gz ${docs}/soramado-preview.1.gz
        DEPENDS ${SORAMADO_PACKAGING_DIR}/soramado.1
        COMMENT "Compressing the manual page"
        VERBATIM)
    # The licence (the MIT text must travel with every copy) and the release
    # history, written from LICENSE and the AppStream releases.
    add_custom_command(OUTPUT ${docs}/copyright
        COMMAND ${CMAKE_COMMAND} -DWHAT=copyright -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
                "-DCONTACT=${SORAMADO_CONTACT}" -DOUTPUT=${docs}/copyright
                -P ${PROJECT_SOURCE_DIR}/cmake/DebianDocs.cmake
        DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/cmake/DebianDocs.cmake
        COMMENT "Writing the copyright file from LICENSE"
        VERBATIM)
    add_custom_command(OUTPUT ${docs}/changelog.gz
        COMMAND ${CMAKE_COMMAND} -DWHAT=changelog
                -DMETAINFO=${SORAMADO_PACKAGING_DIR}/soramado.metainfo.xml
                "-DCONTACT=${SORAMADO_CONTACT}" -DOUTPUT=${docs}/changelog
                -P ${PROJECT_SOURCE_DIR}/cmake/DebianDocs.cmake
        COMMAND ${SORAMADO_GZIP} -9nf ${docs}/changelog
        DEPENDS ${SORAMADO_PACKAGING_DIR}/soramado.metainfo.xml
                ${PROJECT_SOURCE_DIR}/cmake/DebianDocs.cmake
        COMMENT "Writing the changelog from the AppStream releases"
        VERBATIM)
    add_custom_target(soramado-docs ALL
        DEPENDS ${man_page}.gz ${docs}/soramado-preview.1.gz ${docs}/copyright ${docs}/changelog.gz)
    install(FILES ${man_page}.gz ${docs}/soramado-preview.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${docs}/copyright ${docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
