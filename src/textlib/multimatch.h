// Many byte patterns searched in one pass over a text (Aho-Corasick, a
// table row per state and a column per pattern byte): which of them occur,
// the first in their own order found at once, so a list of patterns costs
// no more than one.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace multimatch {

class Matcher {
 public:
  // The patterns in their order; an empty one never occurs. Usable() is
  // false when the table would pass kMaxStates states (then search plainly).
  explicit Matcher(const std::vector<std::string_view>& patterns);
  // Searches texts as if each byte were first mapped through map (the
  // patterns are given mapped already).
  Matcher(const std::vector<std::string_view>& patterns, const std::array<unsigned char, 256>& map);
  static constexpr std::size_t kMaxStates = 8192;
  bool Usable() const { return usable_; }
  // The position (0-based, in the order given) of the first pattern that
  // occurs anywhere in text; -1 when none does.
  int First(std::string_view text) const;
  // Bit k set for each of the first 64 patterns that occurs in text.
  std::uint64_t Occurring(std::string_view text) const;

 private:
  void Encode();
  void MarkStays();
  std::size_t SkipAtRoot(std::string_view text, std::size_t i) const;
  bool usable_ = true;
  std::array<std::uint16_t, 256> class_{};  // byte -> its column in a row
  std::array<bool, 256> stays_{};           // bytes that keep the root at the root
  std::size_t width_ = 1;                   // columns in a row
  // state * width_ + class -> the target's state * width_, doubled, plus 1
  // when it ends a pattern.
  std::vector<std::int32_t> next_;
  std::vector<std::int32_t> first_;  // state -> the first pattern ending here or in a suffix, or INT32_MAX
  std::vector<std::uint64_t> ends_;  // state -> the first 64 patterns ending here or in a suffix
};

}  // namespace multimatch
