#include "palmdoc.h"

#include <algorithm>

namespace book {

namespace {

// Bytes that only a literal run can carry.
bool NeedsLiteral(uint8_t b) { return (b >= 1 && b <= 8) || b >= 0x80; }

// A space and a byte 0x40..0x7F, which go into one byte.
bool SpacePair(const std::vector<uint8_t>& input, size_t pos) {
  return input[pos] == ' ' && pos + 1 < input.size() && input[pos + 1] >= 0x40 &&
         input[pos + 1] <= 0x7F;
}

// Finds, for each position, the longest earlier match through hash chains over
// three-byte prefixes; the chains reach back over the whole window, so the result is
// the one an exhaustive search gives (the nearest of equally long matches).
class MatchFinder {
 public:
  explicit MatchFinder(const std::vector<uint8_t>& input)
      : input_(input), head_(1 << 16, -1), previous_(input.size(), -1) {}

  // Makes position pos findable; positions are inserted in order.
  void Insert(size_t pos) {
    if (pos + PalmDocMinMatch > input_.size()) return;
    const uint32_t h = Hash(pos);
    previous_[pos] = head_[h];
    head_[h] = static_cast<long>(pos);
  }

  // Length and distance of the longest match at pos among inserted positions.
  std::pair<size_t, size_t> Longest(size_t pos) const {
    const size_t limit = std::min(PalmDocMaxMatch, input_.size() - pos);
    size_t bestLength = 0, bestDistance = 0;
    if (limit < PalmDocMinMatch) return {0, 0};
    for (long candidate = head_[Hash(pos)]; candidate >= 0; candidate = previous_[candidate]) {
      const size_t distance = pos - static_cast<size_t>(candidate);
      if (distance > PalmDocWindow) break;
      size_t length = 0;
      while (length < limit && input_[candidate + length] == input_[pos + length]) ++length;
      if (length > bestLength) {
        bestLength = length;
        bestDistance = distance;
        if (length == limit) break;
      }
    }
    return bestLength >= PalmDocMinMatch ? std::pair{bestLength, bestDistance} : std::pair{size_t(0), size_t(0)};
  }

 private:
  uint32_t Hash(size_t pos) const {
    return ((input_[pos] << 8) ^ (input_[pos + 1] << 4) ^ input_[pos + 2]) & 0xFFFF;
  }

  const std::vector<uint8_t>& input_;
  std::vector<long> head_;
  std::vector<long> previous_;
};

}  // namespace

std::vector<uint8_t> PalmDocCompress(const std::vector<uint8_t>& input) {
  std::vector<uint8_t> out;
  MatchFinder finder(input);
  size_t pos = 0;
  auto advance = [&](size_t count) {
    for (size_t k = 0; k < count; ++k) finder.Insert(pos++);
  };
  while (pos < input.size()) {
    const auto [length, distance] = finder.Longest(pos);
    if (length) {
      const unsigned pair = static_cast<unsigned>((distance << 3) | (length - PalmDocMinMatch));
      out.push_back(static_cast<uint8_t>(0x80 | (pair >> 8)));
      out.push_back(static_cast<uint8_t>(pair & 0xFF));
      advance(length);
    } else if (SpacePair(input, pos)) {
      out.push_back(static_cast<uint8_t>(input[pos + 1] ^ 0x80));
      advance(2);
    } else if (NeedsLiteral(input[pos])) {
      // A run of up to eight bytes; once begun it carries plain bytes too, which cost
      // one byte either way, and ends early where a match or a space pair can begin.
      const size_t countAt = out.size();
      out.push_back(0);
      size_t count = 0;
      do {
        out.push_back(input[pos]);
        advance(1);
        ++count;
      } while (count < 8 && pos < input.size() && !SpacePair(input, pos) &&
               finder.Longest(pos).first == 0);
      out[countAt] = static_cast<uint8_t>(count);
    } else {
      out.push_back(input[pos]);
      advance(1);
    }
  }
  return out;
}

}  // namespace book
