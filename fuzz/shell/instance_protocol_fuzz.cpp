// Any bytes from another process, both ways: as a request body and as a reply body,
// where what decodes encodes back to the same bytes; and as everything a client writes
// to the running copy's socket before it closes its end, which the running copy answers
// or drops without waiting for more.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "shell/instance_socket.h"

namespace {

// A folder of the run's own for the rendezvous, and the running copy listening there.
struct RunningCopy {
  std::string folder;
  shell::RendezvousPaths paths;
  std::unique_ptr<shell::InstanceServer> server;

  RunningCopy() {
    char name[] = "/tmp/vintrel-fuzz-XXXXXX";
    if (!mkdtemp(name)) std::abort();
    folder = name;
    paths = {folder + "/fuzz.socket", folder + "/fuzz.lock"};
    server = shell::InstanceServer::Claim(paths);
    if (!server) std::abort();
  }
  ~RunningCopy() {
    server.reset();
    unlink(paths.lock.c_str());
    rmdir(folder.c_str());
  }
};

int Connect(const std::string& path) {
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) std::abort();
  return fd;
}

void CheckBodies(std::string_view bytes) {
  if (auto request = shell::DecodeRequest(bytes)) {
    if (shell::EncodeRequest(*request) != bytes) std::abort();
  }
  if (auto reply = shell::DecodeReply(bytes)) {
    if (shell::EncodeReply(*reply) != bytes) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RunningCopy running;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckBodies(bytes);
  if (size > 4) CheckBodies(bytes.substr(4));

  // A client that writes the bytes and closes its sending side.
  int client = Connect(running.paths.socket);
  if (size > 0 && send(client, data, size, MSG_NOSIGNAL) != ssize_t(size)) std::abort();
  shutdown(client, SHUT_WR);
  running.server->ServePending([](const shell::RemoteRequest& request) {
    return shell::RemoteReply{request.window, int64_t(request.op)};
  });
  close(client);
  return 0;
}
