// The items, selection and scroll position of a list box, without a window: what the
// LB_* messages do to them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace user::listbox {

constexpr int kError = -1;       // LB_ERR
constexpr int kErrorSpace = -2;  // LB_ERRSPACE

// Ordinal comparison of UTF-16 units after folding ASCII letters to upper case.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);

class ListModel {
 public:
  explicit ListModel(bool sorted = false) : sorted_(sorted) {}

  int count() const { return int(items_.size()); }
  int selection() const { return selection_; }
  int topIndex() const { return top_; }
  bool valid(int index) const { return index >= 0 && index < count(); }
  const std::u16string& text(int index) const { return items_[size_t(index)].text; }

  void reset();
  // LB_ADDSTRING: at its sorted place (after equal items) or at the end.
  int add(std::u16string_view text);
  // LB_INSERTSTRING: at index, -1 for the end; never sorted. LB_ERR beyond the end.
  int insert(int index, std::u16string_view text);
  // LB_DELETESTRING: the count left, or LB_ERR.
  int remove(int index);
  // LB_FINDSTRING: the first item after start (wrapping round; -1 searches all from
  // the top) that begins with prefix, without regard to case; LB_ERR when none.
  int findPrefix(int start, std::u16string_view prefix) const;
  int findExact(int start, std::u16string_view text) const;
  // LB_SETCURSEL: -1 clears the selection (and answers LB_ERR, as LB_SETCURSEL does);
  // an index beyond the items answers LB_ERR and changes nothing.
  int setSelection(int index);
  uintptr_t data(int index) const { return items_[size_t(index)].data; }
  void setData(int index, uintptr_t data) { items_[size_t(index)].data = data; }

  // The scroll position for a view showing visibleRows rows: the top index never
  // leaves rows empty below the last item when there are enough items.
  int maxTop(int visibleRows) const;
  int setTop(int index, int visibleRows);
  // Scrolls as little as possible so that index is in view.
  void ensureVisible(int index, int visibleRows);

 private:
  struct Item {
    std::u16string text;
    uintptr_t data = 0;
  };
  int insertAt(size_t index, std::u16string_view text);
  // The first item after start (wrapping round; -1 starts at the top) whose text
  // matches; LB_ERR when none.
  template <typename Matches>
  int findAfter(int start, Matches matches) const;

  std::vector<Item> items_;
  int selection_ = -1;
  int top_ = 0;
  bool sorted_;
};

}  // namespace user::listbox
