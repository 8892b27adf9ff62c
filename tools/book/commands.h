// The terminal commands of vintrel-book. Each returns the process exit code: 0 done,
// 1 a fault in the input (reported on stderr), 2 a wrong command line; the search has
// codes of its own.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace book {

int BuildCommand(const std::filesystem::path& sources, const std::filesystem::path& out);
int DumpCommand(int lesson, const std::filesystem::path& book);
// date: YYYY-MM-DD, or today's local date when absent.
int TodayCommand(const std::optional<std::string>& date, const std::filesystem::path& book);
int CheckCommand(const std::filesystem::path& book, bool strict);
// Every match of the pattern (reading order, Unicode Hebrew with `*` and `?`) through the
// book: 0 when something matched, 1 when nothing did, 2 for a pattern that gives no
// search, 3 when the book cannot be read whole.
int SearchCommand(const std::string& pattern, const std::filesystem::path& book);

}  // namespace book
