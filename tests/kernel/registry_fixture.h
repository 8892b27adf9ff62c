// A registry in a folder of its own (see test_support/settings_folder.h), with the
// registry file read and written as text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "test_support/registry_values.h"
#include "test_support/settings_folder.h"

// The lines of a text (the messages a call left on stderr, for one).
int CountLines(const std::string& text);

class RegistryTest : public test_support::SettingsFolderTest {
 protected:
  std::string ConfigHome() const { return Settings().Home(); }
  std::string Folder() const { return Settings().Folder(); }
  std::string FilePath() const { return Settings().FilePath(); }
  std::string FileText() const;
  void WriteFileText(const std::string& text) const;
  // Names in the settings folder, sorted.
  std::vector<std::string> FolderEntries() const;
  // Runs work(0) ... work(writers - 1) in child processes at once, each ending with 0
  // when its work gives true, and calls observe until they have all ended, once at
  // least; each must have ended with 0.
  void WhileWritersRun(int writers, const std::function<bool(int writer)>& work,
                       const std::function<void()>& observe) const;
};
