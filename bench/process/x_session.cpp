#include "x_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

namespace bench {

struct XSession::Connection {
  ::Display* display = nullptr;
  ~Connection() {
    if (display) XCloseDisplay(display);
  }
};

XSession::XSession() : connection_(std::make_unique<Connection>()) {
  // A busy server may refuse a connection for a moment (its queue of new connections
  // is full); the session asks again for up to a second.
  for (int attempt = 0; attempt < 50 && !connection_->display; ++attempt) {
    if (attempt) usleep(20000);
    connection_->display = XOpenDisplay(nullptr);
  }
  if (!connection_->display) return;
  XSelectInput(connection_->display, DefaultRootWindow(connection_->display),
               SubstructureNotifyMask);
  XSync(connection_->display, False);
}

XSession::~XSession() = default;

bool XSession::ok() const { return connection_->display != nullptr; }

void XSession::watch(int timeoutMs, bool untilMapped) {
  ::Display* display = connection_->display;
  if (!display) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) {
        mapped_[event.xmap.window] = std::chrono::steady_clock::now();
        newest_ = event.xmap.window;
      } else if (event.type == UnmapNotify) {
        mapped_.erase(event.xunmap.window);
      } else if (event.type == DestroyNotify) {
        mapped_.erase(event.xdestroywindow.window);
      }
    }
    if (untilMapped && window() != 0) return;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, int(left.count()));
  }
}

unsigned long XSession::window() const {
  if (mapped_.count(newest_)) return newest_;
  unsigned long found = 0;
  auto latest = std::chrono::steady_clock::time_point::min();
  for (const auto& [window, at] : mapped_) {
    if (at >= latest) latest = at, found = window;
  }
  return found;
}

std::chrono::steady_clock::time_point XSession::mappedAt(unsigned long window) const {
  auto it = mapped_.find(window);
  return it == mapped_.end() ? std::chrono::steady_clock::time_point{} : it->second;
}

void XSession::pressKey(unsigned long window, const char* keyName) {
  ::Display* display = connection_->display;
  if (!display) return;
  XEvent event{};
  event.xkey.display = display;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(display);
  event.xkey.same_screen = True;
  event.xkey.keycode = XKeysymToKeycode(display, XStringToKeysym(keyName));
  for (int type : {KeyPress, KeyRelease}) {
    event.type = type;
    event.xkey.time = CurrentTime;
    XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
  }
  XFlush(display);
}

void XSession::close(unsigned long window) {
  ::Display* display = connection_->display;
  if (!display) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

}  // namespace bench
