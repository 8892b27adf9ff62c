#include "base/alloc.h"

#include "platform.h"

namespace {

OutOfMemoryHandler Handler = nullptr;

}  // namespace

void SetOutOfMemoryHandler(OutOfMemoryHandler handler) { Handler = handler; }

void* AllocOrQuit(size_t size) {
  void* block = malloc(size);
  if (block) return block;
  MessageBoxW(nullptr, u"There is not enough memory, aborting", u"Error", MB_ICONHAND);
  if (Handler) Handler();
  return nullptr;
}
