# VINTREL_SANITIZE: the whole tree built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, every fault fatal, and with the coverage that libFuzzer
# follows, so the same build runs the unit and end-to-end tests and the fuzz targets
# (fuzz/). Every executable gets the sanitizers' default options (sanitizer_options.cpp.in):
# leaks are fatal except those the suppression file names inside system libraries.
option(VINTREL_SANITIZE "Build with AddressSanitizer, UBSan and fuzzing coverage (clang)" OFF)
# The environment of the tests that open real windows on a private X server. Sanitized,
# SDL draws in software and without a GL framebuffer: the GL driver it would load is
# unloaded before the leak check runs, and what it keeps for the process then shows as
# leaks that no stack can name (the suppression file cannot match them).
set(VINTREL_X_TEST_ENVIRONMENT "")
if(NOT VINTREL_SANITIZE)
  return()
endif()
set(VINTREL_X_TEST_ENVIRONMENT SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0)
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang" OR NOT CMAKE_C_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VINTREL_SANITIZE needs clang: configure with CC=clang CXX=clang++")
endif()

set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(${sanitizers} -fsanitize=fuzzer-no-link -fno-omit-frame-pointer)
add_link_options(${sanitizers})

set(VINTREL_LEAK_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/sanitizer_leaks.supp)
configure_file(${CMAKE_CURRENT_LIST_DIR}/sanitizer_options.cpp.in
               ${CMAKE_BINARY_DIR}/sanitizer_options.cpp @ONLY)
add_library(vintrel_sanitizer_options INTERFACE)
# Compiled into each executable (not into libraries), where the runtimes look for it.
target_sources(vintrel_sanitizer_options INTERFACE
  $<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:${CMAKE_BINARY_DIR}/sanitizer_options.cpp>)
link_libraries(vintrel_sanitizer_options)
