#include "textlib/multimatch.h"

#include <algorithm>
#include <climits>
#include <deque>

namespace multimatch {

Matcher::Matcher(const std::vector<std::string_view>& patterns) {
  // The trie: state 0 is the root; a missing transition is -1 until the
  // failure links fill it in. Bytes no pattern holds share class 0, so a
  // row has one entry per distinct pattern byte and one for all the rest.
  std::size_t total = 1;
  for (std::string_view p : patterns) total += p.size();
  if (total > kMaxStates) {
    usable_ = false;
    return;
  }
  class_.fill(0);
  width_ = 1;
  for (std::string_view p : patterns) {
    for (char ch : p) {
      auto& c = class_[static_cast<unsigned char>(ch)];
      if (c == 0) c = static_cast<std::uint16_t>(width_++);
    }
  }
  next_.reserve(total * width_);
  next_.assign(width_, -1);
  first_.assign(1, INT32_MAX);
  ends_.assign(1, 0);
  for (std::size_t k = 0; k < patterns.size(); ++k) {
    if (patterns[k].empty()) continue;
    std::int32_t s = 0;
    for (char ch : patterns[k]) {
      const std::size_t at = static_cast<std::size_t>(s) * width_ + class_[static_cast<unsigned char>(ch)];
      if (next_[at] < 0) {
        next_[at] = static_cast<std::int32_t>(first_.size());
        first_.push_back(INT32_MAX);
        ends_.push_back(0);
        next_.resize(next_.size() + width_, -1);
      }
      s = next_[at];
    }
    first_[static_cast<std::size_t>(s)] = std::min(first_[static_cast<std::size_t>(s)], static_cast<std::int32_t>(k));
    if (k < 64) ends_[static_cast<std::size_t>(s)] |= std::uint64_t{1} << k;
  }
  // Breadth first: each state's missing transitions are those of its
  // failure state, and it ends every pattern its failure state ends.
  std::vector<std::int32_t> fail(first_.size(), 0);
  std::deque<std::int32_t> queue;
  for (std::size_t b = 0; b < width_; ++b) {
    std::int32_t& t = next_[b];
    if (t < 0) {
      t = 0;
    } else {
      fail[static_cast<std::size_t>(t)] = 0;
      queue.push_back(t);
    }
  }
  while (!queue.empty()) {
    const std::int32_t s = queue.front();
    queue.pop_front();
    const auto su = static_cast<std::size_t>(s);
    first_[su] = std::min(first_[su], first_[static_cast<std::size_t>(fail[su])]);
    ends_[su] |= ends_[static_cast<std::size_t>(fail[su])];
    for (std::size_t b = 0; b < width_; ++b) {
      std::int32_t& t = next_[su * width_ + b];
      const std::int32_t viaFail = next_[static_cast<std::size_t>(fail[su]) * width_ + b];
      if (t < 0) {
        t = viaFail;
      } else {
        fail[static_cast<std::size_t>(t)] = viaFail;
        queue.push_back(t);
      }
    }
  }
  Encode();
}

void Matcher::MarkStays() {
  for (std::size_t b = 0; b < 256; ++b) stays_[b] = next_[class_[b]] == 0;  // row 0, to state 0, ends nothing
}

void Matcher::Encode() {
  // Each transition becomes its target's row offset, doubled, with the low
  // bit set when the target ends a pattern: the search loop then needs no
  // multiplication, and looks a state up only where something ends.
  for (std::int32_t& t : next_) {
    const auto su = static_cast<std::size_t>(t);
    const bool ends = first_[su] != INT32_MAX;
    t = static_cast<std::int32_t>((su * width_) << 1 | (ends ? 1u : 0u));
  }
  MarkStays();
}

Matcher::Matcher(const std::vector<std::string_view>& patterns, const std::array<unsigned char, 256>& map)
    : Matcher(patterns) {
  if (!usable_) return;
  // A text byte goes through the map first, then to its class.
  std::array<std::uint16_t, 256> mapped;
  for (std::size_t b = 0; b < 256; ++b) mapped[b] = class_[map[b]];
  class_ = mapped;
  MarkStays();
}

// Bytes that leave the root where they stand are skipped by a loop of
// independent loads; the automaton itself (one load after the other) runs
// only from a byte that may start a pattern.
std::size_t Matcher::SkipAtRoot(std::string_view text, std::size_t i) const {
  while (i < text.size() && stays_[static_cast<unsigned char>(text[i])]) ++i;
  return i;
}

int Matcher::First(std::string_view text) const {
  std::size_t row = 0;
  std::int32_t best = INT32_MAX;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (row == 0 && (i = SkipAtRoot(text, i)) == text.size()) break;
    const auto v = static_cast<std::size_t>(next_[row + class_[static_cast<unsigned char>(text[i])]]);
    row = v >> 1;
    if (v & 1) best = std::min(best, first_[row / width_]);
  }
  return best == INT32_MAX ? -1 : best;
}

std::uint64_t Matcher::Occurring(std::string_view text) const {
  std::size_t row = 0;
  std::uint64_t found = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (row == 0 && (i = SkipAtRoot(text, i)) == text.size()) break;
    const auto v = static_cast<std::size_t>(next_[row + class_[static_cast<unsigned char>(text[i])]]);
    row = v >> 1;
    if (v & 1) found |= ends_[row / width_];
  }
  return found;
}

}  // namespace multimatch
