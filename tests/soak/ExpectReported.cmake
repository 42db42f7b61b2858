# Runs the soak with one of its deliberate faults: it must fail, and say what it found. Its data
# and journals go to FOLDER, made afresh, where a failed soak leaves them.
file(REMOVE_RECURSE ${FOLDER})
execute_process(COMMAND ${SOAK} ${ARGS} --break=${MODE} --folder ${FOLDER} RESULT_VARIABLE result
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(result EQUAL 0)
  message(FATAL_ERROR "the soak with --break=${MODE} passed")
endif()
if(NOT output MATCHES "${EXPECTED}")
  message(FATAL_ERROR "the soak with --break=${MODE} did not report \"${EXPECTED}\"")
endif()
