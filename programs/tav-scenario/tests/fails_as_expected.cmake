# A wrong script must make the scenario player fail with the reason its first line names:
# "# fails: REGEX" (a line of the run does not hold: exit code 1) or "# refused: REGEX" (the script
# cannot be played at all: exit code 2), matched against the player's output.
# cmake -DPLAYER=<tav-scenario> -DSCRIPT=<file.scn> [-DQT=1] -P fails_as_expected.cmake
file(STRINGS ${SCRIPT} first LIMIT_COUNT 1)
if(first MATCHES "^# fails: (.*)$")
  set(reason "FAILED: ${CMAKE_MATCH_1}")
  set(expected_rc 1)
elseif(first MATCHES "^# refused: (.*)$")
  set(reason "tav-scenario: ${CMAKE_MATCH_1}")
  set(expected_rc 2)
else()
  message(FATAL_ERROR "${SCRIPT} does not say how it fails")
endif()
set(args --quiet)
if(QT)
  list(APPEND args --qt)
endif()
execute_process(COMMAND ${PLAYER} ${args} ${SCRIPT} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(NOT rc EQUAL expected_rc)
  message(FATAL_ERROR "the player exited with ${rc}, not ${expected_rc}:\n${out}")
endif()
if(NOT out MATCHES "${reason}")
  message(FATAL_ERROR "the player failed for another reason than '${reason}':\n${out}")
endif()
