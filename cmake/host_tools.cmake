# A cross build (the WebAssembly page, the Windows program) cannot run what it
# compiles, so the tools that turn data/ into built-in data and make the icons
# come from a native build of this project, which writes their locations to
# qb_host_tools.cmake:
#   cmake -S . -B build/host && cmake --build build/host --target qb_embed_data qb_embed_pictures qb_make_icons
#   emcmake cmake -S . -B build/wasm -DQB_BACKEND=web -DQB_HOST_TOOLS=build/host/qb_host_tools.cmake
set(QB_HOST_TOOLS "" CACHE FILEPATH "qb_host_tools.cmake of a native build, for the embedding tools")
if(NOT QB_HOST_TOOLS OR NOT EXISTS "${QB_HOST_TOOLS}")
  message(FATAL_ERROR "A cross build needs the embedding tools of a native build: "
                      "set QB_HOST_TOOLS to that build's qb_host_tools.cmake (scripts/web and scripts/windows do this)")
endif()
include("${QB_HOST_TOOLS}")
set(tools qb_embed_data qb_embed_pictures)
if(NOT QB_BACKEND STREQUAL "web")
  list(APPEND tools qb_make_icons)
endif()
foreach(tool ${tools})
  if(NOT TARGET ${tool})
    message(FATAL_ERROR "${QB_HOST_TOOLS} does not name ${tool}")
  endif()
endforeach()
