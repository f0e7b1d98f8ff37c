cmake_minimum_required(VERSION 3.20)
# Runs the layer check on this folder's small tree, whose files name their
# fault in their first line, and requires exactly these faults: every include
# form is seen, and the clean files pass. Run with:
#   cmake -DSOURCE_DIR=<repo> -P tests/layers_fixture/check.cmake
set(expected
  "gfx/angle.h includes game/board.h from a layer above it"
  "gfx/sdl/window.cpp includes gfx/win32/presenter.h from a back end"
  "gfx/web/page.cpp includes gfx/sdl/keys.h from a back end"
  "flow/indented.h includes game/moves.h from a layer above it"
  "game/relative.cpp includes shell/menu.h from a layer above it"
  "shell/main.cpp includes gfx/sdl/keys.h from a back end")
execute_process(
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR}/tests/layers_fixture -P ${SOURCE_DIR}/cmake/check_layers.cmake
  RESULT_VARIABLE status ERROR_VARIABLE out OUTPUT_VARIABLE out_stdout)
string(APPEND out "${out_stdout}")
if(status EQUAL 0)
  message(FATAL_ERROR "the layer check passed a tree with faults:\n${out}")
endif()
string(REGEX MATCHALL "[^ \n]+ includes [^ \n]+ from [a-z ]+" found "${out}")
foreach(fault ${expected})
  if(NOT fault IN_LIST found)
    message(FATAL_ERROR "the layer check missed: ${fault}\n${out}")
  endif()
endforeach()
foreach(fault ${found})
  if(NOT fault IN_LIST expected)
    message(FATAL_ERROR "the layer check found a fault that is none: ${fault}\n${out}")
  endif()
endforeach()
message(STATUS "Layer check: every fault of the fixture found, nothing else")
