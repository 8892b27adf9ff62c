#include "app/alloc.h"

#include "app/startup.h"
#include "platform.h"

void* AllocOrQuit(size_t size) {
  void* block = malloc(size);
  if (block) return block;
  MessageBoxW(nullptr, u"There is not enough memory, aborting", u"Error", MB_ICONHAND);
  SaveAndQuit();
  return nullptr;
}
