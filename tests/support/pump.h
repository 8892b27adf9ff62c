// Dispatches everything queued and every pending WM_PAINT, as an idle message loop would;
// false once the quit request came.
#pragma once

#include "platform.h"

inline bool PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}
