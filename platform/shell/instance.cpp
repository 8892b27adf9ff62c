#include "shell/instance.h"

#include <iostream>
#include <memory>

#include "shell/instance_socket.h"
#include "user/system.h"

namespace shell {
namespace {

constexpr int kAskTimeoutMs = 5000;
// Windows of the running copy carry this tag in the top bits of their handle here, so
// they never meet this process's own handles.
constexpr uint64_t kRemoteTag = 0x5EC0000000000000ULL;
constexpr uint64_t kTagMask = 0xFFFF000000000000ULL;
// Find: which of class and title were given (a missing one matches anything).
constexpr uint32_t kClassGiven = 1, kTitleGiven = 2;

struct Copies {
  std::unique_ptr<InstanceServer> server;
  RendezvousPaths paths;
};

Copies& State() {
  static Copies copies;
  return copies;
}

// ---- The running copy's answers -------------------------------------------------------

uint64_t Id(HWND window) { return uint64_t(reinterpret_cast<uintptr_t>(window)); }
HWND Local(uint64_t id) {
  HWND window = reinterpret_cast<HWND>(uintptr_t(id));
  return IsWindow(window) ? window : nullptr;
}

// Only the program's own top-level windows are found, never the shell's.
bool IsProgramWindow(HWND window) { return IsWindow(window) && !user::IsSystemWindow(window); }

RemoteReply Answer(const RemoteRequest& request) {
  RemoteReply reply;
  switch (request.op) {
    case RemoteOp::Find: {
      HWND found = FindWindowW(request.message & kClassGiven ? request.className.c_str() : nullptr,
                               request.message & kTitleGiven ? request.title.c_str() : nullptr);
      if (found && IsProgramWindow(found)) reply.window = Id(found);
      break;
    }
    case RemoteOp::Foreground: {
      // Another program in front of our window means none of ours is in front.
      if (user::ScreenHasFocus()) reply.window = Id(GetForegroundWindow());
      break;
    }
    case RemoteOp::Parent:
      if (HWND window = Local(request.window)) reply.window = Id(GetParent(window));
      break;
    case RemoteOp::Send:
      // Only commands: their parameters are plain numbers, meaningful in any process.
      if (HWND window = Local(request.window); window && request.message == WM_COMMAND)
        reply.result = SendMessageW(window, WM_COMMAND, WPARAM(request.wParam), 0);
      break;
    case RemoteOp::SetForeground:
      if (HWND window = Local(request.window)) {
        reply.result = SetForegroundWindow(window);
        user::RaiseScreen();
      }
      break;
  }
  return reply;
}

// ---- A later copy's questions ------------------------------------------------------------

HWND Remote(uint64_t id) {
  return id ? reinterpret_cast<HWND>(uintptr_t(kRemoteTag | id)) : nullptr;
}
bool IsRemote(HWND window) {
  return (uint64_t(reinterpret_cast<uintptr_t>(window)) & kTagMask) == kRemoteTag;
}
uint64_t RemoteId(HWND window) {
  return uint64_t(reinterpret_cast<uintptr_t>(window)) & ~kTagMask;
}

RemoteReply Ask(RemoteRequest request) {
  auto reply = AskRunningCopy(State().paths, request, kAskTimeoutMs);
  return reply ? *reply : RemoteReply{};
}

user::RemoteWindows AskingTheRunningCopy() {
  user::RemoteWindows remote;
  remote.find = [](LPCWSTR className, LPCWSTR title) {
    RemoteRequest r;
    r.op = RemoteOp::Find;
    if (className && !IS_INTRESOURCE(className)) r.className = className, r.message |= kClassGiven;
    if (title) r.title = title, r.message |= kTitleGiven;
    return Remote(Ask(r).window);
  };
  remote.isRemote = IsRemote;
  remote.foreground = []() -> HWND {
    // A window of our own in front (a copy that went on running) is the foreground.
    if (GetActiveWindow() && user::ScreenHasFocus()) return nullptr;
    RemoteRequest r;
    r.op = RemoteOp::Foreground;
    return Remote(Ask(r).window);
  };
  remote.parent = [](HWND window) {
    RemoteRequest r;
    r.op = RemoteOp::Parent;
    r.window = RemoteId(window);
    return Remote(Ask(r).window);
  };
  remote.send = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RemoteRequest r;
    r.op = RemoteOp::Send;
    r.window = RemoteId(window);
    r.message = message;
    r.wParam = wParam;
    r.lParam = lParam;
    return LRESULT(Ask(r).result);
  };
  remote.setForeground = [](HWND window) {
    RemoteRequest r;
    r.op = RemoteOp::SetForeground;
    r.window = RemoteId(window);
    return BOOL(Ask(r).result != 0);
  };
  return remote;
}

}  // namespace

void JoinRunningCopies(const std::string& program) {
  std::string error;
  auto paths = RendezvousFor(program, error);
  if (!paths) {
    std::cerr << program << ": no single-instance check: " << error << "\n";
    return;
  }
  State().paths = *paths;
  State().server = InstanceServer::Claim(*paths);
  if (!State().server) user::SetRemoteWindows(AskingTheRunningCopy());
}

void AnswerOtherCopies() {
  if (State().server) State().server->ServePending(Answer);
}

}  // namespace shell
