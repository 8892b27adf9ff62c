# vintrel_add_folders(folder...)
# Adds each folder below the current source folder that has a CMakeLists.txt of its
# own, in the order given; a folder without one is not part of the build yet.
function(vintrel_add_folders)
  foreach(folder IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()

# vintrel_add_all_folders()
# Every such folder below the current source folder, in name order.
function(vintrel_add_all_folders)
  file(GLOB folders LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT folders)
  vintrel_add_folders(${folders})
endfunction()
