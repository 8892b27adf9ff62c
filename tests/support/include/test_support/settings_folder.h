// A settings folder of the test's own: while a SettingsFolder lives, XDG_CONFIG_HOME
// names a new, empty temporary folder, so the registry file the platform reads and
// writes is the test's alone; the registry forgets what it read, at the start and the end.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace test_support {

class SettingsFolder {
 public:
  SettingsFolder();
  ~SettingsFolder();
  SettingsFolder(const SettingsFolder&) = delete;
  SettingsFolder& operator=(const SettingsFolder&) = delete;

  // XDG_CONFIG_HOME while this lives.
  const std::string& Home() const { return home_; }
  // The program's settings folder in it, and the registry file there.
  std::string Folder() const { return home_ + "/vintrel"; }
  std::string FilePath() const { return Folder() + "/registry.reg"; }

 private:
  std::string home_;
  std::optional<std::string> savedHome_;
};

// A new settings folder for each test.
class SettingsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { settings_.emplace(); }
  void TearDown() override { settings_.reset(); }

  // Another new, empty folder in place of the current one, as at a first start.
  void FreshSettingsFolder() {
    settings_.reset();
    settings_.emplace();
  }
  const SettingsFolder& Settings() const { return *settings_; }

 private:
  std::optional<SettingsFolder> settings_;
};

}  // namespace test_support
