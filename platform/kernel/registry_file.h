// The registry's file: $XDG_CONFIG_HOME/vintrel/registry.reg (~/.config/vintrel/...
// when the variable is unset or not an absolute path). Every change replaces the file
// atomically under a lock: the file is read again under the lock, the change applied
// to what it holds, and the result written to a temporary file in the same folder,
// synced and renamed over the old one. A failure keeps the old file as it was.
#pragma once

#include <functional>
#include <string>

#include "kernel/registry_tree.h"

namespace kernel::registry {

std::string RegistryFilePath();

// Reads the file into root. A missing file is an empty registry; an unreadable one
// is reported on stderr and read as empty; skipped lines are reported in one line.
void LoadRegistryFile(const std::string& path, Key& root);

// Re-reads the file under the lock into a fresh tree, applies change to it and writes
// it back. On success the fresh tree is left in merged and ERROR_SUCCESS returned; on
// failure one line goes to stderr and ERROR_ACCESS_DENIED or ERROR_WRITE_FAULT is
// returned.
LONG UpdateRegistryFile(const std::string& path, const std::function<void(Key&)>& change,
                        Key& merged);

}  // namespace kernel::registry
