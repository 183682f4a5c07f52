# Installation on a Linux desktop: the game and the puzzle file checker, the puzzle
# collection and the help beside each other in share/lumera8, the desktop entry, the icon
# theme sizes, AppStream metadata and the manual pages; then the Debian package.
include(GNUInstallDirs)

set(LUMERA_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/lumera8)

if(TARGET lumera8-check)
  install(TARGETS lumera8-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/man/lumera8-check.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The desktop side goes with the game only: a desktop entry without its program is broken.
if(TARGET lumera8)
  install(TARGETS lumera8 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The audio module, which the game looks for in ../lib/lumera8 beside its bin folder.
  install(TARGETS lumera8_sound LIBRARY DESTINATION lib/lumera8)
  install(FILES ${PROJECT_SOURCE_DIR}/man/lumera8.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

  # The game opens its collection and help by relative name, so its folder holds both.
  install(FILES ${PROJECT_SOURCE_DIR}/data/Lumera8.dat ${PROJECT_SOURCE_DIR}/data/lumera8.html
                ${PROJECT_SOURCE_DIR}/docs/screenshot.png
          DESTINATION ${LUMERA_DATA_SUBDIR})

  foreach(size 16 32 48 64 128 256)
    if(size EQUAL 256)
      set(picture ${PROJECT_SOURCE_DIR}/resources/icon.png)
    else()
      set(picture ${PROJECT_SOURCE_DIR}/resources/icon-${size}.png)
    endif()
    install(FILES ${picture} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME lumera8.png)
  endforeach()

  # AppStream wants a reverse-DNS id and a file named after it; the launchable stays
  # lumera8.desktop, the name the game gives itself as its desktop file name.
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/example.lumera.lumera8.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The entry's Path names the installed data folder, which is known only when installing
  # (cmake --install --prefix, or the package's /usr), so the entry is made then. Each prefix
  # gets its own intermediate file, so that two installs at once do not mix them up.
  install(CODE "
    set(LUMERA_INSTALLED_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${LUMERA_DATA_SUBDIR}\")
    string(MD5 lumeraPrefixHash \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(lumeraEntry \"${CMAKE_BINARY_DIR}/desktop-entry/\${lumeraPrefixHash}/lumera8.desktop\")
    configure_file(\"${PROJECT_SOURCE_DIR}/cmake/lumera8.desktop.in\" \"\${lumeraEntry}\" @ONLY)
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
         TYPE FILE FILES \"\${lumeraEntry}\")
  ")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
