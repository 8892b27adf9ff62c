#include "shell/instance_socket.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
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

  // A blocking socket connected to the rendezvous, or -1.
  int Connect(int flags = 0) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, paths_.socket.c_str());
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    return -1;
  }

  // A listening socket at the rendezvous that accepts nobody: a copy that is busy.
  int ListenWithoutAccepting() {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, paths_.socket.c_str());
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(fd, 0), 0);
    return fd;
  }

  std::string dir_;
  RendezvousPaths paths_;
};

// A whole request as it travels: its length, then its body.
std::string Framed(const RemoteRequest& request) {
  std::string body = shell::EncodeRequest(request);
  uint32_t length = uint32_t(body.size());
  return std::string(reinterpret_cast<const char*>(&length), sizeof length) + body;
}

uint64_t InodeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Answers every connection waiting on a raw listener that carries a request with
// `reply`; connections that carry nothing are dropped.
void AnswerRaw(int listener, const RemoteReply& reply) {
  for (;;) {
    int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return;
    pollfd p{connection, POLLIN, 0};
    uint32_t length = 0;
    if (poll(&p, 1, 100) == 1 && recv(connection, &length, sizeof length, MSG_WAITALL) == 4) {
      std::string body(length, '\0');
      recv(connection, body.data(), length, MSG_WAITALL);
      std::string answer = shell::EncodeReply(reply);
      uint32_t size = uint32_t(answer.size());
      std::string frame = std::string(reinterpret_cast<const char*>(&size), sizeof size) + answer;
      EXPECT_EQ(send(connection, frame.data(), frame.size(), MSG_NOSIGNAL), ssize_t(frame.size()));
    }
    close(connection);
  }
}

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

TEST_F(Rendezvous, ACopyWithAFullQueueIsAliveAndIsAskedAgainUntilItAnswers) {
  int listener = ListenWithoutAccepting();
  std::vector<int> queued;
  for (int i = 0; i < 64; ++i) {
    int fd = Connect(SOCK_NONBLOCK);
    if (fd < 0) break;
    queued.push_back(fd);
  }
  ASSERT_LT(queued.size(), 64u) << "the queue never filled";
  uint64_t inode = InodeOf(paths_.socket);

  EXPECT_FALSE(InstanceServer::Claim(paths_)) << "a busy copy is alive";
  EXPECT_EQ(InodeOf(paths_.socket), inode) << "its socket was replaced";
  auto busy = AskRunningCopy(paths_, {}, 200);
  EXPECT_FALSE(busy.reply);
  EXPECT_FALSE(busy.nobodyListens);

  // The question is tried again while the copy is busy, and answered once it is free.
  std::optional<RemoteReply> reply;
  std::atomic<bool> done{false};
  std::thread asker([&] {
    reply = AskRunningCopy(paths_, {}, 5000).reply;
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  for (int fd : queued) close(fd);
  while (!done) {
    AnswerRaw(listener, {9, 0});
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  asker.join();
  close(listener);
  ASSERT_TRUE(reply) << "the question was not asked again";
  EXPECT_EQ(reply->window, 9u);
}

TEST_F(Rendezvous, ASlowCallerCannotHoldTheRunningCopy) {
  auto server = InstanceServer::Claim(paths_);
  ASSERT_TRUE(server);
  int slow = Connect();
  ASSERT_GE(slow, 0);
  std::atomic<bool> stop{false};
  std::thread trickle([&] {
    // A byte every half second, never a whole question.
    std::string frame = Framed({RemoteOp::Find, 0, 0, 0, 0, u"Main", u"Title"});
    for (size_t i = 0; i < 12 && !stop; ++i) {
      if (send(slow, &frame[i], 1, MSG_NOSIGNAL) != 1) break;
      for (int t = 0; t < 50 && !stop; ++t) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  int answered = 0;
  auto start = Clock::now();
  server->ServePending([&](const RemoteRequest&) {
    ++answered;
    return RemoteReply{};
  });
  auto held = Clock::now() - start;
  stop = true;
  trickle.join();
  close(slow);
  EXPECT_LT(held, std::chrono::seconds(2)) << "the loop was held for the slow caller";
  EXPECT_EQ(answered, 0);
  auto reply = AskServed(*server, {}, [](const RemoteRequest&) { return RemoteReply{3, 0}; });
  ASSERT_TRUE(reply) << "a prompt caller is answered after the slow one";
  EXPECT_EQ(reply->window, 3u);
}

TEST_F(Rendezvous, ABurstOfQuestionsIsAnsweredOverSeveralPasses) {
  auto server = InstanceServer::Claim(paths_);
  ASSERT_TRUE(server);
  constexpr int kCallers = 20;
  std::vector<int> callers;
  std::string frame = Framed({});
  for (int i = 0; i < kCallers; ++i) {
    int fd = Connect();
    ASSERT_GE(fd, 0);
    ASSERT_EQ(send(fd, frame.data(), frame.size(), MSG_NOSIGNAL), ssize_t(frame.size()));
    callers.push_back(fd);
  }
  int answered = 0;
  auto count = [&](const RemoteRequest&) {
    ++answered;
    return RemoteReply{};
  };
  server->ServePending(count);
  EXPECT_GT(answered, 0);
  EXPECT_LT(answered, kCallers) << "one pass answered the whole burst";
  for (int pass = 0; pass < kCallers && answered < kCallers; ++pass) server->ServePending(count);
  EXPECT_EQ(answered, kCallers);
  for (int fd : callers) close(fd);
}

TEST_F(Rendezvous, ACallerRunningAsAnotherUserIsNotAnswered) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run a caller as another user";
  auto server = InstanceServer::Claim(paths_);
  ASSERT_TRUE(server);
  // The folder's own protection aside, the socket itself lets anyone connect.
  ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
  ASSERT_EQ(chmod(paths_.socket.c_str(), 0777), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    auto outcome = AskRunningCopy(paths_, {}, 2000);
    _exit(!outcome.delivered ? 2 : outcome.reply ? 1 : 0);
  }
  int answered = 0, status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    server->ServePending([&](const RemoteRequest&) {
      ++answered;
      return RemoteReply{1, 0};
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: answered, 2: could not connect, 3: no other user";
  EXPECT_EQ(answered, 0);
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
