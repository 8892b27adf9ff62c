// Shapes in one colour for the platform's own painting: window frames, scroll bars,
// message boxes, controls, menus and the shell's bars.
#include <algorithm>

#include "user/system.h"

namespace user {

void FillColour(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void FrameColour(HDC dc, const RECT& r, COLORREF colour, int thickness) {
  FillColour(dc, RECT{r.left, r.top, r.right, std::min(r.bottom, r.top + thickness)}, colour);
  FillColour(dc, RECT{r.left, std::max(r.top, r.bottom - thickness), r.right, r.bottom}, colour);
  FillColour(dc, RECT{r.left, r.top, std::min(r.right, r.left + thickness), r.bottom}, colour);
  FillColour(dc, RECT{std::max(r.left, r.right - thickness), r.top, r.right, r.bottom}, colour);
}

void Outline(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  FillColour(dc, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
  FillColour(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
  FillColour(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  FillColour(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

}  // namespace user
