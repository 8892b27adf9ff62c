// Which controls form the group of an automatic radio button: from the nearest
// control at or before it that starts a group (WS_GROUP; the first control always
// does) up to the next control that starts one.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace user::buttons {

// [first, last) of the group holding index, over the siblings' WS_GROUP flags.
std::pair<size_t, size_t> GroupRange(const std::vector<bool>& startsGroup, size_t index);

}  // namespace user::buttons
