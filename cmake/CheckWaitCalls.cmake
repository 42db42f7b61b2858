# Long work shows the wait window through core::ProgressScope only, so that scopes nest and the
# window is hidden once: a call of showWait/hideWait anywhere else in the program is refused.
# Run as a script:  cmake -DSOURCE_DIR=<tree> -P CheckWaitCalls.cmake
# The tests (which drive the interaction doubles themselves) and build folders are not checked.

cmake_minimum_required(VERSION 3.20)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not set")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

include(${CMAKE_CURRENT_LIST_DIR}/ProgramSourceLines.cmake)

orvento_program_source_lines("${SOURCE_DIR}" "(\\.|->)[ \t]*(show|hide)Wait[ \t]*\\("
                             "core/ProgressScope.cpp" _violations)
if(_violations)
  message(FATAL_ERROR "Wait window shown or hidden outside core::ProgressScope (use a scope):"
                      "${_violations}")
endif()
