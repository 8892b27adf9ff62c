// Termination requests: SIGINT, SIGTERM and SIGHUP (Ctrl-C, kill, a closed terminal or
// session). The first one becomes a byte on a pipe that the message loop watches, so the
// program closes as the system's close would and saves what it must. A second one ends
// the process at once, as that signal does by default, after removing the file named by
// RemoveAtForcedEnd. A request signal the process was started with ignored (nohup)
// stays ignored.
#pragma once

#include <cstdint>

namespace kernel {

// Installs the handlers (once). False when no pipe could be made: the signals then end
// the process as they do by default.
bool CatchTerminationRequests();
// Readable while a request waits to be taken; -1 when requests are not caught.
int TerminationRequestFd();
// Whether a request came since the last call (taking it from the pipe).
bool TakeTerminationRequest();
// The file a forced end removes (the single-instance socket), only while it is still
// the one with that inode; a null path forgets it.
void RemoveAtForcedEnd(const char* path, uint64_t inode);

}  // namespace kernel
