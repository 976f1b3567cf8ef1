# Installs the build into a folder of its own and checks what a desktop user gets: the programs
# (tavora --version runs from there), the desktop entry (valid, when desktop-file-validate is
# there), the icons, the man pages (one for each program, compressed as Debian wants them), the
# documentation (the operator's guide with its pictures, the copyright file and the package's
# change log) and the printing library the programs load when they first print.
# cmake -DBUILD=<build dir> -DWORK=<folder> -DVERSION=<x.y.z> -DSIZES=<list>
#       -DPRINT_MODULE=<its path under the prefix> -DGZIP=<gzip> -P install_layout.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

set(expected
    bin/tavora bin/tav-boards bin/tav-scenario bin/tav-render
    share/applications/tavora.desktop
    share/doc/tavora/README.md share/doc/tavora/configuration.md share/doc/tavora/audit.md
    share/doc/tavora/operator-guide.md share/doc/tavora/copyright
    share/doc/tavora/changelog.Debian.gz
    ${PRINT_MODULE})
set(programs tavora tav-boards tav-scenario tav-render)
foreach(program ${programs})
  list(APPEND expected share/man/man1/${program}.1.gz)
endforeach()
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

# Compressed files carry no name and no time, so that a build is reproducible: a gzip header with
# no flags and a zero time stamp.
set(compressed share/doc/tavora/changelog.Debian.gz)
foreach(program ${programs})
  list(APPEND compressed share/man/man1/${program}.1.gz)
endforeach()
foreach(path ${compressed})
  file(READ ${WORK}/${path} header LIMIT 8 HEX)
  if(NOT header STREQUAL "1f8b080000000000")
    message(FATAL_ERROR "${path} is not gzip without a name and a time: ${header}")
  endif()
endforeach()

foreach(program ${programs})
  execute_process(COMMAND ${GZIP} -dc ${WORK}/share/man/man1/${program}.1.gz
                  RESULT_VARIABLE rc OUTPUT_VARIABLE page)
  if(NOT rc EQUAL 0 OR NOT page MATCHES "Tavora ${VERSION}" OR page MATCHES "@")
    message(FATAL_ERROR "the man page of ${program} was not filled in")
  endif()
endforeach()
# The program's own page names the operator's guide.
execute_process(COMMAND ${GZIP} -dc ${WORK}/share/man/man1/tavora.1.gz OUTPUT_VARIABLE page)
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
