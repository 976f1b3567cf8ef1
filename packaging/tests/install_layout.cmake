# Installs the build into a folder of its own and checks what a desktop user gets: the programs
# (tavora --version runs from there), the desktop entry (valid, when desktop-file-validate is
# there), the icons, the man pages, the documentation (the operator's guide with its pictures) and
# the printing library the programs load when they first print.
# cmake -DBUILD=<build dir> -DWORK=<folder> -DVERSION=<x.y.z> -DSIZES=<list>
#       -DPRINT_MODULE=<its path under the prefix> -P install_layout.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(expected
    bin/tavora bin/tav-boards bin/tav-scenario bin/tav-render
    share/applications/tavora.desktop
    share/man/man1/tavora.1 share/man/man1/tav-boards.1
    share/doc/tavora/README.md share/doc/tavora/configuration.md share/doc/tavora/audit.md
    share/doc/tavora/operator-guide.md
    ${PRINT_MODULE})
foreach(size ${SIZES})
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/tavora.png)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${WORK}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

foreach(size ${SIZES})
  file(READ ${WORK}/share/icons/hicolor/${size}x${size}/apps/tavora.png header OFFSET 16 LIMIT 8 HEX)
  math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(SUBSTRING "${hex}" 2 -1 digits)
  string(LENGTH "${digits}" length)
  math(EXPR pad "8 - ${length}")
  string(REPEAT "0" ${pad} zeros)
  string(TOLOWER "${zeros}${digits}${zeros}${digits}" want)
  if(NOT header STREQUAL want)
    message(FATAL_ERROR "icon ${size} is ${header}, not ${want}")
  endif()
endforeach()

execute_process(COMMAND ${WORK}/bin/tavora --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "tavora ${VERSION}\n")
  message(FATAL_ERROR "installed tavora --version gave '${out}' (${rc})")
endif()

find_program(validate desktop-file-validate)
if(validate)
  execute_process(COMMAND ${validate} ${WORK}/share/applications/tavora.desktop
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()

file(READ ${WORK}/share/man/man1/tavora.1 page)
if(NOT page MATCHES "Tavora ${VERSION}" OR page MATCHES "@")
  message(FATAL_ERROR "the man page was not filled in")
endif()
if(NOT page MATCHES "operator(\\\\)?-guide\\.md")
  message(FATAL_ERROR "the man page does not name the operator's guide")
endif()

# Every picture the installed guide shows is installed beside it.
file(READ ${WORK}/share/doc/tavora/operator-guide.md guide)
string(REGEX MATCHALL "\\(guide/[A-Za-z0-9_.-]+\\.png\\)" links "${guide}")
if(NOT links)
  message(FATAL_ERROR "the installed guide shows no picture")
endif()
foreach(link ${links})
  string(REGEX REPLACE "^\\((.+)\\)$" "\\1" picture "${link}")
  if(NOT EXISTS ${WORK}/share/doc/tavora/${picture})
    message(FATAL_ERROR "the guide's picture ${picture} is not installed")
  endif()
endforeach()
