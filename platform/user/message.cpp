// The message queue and loop. Posted messages first, then the quit request, then
// WM_PAINT for windows with an update region. When nothing is left the loop is idle: it
// presents the screen if it changed, takes a termination request, runs the idle hooks
// and sleeps in the display until an input event (which becomes messages), input on a
// watched descriptor, or the earliest timer the hooks asked for. SendMessageW is a
// direct call.
#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

#include "kernel/termination.h"
#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace user {

namespace {

// Without a display nothing can wake the loop: it looks again this often.
constexpr int kNoDisplayWaitMs = 20;
// A loop step that ran out of memory is taken again after this pause.
constexpr int kOutOfMemoryRetryMs = 20;

bool Matches(const MSG& m, HWND window, UINT first, UINT last) {
  if (window && m.hwnd != window && !IsChild(window, m.hwnd)) return false;
  if (first == 0 && last == 0) return true;
  return m.message >= first && m.message <= last;
}

MSG Stamp(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{window, message, wParam, lParam, Now(), POINT{}};
  m.pt = S().last.pt;
  return m;
}

bool TakeMessage(MSG& out, HWND window, UINT first, UINT last, bool remove) {
  auto& q = S().queue;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (!Matches(*it, window, first, last)) continue;
    out = *it;
    if (remove) q.erase(it);
    return true;
  }
  if (S().quitPosted && (first == 0 || (WM_QUIT >= first && WM_QUIT <= last))) {
    out = Stamp(nullptr, WM_QUIT, WPARAM(S().quitCode), 0);
    if (remove) S().quitPosted = false;
    return true;
  }
  HWND paint = NextWindowToPaint();
  if (paint && Matches(Stamp(paint, WM_PAINT, 0, 0), window, first, last)) {
    out = Stamp(paint, WM_PAINT, 0, 0);
    return true;
  }
  return false;
}

void RunIdleHooks() {
  std::vector<std::function<void()>> hooks = S().idleHooks;
  for (auto& hook : hooks) hook();
}

// A termination signal is the system's close request, as a script's `quit` is.
void TakeTerminationRequest() {
  int fd = kernel::TerminationRequestFd();
  if (fd < 0) return;
  if (kernel::TakeTerminationRequest()) {
    display::Event quit;
    quit.kind = display::EventKind::Quit;
    HandleDisplayEvent(quit);
  }
  WakeWhenReadable(fd);
}

// How long the coming wait may last: until the earliest timer, or without limit.
int WaitTimeoutMs() {
  if (!S().wakeWithin) return -1;
  return int(std::clamp<std::chrono::milliseconds::rep>(S().wakeWithin->count(), 0,
                                                     std::numeric_limits<int>::max()));
}

// One idle step: show what changed, run the hooks, sleep until something is due.
void Idle() {
  display::Display* d = display::Current();
  if (d && (d->width() != ScreenWidth() || d->height() != ScreenHeight()))
    SetScreenSize(d->width(), d->height());
  if (d) PresentChanges(*d);
  S().wakeWithin.reset();
  TakeTerminationRequest();
  RunIdleHooks();
  if (!S().queue.empty() || S().quitPosted || NextWindowToPaint() || CloseRequestWaiting())
    return;
  int timeoutMs = WaitTimeoutMs();
  if (!d) {
    if (timeoutMs < 0 || timeoutMs > kNoDisplayWaitMs) timeoutMs = kNoDisplayWaitMs;
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
    return;
  }
  display::Event event;
  if (d->nextEvent(event, timeoutMs)) HandleDisplayEvent(event);
}

}  // namespace

DWORD Now() {
  using namespace std::chrono;
  static const auto start = steady_clock::now();
  return DWORD(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

void WakeWithin(std::chrono::milliseconds delay) {
  delay = std::max(delay, std::chrono::milliseconds(0));
  if (!S().wakeWithin || delay < *S().wakeWithin) S().wakeWithin = delay;
}

void WakeWhenReadable(int fd) {
  if (display::Display* d = display::Current()) d->wakeWhenReadable(fd);
}

void CloseOnTerminationRequests() { kernel::CatchTerminationRequests(); }

void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  S().queue.push_back(Stamp(window, message, wParam, lParam));
}

bool RunModalLoop(const ModalLoop& loop) {
  ModalFrame frame{&loop};
  S().modals.push_back(&frame);
  bool ownerWasEnabled = loop.owner && IsWindowEnabled(loop.owner);
  // However the loop ends (memory that runs out in its filter or its step included), its
  // frame leaves the stack and the owner is enabled again.
  struct EndLoop {
    ModalFrame* frame;
    const ModalLoop& loop;
    bool& ownerWasEnabled;
    ~EndLoop() {
      std::erase(S().modals, frame);
      if (ownerWasEnabled && IsWindow(loop.owner)) EnableWindow(loop.owner, TRUE);
    }
  } end{&frame, loop, ownerWasEnabled};
  if (ownerWasEnabled) EnableWindow(loop.owner, FALSE);
  if (loop.window && IsWindowVisible(loop.window)) SetActiveWindow(loop.window);
  bool quit = false;
  MSG msg;
  while (!(loop.done && loop.done())) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      quit = true;
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (loop.filter && loop.filter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return !quit;
}

}  // namespace user

using namespace user;

BOOL GetMessageW(LPMSG message, HWND window, UINT first, UINT last) {
  if (!message) return -1;
  for (;;) {
    try {
      if (S().modals.empty() && S().closeMainWhenUnwound) CloseMainWhenUnwound();
      if (TakeMessage(*message, window, first, last, true)) {
        S().last = *message;
        return message->message == WM_QUIT ? FALSE : TRUE;
      }
      Idle();
    } catch (const std::bad_alloc&) {
      // Out of memory in the loop's own work (the screen, the idle hooks, input): the
      // step waits and is taken again, so the program's loop never ends for it.
      kernel::OutOfMemory();
      std::this_thread::sleep_for(std::chrono::milliseconds(kOutOfMemoryRetryMs));
    }
  }
}

BOOL PeekMessageW(LPMSG message, HWND window, UINT first, UINT last, UINT remove) try {
  if (!message) return FALSE;
  if (!TakeMessage(*message, window, first, last, (remove & PM_REMOVE) != 0)) return FALSE;
  S().last = *message;
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  if (window && !Find(window)) {
    if (S().remote.isRemote && S().remote.send && S().remote.isRemote(window)) {
      S().remote.send(window, message, wParam, lParam);
      return TRUE;
    }
    return FALSE;
  }
  if (message == WM_QUIT) {
    PostQuitMessage(int(wParam));
    return TRUE;
  }
  S().queue.push_back(Stamp(window, message, wParam, lParam));
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) try {
  if (!Find(window) && S().remote.isRemote && S().remote.send && S().remote.isRemote(window))
    return S().remote.send(window, message, wParam, lParam);
  return Call(window, message, wParam, lParam);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

void PostQuitMessage(int exitCode) {
  S().quitPosted = true;
  S().quitCode = exitCode;
}

LRESULT DispatchMessageW(const MSG* message) try {
  if (!message || !message->hwnd) return 0;
  return Call(message->hwnd, message->message, message->wParam, message->lParam);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

// WM_CHAR for a key: the control keys always, printable keys when the display types
// no text of its own for them (see kKeyTypesText).
BOOL TranslateMessage(const MSG* message) try {
  if (!message || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN))
    return FALSE;
  UINT vk = UINT(message->wParam);
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  WCHAR ch = 0;
  if (vk == VK_RETURN) ch = u'\r';
  else if (vk == VK_ESCAPE) ch = 0x1B;
  else if (vk == VK_BACK) ch = 0x08;
  else if (vk == VK_TAB) ch = u'\t';
  else if (ctrl && vk >= 'A' && vk <= 'Z') ch = WCHAR(vk - 'A' + 1);
  else if (message->lParam & kKeyTypesText) {
    if (vk >= 'A' && vk <= 'Z') ch = shift ? WCHAR(vk) : WCHAR(vk - 'A' + 'a');
    else if (vk >= '0' && vk <= '9') ch = WCHAR(vk);
    else if (vk == VK_SPACE) ch = u' ';
  }
  if (!ch) return FALSE;
  S().queue.push_front(Stamp(message->hwnd, WM_CHAR, ch, message->lParam & ~kKeyTypesText));
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

DWORD GetMessagePos() { return DWORD(MAKELONG(S().last.pt.x, S().last.pt.y)); }

LONG GetMessageTime() { return LONG(S().last.time); }
