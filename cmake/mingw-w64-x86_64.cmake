# Cross-compiling the Windows program (64-bit, QB_BACKEND win32) on Debian
# with MinGW-w64's POSIX-threads compilers (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build/windows/game --toolchain cmake/mingw-w64-x86_64.cmake \
#         -DQB_BACKEND=win32 -DQB_HOST_TOOLS=build/windows/host/qb_host_tools.cmake
# Test programs run under Wine, when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QB_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QB_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QB_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QB_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QB_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every program carries the C and C++ run-time libraries and the threads
# library in itself, so that it needs only the DLLs that come with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
find_program(QB_WINE NAMES wine)
if(QB_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QB_WINE})
endif()
