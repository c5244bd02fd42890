# Where `cmake --install` (and `make install PREFIX=...`) puts the editor:
# what a desktop needs to list it, open our document type with it and show
# its icons, and the manual page. The help pages are installed by res/.
include(GNUInstallDirs)

install(TARGETS kb_zeva3 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(kb_desktop ${PROJECT_SOURCE_DIR}/res/desktop)
install(FILES ${kb_desktop}/kb_zeva3.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kb_desktop}/kb_zeva3.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${kb_desktop}/io.github.kaboma.kb_zeva3.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The program's icon under its own name, and the document icon the desktop
# shows for our type (the second document picture: the one documents carry
# once the editor has started).
set(kb_icons ${PROJECT_SOURCE_DIR}/res/icons)
set(kb_hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${kb_icons}/kb_zeva3.svg DESTINATION ${kb_hicolor}/scalable/apps)
install(FILES ${kb_icons}/kb_zeva3-doc2.svg DESTINATION ${kb_hicolor}/scalable/mimetypes
        RENAME application-x-kb-zeva3.svg)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${kb_icons}/png/${size}/kb_zeva3.png DESTINATION ${kb_hicolor}/${size}x${size}/apps)
  install(FILES ${kb_icons}/png/${size}/kb_zeva3-doc2.png DESTINATION ${kb_hicolor}/${size}x${size}/mimetypes
          RENAME application-x-kb-zeva3.png)
endforeach()

# Manual pages, compressed as Debian installs them: English and Japanese.
find_program(KB_GZIP gzip REQUIRED)
set(kb_man_pages)
foreach(page kb_zeva3 kb_zeva3.ja)
  set(out ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${KB_GZIP} -9nc ${PROJECT_SOURCE_DIR}/res/man/${page}.1 > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/res/man/${page}.1 VERBATIM)
  list(APPEND kb_man_pages ${out})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${kb_man_pages})
install(FILES ${CMAKE_BINARY_DIR}/man/kb_zeva3.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/man/kb_zeva3.ja.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1
        RENAME kb_zeva3.1.gz)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
