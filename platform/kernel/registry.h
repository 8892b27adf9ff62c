// The registry's state in this process, for tests.
#pragma once

namespace kernel {

// Drops what this process holds of the registry, so that the next call reads the file
// again. (A change of XDG_CONFIG_HOME, which moves the file, does the same by itself.)
void ForgetRegistry();

}  // namespace kernel
