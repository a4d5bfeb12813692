# Installation as a desktop program: the two programs, their manual pages and the companion's bash
# completion (which the programs make from their own help at build time, so they cannot disagree
# with --help), the desktop entry with its icons, the AppStream metainfo, the how-tos and the
# examples of scheduled jobs. scripts/package makes a Debian package of it.

option(TARVENDIX_PER_USER_HOME
       "Keep the base directory in the per-user data directory, never beside the program (installed builds)" OFF)
if(TARVENDIX_PER_USER_HOME)
  target_compile_definitions(tarvendix_common PRIVATE TARVENDIX_PER_USER_HOME)
endif()

set(TARVENDIX_GENERATED ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${TARVENDIX_GENERATED})

function(_tarvendix_program_output output program argument)
  add_custom_command(OUTPUT ${TARVENDIX_GENERATED}/${output}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DARGUMENT=${argument}
            -DOUTPUT=${TARVENDIX_GENERATED}/${output} -P ${PROJECT_SOURCE_DIR}/cmake/RunToFile.cmake
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/RunToFile.cmake
    VERBATIM)
endfunction()

_tarvendix_program_output(tarvendix.1 tarvendix --man)
_tarvendix_program_output(tarvendix-cli.1 tarvendix-cli --man)
_tarvendix_program_output(tarvendix-cli.bash-completion tarvendix-cli --bash-completion)
add_custom_target(tarvendix_manuals ALL
  DEPENDS ${TARVENDIX_GENERATED}/tarvendix.1 ${TARVENDIX_GENERATED}/tarvendix-cli.1
          ${TARVENDIX_GENERATED}/tarvendix-cli.bash-completion)

include(GNUInstallDirs)
install(TARGETS tarvendix tarvendix-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TARVENDIX_GENERATED}/tarvendix.1 ${TARVENDIX_GENERATED}/tarvendix-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TARVENDIX_GENERATED}/tarvendix-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tarvendix-cli)

# The desktop entry and the AppStream metainfo are named after the program's component id.
set(TARVENDIX_APP_ID org.tarvendix.Tarvendix)
set(TARVENDIX_HOMEPAGE_URL "https://tarvendix.example.org" CACHE STRING
    "Where the project publishes its pages; the metainfo's screenshot is its docs/images/inicio.png")
set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
configure_file(${_packaging}/${TARVENDIX_APP_ID}.metainfo.xml.in ${TARVENDIX_GENERATED}/${TARVENDIX_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${_packaging}/${TARVENDIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TARVENDIX_GENERATED}/${TARVENDIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The PNG sizes are rendered from the drawing by packaging/icons/render and committed.
install(FILES ${_packaging}/icons/tarvendix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${_packaging}/icons/tarvendix-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tarvendix.png)
endforeach()

# The desktop entry and the metainfo as the desktop's tools read them (scripts/package installs the
# validators; without them there is nothing to run).
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(TARVENDIX_TESTS AND DESKTOP_FILE_VALIDATE AND APPSTREAMCLI)
  add_test(NAME packaging.desktop_entry COMMAND ${DESKTOP_FILE_VALIDATE} ${_packaging}/${TARVENDIX_APP_ID}.desktop)
  add_test(NAME packaging.metainfo
           COMMAND ${APPSTREAMCLI} validate --no-net ${TARVENDIX_GENERATED}/${TARVENDIX_APP_ID}.metainfo.xml)
endif()

# The how-tos, with the pictures they show, and the examples of scheduled jobs.
set(_doc ${CMAKE_INSTALL_DATADIR}/doc/tarvendix)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${_doc})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${_doc}/docs
        FILES_MATCHING PATTERN "howto-*.md" PATTERN "cli.md" PATTERN "*.png" PATTERN "exemplos" EXCLUDE)
install(DIRECTORY ${_packaging}/systemd/ DESTINATION ${_doc}/examples)
