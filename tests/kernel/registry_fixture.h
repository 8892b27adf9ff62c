// A registry in a folder of its own (see test_support/settings_folder.h), with the
// registry file read and written as text.
#pragma once

#include <string>
#include <vector>

#include "test_support/registry_values.h"
#include "test_support/settings_folder.h"

class RegistryTest : public test_support::SettingsFolderTest {
 protected:
  std::string ConfigHome() const { return Settings().Home(); }
  std::string Folder() const { return Settings().Folder(); }
  std::string FilePath() const { return Settings().FilePath(); }
  std::string FileText() const;
  void WriteFileText(const std::string& text) const;
  // Names in the settings folder, sorted.
  std::vector<std::string> FolderEntries() const;
};
