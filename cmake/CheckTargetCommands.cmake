# Reads the build graph: fails unless building TARGET alone (in BUILD_DIR, with the Ninja program
# NINJA) runs a command containing EXPECTED.
#   cmake -DNINJA=… -DBUILD_DIR=… -DTARGET=… -DEXPECTED=… -P CheckTargetCommands.cmake
execute_process(COMMAND ${NINJA} -C ${BUILD_DIR} -t commands ${TARGET}
                OUTPUT_VARIABLE commands ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ninja cannot list the commands of ${TARGET}: ${errors}")
endif()
string(FIND "${commands}" "${EXPECTED}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "building ${TARGET} alone does not run \"${EXPECTED}\"")
endif()
