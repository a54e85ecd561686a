#include "textlib/unidiff.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace unidiff {
namespace {

using Lines = std::vector<std::string_view>;

Lines Split(std::string_view text) {
  Lines lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t size = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(0, size));
    text.remove_prefix(size);
  }
  return lines;
}

enum class Op : std::uint8_t { Same, Del, Add };

// The edit script from a to b, built by anchoring on lines that occur once
// in each side (in an order both keep), the stretches between anchors
// compared by a longest common subsequence when small, else replaced whole.
// Any script is a correct diff; these keep it short for the changes the
// program makes (lines changed, removed or inserted here and there).
class Differ {
 public:
  Differ(const Lines& a, const Lines& b) : a_(a), b_(b) {}
  std::vector<Op> Run() {
    Compare(0, a_.size(), 0, b_.size(), 0);
    return ops_;
  }

 private:
  static constexpr std::size_t kTableLimit = 4'000'000;  // cells of the LCS table
  static constexpr int kDepthLimit = 64;

  void Emit(Op op, std::size_t n) { ops_.insert(ops_.end(), n, op); }

  void Compare(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1, int depth) {
    std::size_t head = 0;
    while (a0 + head < a1 && b0 + head < b1 && a_[a0 + head] == b_[b0 + head]) ++head;
    Emit(Op::Same, head);
    a0 += head;
    b0 += head;
    std::size_t tail = 0;
    while (a1 - tail > a0 && b1 - tail > b0 && a_[a1 - tail - 1] == b_[b1 - tail - 1]) ++tail;
    a1 -= tail;
    b1 -= tail;
    if (a0 == a1 || b0 == b1) {
      Emit(Op::Del, a1 - a0);
      Emit(Op::Add, b1 - b0);
    } else if (!Anchored(a0, a1, b0, b1, depth)) {
      Table(a0, a1, b0, b1);
    }
    Emit(Op::Same, tail);
  }

  // Splits at the lines unique on both sides; false when there are none.
  bool Anchored(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1, int depth) {
    if (depth >= kDepthLimit) return false;
    struct Seen {
      int inA = 0, inB = 0;
      std::size_t atA = 0, atB = 0;
    };
    std::unordered_map<std::string_view, Seen> seen;
    for (std::size_t i = a0; i < a1; ++i) {
      Seen& s = seen[a_[i]];
      ++s.inA;
      s.atA = i;
    }
    for (std::size_t j = b0; j < b1; ++j) {
      auto it = seen.find(b_[j]);
      if (it == seen.end()) continue;
      ++it->second.inB;
      it->second.atB = j;
    }
    std::vector<std::pair<std::size_t, std::size_t>> pairs;  // (in a, in b), in a's order
    for (std::size_t i = a0; i < a1; ++i) {
      const Seen& s = seen[a_[i]];
      if (s.inA == 1 && s.inB == 1) pairs.emplace_back(i, s.atB);
    }
    const auto anchors = Increasing(pairs);
    if (anchors.empty()) return false;
    std::size_t i = a0, j = b0;
    for (const auto& [ai, bj] : anchors) {
      Compare(i, ai, j, bj, depth + 1);
      Emit(Op::Same, 1);
      i = ai + 1;
      j = bj + 1;
    }
    Compare(i, a1, j, b1, depth + 1);
    return true;
  }

  // The longest run of pairs whose b positions increase (patience sorting).
  static std::vector<std::pair<std::size_t, std::size_t>> Increasing(
      const std::vector<std::pair<std::size_t, std::size_t>>& pairs) {
    std::vector<std::size_t> tops;  // index into pairs of each pile's top
    std::vector<std::size_t> back(pairs.size());
    for (std::size_t k = 0; k < pairs.size(); ++k) {
      auto pile = std::lower_bound(tops.begin(), tops.end(), pairs[k].second,
                                   [&](std::size_t t, std::size_t b) { return pairs[t].second < b; });
      back[k] = pile == tops.begin() ? SIZE_MAX : *(pile - 1);
      if (pile == tops.end()) tops.push_back(k);
      else *pile = k;
    }
    std::vector<std::pair<std::size_t, std::size_t>> out;
    for (std::size_t k = tops.empty() ? SIZE_MAX : tops.back(); k != SIZE_MAX; k = back[k]) out.push_back(pairs[k]);
    std::reverse(out.begin(), out.end());
    return out;
  }

  void Table(std::size_t a0, std::size_t a1, std::size_t b0, std::size_t b1) {
    const std::size_t n = a1 - a0, m = b1 - b0;
    if (n * m > kTableLimit) {
      Emit(Op::Del, n);
      Emit(Op::Add, m);
      return;
    }
    // len[i][j]: the longest common subsequence of a[i..] and b[j..].
    std::vector<std::uint32_t> len((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t& { return len[i * (m + 1) + j]; };
    for (std::size_t i = n; i-- > 0;) {
      for (std::size_t j = m; j-- > 0;) {
        at(i, j) = a_[a0 + i] == b_[b0 + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
      }
    }
    std::size_t i = 0, j = 0;
    while (i < n && j < m) {
      if (a_[a0 + i] == b_[b0 + j]) {
        Emit(Op::Same, 1);
        ++i;
        ++j;
      } else if (at(i + 1, j) >= at(i, j + 1)) {
        Emit(Op::Del, 1);
        ++i;
      } else {
        Emit(Op::Add, 1);
        ++j;
      }
    }
    Emit(Op::Del, n - i);
    Emit(Op::Add, m - j);
  }

  const Lines& a_;
  const Lines& b_;
  std::vector<Op> ops_;
};

constexpr std::size_t kContext = 3;

// "start,count" of a hunk side as diff -u writes it.
std::string Range(std::size_t first, std::size_t count) {
  if (count == 1) return std::to_string(first + 1);
  return std::to_string(count == 0 ? first : first + 1) + "," + std::to_string(count);
}

void PutLine(std::string& out, char mark, std::string_view line) {
  out.push_back(mark);
  out.append(line);
  if (line.empty() || line.back() != '\n') out.append("\n\\ No newline at end of file\n");
}

}  // namespace

std::string HeaderName(const std::string& name) {
  const bool plain = std::none_of(name.begin(), name.end(), [](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c <= ' ' || c == 0x7F || c == '"' || c == '\\';
  });
  if (plain) return name;
  std::string out = "\"";
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    static constexpr std::string_view kShort = "\a\b\t\n\v\f\r";
    static constexpr std::string_view kLetters = "abtnvfr";
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (const std::size_t at = kShort.find(ch); at != std::string_view::npos && c != 0) {
      out += '\\';
      out += kLetters[at];
    } else if (c < ' ' || c == 0x7F) {
      out += '\\';
      out += static_cast<char>('0' + (c >> 6));
      out += static_cast<char>('0' + ((c >> 3) & 7));
      out += static_cast<char>('0' + (c & 7));
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string UnifiedDiff(std::string_view oldText, std::string_view newText, const std::string& name) {
  if (oldText == newText) return {};
  const Lines a = Split(oldText), b = Split(newText);
  const std::vector<Op> ops = Differ(a, b).Run();
  const std::string shown = HeaderName(name);
  std::string out = "--- " + shown + "\n+++ " + shown + "\n";
  // Positions in a and b before each op.
  std::vector<std::size_t> posA(ops.size() + 1), posB(ops.size() + 1);
  for (std::size_t k = 0; k < ops.size(); ++k) {
    posA[k + 1] = posA[k] + (ops[k] != Op::Add ? 1 : 0);
    posB[k + 1] = posB[k] + (ops[k] != Op::Del ? 1 : 0);
  }
  std::size_t k = 0;
  while (k < ops.size()) {
    while (k < ops.size() && ops[k] == Op::Same) ++k;
    if (k == ops.size()) break;
    // A hunk: from kContext lines before the first change to kContext lines
    // after the last change that follows the one before it within 2 * kContext.
    const std::size_t start = k >= kContext ? k - kContext : 0;
    std::size_t end = k;
    for (;;) {
      while (end < ops.size() && ops[end] != Op::Same) ++end;
      std::size_t same = end;
      while (same < ops.size() && ops[same] == Op::Same && same - end < 2 * kContext) ++same;
      if (same < ops.size() && ops[same] != Op::Same) {
        end = same;
        continue;
      }
      end = std::min(ops.size(), end + kContext);
      break;
    }
    out += "@@ -" + Range(posA[start], posA[end] - posA[start]) + " +" + Range(posB[start], posB[end] - posB[start]) +
           " @@\n";
    for (std::size_t x = start; x < end; ++x) {
      if (ops[x] == Op::Same) PutLine(out, ' ', a[posA[x]]);
      else if (ops[x] == Op::Del) PutLine(out, '-', a[posA[x]]);
      else PutLine(out, '+', b[posB[x]]);
    }
    k = end;
  }
  return out;
}

}  // namespace unidiff
