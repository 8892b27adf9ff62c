#include "shell/instance.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include "shell/instance_socket.h"
#include "user/system.h"

namespace shell {
namespace {

using Clock = std::chrono::steady_clock;

// A question has this long in all, asked again as often as it fails in that time.
constexpr auto kAskTime = std::chrono::milliseconds(5000);
constexpr auto kAskAgainAfter = std::chrono::milliseconds(10);
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

// Questions that only look can be asked twice; a command that reached the running copy
// may have been carried out, so it is never sent again.
bool OnlyLooks(RemoteOp op) {
  return op == RemoteOp::Find || op == RemoteOp::Foreground || op == RemoteOp::Parent;
}

// The running copy's answer. A question that fails is asked again until it is answered
// or its time is up; when no copy listens any more, this one claims the socket and from
// then on is the running copy, with nobody else to ask (the empty answer).
RemoteReply Ask(const RemoteRequest& request) {
  auto deadline = Clock::now() + kAskTime;
  for (;;) {
    if (State().server) return RemoteReply{};
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    AskOutcome outcome = AskRunningCopy(State().paths, request, int(left.count()));
    if (outcome.reply) return *outcome.reply;
    if (outcome.nobodyListens && (State().server = InstanceServer::Claim(State().paths)))
      continue;
    if (outcome.delivered && !OnlyLooks(request.op)) return RemoteReply{};
    if (Clock::now() + kAskAgainAfter >= deadline) return RemoteReply{};
    std::this_thread::sleep_for(kAskAgainAfter);
  }
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
  InstanceServer* server = State().server.get();
  // Inside a handler (a nested loop) the outer call answers the rest and watches again.
  if (!server || server->serving()) return;
  server->ServePending(Answer);
  user::WakeWhenReadable(server->fd());
}

}  // namespace shell
