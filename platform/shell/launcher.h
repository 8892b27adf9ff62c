// Starting desktop programs without waiting for them.
#pragma once

#include <string>
#include <vector>

namespace shell {

// The first executable file called `name` in the absolute folders of $PATH (empty and
// relative elements are skipped), or "".
std::string FindOnPath(const std::string& name);

// Runs the program with these arguments (no shell in between) in a session of its own,
// stdin from /dev/null, none of our descriptors inherited; returns at once, leaving no
// child behind to reap. False when it could not be started.
bool StartDetached(const std::string& program, const std::vector<std::string>& args);

}  // namespace shell
