# The test registration functions stop the configuration on an argument they do not know (or a
# keyword left without its value) instead of registering a test that checks less than it says;
# a right call goes through.
# cmake -DMODULE=<cmake/tav_tests.cmake> -DWORK=<folder> -P refuses_unknown_arguments.cmake
# Each case: the call | what the error must say ("" for a call that must go through).
set(cases
    "tav_test(name QTT SOURCES a.cpp)|tav_test: unknown argument(s): QTT"
    "tav_test(name SOURCES a.cpp TIMEOUT)|tav_test: unknown argument(s): TIMEOUT"
    "tav_test(name SOURCES a.cpp LIBS b QT TIMEOUT 90 ENV A=1 LABELS slow)|"
    "tav_command_test(a.b WILLFAIL COMMAND true)|tav_command_test: unknown argument(s): WILLFAIL"
    "tav_command_test(a.b COMMAND true PASS_REGEX)|tav_command_test: unknown argument(s): PASS_REGEX"
    "tav_command_test(a_b COMMAND true)|'a_b' is not named SUBJECT.CASE"
    "tav_command_test(a.b QT)|a.b has no COMMAND"
    "tav_command_test(a.b QT WILL_FAIL PASS_REGEX x FAIL_REGEX y ENV A=1 COMMAND true)|"
    "tav_command_test(a.b COMMAND true TIMEOUT)|tav_command_test: unknown argument(s): TIMEOUT"
    "tav_command_test(a.b SKIP_RETURN_CODE 77 TIMEOUT 90 COMMAND true)|"
    "tav_scenario(a a.scn extra)|tav_scenario: unknown argument(s): extra"
    "tav_scenarios(dir extra)|tav_scenarios: unknown argument(s): extra")

file(MAKE_DIRECTORY ${WORK})
set(failures 0)
foreach(case IN LISTS cases)
  string(FIND "${case}" "|" bar)
  string(SUBSTRING "${case}" 0 ${bar} call)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${case}" ${after} -1 expected)
  file(WRITE ${WORK}/call.cmake "include(${MODULE})\n${call}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -P ${WORK}/call.cmake RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expected STREQUAL "")
    if(NOT rc EQUAL 0)
      message(SEND_ERROR "${call} was refused: ${err}")
      math(EXPR failures "${failures} + 1")
    endif()
  else()
    string(FIND "${err}" "${expected}" found)
    if(rc EQUAL 0 OR found EQUAL -1)
      message(SEND_ERROR "${call} was not refused with '${expected}' (exit ${rc}): ${err}")
      math(EXPR failures "${failures} + 1")
    endif()
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) failed")
endif()
