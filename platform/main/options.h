// The platform's own command-line options, taken before the program sees the rest.
#pragma once

#include <string>
#include <vector>

namespace platform_main {

inline constexpr const char* kProgramName = "vintrel";
inline constexpr const char* kProgramVersion = "1.84a";

struct Options {
  bool headless = false;
  std::string script;
  int width = 240;
  int height = 320;
  int zoom = 0;  // none asked for: the window takes the zoom that fits the desktop
  bool help = false;
  bool version = false;
  std::vector<std::string> programArguments;  // the words after the options
};

// False with a one-line reason for an unknown option or a bad value.
bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error);

// The program's command line: its words joined by single spaces, as UTF-16.
std::u16string ProgramCommandLine(const Options& options);

std::string Usage();

}  // namespace platform_main
