// Modules: the program's own module (its executable and the resources embedded in it)
// and modules made from .res bytes. A module handle is the address of a Module.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

namespace kernel {

// A resource type or name: a number, or a text when text is not empty.
struct ResourceName {
  WORD ordinal = 0;
  std::u16string text;
};

struct ResourceEntry {
  ResourceName type;
  ResourceName name;
  WORD language = 0;
  std::span<const uint8_t> data;  // in place, in the module's bytes
};

struct Module {
  bool program = false;         // the executable itself, with a file name
  std::vector<uint8_t> owned;   // the bytes of a module made from bytes
  std::vector<ResourceEntry> resources;
};

// The program's module; GetModuleHandleW(nullptr) returns it.
Module& ProgramModule();
// The module a handle stands for; a null handle is the program's module. Null for a
// handle that is no module.
Module* ModuleFromHandle(HMODULE handle);
HMODULE HandleOf(Module& module);
// Keeps the module for the rest of the run and gives its handle.
HMODULE AddModule(std::unique_ptr<Module> module);

}  // namespace kernel
