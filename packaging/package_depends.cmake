# Included by cpack: adds the packages of the shared libraries that the shipped programs and the
# printing module need (dpkg-shlibdeps, as CPack's own scan would) to CPACK_DEBIAN_PACKAGE_DEPENDS.
# TAV_SHIPPED_BINARIES: the built files that go into the package.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
find_program(TAV_SHLIBDEPS dpkg-shlibdeps)
if(NOT TAV_SHLIBDEPS)
  message(FATAL_ERROR "the Debian package needs dpkg-shlibdeps (package dpkg-dev)")
endif()
# dpkg-shlibdeps reads debian/control in the folder it runs in; an empty one will do.
set(work ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps)
file(MAKE_DIRECTORY ${work}/debian)
file(WRITE ${work}/debian/control "")
execute_process(COMMAND ${TAV_SHLIBDEPS} -O ${TAV_SHIPPED_BINARIES}
                WORKING_DIRECTORY ${work}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed (${rc}): ${err}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, ${CMAKE_MATCH_1}")
