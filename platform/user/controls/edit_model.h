// The text, selection and caret of an edit control, without a window: what the
// EM_* messages, typed characters and editing keys do to them. Positions count
// UTF-16 units; the text is kept in the order its units were given.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace user::edit {

class EditModel {
 public:
  static constexpr size_t kDefaultLimit = 32767;
  static constexpr size_t kMaxLimit = 0x7FFFFFFE;

  explicit EditModel(bool multiline = false) : multiline_(multiline) {}

  const std::u16string& text() const { return text_; }
  size_t length() const { return text_.size(); }
  // The selection as EM_GETSEL reports it: start <= end.
  size_t selStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  size_t selEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool hasSelection() const { return anchor_ != caret_; }
  // The caret is the selection's moving end.
  size_t caret() const { return caret_; }
  size_t limit() const { return limit_; }
  bool multiline() const { return multiline_; }

  // WM_SETTEXT: the whole text, whatever the limit; caret at the start.
  void setText(std::u16string_view text);
  // EM_SETSEL: start -1 removes the selection and leaves the caret; end -1 (any
  // negative end) means the end of the text; positions beyond the text are clamped.
  // The caret goes to end, so start > end selects backwards.
  void setSel(long start, long end);
  // EM_LIMITTEXT: 0 lifts the limit to the largest value.
  void setLimit(long limit);
  // EM_REPLACESEL: the selection (or nothing, at the caret) becomes text, cut to the
  // room the limit leaves (and at its first line break in a single-line control);
  // the caret follows the inserted text. True when the text changed.
  bool replaceSel(std::u16string_view text);

  // WM_CHAR: a character the user typed; backspace (8) deletes, Enter inserts a line
  // break in a multi-line control; other control characters are ignored. A character
  // that would pass the limit is refused. True when the text changed.
  bool typeChar(char16_t c);
  bool backspace();
  bool deleteForward();

  // Caret movement; with extend the anchor stays, so the selection grows or shrinks.
  void moveTo(size_t pos, bool extend);
  void left(bool extend);
  void right(bool extend);

 private:
  size_t clamp(long pos) const;
  size_t stepBack(size_t pos) const;
  size_t stepForward(size_t pos) const;
  void erase(size_t from, size_t to);

  std::u16string text_;
  size_t anchor_ = 0;
  size_t caret_ = 0;
  size_t limit_ = kDefaultLimit;
  bool multiline_;
};

}  // namespace user::edit
