# A wrong script must make the scenario player fail (exit code 1) with the reason its first line
# names: "# fails: REGEX", matched against the player's output.
# cmake -DPLAYER=<tav-scenario> -DSCRIPT=<file.scn> [-DQT=1] -P fails_as_expected.cmake
file(STRINGS ${SCRIPT} first LIMIT_COUNT 1)
if(NOT first MATCHES "^# fails: (.*)$")
  message(FATAL_ERROR "${SCRIPT} does not say how it fails")
endif()
set(reason "FAILED: ${CMAKE_MATCH_1}")
set(args --quiet)
if(QT)
  list(APPEND args --qt)
endif()
execute_process(COMMAND ${PLAYER} ${args} ${SCRIPT} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "the player exited with ${rc}, not 1:\n${out}")
endif()
if(NOT out MATCHES "${reason}")
  message(FATAL_ERROR "the player failed for another reason than '${reason}':\n${out}")
endif()
