#include "display/sdl.h"

#include <SDL.h>

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "display/readable_watch.h"
#include "display/zoom.h"
#include "kernel/utf.h"
#include "platform/keys.h"

namespace display {
namespace {

uint32_t ModifiersOf(uint16_t sdlMod) {
  uint32_t modifiers = 0;
  if (sdlMod & KMOD_SHIFT) modifiers |= ModShift;
  if (sdlMod & KMOD_CTRL) modifiers |= ModCtrl;
  if (sdlMod & KMOD_ALT) modifiers |= ModAlt;
  return modifiers;
}

class SdlDisplay final : public Display {
 public:
  SdlDisplay(SDL_Window* window, int width, int height, int zoom)
      : window_(window), width_(width), height_(height), zoom_(zoom) {
    Uint32 type = SDL_RegisterEvents(1);
    wakeEvent_ = type == Uint32(-1) ? Uint32(SDL_USEREVENT) : type;
  }

  // The window is hidden and left, with SDL's video, to the end of the process, whose
  // connection to the X server takes it along: SDL may still have a message in flight
  // that wakes its event wait, sent to this window over a second connection, and one
  // that reached a destroyed window would be an X error, which ends the process.
  ~SdlDisplay() override {
    stopWatcher();
    SDL_HideWindow(window_);
  }

  int width() const override { return width_; }
  int height() const override { return height_; }

  void present(const uint32_t* pixels) override {
    frame_.assign(pixels, pixels + size_t(width_) * height_);
    draw();
    // Shown with its first frame, so the window never appears blank.
    if (!shown_) {
      SDL_ShowWindow(window_);
      shown_ = true;
    }
  }

  bool nextEvent(Event& event, int timeoutMs) override {
    // Without the watcher thread the descriptors are looked at every few milliseconds.
    if (watcherFailed_ && (timeoutMs < 0 || timeoutMs > kUnwatchedWaitMs))
      timeoutMs = kUnwatchedWaitMs;
    uint32_t deadline = SDL_GetTicks() + uint32_t(std::max(timeoutMs, 0));
    while (pending_.empty()) {
      SDL_Event sdl;
      int got;
      if (timeoutMs < 0) {
        got = SDL_WaitEvent(&sdl);
      } else {
        int left = int(deadline - SDL_GetTicks());
        got = left > 0 ? SDL_WaitEventTimeout(&sdl, left) : SDL_PollEvent(&sdl);
      }
      if (!got) return false;
      if (sdl.type == wakeEvent_) {
        wakePosted_ = false;
        return false;
      }
      translate(sdl);
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
  }

  void wakeWhenReadable(int fd) override {
    if (!watch_.arm(fd)) return;
    if (!watcher_.joinable() && !watcherFailed_) startWatcher();
    watch_.interrupt();  // the watcher looks at the new descriptor too
  }

  void setTitle(const std::string& utf8Title) override {
    SDL_SetWindowTitle(window_, utf8Title.c_str());
  }

  bool hasFocus() const override {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
  }

  void raise() override { SDL_RaiseWindow(window_); }

  void setIcon(const uint32_t* pixels, const uint8_t* alpha, int width, int height) override {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32,
                                                       SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(icon->pixels) +
                                              size_t(y) * icon->pitch);
      for (int x = 0; x < width; ++x) {
        size_t i = size_t(y) * width + x;
        row[x] = (uint32_t(alpha[i]) << 24) | (pixels[i] & 0xFFFFFF);
      }
    }
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }

 private:
  static constexpr int kUnwatchedWaitMs = 50;

  // A thread that sleeps in poll() on the watched descriptors and turns their input into
  // one SDL event, which ends SDL's own wait. It takes no signals: they go to the loop.
  void startWatcher() {
    sigset_t all, old;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &old);
    try {
      watcher_ = std::thread([this] { watch(); });
    } catch (const std::exception&) {
      watcherFailed_ = true;
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
  }

  void watch() {
    while (!stopping_) {
      if (!watch_.wait(-1) || stopping_ || wakePosted_.exchange(true)) continue;
      SDL_Event wake{};
      wake.type = wakeEvent_;
      if (SDL_PushEvent(&wake) != 1) wakePosted_ = false;
    }
  }

  void stopWatcher() {
    if (!watcher_.joinable()) return;
    stopping_ = true;
    watch_.interrupt();
    watcher_.join();
  }

  // The frame zoomed into the window's own surface, the rest of the window black, then
  // the surface shown. A 2D picture needs no renderer: on X11 the surface is shared
  // memory that the server copies from.
  void draw() {
    if (frame_.size() != size_t(width_) * height_) return;
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target) return;
    const SDL_Rect zoomed{0, 0, width_ * zoom_, height_ * zoom_};
    if (target->format->format == SDL_PIXELFORMAT_RGB888) {
      if (SDL_LockSurface(target) != 0) return;
      ZoomPixels(frame_.data(), width_, height_, zoom_, static_cast<uint8_t*>(target->pixels),
                 target->w, target->h, target->pitch);
      SDL_UnlockSurface(target);
    } else {
      blitConverted(target, zoomed);
    }
    const SDL_Rect margins[] = {{zoomed.w, 0, target->w - zoomed.w, target->h},
                                {0, zoomed.h, zoomed.w, target->h - zoomed.h}};
    for (const SDL_Rect& margin : margins)
      if (margin.w > 0 && margin.h > 0) SDL_FillRect(target, &margin, 0);
    SDL_UpdateWindowSurface(window_);
  }

  // A surface of another pixel format: SDL converts while it scales.
  void blitConverted(SDL_Surface* target, SDL_Rect zoomed) {
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        frame_.data(), width_, height_, 32, width_ * 4, SDL_PIXELFORMAT_RGB888);
    if (!source) return;
    if (zoom_ == 1) SDL_BlitSurface(source, nullptr, target, &zoomed);
    else SDL_BlitScaled(source, nullptr, target, &zoomed);
    SDL_FreeSurface(source);
  }

  void push(Event event) { pending_.push_back(event); }

  Event stylus(EventKind kind, int windowX, int windowY) const {
    Event event;
    event.kind = kind;
    event.x = windowX / zoom_;
    event.y = windowY / zoom_;
    return event;
  }

  void translate(const SDL_Event& sdl) {
    switch (sdl.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        Event event;
        event.kind = sdl.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
        event.key = VirtualKeyForSdlKey(sdl.key.keysym.sym);
        event.modifiers = ModifiersOf(sdl.key.keysym.mod);
        if (event.key) push(event);
        break;
      }
      case SDL_TEXTINPUT: {
        std::string_view text(sdl.text.text);
        for (size_t at = 0; at < text.size();) {
          Event event;
          event.kind = EventKind::Char;
          event.ch = kernel::DecodeUtf8At(text, at);
          push(event);
        }
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        if (sdl.button.button == SDL_BUTTON_LEFT)
          push(stylus(EventKind::StylusDown, sdl.button.x, sdl.button.y));
        break;
      case SDL_MOUSEBUTTONUP:
        if (sdl.button.button == SDL_BUTTON_LEFT)
          push(stylus(EventKind::StylusUp, sdl.button.x, sdl.button.y));
        break;
      case SDL_MOUSEMOTION:
        push(stylus(EventKind::StylusMove, sdl.motion.x, sdl.motion.y));
        break;
      case SDL_MOUSEWHEEL: {
        int steps = sdl.wheel.y;
        if (sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
        if (steps == 0) break;
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        Event event = stylus(EventKind::Wheel, x, y);
        event.wheel = steps > 0 ? 1 : -1;
        for (int i = std::abs(steps); i > 0; --i) push(event);
        break;
      }
      case SDL_WINDOWEVENT:
        translateWindowEvent(sdl.window);
        break;
      default:
        break;
    }
  }

  void translateWindowEvent(const SDL_WindowEvent& window) {
    switch (window.event) {
      case SDL_WINDOWEVENT_SIZE_CHANGED: {
        int width = std::max(1, window.data1 / zoom_);
        int height = std::max(1, window.data2 / zoom_);
        if (width == width_ && height == height_) break;
        width_ = width;
        height_ = height;
        Event event;
        event.kind = EventKind::Resize;
        event.width = width;
        event.height = height;
        push(event);
        break;
      }
      case SDL_WINDOWEVENT_EXPOSED:
        draw();
        break;
      case SDL_WINDOWEVENT_LEAVE:
        // The pointer left the screen: a move to no window, so hover effects end.
        push(stylus(EventKind::StylusMove, -zoom_, -zoom_));
        break;
      case SDL_WINDOWEVENT_CLOSE: {
        Event event;
        event.kind = EventKind::Close;
        push(event);
        break;
      }
      default:
        break;
    }
  }

  SDL_Window* window_;
  bool shown_ = false;
  int width_;
  int height_;
  int zoom_;
  std::vector<uint32_t> frame_;
  std::deque<Event> pending_;
  Uint32 wakeEvent_;
  ReadableWatch watch_;
  std::thread watcher_;
  bool watcherFailed_ = false;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> wakePosted_{false};  // a wake event waits in SDL's queue
};

bool IsDesktopDriver(const char* driver) {
  return driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
}

}  // namespace

uint32_t VirtualKeyForSdlKey(int32_t sdlKey) {
  static const std::pair<SDL_Keycode, uint32_t> kTable[] = {
      {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},          {SDLK_RETURN, VK_RETURN},
      {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE},    {SDLK_SPACE, VK_SPACE},
      {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT},    {SDLK_END, VK_END},
      {SDLK_HOME, VK_HOME},       {SDLK_LEFT, VK_LEFT},        {SDLK_UP, VK_UP},
      {SDLK_RIGHT, VK_RIGHT},     {SDLK_DOWN, VK_DOWN},        {SDLK_INSERT, VK_INSERT},
      {SDLK_DELETE, VK_DELETE},   {SDLK_LSHIFT, VK_SHIFT},     {SDLK_RSHIFT, VK_SHIFT},
      {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL},    {SDLK_LALT, VK_MENU},
      {SDLK_RALT, VK_MENU},
  };
  for (const auto& [sdl, vk] : kTable)
    if (sdl == sdlKey) return vk;
  if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) return uint32_t('A' + (sdlKey - SDLK_a));
  if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return uint32_t('0' + (sdlKey - SDLK_0));
  if (sdlKey >= SDLK_F1 && sdlKey <= SDLK_F12) return VK_F1 + uint32_t(sdlKey - SDLK_F1);
  return 0;
}

std::unique_ptr<Display> CreateSdlDisplay(int width, int height, int zoom, std::string& error) {
  zoom = std::max(zoom, 1);
  // SDL would fall back to an invisible off-screen window; a desktop is needed unless
  // SDL_VIDEODRIVER asks for a particular driver.
  bool driverChosen = std::getenv("SDL_VIDEODRIVER") != nullptr;
  if (!driverChosen && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    error = "DISPLAY is not set";
    return nullptr;
  }
  // Ctrl+C and kill end the program as usual instead of becoming a window event.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  if (!driverChosen && !IsDesktopDriver(SDL_GetCurrentVideoDriver())) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    error = "no desktop display could be reached";
    return nullptr;
  }
  // On X11 the window's surface is the server's shared memory; without this SDL would
  // load an OpenGL driver to copy the picture through a texture.
  if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Window* window =
      SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width * zoom,
                       height * zoom, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
  if (!window || !SDL_GetWindowSurface(window)) {
    error = SDL_GetError();
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  SDL_StartTextInput();
  return std::make_unique<SdlDisplay>(window, width, height, zoom);
}

}  // namespace display
