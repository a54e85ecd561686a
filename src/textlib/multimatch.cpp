#include "textlib/multimatch.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <utility>

namespace multimatch {

Matcher::Matcher(const std::vector<std::string_view>& patterns) { Build(patterns, nullptr); }

Matcher::Matcher(const std::vector<std::string_view>& patterns,
                 const std::array<unsigned char, 256>& map) {
  Build(patterns, &map);
}

void Matcher::Build(const std::vector<std::string_view>& patterns,
                    const std::array<unsigned char, 256>* map) {
  // Bytes no pattern holds share class 0, so a row has one entry per
  // distinct pattern byte and one for all the rest (MakeTrie numbers them).
  class_.fill(0);
  width_ = 1;
  Trie trie = MakeTrie(patterns);
  const std::size_t states = trie.parent.size();
  Renumber(trie);
  // Breadth first: a state's failure is the longest proper suffix that is a
  // state; it inherits the first pattern and the nearest suffix that ends
  // one. The rows of the states nearest the root, where a search spends its
  // time, are kept whole; past kDenseCells cells the deeper states keep only
  // the transitions they have.
  denseStates_ = states * width_ <= kDenseCells ? states : kDenseCells / width_;
  fail_.assign(states, 0);
  first_.assign(states, INT32_MAX);
  suffix_.assign(states, -1);
  for (std::size_t s = 0; s < states; ++s) {
    if (outFrom_[s] < outFrom_[s + 1]) first_[s] = static_cast<std::int32_t>(outs_[outFrom_[s]]);
  }
  next_.assign(denseStates_ * width_, 0);
  building_ = true;
  for (std::size_t s = 0; s < states; ++s) {
    const auto f = static_cast<std::size_t>(fail_[s]);
    if (s != 0) {
      first_[s] = std::min(first_[s], first_[f]);
      suffix_[s] = outFrom_[f] < outFrom_[f + 1] ? static_cast<std::int32_t>(f) : suffix_[f];
    }
    if (s < denseStates_) {
      // A kept row: the failure's row (a failure is shallower, so its row
      // is kept and complete by now) with the state's own moves over it.
      std::int32_t* row = next_.data() + s * width_;
      if (s != 0) std::memcpy(row, next_.data() + f * width_, width_ * sizeof(std::int32_t));
      for (std::uint32_t e = edgeFrom_[s]; e < edgeFrom_[s + 1]; ++e) {
        const std::int32_t t = edgeTarget_[e];
        fail_[static_cast<std::size_t>(t)] = s == 0 ? 0 : row[edgeClass_[e]];
        row[edgeClass_[e]] = t;
      }
    } else {
      for (std::uint32_t e = edgeFrom_[s]; e < edgeFrom_[s + 1]; ++e)
        fail_[static_cast<std::size_t>(edgeTarget_[e])] = Step(fail_[s], edgeClass_[e]);
    }
  }
  building_ = false;
  // Each kept move becomes its target, doubled, with the low bit set when
  // the target ends a pattern: the search looks a state up only there.
  for (std::int32_t& t : next_) t = Encoded(t);
  // The greatest pattern ending at each state or a suffix of it (states are
  // numbered breadth first, so a suffix comes before its state).
  last_.assign(states, -1);
  for (std::size_t st = 0; st < states; ++st) {
    if (suffix_[st] >= 0) last_[st] = last_[static_cast<std::size_t>(suffix_[st])];
    if (outFrom_[st] < outFrom_[st + 1])
      last_[st] = std::max(last_[st], static_cast<std::int64_t>(outs_[outFrom_[st + 1] - 1]));
  }
  seen_.assign(states, 0);
  search_ = 0;
  if (map != nullptr) {
    // A text byte goes through the map first, then to its class.
    std::array<std::uint16_t, 256> mapped;
    for (std::size_t b = 0; b < 256; ++b) mapped[b] = class_[(*map)[b]];
    class_ = mapped;
  }
  MarkStays();
}

namespace {

// The length of the common start of a and b, compared eight bytes at a time.
std::size_t CommonStart(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) return i + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
  }
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

// The trie: node 0 is the root, and every node comes after its parent. A
// node's children are chained (first child, next sibling): most nodes of a
// table of keys have one child, so finding a child costs a step or two.
Matcher::Trie Matcher::MakeTrie(const std::vector<std::string_view>& patterns) {
  std::size_t most = 1;
  for (std::string_view p : patterns) most += p.size();
  Trie trie;
  std::vector<std::int32_t> firstChild, sibling;
  for (auto* v : {&trie.parent, &firstChild, &sibling}) {
    v->reserve(most);
    v->push_back(-1);
  }
  trie.via.reserve(most);
  trie.via.push_back(0);
  trie.ends.reserve(patterns.size());
  // A pattern that starts as the one before it (keys of a table often do)
  // takes that one's nodes for the common start.
  std::vector<std::int32_t> path = {0};  // the nodes of the pattern before, by depth
  std::string_view before;
  for (std::uint32_t k = 0; k < patterns.size(); ++k) {
    const std::string_view p = patterns[k];
    if (p.empty()) continue;
    const std::size_t common = CommonStart(p, before);
    path.resize(common + 1);
    std::int32_t n = path.back();
    for (std::size_t d = common; d < p.size(); ++d) {
      std::uint16_t& byteClass = class_[static_cast<unsigned char>(p[d])];
      if (byteClass == 0) byteClass = static_cast<std::uint16_t>(width_++);
      const std::uint16_t c = byteClass;
      std::int32_t child = firstChild[static_cast<std::size_t>(n)];
      while (child >= 0 && trie.via[static_cast<std::size_t>(child)] != c)
        child = sibling[static_cast<std::size_t>(child)];
      if (child < 0) {
        child = static_cast<std::int32_t>(trie.parent.size());
        trie.parent.push_back(n);
        trie.via.push_back(c);
        firstChild.push_back(-1);
        sibling.push_back(firstChild[static_cast<std::size_t>(n)]);
        firstChild[static_cast<std::size_t>(n)] = child;
      }
      n = child;
      path.push_back(n);
    }
    trie.ends.emplace_back(n, k);
    before = p;
  }
  return trie;
}

// Numbers the states breadth first (a node's children by class) and keeps
// each state's transitions and the patterns ending at it in that numbering.
void Matcher::Renumber(Trie& trie) {
  const std::size_t states = trie.parent.size();
  std::vector<std::uint32_t> childFrom(states + 1, 0);
  for (std::size_t n = 1; n < states; ++n)
    ++childFrom[static_cast<std::size_t>(trie.parent[n]) + 1];
  for (std::size_t n = 0; n < states; ++n) childFrom[n + 1] += childFrom[n];
  std::vector<std::int32_t> children(states - 1);
  std::vector<std::uint32_t> fill(childFrom.begin(), childFrom.end() - 1);
  for (std::size_t n = 1; n < states; ++n)
    children[fill[static_cast<std::size_t>(trie.parent[n])]++] = static_cast<std::int32_t>(n);
  auto byClass = [&trie](std::int32_t a, std::int32_t b) {
    return trie.via[static_cast<std::size_t>(a)] < trie.via[static_cast<std::size_t>(b)];
  };
  for (std::size_t n = 0; n < states; ++n) {
    if (childFrom[n + 1] - childFrom[n] > 1)
      std::sort(children.begin() + childFrom[n], children.begin() + childFrom[n + 1], byClass);
  }
  std::vector<std::int32_t> bfs = {0};      // new number -> node
  std::vector<std::int32_t> id(states, 0);  // node -> new number
  for (std::size_t i = 0; i < bfs.size(); ++i) {
    const auto n = static_cast<std::size_t>(bfs[i]);
    for (std::uint32_t c = childFrom[n]; c < childFrom[n + 1]; ++c) {
      id[static_cast<std::size_t>(children[c])] = static_cast<std::int32_t>(bfs.size());
      bfs.push_back(children[c]);
    }
  }
  edgeFrom_.assign(states + 1, 0);
  edgeClass_.assign(states - 1, 0);
  edgeTarget_.assign(states - 1, 0);
  for (std::size_t i = 0, e = 0; i < states; ++i) {
    const auto n = static_cast<std::size_t>(bfs[i]);
    for (std::uint32_t c = childFrom[n]; c < childFrom[n + 1]; ++c, ++e) {
      edgeClass_[e] = trie.via[static_cast<std::size_t>(children[c])];
      edgeTarget_[e] = id[static_cast<std::size_t>(children[c])];
    }
    edgeFrom_[i + 1] = static_cast<std::uint32_t>(e);
  }
  // The patterns ending at each state, ascending.
  outFrom_.assign(states + 1, 0);
  for (auto& [node, k] : trie.ends) {
    node = id[static_cast<std::size_t>(node)];
    ++outFrom_[static_cast<std::size_t>(node) + 1];
  }
  for (std::size_t s = 0; s < states; ++s) outFrom_[s + 1] += outFrom_[s];
  // trie.ends is in pattern order already.
  outs_.assign(trie.ends.size(), 0);
  fill.assign(outFrom_.begin(), outFrom_.end() - 1);
  for (const auto& [node, k] : trie.ends) outs_[fill[static_cast<std::size_t>(node)]++] = k;
}

// The move from state on a byte of class c: through the state's kept row,
// or through the transitions it has and its failure links. Encoded (see
// Encoded) once the matcher is built; a plain state while it is built.
std::int32_t Matcher::Step(std::int32_t state, std::size_t c) const {
  for (;;) {
    // The root keeps its row always, so the loop ends there at the latest.
    const auto s = static_cast<std::size_t>(state);
    if (s < denseStates_) return next_[s * width_ + c];
    const auto from = edgeClass_.begin() + edgeFrom_[s], to = edgeClass_.begin() + edgeFrom_[s + 1];
    const auto it = std::lower_bound(from, to, c);
    if (it != to && *it == c) {
      const std::int32_t t = edgeTarget_[static_cast<std::size_t>(it - edgeClass_.begin())];
      return building_ ? t : Encoded(t);
    }
    state = fail_[s];
  }
}

// A move's target for the search: a state that keeps a row as the row's
// offset, doubled, plus 1 when it ends a pattern (no multiplication in the
// search loop); a deeper state as its number, doubled, plus that 1, all
// inverted (negative).
std::int32_t Matcher::Encoded(std::int32_t state) const {
  const auto s = static_cast<std::size_t>(state);
  const std::int32_t ends = first_[s] != INT32_MAX ? 1 : 0;
  if (s < denseStates_) return static_cast<std::int32_t>(s * width_) << 1 | ends;
  return ~(state << 1 | ends);
}

void Matcher::MarkStays() {
  // The root's row: bytes that lead back to the root and end nothing. When
  // few bytes leave it, they are looked for sixteen at a time.
  starters_.clear();
  for (std::size_t b = 0; b < 256; ++b) {
    stays_[b] = next_[class_[b]] == 0 ? 1 : 0;
    if (!stays_[b]) {
      starters_.emplace_back();
      starters_.back().fill(static_cast<unsigned char>(b));
    }
  }
  if (starters_.size() > kFewStarters) starters_.clear();
}

namespace {

// Sixteen bytes compared at once (the compiler's vector types: SSE2 on
// x86-64, NEON on ARM).
using Bytes16 = unsigned char __attribute__((vector_size(16)));

}  // namespace

// Bytes that leave the root where they stand are skipped without running
// the automaton (one load after the other): sixteen at a time when few
// bytes may start a pattern (the rest one by one through a table).
std::size_t Matcher::SkipByWords(std::string_view text, std::size_t i) const {
  for (; i + 16 <= text.size(); i += 16) {
    Bytes16 block;
    std::memcpy(&block, text.data() + i, 16);
    Bytes16 hits{};
    for (const std::array<unsigned char, 16>& starter : starters_) {
      Bytes16 each;
      std::memcpy(&each, starter.data(), 16);
      hits |= block == each;
    }
    std::uint64_t half[2];
    std::memcpy(half, &hits, 16);
    if (half[0] != 0) return i + static_cast<std::size_t>(std::countr_zero(half[0])) / 8;
    if (half[1] != 0) return i + 8 + static_cast<std::size_t>(std::countr_zero(half[1])) / 8;
  }
  return i;
}

// The same through the table, eight bytes to a test: most text bytes start
// nothing, and one branch for eight of them costs less than one for each.
std::size_t Matcher::SkipByTable(std::string_view text, std::size_t i) const {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  for (; i + 8 <= text.size(); i += 8) {
    const unsigned all = stays_[p[i]] & stays_[p[i + 1]] & stays_[p[i + 2]] & stays_[p[i + 3]] &
                         stays_[p[i + 4]] & stays_[p[i + 5]] & stays_[p[i + 6]] & stays_[p[i + 7]];
    if (all == 0) break;
  }
  return i;
}

template <class Visit>
void Matcher::Walk(std::string_view text, Visit&& visit) const {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  std::int32_t at = 0;  // the row's offset of a state that keeps one, else ~state
  // A move to a deeper state (negative) or to one that ends a pattern (low
  // bit) leaves the quick loop.
  constexpr std::int32_t kSlow = INT32_MIN | 1;
  // Takes the move v: false when visit asks to stop.
  auto take = [&](std::int32_t v) {
    if (v >= 0) {
      at = v >> 1;
      return (v & 1) == 0 || visit(static_cast<std::size_t>(at) / width_);
    }
    const std::int32_t u = ~v;
    at = ~(u >> 1);
    return (u & 1) == 0 || visit(static_cast<std::size_t>(u >> 1));
  };
  while (i < n) {
    // At the root, bytes that start nothing are skipped; where the next
    // byte starts something (busy text) it is taken at once.
    if (at == 0 && stays_[p[i]]) {
      i = starters_.empty() ? SkipByTable(text, i) : SkipByWords(text, i);
      while (i < n && stays_[p[i]]) ++i;
      if (i == n) return;
    }
    if (at < 0) {
      if (!take(Step(~at, class_[p[i++]]))) return;
      continue;
    }
    // Between kept rows that end nothing: one load and one test a byte.
    std::int32_t v;
    do {
      v = next_[static_cast<std::size_t>(at) + class_[p[i++]]];
      if ((v & kSlow) != 0) break;
      at = v >> 1;
    } while (at != 0 && i < n);
    if ((v & kSlow) != 0 && !take(v)) return;
  }
}

int Matcher::First(std::string_view text) const {
  std::int32_t best = INT32_MAX;
  Walk(text, [&](std::size_t s) {
    best = std::min(best, first_[s]);
    return best != 0;  // nothing comes before the first pattern
  });
  return best == INT32_MAX ? -1 : best;
}

void Matcher::Occurring(std::string_view text, std::vector<std::uint32_t>& out,
                        std::uint32_t from) const {
  out.clear();
  if (++search_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    search_ = 1;
  }
  Walk(text, [&](std::size_t s) {
    // The state and its suffixes that end patterns, each once a search: a
    // state seen before had its suffixes collected with it. Patterns before
    // `from` are not looked at.
    for (auto t = static_cast<std::int32_t>(s); t >= 0; t = suffix_[static_cast<std::size_t>(t)]) {
      const auto tu = static_cast<std::size_t>(t);
      if (last_[tu] < static_cast<std::int64_t>(from) || seen_[tu] == search_) break;
      seen_[tu] = search_;
      for (std::uint32_t o = outFrom_[tu]; o < outFrom_[tu + 1]; ++o) {
        if (outs_[o] >= from) out.push_back(outs_[o]);
      }
    }
    return true;
  });
  if (out.size() > 1) std::sort(out.begin(), out.end());
}

}  // namespace multimatch
