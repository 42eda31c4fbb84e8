# Install rules for a Linux desktop: programs in bin/, shipped workbooks in
# share/sedilo/, the menu entry, icons, AppStream metainfo and man pages.
set(SEDILO_APP_ID io.github.sedilo.Sedilo)
set(linux_data ${PROJECT_SOURCE_DIR}/data/linux)

if(SEDILO_BUILD_APP)
  install(FILES ${linux_data}/${SEDILO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${linux_data}/${SEDILO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${linux_data}/icons/${SEDILO_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${linux_data}/icons/sedilo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${SEDILO_APP_ID}.png)
  endforeach()
endif()

# Man pages from the programs' own --help and --version, with the sections
# kept in data/man/.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
  message(WARNING "help2man not found: the man pages are not built (scripts/install-deps.sh installs it)")
  return()
endif()
set(man_pages)
foreach(program sedilo sedilo-cli)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  set(sections ${PROJECT_SOURCE_DIR}/data/man/${program}.h2m)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    # The window's --help needs no display; offscreen keeps Qt from looking for one.
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN} --no-info --section=1 --include=${sections}
            --output=${page} $<TARGET_FILE:${program}>
    DEPENDS ${program} ${sections}
    COMMENT "Writing the man page ${program}.1"
    VERBATIM)
  list(APPEND man_pages ${page})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
