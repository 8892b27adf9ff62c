// Heap allocation that ends the program in order when memory runs out.
#pragma once

#include <cstddef>

// What runs after the out-of-memory message: the start-up installs the orderly end
// (save the settings, post the quit request). Null: nothing beyond the message.
using OutOfMemoryHandler = void (*)();
void SetOutOfMemoryHandler(OutOfMemoryHandler handler);

// A heap block of size bytes; on exhaustion shows "There is not enough memory,
// aborting", runs the installed handler and returns null.
void* AllocOrQuit(size_t size);
