# The program's name on the desktop, set when the program is built:
#   VINTREL_APP_ID  a reverse domain name: the desktop entry's and the metainfo's name,
#                   the icons' name, and the window's class and application id, so the
#                   desktop matches the window to its entry and icon
set(VINTREL_APP_ID "org.example.Vintrel" CACHE STRING "The program's reverse-domain name on the desktop")
if(NOT VINTREL_APP_ID MATCHES "^[A-Za-z][A-Za-z0-9_-]*(\\.[A-Za-z_][A-Za-z0-9_-]*)+$")
  message(FATAL_ERROR "VINTREL_APP_ID must be a reverse domain name such as org.example.Vintrel "
                      "(letters, digits, '_' and '-' in parts joined by dots), not '${VINTREL_APP_ID}'")
endif()

# Where an installed copy keeps what it needs besides the executables, below the prefix:
# the window's module, found through the installed program's run path, and the built
# book for vintrel-book's terminal commands, found from its own folder.
set(VINTREL_INSTALLED_MODULE_DIR lib/vintrel)
set(VINTREL_INSTALLED_BOOK_DIR share/vintrel/book)
