// Reading scripts: commands, key names, numbers.
#include "display/script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

#include "kernel/utf.h"
#include "platform/keys.h"

namespace display {

namespace {

struct NamedKey {
  const char* name;
  uint32_t vk;
};

constexpr NamedKey kKeys[] = {
    {"return", VK_RETURN}, {"enter", VK_RETURN},     {"escape", VK_ESCAPE}, {"tab", VK_TAB},
    {"backspace", VK_BACK}, {"delete", VK_DELETE},   {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT},
    {"home", VK_HOME},     {"end", VK_END},          {"left", VK_LEFT},     {"up", VK_UP},
    {"right", VK_RIGHT},   {"down", VK_DOWN},        {"space", VK_SPACE},
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (auto& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string w; in >> w;) {
    if (w[0] == '#') break;  // a trailing comment
    words.push_back(w);
  }
  return words;
}

bool Number(const std::string& word, int& value, int minimum, int maximum) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc() && ptr == end && value >= minimum && value <= maximum;
}

bool Numbers(const std::vector<std::string>& words, size_t count, std::vector<int>& values,
             int minimum, int maximum) {
  if (words.size() != count + 1) return false;
  values.assign(count, 0);
  for (size_t i = 0; i < count; ++i)
    if (!Number(words[i + 1], values[i], minimum, maximum)) return false;
  return true;
}

// The virtual key of a bare name: a table name, F1..F12, one letter or one digit.
bool KeyCode(std::string_view name, uint32_t& vk, char32_t& ch) {
  std::string lower = Lower(name);
  ch = 0;
  for (const NamedKey& k : kKeys)
    if (lower == k.name) {
      vk = k.vk;
      if (vk == VK_SPACE) ch = U' ';
      return true;
    }
  int n = 0;
  if (lower.size() >= 2 && lower[0] == 'f' && Number(lower.substr(1), n, 1, 12)) {
    vk = VK_F1 + uint32_t(n - 1);
    return true;
  }
  if (name.size() != 1) return false;
  unsigned char c = static_cast<unsigned char>(name[0]);
  if (std::isalpha(c)) {
    vk = uint32_t(std::toupper(c));
    ch = char32_t(std::tolower(c));
    return true;
  }
  if (std::isdigit(c)) {
    vk = c;
    ch = c;
    return true;
  }
  return false;
}

Event Make(EventKind kind, int x = 0, int y = 0) {
  Event e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  return e;
}

void KeyEvents(const Event& down, std::vector<Event>& events) {
  events.push_back(down);
  Event up = down;
  up.kind = EventKind::KeyUp;
  up.ch = 0;
  events.push_back(up);
}

bool TextEvents(std::string_view text, std::vector<Event>& events) {
  std::u16string units = kernel::Utf8ToUtf16(text);
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    Event e = Make(EventKind::Char);
    e.ch = c;
    events.push_back(e);
  }
  return !events.empty();
}

// Down at the start, moves about every 8 pixels (at most 16), up at the end.
void DragEvents(const std::vector<int>& v, std::vector<Event>& events) {
  events.push_back(Make(EventKind::StylusDown, v[0], v[1]));
  int distance = std::max(std::abs(v[2] - v[0]), std::abs(v[3] - v[1]));
  int moves = std::clamp(distance / 8, 1, 16);
  for (int i = 1; i <= moves; ++i)
    events.push_back(Make(EventKind::StylusMove, v[0] + (v[2] - v[0]) * i / moves,
                          v[1] + (v[3] - v[1]) * i / moves));
  events.push_back(Make(EventKind::StylusUp, v[2], v[3]));
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// One line: true with its step (or no step for a blank or comment line), or false with
// the reason it cannot be read.
bool ParseLine(std::string_view line, ScriptStep& step, bool& hasStep, std::string& reason) {
  hasStep = false;
  std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] == '#') return true;
  size_t space = trimmed.find_first_of(" \t");
  std::string command = Lower(trimmed.substr(0, space));
  std::string_view rest = space == std::string_view::npos ? "" : Trim(trimmed.substr(space));
  std::vector<std::string> words = Words(trimmed);
  std::vector<int> v;
  step = ScriptStep{};
  hasStep = true;
  constexpr int kFar = 1 << 20;
  if (command == "key") {
    if (words.size() < 2) return reason = "key needs at least one key name", false;
    for (size_t i = 1; i < words.size(); ++i) {
      Event down;
      if (!ParseKey(words[i], down)) return reason = "unknown key \"" + words[i] + "\"", false;
      KeyEvents(down, step.events);
    }
  } else if (command == "text") {
    std::string_view text = space == std::string_view::npos ? "" : trimmed.substr(space + 1);
    if (!TextEvents(text, step.events)) return reason = "text needs characters", false;
  } else if (command == "tap") {
    if (!Numbers(words, 2, v, -kFar, kFar)) return reason = "tap needs X Y", false;
    step.events = {Make(EventKind::StylusDown, v[0], v[1]), Make(EventKind::StylusUp, v[0], v[1])};
  } else if (command == "drag") {
    if (!Numbers(words, 4, v, -kFar, kFar)) return reason = "drag needs X1 Y1 X2 Y2", false;
    DragEvents(v, step.events);
  } else if (command == "wait") {
    if (!Numbers(words, 1, v, 0, 24 * 3600 * 1000)) return reason = "wait needs MS", false;
    step.kind = ScriptStep::Kind::Wait;
    step.waitMs = v[0];
  } else if (command == "screenshot") {
    if (rest.empty()) return reason = "screenshot needs PATH", false;
    step.kind = ScriptStep::Kind::Screenshot;
    step.path = std::string(rest);
  } else if (command == "windows") {
    if (words.size() != 1) return reason = "windows takes nothing", false;
    step.events = {Make(EventKind::ListWindows)};
  } else if (command == "resize") {
    if (!Numbers(words, 2, v, 1, 8192)) return reason = "resize needs W H", false;
    Event e = Make(EventKind::Resize);
    e.width = v[0];
    e.height = v[1];
    step.events = {e};
  } else if (command == "quit") {
    if (words.size() != 1) return reason = "quit takes nothing", false;
    step.events = {Make(EventKind::Quit)};
  } else {
    return reason = "unknown command", false;
  }
  return true;
}

}  // namespace

bool ParseKey(std::string_view name, Event& down) {
  down = Event{};
  down.kind = EventKind::KeyDown;
  for (;;) {
    size_t plus = name.find('+');
    if (plus == std::string_view::npos || plus + 1 == name.size()) break;
    std::string modifier = Lower(name.substr(0, plus));
    if (modifier == "ctrl") down.modifiers |= ModCtrl;
    else if (modifier == "alt") down.modifiers |= ModAlt;
    else if (modifier == "shift") down.modifiers |= ModShift;
    else return false;
    name.remove_prefix(plus + 1);
  }
  char32_t ch = 0;
  if (!KeyCode(name, down.key, ch)) return false;
  if (down.modifiers & (ModCtrl | ModAlt)) ch = 0;
  else if ((down.modifiers & ModShift) && ch >= U'a' && ch <= U'z') ch = ch - U'a' + U'A';
  else if ((down.modifiers & ModShift) && ch != U' ') ch = 0;
  down.ch = ch;
  return true;
}

std::vector<ScriptError> ParseScript(std::istream& in, Script& script) {
  std::vector<ScriptError> errors;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ScriptStep step;
    bool hasStep = false;
    std::string reason;
    if (!ParseLine(line, step, hasStep, reason)) {
      errors.push_back(ScriptError{number, line, reason});
      continue;
    }
    if (!hasStep) continue;
    step.line = number;
    script.steps.push_back(std::move(step));
  }
  return errors;
}

bool LoadScript(const std::string& path, Script& script, std::ostream& errors) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    errors << path << ": cannot open the script\n";
    return false;
  }
  std::vector<ScriptError> bad = ParseScript(in, script);
  for (const ScriptError& e : bad)
    errors << path << ":" << e.line << ": " << e.reason << ": " << e.text << "\n";
  return bad.empty();
}

}  // namespace display
