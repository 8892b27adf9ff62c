// Bitmaps from the module's RT_BITMAP resources.
#include "gdi/dib.h"
#include "kernel/resources.h"
#include "kernel/out_of_memory.h"

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) try {
  const auto bytes = kernel::FindResourceBytes(instance, RT_BITMAP, name);
  if (!bytes.data()) return nullptr;
  auto bitmap = gdi::DecodeDib(bytes.data(), bytes.size());
  if (!bitmap) return nullptr;
  return static_cast<HBITMAP>(gdi::Register(bitmap));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}
