# Removes what `cmake --install` put under its prefix from this build
# directory: the files listed in install_manifest.txt, then the directories
# the install made (install_dirs.txt), deepest first and only when empty, so a
# directory that was there before stays. Then the two lists themselves.
#   sudo cmake -P build/install/uninstall.cmake
set(manifest "${CMAKE_CURRENT_LIST_DIR}/install_manifest.txt")
set(record "${CMAKE_CURRENT_LIST_DIR}/install_dirs.txt")
if(NOT EXISTS "${manifest}")
  message(FATAL_ERROR "nothing to remove: ${manifest} is missing (nothing was installed from this build directory, "
                      "or it was removed already)")
endif()
file(STRINGS "${manifest}" files)
foreach(f IN LISTS files)
  if(EXISTS "${f}" OR IS_SYMLINK "${f}")
    message(STATUS "Removing: ${f}")
    file(REMOVE "${f}")
  endif()
endforeach()
if(EXISTS "${record}")
  file(STRINGS "${record}" dirs)
  list(SORT dirs)
  list(REVERSE dirs)  # a directory after everything inside it
  foreach(d IN LISTS dirs)
    if(IS_DIRECTORY "${d}")
      file(GLOB entries LIST_DIRECTORIES true "${d}/*" "${d}/.*")
      if(NOT entries)
        message(STATUS "Removing: ${d}/")
        file(REMOVE_RECURSE "${d}")
      endif()
    endif()
  endforeach()
endif()
file(REMOVE "${manifest}" "${record}")
