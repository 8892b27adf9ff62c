// Opens the SDL display from its module, shows a test picture and prints every input event on stdout,
// one line each, until the window's close button is pressed.
#include <cstdio>
#include <string>
#include <vector>

#include "display/sdl_module.h"

namespace {

const char* KindName(display::EventKind kind) {
  switch (kind) {
    case display::EventKind::KeyDown: return "keydown";
    case display::EventKind::KeyUp: return "keyup";
    case display::EventKind::Char: return "char";
    case display::EventKind::StylusDown: return "down";
    case display::EventKind::StylusMove: return "move";
    case display::EventKind::StylusUp: return "up";
    case display::EventKind::Wheel: return "wheel";
    case display::EventKind::Resize: return "resize";
    case display::EventKind::Close: return "close";
    default: return "other";
  }
}

// Four coloured bands with a black frame.
std::vector<uint32_t> TestPicture(int w, int h) {
  const uint32_t bands[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  std::vector<uint32_t> pixels(size_t(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      pixels[size_t(y) * w + x] =
          (x == 0 || y == 0 || x == w - 1 || y == h - 1) ? 0 : bands[(y * 4) / h];
  return pixels;
}

}  // namespace

int main() {
  std::string error;
  auto screen = display::OpenSdlDisplay(240, 320, 2, error);
  if (!screen) {
    std::fprintf(stderr, "sdl_probe: no display: %s (use --headless)\n", error.c_str());
    return 1;
  }
  screen->setTitle("SDL probe (shell)");
  screen->present(TestPicture(screen->width(), screen->height()).data());
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) {
    display::Event e;
    if (!screen->nextEvent(e, 100)) continue;
    if (e.kind == display::EventKind::StylusMove) continue;
    std::printf("%s key=0x%X mods=%u ch=%u x=%d y=%d wheel=%d size=%dx%d\n", KindName(e.kind),
                unsigned(e.key), unsigned(e.modifiers), unsigned(e.ch), e.x, e.y, e.wheel,
                e.width, e.height);
    std::fflush(stdout);
    if (e.kind == display::EventKind::Resize)
      screen->present(TestPicture(screen->width(), screen->height()).data());
    if (e.kind == display::EventKind::Close) return 0;
  }
}
