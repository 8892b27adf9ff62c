# vintrel_add_resources(TARGET NAME RC SCRIPT [DEPENDS files...] [INCLUDES dirs...])
# Compiles a resource script with llvm-rc into a .res file and links it into TARGET,
# where the platform's resource loader finds it as the module's resources.
find_program(VINTREL_RC NAMES llvm-rc llvm-rc-14 REQUIRED)

function(vintrel_add_resources target)
  cmake_parse_arguments(ARG "" "RC" "DEPENDS;INCLUDES" ${ARGN})
  get_filename_component(rc_name ${ARG_RC} NAME_WE)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}.res)
  set(asm ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}_res.S)
  set(include_flags -I ${CMAKE_SOURCE_DIR}/platform/include)
  foreach(dir IN LISTS ARG_INCLUDES)
    list(APPEND include_flags -I ${dir})
  endforeach()
  get_filename_component(rc_dir ${ARG_RC} DIRECTORY)
  # llvm-rc also takes options that start with '/', so the script's path comes
  # after '--' lest a path like /c... be read as an option.
  add_custom_command(
    OUTPUT ${res}
    COMMAND ${VINTREL_RC} -C 65001 ${include_flags} -I ${rc_dir} -fo ${res} -- ${ARG_RC}
    DEPENDS ${ARG_RC} ${ARG_DEPENDS}
    WORKING_DIRECTORY ${rc_dir}
    COMMENT "Compiling resources ${rc_name}.rc"
    VERBATIM)
  file(WRITE ${asm}.in
    "    .section .rodata\n"
    "    .balign 16\n"
    "    .globl vintrel_module_resources\n"
    "vintrel_module_resources:\n"
    "    .incbin \"@RES@\"\n"
    "    .globl vintrel_module_resources_end\n"
    "vintrel_module_resources_end:\n"
    "    .byte 0\n"
    "    .section .note.GNU-stack,\"\",@progbits\n")
  set(RES ${res})
  configure_file(${asm}.in ${asm} @ONLY)
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${res})
  target_sources(${target} PRIVATE ${asm})
endfunction()

# vintrel_add_program_resources(TARGET [BOOK_SCRIPT file])
# Embeds the program's own resources in TARGET: resources/vintrel.rc with the compiled
# book and the publisher's header, rebuilt when the book, the shared headers or any
# picture beside the script changes. BOOK_SCRIPT puts another book.rc (of a test's own)
# in the compiled book's place.
function(vintrel_add_program_resources target)
  cmake_parse_arguments(ARG "" "BOOK_SCRIPT" "" ${ARGN})
  if(ARG_BOOK_SCRIPT)
    set(book_script ${ARG_BOOK_SCRIPT})
  else()
    get_property(book_script GLOBAL PROPERTY VINTREL_BOOK_SCRIPT)
    add_dependencies(${target} vintrel_book)
  endif()
  get_filename_component(book_dir ${book_script} DIRECTORY)
  file(GLOB pictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp
       ${CMAKE_SOURCE_DIR}/resources/*.ico)
  vintrel_add_resources(${target} RC ${CMAKE_SOURCE_DIR}/resources/vintrel.rc
    INCLUDES ${book_dir} ${CMAKE_BINARY_DIR}/resources DEPENDS ${book_script} ${pictures}
    ${CMAKE_SOURCE_DIR}/resources/resource_ids.h ${VINTREL_PUBLISHER_HEADER})
endfunction()
