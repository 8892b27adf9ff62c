// Bitmaps from the module's RT_BITMAP resources.
#include "gdi/dib.h"
#include "platform/kernel.h"

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
  HRSRC found = FindResourceW(instance, name, RT_BITMAP);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
  const DWORD size = SizeofResource(instance, found);
  auto bitmap = gdi::DecodeDib(bytes, size);
  if (!bitmap) return nullptr;
  return static_cast<HBITMAP>(gdi::Register(bitmap));
}
