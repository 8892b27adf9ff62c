// Termination signals: the first is kept on a pipe for the message loop, a second ends
// the process at once and takes the registered socket file with it. Every case runs in a
// child process, so the test program's own signal handling stays as it was.
#include "kernel/termination.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, 0) == 1;
}

uint64_t InodeOf(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

class ForcedEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/termination-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    dir_ = pattern;
    file_ = dir_ + "/app.socket";
    std::ofstream(file_) << "ours";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string dir_;
  std::string file_;
};

TEST(TerminationRequests, TheFirstOfEachKindWaitsOnThePipeForTheLoop) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    EXPECT_EXIT(
        {
          if (!kernel::CatchTerminationRequests()) _exit(10);
          int fd = kernel::TerminationRequestFd();
          if (fd < 0 || Readable(fd) || kernel::TakeTerminationRequest()) _exit(11);
          raise(signal);
          if (!Readable(fd)) _exit(12);
          if (!kernel::TakeTerminationRequest()) _exit(13);
          if (Readable(fd) || kernel::TakeTerminationRequest()) _exit(14);  // taken once
          _exit(0);
        },
        ::testing::ExitedWithCode(0), "")
        << "signal " << signal;
  }
}

TEST(TerminationRequests, ASignalStartedIgnoredStaysIgnored) {
  EXPECT_EXIT(
      {
        ::signal(SIGHUP, SIG_IGN);
        kernel::CatchTerminationRequests();
        raise(SIGHUP);
        raise(SIGHUP);
        _exit(kernel::TakeTerminationRequest() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(ForcedEnd, ASecondRequestEndsTheProcessAtOnceAndRemovesTheSocketFile) {
  uint64_t inode = InodeOf(file_);
  EXPECT_EXIT(
      {
        kernel::CatchTerminationRequests();
        kernel::RemoveAtForcedEnd(file_.c_str(), inode);
        raise(SIGTERM);
        raise(SIGINT);
        _exit(0);
      },
      ::testing::KilledBySignal(SIGINT), "");
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(ForcedEnd, OnlyTheRegisteredFileIsRemoved) {
  // A successor's socket took the name, and then the file was forgotten.
  struct Case {
    const char* what;
    bool replaced;
    bool forgotten;
  };
  for (Case c : {Case{"a successor's file", true, false}, Case{"forgotten", false, true}}) {
    uint64_t inode = InodeOf(file_);
    EXPECT_EXIT(
        {
          kernel::CatchTerminationRequests();
          kernel::RemoveAtForcedEnd(file_.c_str(), inode);
          if (c.replaced) {
            std::ofstream(file_ + ".new") << "successor";
            std::rename((file_ + ".new").c_str(), file_.c_str());
          }
          if (c.forgotten) kernel::RemoveAtForcedEnd(nullptr, 0);
          raise(SIGHUP);
          raise(SIGHUP);
          _exit(0);
        },
        ::testing::KilledBySignal(SIGHUP), "")
        << c.what;
    EXPECT_TRUE(fs::exists(file_)) << c.what;
  }
}

}  // namespace
