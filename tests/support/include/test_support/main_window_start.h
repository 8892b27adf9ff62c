// The main window as the start-up makes it, on a lesson chosen explicitly, for tests and
// benchmarks that have installed a screen and a settings folder of their own; a reader
// with a font chosen ("DejaVu Sans" unless the settings name one), so no font dialog.
#pragma once

#include "platform.h"

namespace test_support {

HWND StartMainWindow(WORD lesson);

}  // namespace test_support
