#include "base/alloc.h"

#include "platform.h"

namespace {

OutOfMemoryHandler Handler = nullptr;

}  // namespace

void SetOutOfMemoryHandler(OutOfMemoryHandler handler) { Handler = handler; }

void ReportOutOfMemory() {
  MessageBoxW(nullptr, u"There is not enough memory, aborting", u"Error", MB_ICONHAND);
  if (Handler) Handler();
}

void ReportIfOutOfMemory() {
  if (GetLastError() == ERROR_NOT_ENOUGH_MEMORY) ReportOutOfMemory();
}

void* AllocOrQuit(size_t size) {
  void* block = malloc(size);
  if (block) return block;
  ReportOutOfMemory();
  return nullptr;
}
