cmake_minimum_required(VERSION 3.20)
# Checks that every source file includes only from the layers below it:
#   data  <-  gfx  <-  flow  <-  game  <-  shell
# and that a back end folder (any folder under gfx/) is included only by
# itself (the game reaches a back end through gfx/platform.h
# and gfx/window.h). Every include form counts: "a/b.h" and <a/b.h>, with
# blanks before or after the #, and paths relative to the including file
# ("../game/b.h", "b.h"). Run with: cmake -DSOURCE_DIR=<repo> -P check_layers.cmake
set(layers data gfx flow game shell)
set(allowed_data "data")
set(allowed_gfx "data;gfx")
set(allowed_flow "data;gfx;flow")
set(allowed_game "data;gfx;flow;game")
set(allowed_shell "data;gfx;flow;game;shell")

set(faults "")
foreach(layer ${layers})
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(f ${files})
    file(RELATIVE_PATH rel "${SOURCE_DIR}" "${f}")
    get_filename_component(dir "${f}" DIRECTORY)
    # The back end a file belongs to, if any.
    set(own_backend "")
    if(rel MATCHES "^gfx/([A-Za-z0-9_]+)/")
      set(own_backend "${CMAKE_MATCH_1}")
    endif()
    file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" target "${line}")
      # A quoted path that starts with ./ or ../, or names a file beside the
      # including one, means that file; any other is taken from the top of
      # the tree.
      if(NOT line MATCHES "<" AND (target MATCHES "^\\.\\.?/" OR EXISTS "${dir}/${target}"))
        get_filename_component(resolved "${dir}/${target}" ABSOLUTE)
        file(RELATIVE_PATH target "${SOURCE_DIR}" "${resolved}")
      endif()
      string(REGEX REPLACE "/.*" "" target_layer "${target}")
      if(NOT target MATCHES "/")
        continue()  # a system header (<vector>) or one of a generated folder's
      endif()
      if(target_layer IN_LIST layers AND NOT target_layer IN_LIST allowed_${layer})
        list(APPEND faults "${rel} includes ${target} from a layer above it")
      endif()
      if(target MATCHES "^gfx/([A-Za-z0-9_]+)/" AND NOT CMAKE_MATCH_1 STREQUAL own_backend)
        list(APPEND faults "${rel} includes ${target} from a back end")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Layer faults:\n  ${text}")
endif()
message(STATUS "Layers: every include goes down")
