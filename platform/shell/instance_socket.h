// The rendezvous of the copies of one program run by one user: the first copy listens
// on a Unix socket in a per-user folder; later copies ask it about its windows there.
// Plain POSIX, no windows: the shell plugs the questions into the window layer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace shell {

// What a later copy asks the running one. Windows travel as the running copy's handle
// values; the running copy checks them against its live windows before use.
enum class RemoteOp : uint32_t {
  Find = 1,           // className, title -> window (0: none)
  Foreground = 2,     // -> its foreground window (0: none)
  Parent = 3,         // window -> its parent or owner (0: none)
  Send = 4,           // window, message, wParam, lParam -> result
  SetForeground = 5,  // window -> result 1 when it came to the front
};

struct RemoteRequest {
  RemoteOp op = RemoteOp::Find;
  uint64_t window = 0;
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  std::u16string className;
  std::u16string title;
};

struct RemoteReply {
  uint64_t window = 0;
  int64_t result = 0;
};

// The body of a message: the fields in a fixed order, host byte order (both ends run on
// the same machine). On the socket each body follows its 32-bit length.
std::string EncodeRequest(const RemoteRequest& request);
std::optional<RemoteRequest> DecodeRequest(std::string_view bytes);
std::string EncodeReply(const RemoteReply& reply);
std::optional<RemoteReply> DecodeReply(std::string_view bytes);

// Where the copies of one program meet.
struct RendezvousPaths {
  std::string socket;
  std::string lock;
};
// The folder is $XDG_RUNTIME_DIR, or /tmp/vintrel-UID (created with mode 0700) when that
// is unset. Null with a reason when the folder is missing, not ours or open to others.
std::optional<RendezvousPaths> RendezvousFor(const std::string& program, std::string& error);

// The running copy's end. Claim() makes this process the running copy unless another
// live one already listens; only a socket nobody accepts on (left by a crashed copy) or
// a missing one is replaced, never one whose queue is full. The check and the bind
// happen under an exclusive lock on the lock file, so of copies started together
// exactly one becomes the running copy. Each connection has about 200 ms in all for its
// question and answer, and the caller must run as this user.
class InstanceServer {
 public:
  static std::unique_ptr<InstanceServer> Claim(const RendezvousPaths& paths);
  ~InstanceServer();
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;

  // Answers the requests already waiting (at most a few: the rest wait for the next
  // call), without blocking for new ones. A call made from inside a handler (a nested
  // message loop) returns at once.
  using Handler = std::function<RemoteReply(const RemoteRequest&)>;
  void ServePending(const Handler& handler);
  bool serving() const { return serving_; }

  // Readable while connections wait.
  int fd() const { return listener_; }

 private:
  InstanceServer(RendezvousPaths paths, int listener, uint64_t inode);
  void serveOne(int connection, const Handler& handler);

  RendezvousPaths paths_;
  int listener_;
  uint64_t inode_;  // of the socket file we bound, so we never remove a successor's
  bool serving_ = false;
};

struct AskOutcome {
  std::optional<RemoteReply> reply;  // null when no answer came within the time
  bool nobodyListens = false;        // no copy runs: the socket is missing or stale
  bool delivered = false;            // the question reached a running copy
};
// One question to the running copy, within timeoutMs in all; a copy whose queue is full
// is tried again until then.
AskOutcome AskRunningCopy(const RendezvousPaths& paths, const RemoteRequest& request,
                          int timeoutMs);

}  // namespace shell
