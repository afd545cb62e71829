# What `cmake --install` puts where, and the Debian package CPack makes of it.

include(GNUInstallDirs)

# A build tree is a portable copy: settings and log stay next to the
# executables (the tests' too). An installed program keeps them below the
# user's home instead; the marker is never installed.
foreach(dir ${CMAKE_BINARY_DIR}/bin ${CMAKE_BINARY_DIR}/tests/bin)
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/quillmark.portable
    "Settings and log of the programs in this directory are kept here.\n")
endforeach()

# Manual pages from the same text as --help.
find_package(Python3 COMPONENTS Interpreter)
set(QM_MAN_DIR ${CMAKE_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${QM_MAN_DIR})
set(QM_MAN_PAGES)
foreach(program quillmark quillmark-cli)
  add_custom_command(OUTPUT ${QM_MAN_DIR}/${program}.1
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make_manpage.py
            ${CMAKE_SOURCE_DIR}/docs/man/${program}.1.in $<TARGET_FILE:${program}> ${PROJECT_VERSION}
            ${QM_MAN_DIR}/${program}.1
    DEPENDS ${program} ${CMAKE_SOURCE_DIR}/docs/man/${program}.1.in ${CMAKE_SOURCE_DIR}/scripts/make_manpage.py
    VERBATIM)
  list(APPEND QM_MAN_PAGES ${QM_MAN_DIR}/${program}.1)
endforeach()
add_custom_target(manpages ALL DEPENDS ${QM_MAN_PAGES})

configure_file(${CMAKE_SOURCE_DIR}/resources/linux/org.quillmark.Studio.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/org.quillmark.Studio.metainfo.xml @ONLY)

install(TARGETS quillmark quillmark-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The module quillmark-cli loads for its commands that need Qt Gui, at the
# path relative to the program that it looks in.
install(TARGETS quillmark-cli-tools LIBRARY DESTINATION ${QM_CLI_TOOLS_DIR})
install(FILES resources/linux/org.quillmark.Studio.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/images/quillmark.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/org.quillmark.Studio.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/linux/quillmark.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${QM_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES resources/linux/quillmark-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quillmark-cli)

# The Debian package. The library scan finds the Qt and libarchive libraries
# the programs and the command-line tool's module link; it cannot see what the window loads at run time: the QML
# modules it imports and the SVG image plugin of its icons.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "The Quillmark developers")
set(CPACK_PACKAGE_CONTACT "The Quillmark developers <dev@quillmark.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the keyboard panels of input-method skins")
set(CPACK_PACKAGE_DESCRIPTION
  "Quillmark Studio previews a keyboard panel of an input-method skin and edits\nits keys on the preview. quillmark-cli runs the skin tools without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillmark.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qml-module-qtquick2, qml-module-qtquick-window2, qml-module-qtquick-layouts, qml-module-qtquick-controls2, qml-module-qtquick-templates2, qml-module-qtquick-dialogs, qml-module-qt-labs-folderlistmodel, qml-module-qt-labs-settings, libqt5svg5")
set(CPACK_STRIP_FILES ON)
include(CPack)
