# Runs at install time, before the files are copied: adds to
# QB_INSTALL_DIRS_FILE every directory under the prefix that the install is
# about to make, so that uninstall.cmake removes those and only those. A
# staged install (DESTDIR, as cpack makes) records nothing.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(made "")
if(EXISTS "${QB_INSTALL_DIRS_FILE}")
  file(STRINGS "${QB_INSTALL_DIRS_FILE}" made)  # an earlier install's, still ours
endif()
foreach(sub IN LISTS QB_INSTALL_SUBDIRS)
  cmake_path(ABSOLUTE_PATH sub BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE OUTPUT_VARIABLE dir)
  # The directory and each missing parent up to the prefix.
  while(NOT IS_DIRECTORY "${dir}" AND NOT dir STREQUAL CMAKE_INSTALL_PREFIX)
    list(APPEND made "${dir}")
    cmake_path(GET dir PARENT_PATH dir)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES made)
list(JOIN made "\n" text)
file(WRITE "${QB_INSTALL_DIRS_FILE}" "${text}\n")
