// What a device context draws into, for the window layer: a surface of pixels and a
// draw target that says, at every drawing call, where the DC's drawing goes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi.h"

namespace gdi {

// Rows top first, 0x00RRGGBB.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Surface() = default;
  Surface(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
};

// Queried at every drawing call, so a window can move, resize or vanish under a DC it
// handed out.
struct DrawTarget {
  virtual ~DrawTarget() = default;
  // The surface to draw on; null: draw nothing.
  virtual Surface* surface() = 0;
  // Where the DC's (0, 0) lies on the surface.
  virtual POINT origin() = 0;
  // The part of the surface the DC may touch, in surface coordinates.
  virtual RECT clip() = 0;
};

// A DC drawing through the target, with a fresh DC's state. Destroyed by DeleteDC or
// ReleaseTargetDC; false when dc is not a live target DC.
HDC CreateTargetDC(std::shared_ptr<DrawTarget> target);
bool ReleaseTargetDC(HDC dc);

}  // namespace gdi

namespace gdi {

// The screen size GetDeviceCaps reports (HORZRES, VERTRES); the window layer sets it
// when the screen changes. 240 x 320 until then.
void SetScreenSize(int width, int height);

}  // namespace gdi
