# Builds the Debian package into a folder of its own and checks what Debian asks of it: no
# maintainer scripts (the printing module is private, loaded by its path: no ldconfig), a
# maintainer with a real mail address, description lines that fit 80 columns, a version that the
# change log's first entry names, a compressed man page for every program, the copyright file, and
# programs and module hardened (bound at start) without the compiler's notes. When lintian is
# installed, it reports no error and no warning, pedantic tags included, on a package made as it
# is shipped (not from the sanitizer build).
# cmake -DBUILD=<build dir> -DWORK=<folder> -DVERSION=<x.y.z> -DCPACK=<cpack> -DGZIP=<gzip>
#       -DSANITIZED=<ON|OFF> -P package_contents.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake -G DEB -B ${WORK}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB debs ${WORK}/*.deb)
list(LENGTH debs count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages (${rc}): ${out}")
endif()

execute_process(COMMAND dpkg-deb -e ${debs} ${WORK}/control RESULT_VARIABLE rc1)
execute_process(COMMAND dpkg-deb -x ${debs} ${WORK}/root RESULT_VARIABLE rc2)
if(NOT rc1 EQUAL 0 OR NOT rc2 EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot open ${debs}")
endif()

file(GLOB scripts RELATIVE ${WORK}/control ${WORK}/control/*)
list(REMOVE_ITEM scripts control md5sums)
if(scripts)
  message(FATAL_ERROR "the package has maintainer scripts: ${scripts}")
endif()

file(STRINGS ${WORK}/control/control control)
set(in_description FALSE)
foreach(line IN LISTS control)
  string(LENGTH "${line}" length)
  if(line MATCHES "^Description:")
    set(in_description TRUE)
  elseif(NOT line MATCHES "^ ")
    set(in_description FALSE)
  endif()
  if(in_description AND length GREATER 80)
    message(FATAL_ERROR "a description line is longer than 80 columns: ${line}")
  endif()
  if(line MATCHES "^Maintainer: (.*)$")
    set(maintainer "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^Version: (.*)$")
    set(version "${CMAKE_MATCH_1}")
  endif()
endforeach()
if(NOT maintainer MATCHES "^[^<>@]+ <[^<>@ ]+@([a-z0-9-]+\\.)+[a-z]+>$"
   OR maintainer MATCHES "@(localhost|[^>]*\\.(invalid|local|localdomain|example))>")
  message(FATAL_ERROR "the maintainer has no real mail address: ${maintainer}")
endif()
if(NOT version MATCHES "^${VERSION}-[0-9]+$")
  message(FATAL_ERROR "the package's version ${version} is not ${VERSION} with a Debian revision")
endif()

set(doc ${WORK}/root/usr/share/doc/tavora)
execute_process(COMMAND ${GZIP} -dc ${doc}/changelog.Debian.gz RESULT_VARIABLE rc
                OUTPUT_VARIABLE changelog)
if(NOT rc EQUAL 0 OR NOT changelog MATCHES "^tavora \\(([^)]+)\\) ")
  message(FATAL_ERROR "the package has no readable change log")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL version)
  message(FATAL_ERROR "the change log's first entry is ${CMAKE_MATCH_1}, the package ${version}")
endif()
if(NOT changelog MATCHES "\n -- ${maintainer}  ")
  message(FATAL_ERROR "the change log's first entry is not signed by ${maintainer}")
endif()

# The machine-readable format: its header, a paragraph for every file, and the text of its license.
file(READ ${doc}/copyright copyright)
if(NOT copyright MATCHES
   "^Format: https://www\\.debian\\.org/doc/packaging-manuals/copyright-format/1\\.0/\n"
   OR NOT copyright MATCHES "\n\nFiles: \\*\nCopyright: [^\n]+\nLicense: ([^\n]+)\n")
  message(FATAL_ERROR "the copyright file is not in Debian's machine-readable format")
endif()
if(NOT copyright MATCHES "\n\nLicense: ${CMAKE_MATCH_1}\n [^\n]")
  message(FATAL_ERROR "the copyright file lacks the text of the ${CMAKE_MATCH_1} license")
endif()

# Every program has its man page, and every man page is compressed.
file(GLOB programs RELATIVE ${WORK}/root/usr/bin ${WORK}/root/usr/bin/*)
foreach(program ${programs})
  if(NOT EXISTS ${WORK}/root/usr/share/man/man1/${program}.1.gz)
    message(FATAL_ERROR "${program} has no man page")
  endif()
endforeach()
file(GLOB_RECURSE pages RELATIVE ${WORK}/root/usr/share/man ${WORK}/root/usr/share/man/*)
list(FILTER pages EXCLUDE REGEX "\\.gz$")
if(pages)
  message(FATAL_ERROR "man pages not compressed: ${pages}")
endif()

find_program(readelf readelf)
if(readelf)
  file(GLOB elves ${WORK}/root/usr/bin/* ${WORK}/root/usr/lib/tavora/*.so)
  foreach(elf ${elves})
    execute_process(COMMAND ${readelf} -W -S -d ${elf} OUTPUT_VARIABLE sections)
    if(sections MATCHES " \\.comment ")
      message(FATAL_ERROR "${elf} keeps the compiler's notes (.comment)")
    endif()
    if(NOT sections MATCHES "\\(FLAGS\\)[^\n]*BIND_NOW" AND NOT sections MATCHES "\\(FLAGS_1\\)[^\n]* NOW")
      message(FATAL_ERROR "${elf} is not bound at start (-z now)")
    endif()
  endforeach()
endif()

find_program(lintian lintian)
if(lintian AND NOT SANITIZED)
  execute_process(COMMAND ${lintian} --pedantic --display-info ${debs}
                  OUTPUT_VARIABLE report ERROR_VARIABLE report)
  message(STATUS "lintian:\n${report}")
  if(report MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian reports errors or warnings")
  endif()
endif()
