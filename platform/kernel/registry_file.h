// The registry's file: $XDG_CONFIG_HOME/vintrel/registry.reg (~/.config/vintrel/...
// when the variable is unset or not an absolute path). A save replaces the file
// atomically under a lock: the file is read again under the lock, the changes applied
// to what it holds, and the result written to a temporary file beside it, synced,
// renamed over it, and the folder synced. A failure keeps the old file as it was.
//
// Only a regular file of at most kMaxFileSize bytes is read (a FIFO or a device in its
// place is refused, never waited on). A symbolic link is followed: the file is replaced
// where the link leads. The lock file is never followed as a link. A file that is
// replaced keeps its permissions.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "kernel/registry_tree.h"

namespace kernel::registry {

constexpr size_t kMaxFileSize = 1 << 20;

std::string RegistryFilePath();

// Reads the file into root. A missing file is an empty registry; one that is not a
// regular file or cannot be read is reported on stderr and read as empty; one larger
// than kMaxFileSize is renamed to PATH.too-large (reported) and read as empty; kept
// lines are reported in one line. Temporary files an interrupted save left are
// removed: all of them when no save is running, else those older than a minute.
void LoadRegistryFile(const std::string& path, Key& root);

// Re-reads the file under the lock into a fresh tree, applies change to it and writes
// it back, unless that leaves its text as it was; a text above kMaxFileSize is never
// written. On success the fresh tree is left in
// merged and ERROR_SUCCESS returned; on failure one line goes to stderr and
// ERROR_ACCESS_DENIED or ERROR_WRITE_FAULT is returned.
LONG UpdateRegistryFile(const std::string& path, const std::function<void(Key&)>& change,
                        Key& merged);

}  // namespace kernel::registry
