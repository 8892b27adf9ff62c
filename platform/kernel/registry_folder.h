// What lies around the registry's file: the folders above it, the links it may be, its
// lock, the temporary files of a save and the name a file too large is kept under.
#pragma once

#include <string>

#include "kernel/registry_file_io.h"

namespace kernel::registry {

// The folder a path names its file in ("/" for a file at the top).
std::string FolderOf(const std::string& path);

// Creates the folder and the folders above it that are missing.
Failure MakeFolders(const std::string& folder);

// The file that path leads to through its symbolic links (a link may lead to a file
// yet to be made); at most 40 links are followed.
Failure FollowLinks(const std::string& path, std::string& target);

// The lock file beside path, opened (and made when create is set) without following a
// link in its place; -1 with errno on failure.
int OpenLock(const std::string& path, bool create);
// Takes the lock; with wait false only when no other process holds it.
bool TakeLock(int lock, bool wait);

// The mkostemp pattern of a temporary file beside target.
std::string TemporaryPattern(const std::string& target);

// Removes this user's temporary files beside target: all of them when the lock beside
// path is free (no save can be running), else those older than a minute.
void RemoveStaleTemporaries(const std::string& path, const std::string& target);

// Renames target to target.too-large (or .too-large-2 ... -9 when that is taken) and
// says so on stderr.
Failure KeepAsideAsTooLarge(const std::string& target);

}  // namespace kernel::registry
