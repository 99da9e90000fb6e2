# Runs the layer check on a planted tree and passes only when it fails with
# every message given as EXPECTED1, EXPECTED2, ... (regular expressions).
#   cmake -DCHECKER=... -DROOT=... -DEXPECTED1=... -P expect_failure.cmake
execute_process(COMMAND ${CHECKER} ${ROOT} ${ROOT}/order.md ${ROOT}/targets.txt
                RESULT_VARIABLE status ERROR_VARIABLE output OUTPUT_VARIABLE output)
message("${output}")
if(NOT status EQUAL 1)
  message(FATAL_ERROR "the check ended with ${status}, not 1, on a tree with wrong includes")
endif()
foreach(i RANGE 1 9)
  if(DEFINED EXPECTED${i} AND NOT output MATCHES "${EXPECTED${i}}")
    message(FATAL_ERROR "the check did not say: ${EXPECTED${i}}")
  endif()
endforeach()
