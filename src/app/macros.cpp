#include "app/macros.h"

#include "app/letters.h"
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/writer.h"
#include "textlib/charset.h"
#include "textlib/lines.h"
#include "textlib/tr.h"

namespace macros {

using namespace shortstr;
using listman::List;

namespace {

// The table keeps its texts in one pool: 10,000 macros cost their bytes,
// not three 256-byte strings each.
struct Macro {
  std::uint32_t at;  // key, upper-cased key, expansion, one after another
  std::uint16_t keyLen, valueLen;
};

class MacroTable {
 public:
  void Add(const ShortStr& key, const ShortStr& value) {
    entries_.push_back({static_cast<std::uint32_t>(pool_.size()), key.len, value.len});
    pool_.append(key.View()).append(UpCaseStr(key).View()).append(value.View());
  }
  std::size_t size() const { return entries_.size(); }
  std::string_view UpperKey(std::uint32_t j) const {
    return std::string_view(pool_).substr(entries_[j].at + entries_[j].keyLen, entries_[j].keyLen);
  }
  ShortStr Key(std::uint32_t j) const {
    return ShortStr(std::string_view(pool_).substr(entries_[j].at, entries_[j].keyLen));
  }
  ShortStr Value(std::uint32_t j) const {
    return ShortStr(std::string_view(pool_).substr(entries_[j].at + 2u * entries_[j].keyLen,
                                                   entries_[j].valueLen));
  }

 private:
  std::vector<Macro> entries_;
  std::string pool_;
};

std::uint16_t Bigram(std::string_view text, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(text[at]) << 8 |
                                    static_cast<unsigned char>(text[at + 1]));
}

// Which macros can occur in a line: a key can only occur where its last two
// letters (upper-cased) do, so each key is filed under that pair, and a line
// is tried against the keys of the pairs it holds, in table order. Keys of
// one letter are tried on every line. Exact: it only skips keys that cannot
// occur.
class Candidates {
 public:
  explicit Candidates(const MacroTable& table) {
    for (std::uint32_t j = 0; j < table.size(); ++j) {
      const std::string_view key = table.UpperKey(j);
      if (key.size() < 2) {
        always_.push_back(j);
      } else {
        const std::uint16_t pair = Bigram(key, key.size() - 2);
        filed_[pair >> 6] |= std::uint64_t{1} << (pair & 63);
        ends_[static_cast<unsigned char>(key.back())] = 1;
      }
    }
    FileKeys(table);
    const auto& upper = UpperTable();
    for (std::size_t b = 0; b < 256; ++b) {
      if (ends_[upper[b]]) rawEnds_.push_back(static_cast<char>(b));
    }
  }
  // The macros whose key may occur in text (upper-cased here, pair by pair),
  // in table order, from index `from` on.
  const std::vector<std::uint32_t>& For(std::string_view text, std::uint32_t from) {
    const auto& upper = UpperTable();
    ++generation_;
    list_.clear();
    for (std::uint32_t j : always_) {
      if (j >= from) list_.push_back(j);
    }
    auto pairAt = [&](std::size_t i) {  // the pair text[i], text[i + 1]
      const auto pair = static_cast<std::uint16_t>(upper[static_cast<unsigned char>(text[i])] << 8 |
                                                   upper[static_cast<unsigned char>(text[i + 1])]);
      if (!(filed_[pair >> 6] >> (pair & 63) & 1)) return;
      Slot& slot = slots_[SlotOf(pair)];
      if (slot.seen == generation_) return;
      slot.seen = generation_;
      for (std::uint32_t j : slot.keys) {
        if (j >= from) list_.push_back(j);
      }
    };
    if (text.size() >= 2 && rawEnds_.size() <= 4) {
      // Keys end in few letters (a closing brace, say): jump between them.
      for (char end : rawEnds_) {
        const char* at = text.data() + 1;
        const char* stop = text.data() + text.size();
        while ((at = static_cast<const char*>(
                    std::memchr(at, end, static_cast<std::size_t>(stop - at)))) != nullptr) {
          pairAt(static_cast<std::size_t>(at - text.data()) - 1);
          ++at;
        }
      }
    } else {
      for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (ends_[upper[static_cast<unsigned char>(text[i + 1])]])
          pairAt(i);  // a key's pair may end here
      }
    }
    std::sort(list_.begin(), list_.end());
    return list_;
  }

 private:
  struct Slot {
    std::vector<std::uint32_t> keys;  // in table order
    std::uint32_t seen = 0;           // the generation the pair was last seen in
  };
  static constexpr std::uint32_t kNoPair = 1u << 16;

  // Files every key of two letters or more under its pair's slot. The slots
  // are found through a small open hash: tables indexed by all 65,536 pairs
  // would cost more to clear than a reply's macros take.
  void FileKeys(const MacroTable& table) {
    std::size_t distinct = 0;
    for (std::uint64_t word : filed_) distinct += static_cast<std::size_t>(std::popcount(word));
    std::size_t size = 16;
    while (size < 2 * distinct) size *= 2;
    index_.assign(size, {kNoPair, 0});
    mask_ = size - 1;
    for (std::uint32_t j = 0; j < table.size(); ++j) {
      const std::string_view key = table.UpperKey(j);
      if (key.size() < 2) continue;
      const std::uint16_t pair = Bigram(key, key.size() - 2);
      std::size_t at = Home(pair);
      while (index_[at].pair != pair && index_[at].pair != kNoPair) at = (at + 1) & mask_;
      if (index_[at].pair == kNoPair) {
        index_[at] = {pair, static_cast<std::uint32_t>(slots_.size())};
        slots_.emplace_back();
      }
      slots_[index_[at].slot].keys.push_back(j);
    }
  }
  std::size_t Home(std::uint16_t pair) const { return (pair * 40503u >> 4) & mask_; }
  // The slot of a pair some key is filed under.
  std::uint32_t SlotOf(std::uint16_t pair) const {
    std::size_t at = Home(pair);
    while (index_[at].pair != pair) at = (at + 1) & mask_;
    return index_[at].slot;
  }

  struct Entry {
    std::uint32_t pair;
    std::uint32_t slot;
  };
  std::array<std::uint64_t, 1024> filed_{};  // a bit for each pair some key is filed under
  std::vector<Entry> index_;
  std::size_t mask_ = 0;
  std::vector<Slot> slots_;
  std::array<std::uint8_t, 256> ends_{};  // second letters of those pairs
  std::vector<char> rawEnds_;             // the bytes that upper-case to one of them
  std::vector<std::uint32_t> always_;
  std::uint32_t generation_ = 0;
  std::vector<std::uint32_t> list_;
};

}  // namespace

listman::List* MacroReplace(List* list, List* macroLines, bool inPlace, std::int32_t& count,
                            const iolist::TextFormat& format) {
  count = 0;
  List* result = list;
  if (!inPlace) listman::ListCreate(result);
  MacroTable table;
  for (std::int32_t j = 1; j <= lines::LineCount(macroLines); ++j) {
    ShortStr line = lines::LineAt(macroLines, j);
    ShortStr key = ExtractField(line, 1);
    // An expansion goes in as the reply's charset writes it ('?' for what it lacks).
    if (!key.Empty())
      table.Add(key, ShortStr(charset::Writable(ExtractField(line, 2).View(), format.Charset,
                                                format.Escapes)));
  }
  Candidates candidates(table);
  // Each macro's replacement is prepared the first time a line takes it.
  std::vector<std::unique_ptr<Replacement>> prepared(table.size());
  auto replacement = [&](std::uint32_t j) -> const Replacement& {
    if (!prepared[j])
      prepared[j] = std::make_unique<Replacement>(PrepareReplacement(table.Key(j), table.Value(j)));
    return *prepared[j];
  };
  std::vector<std::uint32_t> pending;
  std::int32_t i = 0;
  for (listman::Node* node = list->First; node != nullptr; node = node->Next) {
    ++i;
    // Most lines hold no key: they are seen through their letter pairs
    // only, in place, and copied out only when a key may be there.
    const std::string_view stored = lines::ViewOfNode(node);
    const bool comment = !stored.empty() && stored[0] == ';';
    pending.clear();
    if (!comment) pending = candidates.For(stored, 0);
    if (pending.empty()) {
      if (!inPlace) lines::LineAdd(result, ShortStr(stored));
      continue;
    }
    ShortStr upper = UpCaseStr(ShortStr(stored));
    ShortStr changed;  // the line, copied out at its first change
    bool copied = false;
    bool tooLong = false;
    // After a change the keys still to come are looked for in the changed line.
    for (std::size_t c = 0; c < pending.size(); ++c) {
      const std::uint32_t j = pending[c];
      if (upper.View().find(table.UpperKey(j)) == std::string_view::npos) continue;
      int n = 0;
      if (!copied) changed = ShortStr(stored);
      copied = true;
      // A macro that would take the line past 255 characters is left out
      // of this line; the line is never cut.
      if (!ReplaceAllWhole(changed, upper, replacement(j), n)) {
        tooLong = true;
        continue;
      }
      count += n;
      pending = candidates.For(upper.View(), j + 1);
      c = static_cast<std::size_t>(-1);  // from the first of the new list
    }
    if (tooLong) {
      writer::Writer->Problem(
          tr::Say("Line %s is too long for the change, left as it is!", {Num(i)}));
    }
    if (!inPlace)
      lines::LineAdd(result, copied ? changed : ShortStr(stored));
    else if (copied && changed.View() != stored)
      lines::LineSet(list, i, changed);
  }
  return result;
}

std::int32_t ChangeMacros(app::Message& message, app::Tables& tables) {
  std::int32_t changes = 0;
  if (lines::LineCount(tables.MacroTable) == 0) return 0;
  // Keys match the message after its letters were made Latin.
  letters::LatinHAndP(tables.MacroTable);
  writer::Writer->Heading(tr::Say("Changing macros..."));
  MacroReplace(message.Lines, tables.MacroTable, true, changes, message.Format);
  return changes;
}

}  // namespace macros
