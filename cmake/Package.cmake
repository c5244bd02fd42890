# `make package`: a Debian package of the installed files. Its library
# dependencies come from dpkg-shlibdeps; what the editor needs besides
# (a Japanese font, and the tools that take our MIME type and desktop entry
# into the desktop's databases) is named here. The editing control is built
# in (third_party/qscintilla, a static library), so no QScintilla package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kb-zeva3)
set(CPACK_PACKAGE_VENDOR "Kaboma Edit 3 developers")
set(CPACK_PACKAGE_CONTACT "Kaboma Edit 3 developers <kb-zeva3@users.noreply.localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plain-text editor for Japanese text files")
set(CPACK_PACKAGE_DESCRIPTION
    "Kaboma Edit 3 edits Japanese text files in Shift-JIS, JIS, EUC or UTF-8,\n"
    "detecting the code when opening a file and writing the code chosen. It brings\n"
    "line-ending replacement, a right-click menu of four pages, a custom tool-bar\n"
    "button, registered phrases, auto-indent, a mini launcher and file-extension\n"
    "association with the desktop.")
# CPack puts the summary line in front of it.
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-translations-l10n, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)

# Debian wants the licence and a compressed change log in the package's
# documentation directory.
set(kb_doc ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${PROJECT_SOURCE_DIR}/res/desktop/copyright DESTINATION ${kb_doc})
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND ${KB_GZIP} -9nc ${PROJECT_SOURCE_DIR}/res/desktop/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/res/desktop/changelog VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${kb_doc})
