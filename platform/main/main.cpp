// The platform's main: takes the platform's options, installs the display, catches the
// termination signals, registers the built-in window classes, starts the shell, then
// runs the program's WinMain with the rest of the command line.
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "display/headless.h"
#include "display/script.h"
#include "display/sdl_module.h"
#include "main/options.h"
#include "shell/shell.h"
#include "user/system.h"
#include "platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

using namespace platform_main;

int Fail(const std::string& message) {
  std::cerr << kProgramName << ": " << message << "\n" << Usage();
  return 2;
}

// 0 when the display is installed, else the exit code.
int InstallDisplay(const Options& options) {
  if (options.headless) {
    display::Script script;
    if (!options.script.empty() && !display::LoadScript(options.script, script, std::cerr)) return 2;
    display::Install(display::CreateHeadless(options.width, options.height, std::move(script)));
    return 0;
  }
  std::string error;
  auto window = display::OpenSdlDisplay(options.width, options.height, options.zoom, error);
  if (!window) {
    std::cerr << kProgramName << ": no display: " << error
              << " (use --headless to run on an in-memory screen)\n";
    return 1;
  }
  display::Install(std::move(window));
  return 0;
}

// Everything before the program starts; -1 when it is to start, else the exit code.
int Prepare(int argc, char** argv, std::u16string& commandLine) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  Options options;
  std::string error;
  if (!ParseOptions(arguments, options, error)) return Fail(error);
  if (options.help) {
    std::cout << Usage();
    return 0;
  }
  if (options.version) {
    std::cout << kProgramName << " " << kProgramVersion << "\n";
    return 0;
  }
  if (!options.script.empty() && !options.headless) return Fail("--script needs --headless");
  if (int code = InstallDisplay(options)) return code;
  // Ctrl-C, kill and a closed session close the program as the system's close would.
  user::CloseOnTerminationRequests();
  // The system's own classes exist from the start, as on the handheld.
  user::RegisterBuiltInClasses();
  shell::Start();
  commandLine = ProgramCommandLine(options);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::u16string commandLine;
  try {
    if (int code = Prepare(argc, argv, commandLine); code >= 0) return code;
  } catch (const std::bad_alloc&) {
    std::cerr << kProgramName << ": not enough memory to start\n";
    return 1;
  }
  // The program runs outside any catch: nothing it calls lets an exception through.
  int result = WinMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOW);
  std::cout.flush();
  return result;
}
