// The handle table and the stock objects.
#include "gdi/objects.h"

#include <array>
#include <unordered_map>

#include "gdi/fonts.h"
#include "kernel/out_of_memory.h"

namespace gdi {
namespace {

std::unordered_map<uintptr_t, std::shared_ptr<Object>>& Table() {
  static std::unordered_map<uintptr_t, std::shared_ptr<Object>> table;
  return table;
}

// Handles count up from far above the small integers a caller might confuse with them
// (resource ids, stock indexes), and are never handed out twice.
uintptr_t nextHandle = 0x10000;
constexpr uintptr_t kHandleStep = 0x10;

template <class T>
std::shared_ptr<T> StockOf(std::shared_ptr<T> object) {
  if (object) object->stock = true;
  return object;
}

std::shared_ptr<Object> StockBrush(COLORREF colour, bool hollow = false) {
  auto brush = std::make_shared<Brush>();
  brush->colour = colour;
  brush->hollow = hollow;
  return StockOf(brush);
}

std::shared_ptr<Object> StockPen(COLORREF colour, int style = PS_SOLID) {
  auto pen = std::make_shared<Pen>();
  pen->colour = colour;
  pen->style = style;
  return StockOf(pen);
}

std::shared_ptr<Object> StockFont(const char16_t* face, LONG height) {
  LOGFONTW log{};
  log.lfHeight = height;
  log.lfWeight = FW_NORMAL;
  for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) log.lfFaceName[i] = face[i];
  return StockOf(MakeFont(log));
}

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

std::array<void*, kStockCount>& Stocks() {
  static std::array<void*, kStockCount> stocks = [] {
    std::array<void*, kStockCount> s{};
    auto add = [&](int index, std::shared_ptr<Object> object) {
      if (object) s[index] = Register(std::move(object));
    };
    add(WHITE_BRUSH, StockBrush(0xFFFFFF));
    add(LTGRAY_BRUSH, StockBrush(0xC0C0C0));
    add(GRAY_BRUSH, StockBrush(0x808080));
    add(DKGRAY_BRUSH, StockBrush(0x404040));
    add(BLACK_BRUSH, StockBrush(0x000000));
    add(NULL_BRUSH, StockBrush(0, true));
    add(WHITE_PEN, StockPen(0xFFFFFF));
    add(BLACK_PEN, StockPen(0x000000));
    add(NULL_PEN, StockPen(0, PS_NULL));
    // The system font has the default cell height; the dialog font is 8 points.
    add(SYSTEM_FONT, StockFont(u"System", 0));
    add(DEFAULT_GUI_FONT, StockFont(u"Tahoma", -11));
    return s;
  }();
  return stocks;
}

}  // namespace

void* Register(std::shared_ptr<Object> object) {
  const uintptr_t handle = nextHandle;
  nextHandle += kHandleStep;
  Table().emplace(handle, std::move(object));
  return reinterpret_cast<void*>(handle);
}

void Unregister(void* handle) { Table().erase(reinterpret_cast<uintptr_t>(handle)); }

std::shared_ptr<Object> Find(void* handle) {
  if (!handle) return nullptr;
  auto& table = Table();
  auto it = table.find(reinterpret_cast<uintptr_t>(handle));
  return it == table.end() ? nullptr : it->second;
}

void* StockHandle(int index) {
  if (index < 0 || index >= kStockCount) return nullptr;
  return Stocks()[index];
}

void* StockBitmapHandle() {
  static void* handle = [] {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->surface = Surface(1, 1);
    bitmap->bitsPerPixel = 1;
    bitmap->stock = true;
    return Register(bitmap);
  }();
  return handle;
}

}  // namespace gdi

using namespace gdi;

HGDIOBJ GetStockObject(int index) try {
  return StockHandle(index);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}
