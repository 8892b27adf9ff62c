// Heap allocation that ends the program in order when memory runs out.
#pragma once

#include <cstddef>

// A heap block of size bytes; on exhaustion shows "There is not enough memory,
// aborting", saves the settings, posts the quit request and returns null.
void* AllocOrQuit(size_t size);
