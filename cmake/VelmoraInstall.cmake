# `cmake --install` lays out Velmora as a desktop program: the program folder <prefix>/lib/velmora/,
# a <prefix>/bin/velmora link to it, and the desktop entry, icons and AppStream metadata under share/.

set(VELMORA_INSTALL_PROGRAM_DIR lib/velmora)
set(VELMORA_APPSTREAM_ID example.velmora.Velmora)
# The date of the release named by the project's VERSION; change both together.
set(VELMORA_RELEASE_DATE 2026-12-08)

install(TARGETS velmora libq7z RUNTIME DESTINATION ${VELMORA_INSTALL_PROGRAM_DIR})
# Everything else the build placed in its program folder ships as well (language files, skins, help
# pages), so a new kind of file needs no rule here. The user's settings and the settings layer's
# temporary files stay behind.
install(DIRECTORY ${VELMORA_PROGRAM_DIR}/ DESTINATION ${VELMORA_INSTALL_PROGRAM_DIR}
    PATTERN config.ini EXCLUDE
    PATTERN config.ini.lock EXCLUDE
    PATTERN .* EXCLUDE
    PATTERN velmora EXCLUDE
    PATTERN libq7z EXCLUDE)
# Its presence tells the program that its folder is shared, so settings go to the user's own folder.
install(FILES ${PROJECT_SOURCE_DIR}/resources/installed DESTINATION ${VELMORA_INSTALL_PROGRAM_DIR})

# A relative link, so the installed tree works under any prefix and DESTDIR; the program finds its
# folder through it because /proc/self/exe names the link's target.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install)
file(CREATE_LINK ../${VELMORA_INSTALL_PROGRAM_DIR}/velmora ${CMAKE_BINARY_DIR}/install/velmora SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install/velmora DESTINATION bin)

install(FILES ${PROJECT_SOURCE_DIR}/resources/velmora.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/velmora.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/velmora-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME velmora.png)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/resources/velmora.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/install/${VELMORA_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/${VELMORA_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)

# What Debian asks of every package's documentation: the licence in the machine-readable copyright
# format, the changelog and the manual pages, compressed without a time stamp so builds stay
# reproducible.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/debian/changelog VELMORA_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT VELMORA_CHANGELOG_TOP MATCHES "^velmora \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "resources/debian/changelog must begin with the entry for ${PROJECT_VERSION}")
endif()
set(VELMORA_COMPRESSED_DOCS)
foreach(source docs/man/velmora.1 docs/man/libq7z.1 resources/debian/changelog)
    get_filename_component(name ${source} NAME)
    set(compressed ${CMAKE_BINARY_DIR}/install/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/${source} ${compressed}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND VELMORA_COMPRESSED_DOCS ${compressed})
endforeach()
add_custom_target(velmora_compressed_docs ALL DEPENDS ${VELMORA_COMPRESSED_DOCS})
install(FILES ${CMAKE_BINARY_DIR}/install/velmora.1.gz ${CMAKE_BINARY_DIR}/install/libq7z.1.gz
    DESTINATION share/man/man1)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${CMAKE_BINARY_DIR}/install/changelog.gz
    DESTINATION share/doc/velmora)
