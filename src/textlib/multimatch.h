// Many byte patterns searched in one pass over a text (Aho-Corasick): which
// of them occur, or the first in their own order, found at once, so a list
// of patterns costs no more than one. Any number of patterns: the states
// nearest the root keep a table row each (up to 16,384 cells, 64 KiB, in all), the deeper
// ones of a large automaton only the transitions they have. A pattern matches bytes; a
// character is never matched in part, because no byte of an escape (units.h) can start or end
// another character.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace multimatch {

class Matcher {
 public:
  // The patterns in their order; an empty one never occurs.
  explicit Matcher(const std::vector<std::string_view>& patterns);
  // Searches texts as if each byte were first mapped through map (the
  // patterns are given mapped already).
  Matcher(const std::vector<std::string_view>& patterns, const std::array<unsigned char, 256>& map);
  // The position (0-based, in the order given) of the first pattern that
  // occurs anywhere in text; -1 when none does.
  int First(std::string_view text) const;
  // The positions, ascending and each once, of the patterns from `from` on
  // that occur in text, into out (its earlier content replaced). The
  // matcher keeps scratch room of its own: one search at a time.
  void Occurring(std::string_view text, std::vector<std::uint32_t>& out,
                 std::uint32_t from = 0) const;
  // True when every state keeps a whole row.
  bool Dense() const { return denseStates_ == fail_.size(); }

 private:
  static constexpr std::size_t kDenseCells = std::size_t{1} << 14;
  struct Trie {
    std::vector<std::int32_t> parent;  // node -> its parent, -1 for the root
    std::vector<std::uint16_t> via;    // node -> the class of the byte from its parent
    std::vector<std::pair<std::int32_t, std::uint32_t>> ends;  // (node, pattern) for each pattern
  };
  void Build(const std::vector<std::string_view>& patterns,
             const std::array<unsigned char, 256>* map);
  Trie MakeTrie(const std::vector<std::string_view>& patterns);
  void Renumber(Trie& trie);
  void MarkStays();
  std::size_t SkipByWords(std::string_view text, std::size_t i) const;
  std::size_t SkipByTable(std::string_view text, std::size_t i) const;
  std::int32_t Step(std::int32_t state, std::size_t byteClass) const;
  std::int32_t Encoded(std::int32_t state) const;
  // Calls visit(state) for every state the text reaches that ends a
  // pattern, until visit gives false.
  template <class Visit>
  void Walk(std::string_view text, Visit&& visit) const;

  std::array<std::uint16_t, 256> class_{};  // byte -> its column in a row
  std::array<unsigned char, 256> stays_{};  // 1 for bytes that keep the root at the root
  static constexpr std::size_t kFewStarters = 4;
  // The others, when there are few: each repeated sixteen times, as the
  // search compares them with sixteen text bytes at once.
  std::vector<std::array<unsigned char, 16>> starters_;
  std::size_t width_ = 1;                // columns in a row
  std::size_t denseStates_ = 1;          // the states (nearest the root) that keep a whole row
  bool building_ = false;
  // state * width_ + class -> the move (Encoded), for the first denseStates_ states.
  std::vector<std::int32_t> next_;
  // The transitions state s has are those from edgeFrom_[s] to
  // edgeFrom_[s + 1], ordered by class; a missing one goes through fail_.
  std::vector<std::uint32_t> edgeFrom_;
  std::vector<std::uint16_t> edgeClass_;
  std::vector<std::int32_t> edgeTarget_;
  std::vector<std::int32_t> fail_;
  std::vector<std::int32_t>
      first_;  // state -> the first pattern ending here or in a suffix, or INT32_MAX
  std::vector<std::uint32_t>
      outFrom_;                      // state -> its patterns: outs_[outFrom_[s] .. outFrom_[s + 1])
  std::vector<std::uint32_t> outs_;  // patterns ending exactly at a state, ascending
  std::vector<std::int32_t>
      suffix_;  // state -> the longest proper suffix state that ends patterns, or -1
  std::vector<std::int64_t> last_;  // state -> the greatest pattern it or a suffix ends, or -1
  mutable std::vector<std::uint32_t> seen_;  // state -> the search that last collected it
  mutable std::uint32_t search_ = 0;
};

}  // namespace multimatch
