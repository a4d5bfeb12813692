# cmake -DPROGRAM=... -DARGUMENT=... -DOUTPUT=... -P RunToFile.cmake
# Writes what a program prints into a file (the manual pages and the completion the programs make
# of their own help), failing the build when the program fails.
execute_process(COMMAND ${PROGRAM} ${ARGUMENT} OUTPUT_FILE ${OUTPUT}.part RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} failed: ${status}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
