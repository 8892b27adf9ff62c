# vintrel_add_gtest(TARGET SOURCES files... [LIBRARIES targets...]
#                   [RC script [RC_DEPENDS files...] [RC_INCLUDES dirs...]]
#                   [PROGRAM_RESOURCES] [NO_DISCOVERY])
# A GoogleTest executable with GoogleTest's main, whose tests CTest lists one by one
# (read from the executable after each build). GoogleTest's archives come first on the
# link line and the platform kernel's last, so that the platform heap's --wrap of malloc
# serves every allocation, GoogleTest's own included.
# RC embeds a resource script of the test's own (see vintrel_add_resources),
# PROGRAM_RESOURCES the program's own with the book. NO_DISCOVERY leaves the
# executable's runs to the caller.
# A parameterised test is listed by the name its suite gives each case, never by the
# printed parameter, whose bytes may change from one build to the next.
include(GoogleTest)

function(vintrel_add_gtest target)
  cmake_parse_arguments(ARG "PROGRAM_RESOURCES;NO_DISCOVERY" "RC"
                        "SOURCES;LIBRARIES;RC_DEPENDS;RC_INCLUDES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE GTest::gtest_main GTest::gtest ${ARG_LIBRARIES}
                        platform_kernel)
  if(ARG_RC)
    vintrel_add_resources(${target} RC ${ARG_RC} DEPENDS ${ARG_RC_DEPENDS}
                          INCLUDES ${ARG_RC_INCLUDES})
  endif()
  if(ARG_PROGRAM_RESOURCES)
    vintrel_add_program_resources(${target})
  endif()
  if(NOT ARG_NO_DISCOVERY)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
  endif()
endfunction()
