# A program answers --help on stdout with its usage and exit code 0.
# cmake -DPROGRAM=<executable> -P answers_help.cmake
execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exited with ${rc}: ${err}")
endif()
if(NOT out MATCHES "^usage: ")
  message(FATAL_ERROR "${PROGRAM} --help printed no usage on stdout: '${out}'")
endif()
