// vintrel-book: compiles the reader's book from its readable sources and inspects a
// built book from the terminal, with the program's own decoder and calendar.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"

namespace {

const char* const Usage =
    "usage: vintrel-book COMMAND ...\n"
    "\n"
    "  build SRC OUT               compile the sources in SRC (lessons/NNN.txt, index.txt,\n"
    "                              closing.txt) into OUT: lesson001.bin ... lesson267.bin,\n"
    "                              index.bin, book.rc and closing.inc\n"
    "  dump N [--book DIR]         lesson N as UTF-8 in reading order, one paragraph a line\n"
    "  today [--date YYYY-MM-DD] [--book DIR]\n"
    "                              the Hebrew date, its lesson and the lesson's first heading\n"
    "  check [DIR] [--strict]      check a built book against the format rules and print its\n"
    "                              profile; --strict also fails on values outside the stored\n"
    "                              edition's ranges\n"
    "  search PATTERN [--book DIR] every match of PATTERN through the book, in book order,\n"
    "                              one line each: lesson, its heading, the paragraph with\n"
    "                              the match between [[ and ]]. PATTERN is Hebrew in reading\n"
    "                              order; * stands for any run, ? for any one character;\n"
    "                              vowel points are ignored. Exit codes: 0 found, 1 not\n"
    "                              found, 2 a bad pattern, 3 the book cannot be read\n"
    "  --help                      this text\n"
    "\n"
    "DIR defaults to the book installed with the program (" VINTREL_BOOK_INSTALLED_DIR "\n"
    "from the program's folder) or, in the build tree, " VINTREL_BOOK_DEFAULT_DIR ".\n"
    "Exit codes: 0 done, 1 a fault in the book or its sources, 2 a wrong command line.\n";

// The book installed beside this program when there is one, else the build's.
std::string DefaultBookDir() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path installed = program.parent_path() / VINTREL_BOOK_INSTALLED_DIR;
    if (std::filesystem::is_regular_file(installed / "index.bin", error)) return installed.lexically_normal();
  }
  return VINTREL_BOOK_DEFAULT_DIR;
}

int WrongUsage(const std::string& why) {
  std::fprintf(stderr, "vintrel-book: %s\n\n%s", why.c_str(), Usage);
  return 2;
}

// Takes "--name value" out of args; nullopt when absent. Sets *bad when the value is missing.
std::optional<std::string> TakeOption(std::vector<std::string>& args, const char* name, bool* bad) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != name) continue;
    if (i + 1 >= args.size()) {
      *bad = true;
      return std::nullopt;
    }
    std::string value = args[i + 1];
    args.erase(args.begin() + i, args.begin() + i + 2);
    return value;
  }
  return std::nullopt;
}

bool TakeFlag(std::vector<std::string>& args, const char* name) {
  for (size_t i = 0; i < args.size(); ++i)
    if (args[i] == name) {
      args.erase(args.begin() + i);
      return true;
    }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return WrongUsage("no command");
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::printf("%s", Usage);
    return 0;
  }
  bool bad = false;
  const std::string book = TakeOption(args, "--book", &bad).value_or(DefaultBookDir());
  if (bad) return WrongUsage("--book needs a folder");
  if (command == "build") {
    if (args.size() != 2) return WrongUsage("build takes SRC and OUT");
    return book::BuildCommand(args[0], args[1]);
  }
  if (command == "dump") {
    char* end = nullptr;
    const long n = args.size() == 1 ? std::strtol(args[0].c_str(), &end, 10) : 0;
    if (args.size() != 1 || *end != '\0') return WrongUsage("dump takes one lesson number");
    return book::DumpCommand(static_cast<int>(n), book);
  }
  if (command == "today") {
    const std::optional<std::string> date = TakeOption(args, "--date", &bad);
    if (bad || !args.empty()) return WrongUsage("today takes --date YYYY-MM-DD and --book DIR");
    return book::TodayCommand(date, book);
  }
  if (command == "check") {
    const bool strict = TakeFlag(args, "--strict");
    if (args.size() > 1) return WrongUsage("check takes one folder");
    return book::CheckCommand(args.empty() ? book : args[0], strict);
  }
  if (command == "search") {
    if (args.size() != 1) return WrongUsage("search takes one pattern");
    return book::SearchCommand(args[0], book);
  }
  return WrongUsage("unknown command '" + command + "'");
}
