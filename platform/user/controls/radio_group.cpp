#include "user/controls/radio_group.h"

namespace user::buttons {

std::pair<size_t, size_t> GroupRange(const std::vector<bool>& startsGroup, size_t index) {
  if (index >= startsGroup.size()) return {index, index};
  size_t first = index;
  while (first > 0 && !startsGroup[first]) --first;
  size_t last = index + 1;
  while (last < startsGroup.size() && !startsGroup[last]) ++last;
  return {first, last};
}

}  // namespace user::buttons
