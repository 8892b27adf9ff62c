// Modules: the program's own module (its executable and embedded resources) and
// modules made from resource bytes. A module handle is the address of a Module.
#pragma once

#include "platform/types.h"

namespace kernel {

struct Module {
  bool program = false;  // the executable itself, with a file name
};

// The program's module; GetModuleHandleW(nullptr) returns it.
Module& ProgramModule();
// The module a handle stands for; a null handle is the program's module. Null for a
// handle that is no module.
Module* ModuleFromHandle(HMODULE handle);
HMODULE HandleOf(Module& module);

}  // namespace kernel
