# The publisher's addresses, set when the program is built:
#   VINTREL_HOME_PAGE    the maker's home page, opened by the About box's link
#   VINTREL_HOME_HOST    the link's caption; when empty, the home page's host name
#   VINTREL_UPDATE_HOST  the update server; Check For Updates opens
#                        http://HOST/cgi-bin/upgrade?p=arm/<product path>&v=<version>
# They become ${CMAKE_BINARY_DIR}/resources/publisher.h, which the resource script and
# the program share. The update address is composed in 200 UTF-16 units, terminator
# included: a host that leaves no room for the rest is refused here.
set(VINTREL_HOME_PAGE "http://www.example.org/" CACHE STRING "The maker's home page")
set(VINTREL_UPDATE_HOST "update.example.org" CACHE STRING "The update server's host name")
if(NOT VINTREL_HOME_PAGE MATCHES "^https?://([^/:?#]+)")
  message(FATAL_ERROR "VINTREL_HOME_PAGE must be an http:// or https:// address, not '${VINTREL_HOME_PAGE}'")
endif()
set(home_page_host "${CMAKE_MATCH_1}")
set(VINTREL_HOME_HOST "" CACHE STRING "The About box link's caption; empty: the home page's host name")
set(home_host "${VINTREL_HOME_HOST}")
if(home_host STREQUAL "")
  set(home_host "${home_page_host}")
endif()

# The addresses land in C string literals: nothing that would end or escape one.
foreach(text IN ITEMS "${VINTREL_HOME_PAGE}" "${home_host}")
  if(text MATCHES "[\"\\\\]")
    message(FATAL_ERROR "The publisher's home page and link caption may hold no quote or "
                        "backslash: '${text}'")
  endif()
endforeach()
if(NOT VINTREL_UPDATE_HOST MATCHES "^[A-Za-z0-9.-]+(:[0-9]+)?$")
  message(FATAL_ERROR "VINTREL_UPDATE_HOST must be a host name (letters, digits, '.', '-', "
                      "an optional :port), not '${VINTREL_UPDATE_HOST}'")
endif()

# The rest of the update address: the path and query, the percent-encoded product path
# (Norvane/Vintrel+%2D+5765+%28heb%29) and the version, then the terminator.
set(update_base "http://${VINTREL_UPDATE_HOST}/cgi-bin/upgrade?p=arm/")
set(update_rest "Norvane/Vintrel+%2D+5765+%28heb%29&v=1.84a")
string(LENGTH "${update_base}${update_rest}" update_length)
math(EXPR update_units "${update_length} + 1")
if(update_units GREATER 200)
  string(LENGTH "${VINTREL_UPDATE_HOST}" host_length)
  math(EXPR host_room "${host_length} - (${update_units} - 200)")
  message(FATAL_ERROR "VINTREL_UPDATE_HOST is too long: the update address "
                      "${update_base}${update_rest} takes ${update_units} units with its "
                      "terminator, and the program has room for 200; the host may have at "
                      "most ${host_room} characters")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/../resources/publisher.h.in
               ${CMAKE_BINARY_DIR}/resources/publisher.h @ONLY)
set(VINTREL_PUBLISHER_HEADER ${CMAKE_BINARY_DIR}/resources/publisher.h)
