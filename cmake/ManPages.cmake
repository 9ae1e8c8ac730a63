# Manual pages made from the programs' own --help, so that they cannot
# drift from it (help2man), and the hand-written page of the flare file
# format. Built by the target "man-pages", which "programs" depends on, and
# installed gzip-compressed as Debian's policy wants them.
find_program(HELP2MAN help2man)
find_program(GZIP gzip)
if(NOT HELP2MAN OR NOT GZIP)
  message(WARNING "help2man or gzip not found: no manual pages (tools/install-deps installs help2man)")
  add_custom_target(man-pages)
  return()
endif()

set(BARYWALK_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(barywalk_man_outputs)

# barywalk_man_page(NAME DESCRIPTION TARGET [SUBCOMMAND]): NAME.1.gz from the
# help of the program TARGET, or of its SUBCOMMAND.
function(barywalk_man_page name description target)
  set(page ${BARYWALK_MAN_DIR}/${name}.1)
  set(wrapper ${BARYWALK_MAN_DIR}/wrappers/${name})
  # help2man runs one executable; a subcommand's help comes through a
  # two-line wrapper that names it.
  file(GENERATE OUTPUT ${wrapper}
       CONTENT "#!/bin/sh\nexec '$<TARGET_FILE:${target}>' ${ARGN} \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
  set(include_file ${PROJECT_SOURCE_DIR}/data/man/${name}.h2m)
  set(include_option)
  set(include_depends)
  if(EXISTS ${include_file})
    set(include_option --include=${include_file})
    set(include_depends ${include_file})
  endif()
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${HELP2MAN} --no-info --section=1 --name=${description}
            --version-string=${PROJECT_VERSION} --source=Barywalk
            --manual=Barywalk ${include_option} --output=${page} ${wrapper}
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${target} ${include_depends}
    COMMENT "Manual page ${name}(1)"
    VERBATIM)
  set(barywalk_man_outputs ${barywalk_man_outputs} ${page}.gz PARENT_SCOPE)
endfunction()

barywalk_man_page(barywalk-ephem "planet positions and the Sun's place around the barycenter"
                  barywalk-ephem)
barywalk_man_page(barywalk-flares "flare catalogs and their statistics" barywalk-flares)
barywalk_man_page(barywalk-flares-import "convert flare catalogs to flare files"
                  barywalk-flares import)
barywalk_man_page(barywalk-flares-stats "the flare statistics file without the dialog"
                  barywalk-flares stats)
barywalk_man_page(barywalk-flares-significance "test flares against the planets' directions"
                  barywalk-flares significance)
if(BARYWALK_GUI)
  barywalk_man_page(barywalk "the Sun's wander around the solar system's barycenter" barywalk)
  barywalk_man_page(barywalk-render "the view's frames as pictures and animations"
                    barywalk-render)
endif()

# The flare file format is written by hand: no program prints it.
set(format_page ${BARYWALK_MAN_DIR}/barywalk-flare-file.5.gz)
add_custom_command(
  OUTPUT ${format_page}
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/data/man/barywalk-flare-file.5 > ${format_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/man/barywalk-flare-file.5
  COMMENT "Manual page barywalk-flare-file(5)")

add_custom_target(man-pages ALL DEPENDS ${barywalk_man_outputs} ${format_page})
install(FILES ${barywalk_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${format_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
