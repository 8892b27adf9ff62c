// Pens and solid brushes.
#include "gdi/objects.h"
#include "kernel/out_of_memory.h"

using namespace gdi;

HPEN CreatePen(int style, int width, COLORREF colour) try {
  if (style != PS_SOLID && style != PS_NULL) return nullptr;
  auto pen = std::make_shared<Pen>();
  pen->style = style;
  pen->width = width < 1 ? 1 : (width > 1024 ? 1024 : width);
  pen->colour = colour & 0xFFFFFF;
  return static_cast<HPEN>(Register(pen));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HBRUSH CreateSolidBrush(COLORREF colour) try {
  auto brush = std::make_shared<Brush>();
  brush->colour = colour & 0xFFFFFF;
  return static_cast<HBRUSH>(Register(brush));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}
