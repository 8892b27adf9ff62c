// Device contexts: creation, selection of objects, colours and modes, capabilities.
#include "gdi/dc.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gdi/font_instance.h"
#include "kernel/out_of_memory.h"

namespace gdi {
namespace {

SIZE screenSize{240, 320};

std::shared_ptr<Dc> NewDc(std::shared_ptr<DrawTarget> target) {
  auto dc = std::make_shared<Dc>();
  dc->target = std::move(target);
  auto take = [](auto& selection, int stock, Kind kind) {
    using T = typename std::remove_reference_t<decltype(selection.object)>::element_type;
    selection.handle = StockHandle(stock);
    selection.object = FindAs<T>(selection.handle, kind);
  };
  take(dc->pen, BLACK_PEN, Kind::Pen);
  take(dc->brush, WHITE_BRUSH, Kind::Brush);
  take(dc->font, SYSTEM_FONT, Kind::Font);
  return dc;
}

template <class T>
void* Swap(Selection<T>& selection, void* handle, std::shared_ptr<T> object) {
  void* previous = selection.handle;
  selection.handle = handle;
  selection.object = std::move(object);
  return previous;
}

void* SelectBitmap(Dc& dc, void* handle, std::shared_ptr<Bitmap> bitmap) {
  if (dc.target) return nullptr;  // only memory DCs hold bitmaps
  if (bitmap->selectedInto && bitmap->selectedInto != &dc && !bitmap->stock) return nullptr;
  if (dc.bitmap.object && dc.bitmap.object->selectedInto == &dc)
    dc.bitmap.object->selectedInto = nullptr;
  if (!bitmap->stock) bitmap->selectedInto = &dc;
  return Swap(dc.bitmap, handle, std::move(bitmap));
}

int CopyRecord(const void* record, int recordSize, int size, void* buffer) {
  if (!buffer) return recordSize;
  if (size <= 0) return 0;
  const int n = std::min(size, recordSize);
  std::memcpy(buffer, record, size_t(n));
  return n;
}

}  // namespace

Dc::~Dc() {
  if (bitmap.object && bitmap.object->selectedInto == this) bitmap.object->selectedInto = nullptr;
}

void SetScreenSize(int width, int height) { screenSize = {width, height}; }

std::shared_ptr<Dc> FindDc(HDC dc) { return FindAs<Dc>(dc, Kind::Dc); }

RECT Intersect(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

RECT ToSurface(const Canvas& canvas, const RECT& r) {
  // Far-off coordinates are cut short of overflow; they lie outside every surface anyway.
  auto shift = [](LONG v, LONG by) {
    return LONG(std::clamp<long long>((long long)v + by, -(1LL << 30), 1LL << 30));
  };
  return {shift(r.left, canvas.origin.x), shift(r.top, canvas.origin.y),
          shift(r.right, canvas.origin.x), shift(r.bottom, canvas.origin.y)};
}

Canvas CanvasOf(Dc& dc) {
  Canvas canvas;
  if (dc.target) {
    canvas.surface = dc.target->surface();
    if (!canvas.surface) return canvas;
    canvas.origin = dc.target->origin();
    canvas.clip = dc.target->clip();
  } else {
    if (!dc.bitmap.object) return canvas;
    canvas.surface = &dc.bitmap.object->surface;
    canvas.monochrome = dc.bitmap.object->bitsPerPixel == 1;
    canvas.clip = {0, 0, canvas.surface->width, canvas.surface->height};
  }
  canvas.clip = Intersect(canvas.clip, {0, 0, canvas.surface->width, canvas.surface->height});
  return canvas;
}

uint32_t Canvas::store(uint32_t rgb) const {
  if (!monochrome) return rgb & 0xFFFFFF;
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  return (r * 30 + g * 59 + b * 11) >= 128 * 100 ? 0xFFFFFF : 0;
}

void Canvas::fill(RECT rect, uint32_t rgb, const RECT* limit) {
  if (empty()) return;
  if (limit) rect = Intersect(rect, *limit);
  const RECT r = Intersect(ToSurface(*this, rect), clip);
  if (r.left >= r.right || r.top >= r.bottom) return;
  const uint32_t value = store(rgb);
  for (LONG y = r.top; y < r.bottom; ++y) {
    uint32_t* row = surface->pixels.data() + size_t(y) * surface->width;
    std::fill(row + r.left, row + r.right, value);
  }
}

void Canvas::put(int px, int py, uint32_t rgb) {
  if (empty()) return;
  const long long x = (long long)px + origin.x, y = (long long)py + origin.y;
  if (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
  surface->pixels[size_t(y) * surface->width + x] = store(rgb);
}

HDC CreateTargetDC(std::shared_ptr<DrawTarget> target) {
  if (!target) return nullptr;
  return static_cast<HDC>(Register(NewDc(std::move(target))));
}

bool ReleaseTargetDC(HDC handle) {
  auto dc = FindDc(handle);
  if (!dc || !dc->target) return false;
  Unregister(handle);
  return true;
}

}  // namespace gdi

using namespace gdi;

HDC CreateCompatibleDC(HDC) try {
  auto dc = NewDc(nullptr);
  void* bitmap = StockBitmapHandle();
  dc->bitmap.handle = bitmap;
  dc->bitmap.object = FindAs<Bitmap>(bitmap, Kind::Bitmap);
  return static_cast<HDC>(Register(dc));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL DeleteDC(HDC handle) {
  if (!FindDc(handle)) return FALSE;
  Unregister(handle);
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) try {
  auto dc = FindDc(handle);
  auto object = Find(objectHandle);
  if (!dc || !object) return nullptr;
  switch (object->kind()) {
    case Kind::Pen: return Swap(dc->pen, objectHandle, std::static_pointer_cast<Pen>(object));
    case Kind::Brush:
      return Swap(dc->brush, objectHandle, std::static_pointer_cast<Brush>(object));
    case Kind::Font: return Swap(dc->font, objectHandle, std::static_pointer_cast<Font>(object));
    case Kind::Bitmap:
      return SelectBitmap(*dc, objectHandle, std::static_pointer_cast<Bitmap>(object));
    case Kind::Dc: return nullptr;
  }
  return nullptr;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL DeleteObject(HGDIOBJ handle) {
  auto object = Find(handle);
  if (!object || object->kind() == Kind::Dc) return FALSE;
  if (!object->stock) Unregister(handle);
  return TRUE;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT kind) try {
  auto dc = FindDc(handle);
  if (!dc) return nullptr;
  switch (kind) {
    case OBJ_PEN: return dc->pen.handle;
    case OBJ_BRUSH: return dc->brush.handle;
    case OBJ_FONT: return dc->font.handle;
    case OBJ_BITMAP: return dc->bitmap.handle;
    default: return nullptr;
  }
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

DWORD GetObjectType(HGDIOBJ handle) try {
  auto object = Find(handle);
  if (!object) return 0;
  switch (object->kind()) {
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Dc: return static_cast<Dc&>(*object).target ? OBJ_DC : OBJ_MEMDC;
  }
  return 0;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer) try {
  auto object = Find(handle);
  if (!object) return 0;
  switch (object->kind()) {
    case Kind::Pen: {
      const Pen& pen = static_cast<Pen&>(*object);
      LOGPEN record{UINT(pen.style), {pen.width, 0}, pen.colour};
      return CopyRecord(&record, sizeof record, size, buffer);
    }
    case Kind::Brush: {
      const Brush& brush = static_cast<Brush&>(*object);
      LOGBRUSH record{UINT(brush.hollow ? BS_NULL : BS_SOLID), brush.colour, 0};
      return CopyRecord(&record, sizeof record, size, buffer);
    }
    case Kind::Font: {
      const Font& font = static_cast<Font&>(*object);
      return CopyRecord(&font.log, sizeof font.log, size, buffer);
    }
    case Kind::Bitmap: {
      const Bitmap& bitmap = static_cast<Bitmap&>(*object);
      BITMAP record{};
      record.bmWidth = bitmap.surface.width;
      record.bmHeight = bitmap.surface.height;
      record.bmWidthBytes = bitmap.bitsPerPixel == 1 ? (bitmap.surface.width + 15) / 16 * 2
                                                     : bitmap.surface.width * 4;
      record.bmPlanes = 1;
      record.bmBitsPixel = WORD(bitmap.bitsPerPixel);
      return CopyRecord(&record, sizeof record, size, buffer);
    }
    case Kind::Dc: return 0;
  }
  return 0;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

COLORREF SetTextColor(HDC handle, COLORREF colour) {
  auto dc = FindDc(handle);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->textColour, colour & 0xFFFFFF);
}

COLORREF GetTextColor(HDC handle) {
  auto dc = FindDc(handle);
  return dc ? dc->textColour : CLR_INVALID;
}

COLORREF SetBkColor(HDC handle, COLORREF colour) {
  auto dc = FindDc(handle);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->bkColour, colour & 0xFFFFFF);
}

COLORREF GetBkColor(HDC handle) {
  auto dc = FindDc(handle);
  return dc ? dc->bkColour : CLR_INVALID;
}

int SetBkMode(HDC handle, int mode) {
  auto dc = FindDc(handle);
  if (!dc || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
  return std::exchange(dc->bkMode, mode);
}

int GetBkMode(HDC handle) {
  auto dc = FindDc(handle);
  return dc ? dc->bkMode : 0;
}

int GetDeviceCaps(HDC handle, int index) try {
  if (!FindDc(handle)) return 0;
  switch (index) {
    case HORZRES: return screenSize.cx;
    case VERTRES: return screenSize.cy;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
  }
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
