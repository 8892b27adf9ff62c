// The table of live GDI objects: every handle the platform gives out is a key in it,
// so a null, deleted or foreign handle is recognised and refused.
#pragma once

#include <cstdint>
#include <memory>

#include "gdi/surface.h"
#include "platform/gdi.h"

namespace gdi {

class FontInstance;

enum class Kind { Pen, Brush, Font, Bitmap, Dc };

struct Object {
  virtual ~Object() = default;
  virtual Kind kind() const = 0;
  bool stock = false;
};

struct Pen final : Object {
  Kind kind() const override { return Kind::Pen; }
  int style = PS_SOLID;
  int width = 1;
  COLORREF colour = 0;
};

struct Brush final : Object {
  Kind kind() const override { return Kind::Brush; }
  bool hollow = false;
  COLORREF colour = 0;
};

struct Bitmap final : Object {
  Kind kind() const override { return Kind::Bitmap; }
  Surface surface;
  // 1: monochrome (pixels only 0x000000 or 0xFFFFFF); 32: colour.
  int bitsPerPixel = 32;
  // The memory DC it is selected into, or none; a bitmap serves one DC at a time.
  const Object* selectedInto = nullptr;
};

struct Font final : Object {
  Kind kind() const override { return Kind::Font; }
  LOGFONTW log{};
  std::shared_ptr<FontInstance> instance;
};

// Adds the object to the table and returns its new handle (never reused).
void* Register(std::shared_ptr<Object> object);
// Removes the handle; the object lives on while something else holds it.
void Unregister(void* handle);
std::shared_ptr<Object> Find(void* handle);

template <class T>
std::shared_ptr<T> FindAs(void* handle, Kind kind) {
  auto object = Find(handle);
  if (!object || object->kind() != kind) return nullptr;
  return std::static_pointer_cast<T>(object);
}

// The stock object of that index (creating the stock set on first use), or null.
void* StockHandle(int index);
// The 1x1 monochrome bitmap every memory DC starts with.
void* StockBitmapHandle();

// 0x00BBGGRR to the surface's 0x00RRGGBB, and back.
inline uint32_t ToPixel(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ToColorRef(uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

}  // namespace gdi
