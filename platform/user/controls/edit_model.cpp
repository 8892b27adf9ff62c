#include "user/controls/edit_model.h"

namespace user::edit {

void EditModel::setText(std::u16string_view text) {
  text_.assign(text);
  anchor_ = caret_ = 0;
}

size_t EditModel::clamp(long pos) const {
  if (pos < 0) return text_.size();
  return size_t(pos) > text_.size() ? text_.size() : size_t(pos);
}

void EditModel::setSel(long start, long end) {
  if (start == -1) {
    anchor_ = caret_;
    return;
  }
  anchor_ = clamp(start);
  caret_ = clamp(end);
}

void EditModel::setLimit(long limit) {
  limit_ = limit <= 0 ? kMaxLimit : size_t(limit);
}

bool EditModel::replaceSel(std::u16string_view text) {
  if (!multiline_) {
    size_t br = text.find_first_of(u"\r\n");
    if (br != std::u16string_view::npos) text = text.substr(0, br);
  }
  size_t from = selStart(), to = selEnd();
  size_t remaining = text_.size() - (to - from);
  size_t room = limit_ > remaining ? limit_ - remaining : 0;
  if (text.size() > room) text = text.substr(0, room);
  if (text.empty() && from == to) return false;
  text_.replace(from, to - from, text);
  anchor_ = caret_ = from + text.size();
  return true;
}

bool EditModel::typeChar(char16_t c) {
  if (c == 0x08) return backspace();
  if (c == u'\r' || c == u'\n') {
    if (!multiline_) return false;
    if (text_.size() - (selEnd() - selStart()) + 2 > limit_) return false;
    return replaceSel(u"\r\n");
  }
  if (c < 0x20 && !(c == u'\t' && multiline_)) return false;
  if (text_.size() - (selEnd() - selStart()) + 1 > limit_) return false;
  char16_t unit[1] = {c};
  return replaceSel(std::u16string_view(unit, 1));
}

void EditModel::erase(size_t from, size_t to) {
  text_.erase(from, to - from);
  anchor_ = caret_ = from;
}

bool EditModel::backspace() {
  if (hasSelection()) {
    erase(selStart(), selEnd());
    return true;
  }
  if (caret_ == 0) return false;
  erase(stepBack(caret_), caret_);
  return true;
}

bool EditModel::deleteForward() {
  if (hasSelection()) {
    erase(selStart(), selEnd());
    return true;
  }
  if (caret_ >= text_.size()) return false;
  erase(caret_, stepForward(caret_));
  return true;
}

// A line break "\r\n" counts as one step.
size_t EditModel::stepBack(size_t pos) const {
  if (pos == 0) return 0;
  if (pos >= 2 && text_[pos - 1] == u'\n' && text_[pos - 2] == u'\r') return pos - 2;
  return pos - 1;
}

size_t EditModel::stepForward(size_t pos) const {
  if (pos >= text_.size()) return text_.size();
  if (text_[pos] == u'\r' && pos + 1 < text_.size() && text_[pos + 1] == u'\n') return pos + 2;
  return pos + 1;
}

void EditModel::moveTo(size_t pos, bool extend) {
  caret_ = pos > text_.size() ? text_.size() : pos;
  if (!extend) anchor_ = caret_;
}

void EditModel::left(bool extend) {
  if (!extend && hasSelection()) return moveTo(selStart(), false);
  moveTo(stepBack(caret_), extend);
}

void EditModel::right(bool extend) {
  if (!extend && hasSelection()) return moveTo(selEnd(), false);
  moveTo(stepForward(caret_), extend);
}

}  // namespace user::edit
