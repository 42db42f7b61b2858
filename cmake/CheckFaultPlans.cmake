# The fault plan (core/FaultInjection) makes a statement fail on purpose: only the tests may make
# one, so that the shipped program never runs with one in force. A mention of FaultPlan anywhere
# else in the tree is refused.
# Run as a script:  cmake -DSOURCE_DIR=<tree> -P CheckFaultPlans.cmake
# The tests and build folders are not checked.

cmake_minimum_required(VERSION 3.20)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not set")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(_allowed "core/FaultInjection.h" "core/FaultInjection.cpp")
file(GLOB _tops LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(_violations "")
foreach(_top IN LISTS _tops)
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${_top}" OR _top MATCHES "^(build.*|tests|\\..*)$")
    continue()
  endif()
  file(GLOB_RECURSE _files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${_top}/*.cpp"
       "${SOURCE_DIR}/${_top}/*.h")
  foreach(_file IN LISTS _files)
    if(_file IN_LIST _allowed)
      continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${_file}" _lines REGEX "FaultPlan")
    foreach(_line IN LISTS _lines)
      string(STRIP "${_line}" _line)
      string(APPEND _violations "\n  ${_file}: ${_line}")
    endforeach()
  endforeach()
endforeach()
if(_violations)
  message(FATAL_ERROR "A fault plan outside the tests:" "${_violations}")
endif()
