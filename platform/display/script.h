// Scripts for the headless screen: one command a line, read whole before the program
// starts; the headless display hands out each line's events once the program is idle.
// The format is described in docs/SCRIPT.md.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "display/display.h"

namespace display {

struct ScriptStep {
  enum class Kind { Events, Wait, Screenshot };
  Kind kind = Kind::Events;
  int line = 0;
  std::vector<Event> events;  // Events: given out one at a time
  int waitMs = 0;             // Wait
  std::string path;           // Screenshot
};

struct Script {
  std::vector<ScriptStep> steps;
};

struct ScriptError {
  int line = 0;
  std::string text;    // the line as written
  std::string reason;  // why it cannot be read
};

// Reads every line; the steps of the lines that could be read, and one error for each
// line that could not.
std::vector<ScriptError> ParseScript(std::istream& in, Script& script);

// Reads a script file. False, with one "FILE:LINE: REASON: TEXT" line on `errors` per bad
// line (or one line when the file cannot be opened), when it cannot be used.
bool LoadScript(const std::string& path, Script& script, std::ostream& errors);

// A key as the script names it ("Return", "F", "Ctrl+F", "Shift+Tab"): the key-down event
// (virtual key, modifiers, and the character it types when it types one). False for an
// unknown name.
bool ParseKey(std::string_view name, Event& down);

}  // namespace display
