#include "include_rules.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace layering {
namespace {

const char* const PlatformLayers[] = {"kernel", "gdi", "user", "shell", "display", "main"};

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t`");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t`");
  return text.substr(first, last - first + 1);
}

// The cells of a table row "| a | b |", trimmed; empty when the line is no row.
std::vector<std::string> Cells(const std::string& line) {
  std::string row = Trim(line);
  if (row.size() < 2 || row.front() != '|' || row.back() != '|') return {};
  std::vector<std::string> cells;
  std::stringstream in(row.substr(1, row.size() - 2));
  std::string cell;
  while (std::getline(in, cell, '|')) cells.push_back(Trim(cell));
  return cells;
}

std::vector<std::string> List(const std::string& cell) {
  std::vector<std::string> items;
  std::stringstream in(cell);
  std::string item;
  while (std::getline(in, item, ',')) {
    item = Trim(item);
    if (!item.empty() && item != "-" && item != "—") items.push_back(item);
  }
  return items;
}

bool Within(const std::string& path, const std::string& entry) {
  return path == entry || path.rfind(entry + "/", 0) == 0;
}

std::string FirstComponent(const std::string& path) { return path.substr(0, path.find('/')); }

// The folder of the rules that holds `file` (the longest match), or "".
std::string FolderOf(const std::string& file, const Rules& rules) {
  std::string best;
  for (const auto& [folder, entries] : rules.mayInclude)
    if (Within(file, folder) && folder.size() > best.size()) best = folder;
  return best;
}

// The tree path a quoted include names, by the include directories the build sets: the
// platform's public headers, the platform's own folder (for its layers), the tree's
// root (for the program's folders), else the including file's folder.
std::string Resolve(const std::string& included, const std::string& file, const Rules& rules) {
  if (included == "platform.h" || included.rfind("platform/", 0) == 0)
    return "platform/include/" + included;
  std::string first = FirstComponent(included);
  for (const char* layer : PlatformLayers)
    if (first == layer && included.find('/') != std::string::npos) return "platform/" + included;
  if (included.find('/') != std::string::npos) {
    for (const auto& [folder, entries] : rules.mayInclude)
      if (FirstComponent(folder) == first) return included;
  }
  return fs::path(file).parent_path().append(included).lexically_normal().generic_string();
}

// The library a system include belongs to, or "" for the C and C++ libraries.
std::string LibraryOf(const std::string& included) {
  if (included == "SDL.h" || included.rfind("SDL2/", 0) == 0 || included.rfind("SDL_", 0) == 0)
    return "SDL2";
  if (included == "ft2build.h" || included.rfind("freetype/", 0) == 0 ||
      included.rfind("FT_", 0) == 0)
    return "FreeType";
  if (included.rfind("fontconfig/", 0) == 0) return "fontconfig";
  if (included == "png.h") return "libpng";
  return "";
}

void CheckQuoted(const std::string& file, int line, const std::string& included,
                 const std::string& folder, const Rules& rules, std::vector<Violation>& out) {
  std::string target = Resolve(included, file, rules);
  if (Within(target, folder)) return;
  for (const std::string& entry : rules.mayInclude.at(folder))
    if (Within(target, entry)) return;
  out.push_back({file, line, folder + " may not include " + target});
}

void CheckLibrary(const std::string& file, int line, const std::string& library,
                  const std::string& folder, const Rules& rules, std::vector<Violation>& out) {
  auto found = rules.libraryOnlyIn.find(library);
  if (found == rules.libraryOnlyIn.end()) return;
  for (const std::string& entry : found->second)
    if (Within(folder, entry)) return;
  out.push_back({file, line, library + " is not for " + folder});
}

void CheckFile(const std::string& file, const std::string& folder, const fs::path& path,
               const Rules& rules, std::vector<Violation>& out) {
  static const std::regex quoted(R"re(^\s*#\s*include\s*"([^"]+)")re");
  static const std::regex angled(R"(^\s*#\s*include\s*<([^>]+)>)");
  static const std::regex macro(R"(^\s*#\s*include\s+([A-Z_][A-Z0-9_]*))");
  std::ifstream in(path);
  std::string text;
  std::smatch match;
  for (int line = 1; std::getline(in, text); ++line) {
    if (std::regex_search(text, match, quoted))
      CheckQuoted(file, line, match[1], folder, rules, out);
    else if (std::regex_search(text, match, angled) || std::regex_search(text, match, macro))
      CheckLibrary(file, line, LibraryOf(match[1]), folder, rules, out);
  }
}

bool IsSource(const fs::path& path) {
  std::string extension = path.extension().string();
  return extension == ".h" || extension == ".cpp" || extension == ".c";
}

}  // namespace

Rules ParseRules(const std::string& markdown) {
  Rules rules;
  std::map<std::string, std::vector<std::string>>* table = nullptr;
  std::stringstream in(markdown);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> cells = Cells(line);
    if (cells.size() != 2) {
      table = nullptr;
      continue;
    }
    if (cells[0] == "folder" && cells[1] == "may include")
      table = &rules.mayInclude;
    else if (cells[0] == "library" && cells[1] == "only in")
      table = &rules.libraryOnlyIn;
    else if (table && cells[0].find_first_not_of("-: ") != std::string::npos)
      (*table)[cells[0]] = List(cells[1]);
  }
  return rules;
}

std::vector<Violation> CheckTree(const std::string& root, const Rules& rules) {
  std::vector<Violation> violations;
  std::vector<fs::path> files;
  for (const auto& [folder, entries] : rules.mayInclude) {
    fs::path top = fs::path(root) / folder;
    if (!fs::is_directory(top)) continue;
    for (const auto& item : fs::recursive_directory_iterator(top))
      if (item.is_regular_file() && IsSource(item.path())) files.push_back(item.path());
  }
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  for (const fs::path& path : files) {
    std::string file = fs::relative(path, root).generic_string();
    std::string folder = FolderOf(file, rules);
    if (!folder.empty()) CheckFile(file, folder, path, rules, violations);
  }
  return violations;
}

}  // namespace layering
