# Runs the layer check over the small tree in fixture/ (layers "low" then
# "high") and expects exactly its three faults: an upward include by name,
# one by a relative path, and a folder missing from the list.
cmake_minimum_required(VERSION 3.22)
set(here ${CMAKE_CURRENT_LIST_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${here}/fixture -DLAYERS=low,high
          -P ${here}/check_layer_order.cmake
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)

if(status EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with upward includes:\n${output}")
endif()
foreach(expected
    "src/low/low.h: includes \"high/high.h\" of src/high, a layer above src/low"
    "src/low/low.cpp: includes \"high/high.h\" of src/high, a layer above src/low"
    "src/stray is not in the layer list")
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing fault \"${expected}\" in:\n${output}")
  endif()
endforeach()
foreach(allowed "src/high/" "low/low.h\" of")
  string(FIND "${output}" "${allowed}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "a downward or own include was reported as a fault:\n${output}")
  endif()
endforeach()
