// Dispatches everything queued and every pending WM_PAINT, as an idle message loop would;
// false once the quit request came.
#pragma once

namespace test_support {

bool PumpMessages();

}  // namespace test_support
