# The Debian package: menu entry, icons, AppStream data, manual page and licence, then CPack's DEB
# generator over the install rules. scripts/package.sh builds it.

# The program's own version, which differs in form from the project's (2.5.5).
set(NORVELIA_PACKAGE_VERSION "2.05.05")
# Reverse-domain id under the maker's domain (shell/Maker.h): the menu entry, the icon and the metadata
# share it.
set(NORVELIA_APP_ID "example.velmoria.Norvelia")

# The icons, drawn by tools/makeicon.cpp at build time.
add_executable(makeicon tools/makeicon.cpp)
target_link_libraries(makeicon PRIVATE Qt6::Gui)
set(ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(ICON_SIZES 48 128 256)
set(ICON_OUTPUTS ${ICON_DIR}/${NORVELIA_APP_ID}.svg)
foreach(s IN LISTS ICON_SIZES)
    list(APPEND ICON_OUTPUTS ${ICON_DIR}/${s}/${NORVELIA_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${ICON_OUTPUTS}
    COMMAND makeicon ${ICON_DIR} ${NORVELIA_APP_ID} ${ICON_SIZES}
    DEPENDS makeicon
    COMMENT "Drawing the program's icons")

# Debian wants manual pages and changelogs compressed, without a time stamp.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(MAN_PAGE_GZ ${CMAKE_CURRENT_BINARY_DIR}/norvelia.1.gz)
set(CHANGELOG_GZ ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${MAN_PAGE_GZ}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/norvelia.1 > ${MAN_PAGE_GZ}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/norvelia.1)
add_custom_command(OUTPUT ${CHANGELOG_GZ}
    COMMAND ${GZIP_EXECUTABLE} -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog > ${CHANGELOG_GZ}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog)
add_custom_target(package_files ALL DEPENDS ${ICON_OUTPUTS} ${MAN_PAGE_GZ} ${CHANGELOG_GZ})

install(FILES packaging/${NORVELIA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${NORVELIA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ICON_DIR}/${NORVELIA_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(s IN LISTS ICON_SIZES)
    install(FILES ${ICON_DIR}/${s}/${NORVELIA_APP_ID}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${s}x${s}/apps)
endforeach()
install(FILES ${MAN_PAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/norvelia)

# The package needs only the program and the files above (scripts/package.sh builds them), not the tests
# and benchmarks that "all" holds.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME norvelia)
set(CPACK_PACKAGE_VERSION ${NORVELIA_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "software VELMORIA")
set(CPACK_PACKAGE_CONTACT "software VELMORIA <info@velmoria.example>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/cpack)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.velmoria.example")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the shared libraries do not tell: the synthesiser is opened at run time (platform/MidiDevice.cpp);
# the soundfont, the fonts standing in for the design's (platform/Fonts.cpp), Qt's Italian texts and the
# X11 platform plugin are data and plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libfluidsynth3, timgm6mb-soundfont, fonts-urw-base35, fonts-liberation2, fonts-comic-neue, fonts-dejavu-core, qt6-translations-l10n, qt6-qpa-plugins, libxcb-cursor0")
# Opening a saved document in the desktop's word processor asks xdg-mime for it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "massime di giurisprudenza edilizia / Italian building case law")
# The long description, after the summary line; CPack indents it and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Norvelia raccoglie 2.050 massime di giurisprudenza italiana in materia
edilizia, urbanistica, di espropriazioni, professionisti, condominio, enti
pubblici e imprese, in sette archivi da leggere argomento per argomento.
Le massime si stampano in documenti da salvare in PDF, OpenDocument o RTF;
una ricerca a tutto testo trova parole, frasi, citazioni e norme, anche da
riga di comando. Il programma ha guida in linea, suggerimenti e listino.

Norvelia is a reference work of 2,050 Italian case-law maxims on building
matters, in seven archives, with printing, full-text search, online help,
tips and a price list. Its texts and interface are in Italian.")
include(CPack)
