# Copies the built game folder, puts a comma into a script and expects checkgame to say so.
file(REMOVE_RECURSE ${SCRATCH})
file(COPY ${GAME}/ DESTINATION ${SCRATCH} PATTERN music EXCLUDE PATTERN morvath EXCLUDE)
file(APPEND ${SCRATCH}/scripts/start.scr "a,b\r\n")
execute_process(COMMAND ${CHECKGAME} ${SCRATCH} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
file(REMOVE_RECURSE ${SCRATCH})
if(rc EQUAL 0 OR NOT out MATCHES "start.scr: holds a comma")
  message(FATAL_ERROR "checkgame missed a comma in start.scr (exit ${rc}):\n${out}")
endif()
