#include "shell/instance_socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;
using shell::AskRunningCopy;
using shell::InstanceServer;
using shell::RemoteOp;
using shell::RemoteReply;
using shell::RemoteRequest;
using shell::RendezvousPaths;

// A private folder per test, standing in for $XDG_RUNTIME_DIR.
class Rendezvous : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/shell-instance-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    dir_ = pattern;
    paths_ = {dir_ + "/app.socket", dir_ + "/app.lock"};
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Asks from another thread while this one serves, as two processes would.
  std::optional<RemoteReply> AskServed(InstanceServer& server, const RemoteRequest& request,
                                       const InstanceServer::Handler& handler) {
    std::optional<RemoteReply> reply;
    std::atomic<bool> done{false};
    std::thread asker([&] {
      reply = AskRunningCopy(paths_, request, 5000).reply;
      done = true;
    });
    while (!done) {
      server.ServePending(handler);
      std::this_thread::yield();
    }
    asker.join();
    return reply;
  }

  std::string dir_;
  RendezvousPaths paths_;
};

TEST(RemoteMessages, RequestsSurviveTheWireForm) {
  const RemoteRequest requests[] = {
      {RemoteOp::Find, 0, 0, 0, 0, u"Vintrel - 5765 (heb)", u"Vintrel - 5765 (heb)"},
      {RemoteOp::Foreground, 0, 0, 0, 0, u"", u""},
      {RemoteOp::Parent, 0x10042, 0, 0, 0, u"", u""},
      {RemoteOp::Send, 0x10042, 0x0111, 108, -1, u"", u""},
      {RemoteOp::SetForeground, UINT64_MAX, 0, 0, 0, u"\u05D0\u05D1", u""},
  };
  for (const auto& r : requests) {
    auto back = shell::DecodeRequest(shell::EncodeRequest(r));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->op, r.op);
    EXPECT_EQ(back->window, r.window);
    EXPECT_EQ(back->message, r.message);
    EXPECT_EQ(back->wParam, r.wParam);
    EXPECT_EQ(back->lParam, r.lParam);
    EXPECT_EQ(back->className, r.className);
    EXPECT_EQ(back->title, r.title);
  }
  auto reply = shell::DecodeReply(shell::EncodeReply({0x10042, -7}));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->window, 0x10042u);
  EXPECT_EQ(reply->result, -7);
}

TEST(RemoteMessages, MalformedBodiesAreRefused) {
  std::string good = shell::EncodeRequest({RemoteOp::Find, 0, 0, 0, 0, u"cls", u"title"});
  for (size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_FALSE(shell::DecodeRequest(good.substr(0, cut))) << "cut at " << cut;
  EXPECT_FALSE(shell::DecodeRequest(good + "x")) << "trailing byte";

  RemoteRequest bad;
  for (uint32_t op : {0u, 6u, 0xFFFFFFFFu}) {
    std::string body = shell::EncodeRequest(bad);
    std::memcpy(body.data(), &op, sizeof op);
    EXPECT_FALSE(shell::DecodeRequest(body)) << "op " << op;
  }
  // A text length far beyond the body.
  std::string body = shell::EncodeRequest(bad);
  uint32_t huge = 0x7FFFFFFF;
  std::memcpy(body.data() + body.size() - 8, &huge, sizeof huge);
  EXPECT_FALSE(shell::DecodeRequest(body));

  EXPECT_FALSE(shell::DecodeReply(shell::EncodeReply({}).substr(1)));
}

TEST_F(Rendezvous, TheFirstCopyAnswersAndTheSecondCannotClaim) {
  auto server = InstanceServer::Claim(paths_);
  ASSERT_TRUE(server);
  EXPECT_FALSE(InstanceServer::Claim(paths_)) << "a live copy already listens";

  auto handler = [](const RemoteRequest& r) {
    RemoteReply reply;
    if (r.op == RemoteOp::Find && r.className == u"Main" && r.title == u"Title")
      reply.window = 0x10001;
    if (r.op == RemoteOp::Send) reply.result = int64_t(r.message) + int64_t(r.wParam);
    return reply;
  };
  auto found = AskServed(*server, {RemoteOp::Find, 0, 0, 0, 0, u"Main", u"Title"}, handler);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->window, 0x10001u);
  auto missing = AskServed(*server, {RemoteOp::Find, 0, 0, 0, 0, u"Other", u""}, handler);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->window, 0u);
  auto sent = AskServed(*server, {RemoteOp::Send, 0x10001, 0x111, 108, 0, u"", u""}, handler);
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->result, 0x111 + 108);
}

TEST_F(Rendezvous, NobodyAnswersWhenNoCopyRuns) {
  auto outcome = AskRunningCopy(paths_, {}, 1000);
  EXPECT_FALSE(outcome.reply);
  EXPECT_TRUE(outcome.nobodyListens);
  EXPECT_FALSE(outcome.delivered);
}

TEST_F(Rendezvous, AStaleSocketIsDetectedAndReplaced) {
  // What a crashed copy leaves: a bound socket file that nobody listens on any more.
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, paths_.socket.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(fd, 1), 0);
  close(fd);
  ASSERT_TRUE(fs::exists(paths_.socket));

  auto outcome = AskRunningCopy(paths_, {}, 1000);
  EXPECT_FALSE(outcome.reply) << "the stale socket answers nothing";
  EXPECT_TRUE(outcome.nobodyListens);
  auto server = InstanceServer::Claim(paths_);
  ASSERT_TRUE(server) << "the stale socket is replaced";
  auto reply = AskServed(*server, {}, [](const RemoteRequest&) { return RemoteReply{7, 0}; });
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->window, 7u);
}

TEST_F(Rendezvous, EndingRemovesOnlyOurOwnSocket) {
  auto first = InstanceServer::Claim(paths_);
  ASSERT_TRUE(first);
  first.reset();
  EXPECT_FALSE(fs::exists(paths_.socket));

  auto old = InstanceServer::Claim(paths_);
  ASSERT_TRUE(old);
  // Someone removed its file and a successor took the name.
  fs::remove(paths_.socket);
  auto successor = InstanceServer::Claim(paths_);
  ASSERT_TRUE(successor);
  old.reset();
  EXPECT_TRUE(fs::exists(paths_.socket)) << "the successor's socket stays";
}

TEST_F(Rendezvous, CopiesStartedTogetherEndWithExactlyOneRunning) {
  constexpr int kCopies = 6;
  int go[2], hold[2], results[2];
  ASSERT_EQ(pipe(go), 0);
  ASSERT_EQ(pipe(hold), 0);
  ASSERT_EQ(pipe(results), 0);
  pid_t children[kCopies];
  for (int i = 0; i < kCopies; ++i) {
    children[i] = fork();
    ASSERT_GE(children[i], 0);
    if (children[i] == 0) {
      close(go[1]);
      close(hold[1]);
      char start;
      if (read(go[0], &start, 1) != 1) _exit(2);
      auto server = InstanceServer::Claim(paths_);
      char claimed = server ? '1' : '0';
      if (write(results[1], &claimed, 1) != 1) _exit(2);
      // Stay alive until the parent has every answer (it closes the hold pipe).
      while (read(hold[0], &start, 1) > 0) {
      }
      _exit(0);
    }
  }
  close(go[0]);
  close(hold[0]);
  close(results[1]);
  std::string starts(kCopies, 'g');
  ASSERT_EQ(write(go[1], starts.data(), starts.size()), ssize_t(kCopies));
  int running = 0;
  for (int i = 0; i < kCopies; ++i) {
    char claimed = 0;
    ASSERT_EQ(read(results[0], &claimed, 1), 1);
    running += claimed == '1';
  }
  close(go[1]);
  close(hold[1]);
  for (pid_t child : children) waitpid(child, nullptr, 0);
  close(results[0]);
  EXPECT_EQ(running, 1);
}

TEST_F(Rendezvous, TheFolderMustBePrivate) {
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  std::string savedValue = saved ? saved : "";
  std::string error;

  ASSERT_EQ(setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1), 0);
  ASSERT_EQ(chmod(dir_.c_str(), 0700), 0);
  auto paths = shell::RendezvousFor("prog", error);
  ASSERT_TRUE(paths) << error;
  EXPECT_EQ(paths->socket, dir_ + "/prog.socket");
  EXPECT_EQ(paths->lock, dir_ + "/prog.lock");

  ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
  EXPECT_FALSE(shell::RendezvousFor("prog", error)) << "open to others";
  EXPECT_NE(error.find(dir_), std::string::npos);

  std::string link = dir_ + "-link";
  ASSERT_EQ(chmod(dir_.c_str(), 0700), 0);
  ASSERT_EQ(symlink(dir_.c_str(), link.c_str()), 0);
  ASSERT_EQ(setenv("XDG_RUNTIME_DIR", link.c_str(), 1), 0);
  EXPECT_FALSE(shell::RendezvousFor("prog", error)) << "a link, not a folder";
  unlink(link.c_str());

  ASSERT_EQ(setenv("XDG_RUNTIME_DIR", (dir_ + "/" + std::string(120, 'x')).c_str(), 1), 0);
  ASSERT_EQ(mkdir((dir_ + "/" + std::string(120, 'x')).c_str(), 0700), 0);
  EXPECT_FALSE(shell::RendezvousFor("prog", error)) << "socket path too long";

  ASSERT_EQ(unsetenv("XDG_RUNTIME_DIR"), 0);
  paths = shell::RendezvousFor("prog", error);
  ASSERT_TRUE(paths) << error;
  std::string fallback = "/tmp/vintrel-" + std::to_string(getuid());
  EXPECT_EQ(paths->socket, fallback + "/prog.socket");
  struct stat st {};
  ASSERT_EQ(stat(fallback.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  if (saved) setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
}

}  // namespace
