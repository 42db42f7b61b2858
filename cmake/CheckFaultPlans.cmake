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
include(${CMAKE_CURRENT_LIST_DIR}/ProgramSourceLines.cmake)

orvento_program_source_lines("${SOURCE_DIR}" "FaultPlan"
                             "core/FaultInjection.h;core/FaultInjection.cpp" _violations)
if(_violations)
  message(FATAL_ERROR "A fault plan outside the tests:" "${_violations}")
endif()
