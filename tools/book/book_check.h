// Checks a built book against the rules of the record, article and index formats, and
// measures its profile against the ranges of the stored edition's data.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace book {

struct CheckReport {
  std::vector<std::string> Errors;  // format rules broken: the book is not usable
  std::vector<std::string> Notes;   // profile values outside the stored edition's ranges
  std::string Profile;              // the measured profile, one value per line
};

CheckReport CheckBook(const std::filesystem::path& folder);

}  // namespace book
