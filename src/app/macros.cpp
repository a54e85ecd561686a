#include "app/macros.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/letters.h"
#include "console/writer.h"
#include "textlib/charset.h"
#include "textlib/lines.h"
#include "textlib/multimatch.h"
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

// The part of text between the bytes a change left at its ends, widened
// on each side by margin - 1 bytes: every occurrence of a key of at most
// margin bytes that the change made lies inside it.
std::string_view AroundChange(std::string_view text, Untouched kept, std::size_t margin) {
  const std::size_t from = kept.head >= margin ? kept.head - margin + 1 : 0;
  const std::size_t end = text.size() - std::min(kept.tail, text.size());
  return text.substr(from, std::min(text.size(), end + margin - 1) - from);
}

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
  // Which keys a line holds, found in one pass over it (upper-cased on the
  // way), in table order.
  std::vector<std::string_view> keys;
  keys.reserve(table.size());
  for (std::uint32_t j = 0; j < table.size(); ++j) keys.push_back(table.UpperKey(j));
  const multimatch::Matcher matcher(keys, UpperTable());
  std::size_t longest = 0;
  for (std::string_view key : keys) longest = std::max(longest, key.size());
  longest = std::max<std::size_t>(longest, 1);
  // Each macro's replacement is prepared the first time a line takes it.
  std::vector<std::unique_ptr<Replacement>> prepared(table.size());
  auto replacement = [&](std::uint32_t j) -> const Replacement& {
    if (!prepared[j])
      prepared[j] = std::make_unique<Replacement>(PrepareReplacement(table.Key(j), table.Value(j)));
    return *prepared[j];
  };
  std::vector<std::uint32_t> pending, found, merged;
  std::int32_t i = 0;
  for (listman::Node* node = list->First; node != nullptr; node = node->Next) {
    ++i;
    // Most lines hold no key: they are searched in place, and copied out
    // only when a key is there.
    const std::string_view stored = lines::ViewOfNode(node);
    const bool comment = !stored.empty() && stored[0] == ';';
    pending.clear();
    if (!comment) matcher.Occurring(stored, pending);
    if (pending.empty()) {
      if (!inPlace) lines::LineAdd(result, ShortStr(stored));
      continue;
    }
    ShortStr changed(stored);  // a line that holds a key is copied out
    ShortStr upper = UpCaseStr(changed);
    bool tooLong = false;
    // After a change the keys still to come are looked for in the changed line.
    for (std::size_t c = 0; c < pending.size(); ++c) {
      const std::uint32_t j = pending[c];
      int n = 0;
      // A macro that would take the line past 255 characters is left out
      // of this line; the line is never cut.
      Untouched kept;
      if (!ReplaceAllWhole(changed, upper, replacement(j), n, &kept)) {
        tooLong = true;
        continue;
      }
      count += n;
      if (n == 0) continue;
      // The keys still to come: those found before (one that is gone no
      // longer matches and changes nothing) and those the change made, which
      // lie across the bytes it changed.
      matcher.Occurring(AroundChange(upper.View(), kept, longest), found, j + 1);
      merged.clear();
      std::set_union(pending.begin() + static_cast<std::ptrdiff_t>(c) + 1, pending.end(),
                     found.begin(), found.end(), std::back_inserter(merged));
      pending.swap(merged);
      c = static_cast<std::size_t>(-1);  // from the first of the new list
    }
    if (tooLong) {
      writer::Writer->Problem(
          tr::Say("Line %s is too long for the change, left as it is!", {Num(i)}));
    }
    if (!inPlace)
      lines::LineAdd(result, changed);
    else if (changed.View() != stored)
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
