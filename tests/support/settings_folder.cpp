#include "test_support/settings_folder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "kernel/registry.h"

namespace test_support {

SettingsFolder::SettingsFolder() {
  if (const char* saved = std::getenv("XDG_CONFIG_HOME")) savedHome_ = saved;
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vintrel-settings-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::system_error(errno, std::generic_category(), "no settings folder " + pattern);
  home_ = pattern;
  setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
  kernel::ForgetRegistry();
}

SettingsFolder::~SettingsFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(home_, ignored);
  if (savedHome_) setenv("XDG_CONFIG_HOME", savedHome_->c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
  kernel::ForgetRegistry();
}

}  // namespace test_support
