# The Windows program's two downloads, made by the `dist` target in
# QB_DIST_DIR (scripts/windows):
#   quizzlebox-<version>-win64.zip    quizzlebox.exe, README.txt, LICENSE.txt
#   quizzlebox-<version>-setup.exe    the installer (NSIS' makensis)
include(${CMAKE_CURRENT_LIST_DIR}/identity.cmake)
set(QB_DIST_DIR ${CMAKE_BINARY_DIR}/dist CACHE PATH "Where the Windows zip and installer go")
set(QB_STAGE_DIR ${CMAKE_BINARY_DIR}/stage)
set(QB_ZIP ${QB_DIST_DIR}/quizzlebox-${PROJECT_VERSION}-win64.zip)
set(QB_SETUP ${QB_DIST_DIR}/quizzlebox-${PROJECT_VERSION}-setup.exe)
# Text files for Windows' editors: CRLF line ends.
foreach(f README.txt LICENSE.txt)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/${f}.in ${QB_STAGE_DIR}/${f} @ONLY NEWLINE_STYLE CRLF)
endforeach()
find_program(QB_MAKENSIS makensis)
if(NOT QB_MAKENSIS)
  message(FATAL_ERROR "makensis not found: scripts/install-deps windows installs NSIS")
endif()
add_custom_command(
  OUTPUT ${QB_ZIP} ${QB_SETUP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QB_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quizzlebox> ${QB_STAGE_DIR}/quizzlebox.exe
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${QB_STAGE_DIR}
          ${CMAKE_COMMAND} -E tar cf ${QB_ZIP} --format=zip quizzlebox.exe README.txt LICENSE.txt
  COMMAND ${QB_MAKENSIS} -V2 -NOCD -DVERSION=${PROJECT_VERSION} "-DPUBLISHER=${QB_DEVELOPER}"
          -DHOMEPAGE=${QB_HOMEPAGE} -DYEAR=${QB_RELEASE_YEAR} -DSTAGE=${QB_STAGE_DIR} -DICON=${QB_ICO_FILE}
          -DOUTFILE=${QB_SETUP} ${CMAKE_CURRENT_LIST_DIR}/windows/installer.nsi
  DEPENDS quizzlebox ${QB_ICO_FILE} ${QB_STAGE_DIR}/README.txt ${QB_STAGE_DIR}/LICENSE.txt
          ${CMAKE_CURRENT_LIST_DIR}/windows/installer.nsi
  COMMENT "Packing ${QB_ZIP} and ${QB_SETUP}"
  VERBATIM)
add_custom_target(dist DEPENDS ${QB_ZIP} ${QB_SETUP})
