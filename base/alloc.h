// Heap allocation that ends the program in order when memory runs out.
#pragma once

#include <cstddef>

// What runs after the out-of-memory message: the start-up installs the orderly end
// (save the settings, post the quit request). Null: nothing beyond the message.
using OutOfMemoryHandler = void (*)();
void SetOutOfMemoryHandler(OutOfMemoryHandler handler);

// Shows "There is not enough memory, aborting" and runs the installed handler: where
// every exhaustion of the program ends, its own allocation's or one that a platform call
// reports (ERROR_NOT_ENOUGH_MEMORY).
void ReportOutOfMemory();

// After a platform call that failed: reports the exhaustion when that was the cause
// (GetLastError() is ERROR_NOT_ENOUGH_MEMORY).
void ReportIfOutOfMemory();

// A heap block of size bytes; on exhaustion reports it (ReportOutOfMemory) and returns
// null.
void* AllocOrQuit(size_t size);
