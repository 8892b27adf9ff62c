#include "user/controls/listbox_model.h"

namespace user::listbox {
namespace {

char16_t Fold(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

}  // namespace

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    char16_t x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

void ListModel::reset() {
  items_.clear();
  selection_ = -1;
  top_ = 0;
}

int ListModel::insertAt(size_t index, std::u16string_view text) {
  items_.insert(items_.begin() + ptrdiff_t(index), Item{std::u16string(text), 0});
  if (selection_ >= int(index)) ++selection_;
  return int(index);
}

int ListModel::add(std::u16string_view text) {
  size_t at = items_.size();
  if (sorted_) {
    at = 0;
    while (at < items_.size() && CompareNoCase(items_[at].text, text) <= 0) ++at;
  }
  return insertAt(at, text);
}

int ListModel::insert(int index, std::u16string_view text) {
  if (index == -1) return insertAt(items_.size(), text);
  if (index < 0 || index > count()) return kError;
  return insertAt(size_t(index), text);
}

int ListModel::remove(int index) {
  if (!valid(index)) return kError;
  items_.erase(items_.begin() + index);
  if (selection_ == index)
    selection_ = -1;
  else if (selection_ > index)
    --selection_;
  if (top_ >= count() && top_ > 0) top_ = count() > 0 ? count() - 1 : 0;
  return count();
}

template <typename Matches>
int ListModel::findAfter(int start, Matches matches) const {
  int n = count();
  if (n == 0) return kError;
  int first = (start < 0 || start >= n) ? 0 : start + 1;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    if (matches(items_[size_t(i)].text)) return i;
  }
  return kError;
}

int ListModel::findPrefix(int start, std::u16string_view prefix) const {
  return findAfter(start, [prefix](std::u16string_view item) { return StartsWithNoCase(item, prefix); });
}

int ListModel::findExact(int start, std::u16string_view text) const {
  return findAfter(start, [text](std::u16string_view item) { return CompareNoCase(item, text) == 0; });
}

int ListModel::setSelection(int index) {
  if (index == -1) {
    selection_ = -1;
    return kError;
  }
  if (!valid(index)) return kError;
  selection_ = index;
  return index;
}

int ListModel::maxTop(int visibleRows) const {
  if (visibleRows < 1) visibleRows = 1;
  return count() > visibleRows ? count() - visibleRows : 0;
}

int ListModel::setTop(int index, int visibleRows) {
  if (!valid(index) && !(index == 0 && count() == 0)) return kError;
  int m = maxTop(visibleRows);
  top_ = index > m ? m : index;
  return 0;
}

void ListModel::ensureVisible(int index, int visibleRows) {
  if (!valid(index)) return;
  if (visibleRows < 1) visibleRows = 1;
  if (index < top_) top_ = index;
  else if (index >= top_ + visibleRows) top_ = index - visibleRows + 1;
}

}  // namespace user::listbox
