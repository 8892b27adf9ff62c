#include "shell/instance_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "kernel/termination.h"

namespace shell {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMaxBody = 64 * 1024;
// A connection has this long in all to ask its question and take the answer, so a slow
// or stuck caller cannot hold the running copy's loop.
constexpr auto kServeTime = std::chrono::milliseconds(200);
// Connections answered per idle pass; more wait for the next pass.
constexpr int kMostPerPass = 8;
// How often a full queue of the running copy is tried again.
constexpr auto kBusyRetry = std::chrono::milliseconds(5);

// ---- Body encoding ---------------------------------------------------------------------

class Writer {
 public:
  template <typename T>
  void put(T value) {
    out_.append(reinterpret_cast<const char*>(&value), sizeof value);
  }
  void put(const std::u16string& text) {
    put(uint32_t(text.size()));
    out_.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}
  template <typename T>
  bool get(T& value) {
    if (in_.size() < sizeof value) return false;
    std::memcpy(&value, in_.data(), sizeof value);
    in_.remove_prefix(sizeof value);
    return true;
  }
  bool get(std::u16string& text) {
    uint32_t units = 0;
    if (!get(units) || in_.size() / sizeof(char16_t) < units) return false;
    text.resize(units);
    std::memcpy(text.data(), in_.data(), units * sizeof(char16_t));
    in_.remove_prefix(units * sizeof(char16_t));
    return true;
  }
  bool atEnd() const { return in_.empty(); }

 private:
  std::string_view in_;
};

// ---- Framed, bounded socket I/O --------------------------------------------------------

// Whole milliseconds left until the deadline, 0 once it passed.
int LeftMs(Clock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return int(std::clamp<decltype(left)>(left, 0, 24 * 3600 * 1000));
}

// Waits until fd is ready for events; false at the deadline or on error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  pollfd p{fd, events, 0};
  int n;
  do n = poll(&p, 1, LeftMs(deadline));
  while (n < 0 && errno == EINTR);
  return n > 0;
}

bool WriteAll(int fd, std::string_view bytes, Clock::time_point deadline) {
  while (!bytes.empty()) {
    if (!WaitFor(fd, POLLOUT, deadline)) return false;
    ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(size_t(n));
  }
  return true;
}

bool ReadAll(int fd, char* out, size_t size, Clock::time_point deadline) {
  while (size > 0) {
    if (!WaitFor(fd, POLLIN, deadline)) return false;
    ssize_t n = recv(fd, out, size, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    out += n;
    size -= size_t(n);
  }
  return true;
}

bool SendFrame(int fd, const std::string& body, Clock::time_point deadline) {
  uint32_t length = uint32_t(body.size());
  std::string frame(reinterpret_cast<const char*>(&length), sizeof length);
  frame += body;
  return WriteAll(fd, frame, deadline);
}

std::optional<std::string> ReceiveFrame(int fd, Clock::time_point deadline) {
  uint32_t length = 0;
  if (!ReadAll(fd, reinterpret_cast<char*>(&length), sizeof length, deadline)) return {};
  if (length > kMaxBody) return {};
  std::string body(length, '\0');
  if (!ReadAll(fd, body.data(), length, deadline)) return {};
  return body;
}

// ---- Sockets and files ------------------------------------------------------------------

bool FillAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// What a connection attempt found at the socket's path.
enum class Reach {
  Connected,      // fd is a connected, non-blocking socket
  NobodyListens,  // no socket file, or one nobody accepts on (its copy ended)
  Busy,           // a live copy whose queue of connections is full
  Unknown,        // any other failure: not proof that the copy is gone
};

Reach ConnectTo(const std::string& path, int& fd) {
  fd = -1;
  sockaddr_un address;
  if (!FillAddress(path, address)) return Reach::Unknown;
  int s = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (s < 0) return Reach::Unknown;
  int rc;
  do rc = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  while (rc != 0 && errno == EINTR);
  if (rc == 0) {
    fd = s;
    return Reach::Connected;
  }
  int error = errno;
  close(s);
  if (error == ECONNREFUSED || error == ENOENT) return Reach::NobodyListens;
  if (error == EAGAIN) return Reach::Busy;
  return Reach::Unknown;
}

// Connects, trying a busy copy again until the deadline.
Reach ConnectPatiently(const std::string& path, int& fd, Clock::time_point deadline) {
  for (;;) {
    Reach reach = ConnectTo(path, fd);
    if (reach != Reach::Busy || Clock::now() + kBusyRetry > deadline) return reach;
    std::this_thread::sleep_for(kBusyRetry);
  }
}

// Whether the process at the other end runs as this user.
bool CallerIsThisUser(int connection) {
  ucred caller{};
  socklen_t size = sizeof caller;
  return getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &caller, &size) == 0 &&
         size == sizeof caller && caller.uid == geteuid();
}

// A listening socket bound to the path (replacing whatever file is there), or -1.
int ListenAt(const std::string& path, uint64_t& inode) {
  sockaddr_un address;
  if (!FillAddress(path, address)) return -1;
  unlink(path.c_str());
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  struct stat st {};
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, SOMAXCONN) != 0 || stat(path.c_str(), &st) != 0) {
    close(fd);
    return -1;
  }
  inode = st.st_ino;
  return fd;
}

// Holds an exclusive lock on a file for one scope.
class FileLock {
 public:
  explicit FileLock(const std::string& path)
      : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ < 0) return;
    int rc;
    do rc = flock(fd_, LOCK_EX);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
      close(fd_);
      fd_ = -1;
    }
  }
  ~FileLock() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
  }
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

// The folder is ours alone: a real folder (no link), owned by this user, mode 0700.
bool IsPrivateFolder(const std::string& dir, std::string& error) {
  struct stat st {};
  if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    error = dir + " is not a folder";
    return false;
  }
  if (st.st_uid != getuid() || (st.st_mode & 077) != 0) {
    error = dir + " is not private to this user";
    return false;
  }
  return true;
}

}  // namespace

std::string EncodeRequest(const RemoteRequest& request) {
  Writer w;
  w.put(uint32_t(request.op));
  w.put(request.window);
  w.put(request.message);
  w.put(request.wParam);
  w.put(request.lParam);
  w.put(request.className);
  w.put(request.title);
  return w.take();
}

std::optional<RemoteRequest> DecodeRequest(std::string_view bytes) {
  Reader r(bytes);
  RemoteRequest request;
  uint32_t op = 0;
  if (!r.get(op) || !r.get(request.window) || !r.get(request.message) ||
      !r.get(request.wParam) || !r.get(request.lParam) || !r.get(request.className) ||
      !r.get(request.title) || !r.atEnd())
    return {};
  if (op < uint32_t(RemoteOp::Find) || op > uint32_t(RemoteOp::SetForeground)) return {};
  request.op = RemoteOp(op);
  return request;
}

std::string EncodeReply(const RemoteReply& reply) {
  Writer w;
  w.put(reply.window);
  w.put(reply.result);
  return w.take();
}

std::optional<RemoteReply> DecodeReply(std::string_view bytes) {
  Reader r(bytes);
  RemoteReply reply;
  if (!r.get(reply.window) || !r.get(reply.result) || !r.atEnd()) return {};
  return reply;
}

std::optional<RendezvousPaths> RendezvousFor(const std::string& program, std::string& error) {
  std::string dir;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) {
    dir = runtime;
  } else {
    dir = "/tmp/vintrel-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
      error = "cannot create " + dir + ": " + std::strerror(errno);
      return {};
    }
  }
  if (!IsPrivateFolder(dir, error)) return {};
  RendezvousPaths paths{dir + "/" + program + ".socket", dir + "/" + program + ".lock"};
  sockaddr_un address;
  if (!FillAddress(paths.socket, address)) {
    error = "socket path too long: " + paths.socket;
    return {};
  }
  return paths;
}

InstanceServer::InstanceServer(RendezvousPaths paths, int listener, uint64_t inode)
    : paths_(std::move(paths)), listener_(listener), inode_(inode) {
  kernel::RemoveAtForcedEnd(paths_.socket.c_str(), inode_);
}

std::unique_ptr<InstanceServer> InstanceServer::Claim(const RendezvousPaths& paths) {
  FileLock lock(paths.lock);
  if (!lock.held()) return nullptr;
  // Only a socket nobody accepts on is replaced: a busy copy is alive, and a failure of
  // any other kind proves nothing.
  int alive = -1;
  Reach reach = ConnectTo(paths.socket, alive);
  if (alive >= 0) close(alive);
  if (reach != Reach::NobodyListens) return nullptr;
  uint64_t inode = 0;
  int listener = ListenAt(paths.socket, inode);
  if (listener < 0) return nullptr;
  return std::unique_ptr<InstanceServer>(new InstanceServer(paths, listener, inode));
}

InstanceServer::~InstanceServer() {
  kernel::RemoveAtForcedEnd(nullptr, 0);
  FileLock lock(paths_.lock);
  struct stat st {};
  if (stat(paths_.socket.c_str(), &st) == 0 && st.st_ino == inode_) unlink(paths_.socket.c_str());
  close(listener_);
}

void InstanceServer::ServePending(const Handler& handler) {
  if (serving_) return;
  serving_ = true;
  for (int served = 0; served < kMostPerPass;) {
    int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (connection < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      break;
    }
    if (CallerIsThisUser(connection)) serveOne(connection, handler);
    close(connection);
    ++served;
  }
  serving_ = false;
}

void InstanceServer::serveOne(int connection, const Handler& handler) {
  auto deadline = Clock::now() + kServeTime;
  auto body = ReceiveFrame(connection, deadline);
  if (!body) return;
  auto request = DecodeRequest(*body);
  if (!request) return;
  SendFrame(connection, EncodeReply(handler(*request)), deadline);
}

AskOutcome AskRunningCopy(const RendezvousPaths& paths, const RemoteRequest& request,
                          int timeoutMs) {
  auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  AskOutcome outcome;
  int fd = -1;
  Reach reach = ConnectPatiently(paths.socket, fd, deadline);
  outcome.nobodyListens = reach == Reach::NobodyListens;
  if (fd < 0) return outcome;
  outcome.delivered = SendFrame(fd, EncodeRequest(request), deadline);
  if (outcome.delivered) {
    if (auto body = ReceiveFrame(fd, deadline)) outcome.reply = DecodeReply(*body);
  }
  close(fd);
  return outcome;
}

}  // namespace shell
