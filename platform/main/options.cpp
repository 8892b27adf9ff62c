// Options: --headless, --script FILE, --screen WxH, --zoom N, --help, --version; "--"
// or the first word that is not an option ends them. "--name=value" works too.
#include "main/options.h"

#include <charconv>

#include "kernel/utf.h"

namespace platform_main {

namespace {

bool Number(std::string_view text, int& value, int minimum, int maximum) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= minimum &&
         value <= maximum;
}

bool ScreenSize(const std::string& text, Options& options) {
  size_t x = text.find('x');
  return x != std::string::npos && Number(std::string_view(text).substr(0, x), options.width, 1, 8192) &&
         Number(std::string_view(text).substr(x + 1), options.height, 1, 8192);
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
  size_t i = 0;
  for (; i < arguments.size(); ++i) {
    std::string word = arguments[i];
    if (word == "--") {
      ++i;
      break;
    }
    if (word.rfind("--", 0) != 0) break;
    std::string value;
    bool inlineValue = false;
    if (size_t eq = word.find('='); eq != std::string::npos) {
      value = word.substr(eq + 1);
      word = word.substr(0, eq);
      inlineValue = true;
    }
    bool takesValue = word == "--script" || word == "--screen" || word == "--zoom";
    if (!takesValue && inlineValue) return error = word + " takes no value", false;
    if (takesValue && !inlineValue) {
      if (i + 1 >= arguments.size()) return error = word + " needs a value", false;
      value = arguments[++i];
    }
    if (word == "--headless") options.headless = true;
    else if (word == "--help") options.help = true;
    else if (word == "--version") options.version = true;
    else if (word == "--script") {
      if (value.empty()) return error = "--script needs a file", false;
      options.script = value;
    } else if (word == "--screen") {
      if (!ScreenSize(value, options)) return error = "--screen needs WIDTHxHEIGHT, not \"" + value + "\"", false;
    } else if (word == "--zoom") {
      if (!Number(value, options.zoom, 1, 16)) return error = "--zoom needs a number from 1 to 16, not \"" + value + "\"", false;
    } else {
      return error = "unknown option " + word, false;
    }
  }
  options.programArguments.assign(arguments.begin() + long(i), arguments.end());
  return true;
}

std::u16string ProgramCommandLine(const Options& options) {
  std::string joined;
  for (const std::string& word : options.programArguments) {
    if (!joined.empty()) joined += ' ';
    joined += word;
  }
  return kernel::Utf8ToUtf16(joined);
}

std::string Usage() {
  return std::string("usage: ") + kProgramName +
         " [--headless] [--script FILE] [--screen WxH] [--zoom N] [--help] [--version] [--] "
         "[program arguments]\n"
         "  --headless      run on an in-memory screen instead of a window\n"
         "  --script FILE   drive the headless screen from FILE (see vintrel(1))\n"
         "  --screen WxH    screen size in pixels (default 240x320)\n"
         "  --zoom N        window pixels per screen pixel (default: the largest from 1\n"
         "                  to 4 at which the window fits the desktop)\n"
         "  --help          show this help\n"
         "  --version       show the program's name and version\n";
}

}  // namespace platform_main
