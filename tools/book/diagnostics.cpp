#include "diagnostics.h"

#include <cstdio>

namespace book {

std::string FormatPlace(const SourcePlace& place) {
  std::string text = place.File;
  if (place.Line > 0) text += ":" + std::to_string(place.Line);
  if (place.Line > 0 && place.Column > 0) text += ":" + std::to_string(place.Column);
  return text;
}

SourceError::SourceError(SourcePlace place, const std::string& message)
    : std::runtime_error(FormatPlace(place) + ": error: " + message), place_(std::move(place)) {}

void Warn(const SourcePlace& place, const std::string& message) {
  std::fprintf(stderr, "%s: warning: %s\n", FormatPlace(place).c_str(), message.c_str());
}

}  // namespace book
