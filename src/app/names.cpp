#include "app/names.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "console/writer.h"
#include "filter/quote_filter.h"
#include "textlib/lines.h"

namespace names {

using namespace shortstr;
using listman::List;

namespace {

constexpr int kNameLimit = 36;

const CharSet& NameDelimiters() {
  static const CharSet set("!\"'(),-.:;<>?[]_{}");
  return set;
}

struct Stage {
  app::RunContext& run;
  bool keepReceiverLines;
  ShortStr receiver;
  ShortStr foldedReceiver;  // the receiver's name, folded once
  std::vector<ShortStr> foldedBefore;  // the before-texts, folded once
  // The table does not change during the stage, so each name is looked up once.
  std::unordered_map<std::string, ShortStr> lookups;
};

ShortStr Lookup(Stage& st, const ShortStr& name) {
  std::string key = name.Std();
  auto found = st.lookups.find(key);
  if (found != st.lookups.end()) return found->second;
  ShortStr form = NameLookup(name, st.run.NamesTable);
  st.lookups.emplace(std::move(key), form);
  return form;
}

ShortStr LookupLatin(Stage& st, const ShortStr& name) { return CyrillicToLatin(Lookup(st, name)); }

void Report(Stage& st, const ShortStr& from, const ShortStr& to) {
  writer::Writer->Info(ShortStr("Changed: ") + from + ShortStr(" to ") + to + ShortStr("!"));
  ++st.run.NamesChanged;
}

// The new form of a trimmed, non-empty name.
ShortStr NewName(Stage& st, const ShortStr& name) {
  ShortStr whole = LookupLatin(st, name);
  if (!(whole == name)) {
    Report(st, name, whole);
    return whole;
  }
  ShortStr result, first;
  for (int i = 1;; ++i) {
    ShortStr word = ExtractBlankWord(name, i);
    if (word.Empty()) break;
    ShortStr form = LookupLatin(st, word);
    if (i == 1) first = form;
    bool changed = !(form == word);
    if (changed) Report(st, word, form);
    if (st.run.SaveFullName) {
      if (i > 1) result.AppendChar(' ');
      result.Append(form);
    } else if (changed) {
      result = form;
      break;
    }
  }
  return result.Empty() ? first : result;
}

// Applies template g to line (folded: its look-alike letters folded); true
// when the line changed.
bool ApplyTemplate(Stage& st, std::int32_t g, ShortStr& line, const ShortStr& folded,
                   const ByteSet& bytes) {
  const ShortStr& foldedBefore = st.foldedBefore[g - 1];
  if (foldedBefore.At(1) == ';' || !bytes.MayHold(foldedBefore)) return false;
  int p = Pos(foldedBefore, folded);
  if (p == 0) return false;
  ShortStr before = lines::LineAt(st.run.TemplateBefore, g);
  ShortStr after = lines::LineAt(st.run.TemplateAfter, g);
  int s = p + before.len;
  ShortStr raw;
  int t = s;
  int q = after.Empty() ? 0 : Pos(after, line);
  if (q > 0) {
    raw = q > s ? Copy(line, s, q - s) : ShortStr();
  } else {
    // No after-text in the line: the first word, as for an empty after-text,
    // rather than the rest of the line.
    ShortStr rest = Copy(line, s, kMaxLen);
    int skipped = 0;
    while (skipped < rest.len && NameDelimiters().Has(rest.At(skipped + 1))) ++skipped;
    int n = 1;
    raw = ExtractWord(rest, n, NameDelimiters());
    t = s + skipped;
  }
  int k = 0;
  while (k < raw.len && TrimSet().Has(raw.At(k + 1))) ++k;
  ShortStr name = Trim(raw);
  if (name.Empty()) return false;
  if (st.receiver.Empty()) {
    st.receiver = name;
    st.foldedReceiver = FoldLookAlikes(name);
  }
  ShortStr changed = Insert(NewName(st, name), Delete(line, t + k, name.len), t + k);
  if (changed == line) return false;
  line = changed;
  return true;
}

// The cause for deleting a quoted line that only repeats the receiver's
// name, or empty when the line stays.
ShortStr ReceiverCause(Stage& st, const ShortStr& line) {
  if (st.receiver.Empty() || line.Empty() || st.keepReceiverLines) return {};
  ShortStr q = quote_filter::StripQuotePrefix(line);
  if (q.len == line.len) return {};
  static const CharSet dot(".");
  q = DeleteChars(Trim(q), dot);
  ShortStr v = ExtractToken(q, 1);
  ShortStr w = FoldLookAlikes(v);
  const ShortStr& p = st.foldedReceiver;
  if (w.len + 9 < q.len) return Contains(FoldLookAlikes(q), p) ? q : ShortStr();
  if (Contains(w, p)) return v;
  for (int i = 1;; ++i) {
    ShortStr word = ExtractToken(st.receiver, i);
    if (word.Empty()) return {};
    if (Contains(FoldLookAlikes(Lookup(st, word)), w)) return v;
  }
}

}  // namespace

ShortStr CyrillicToLatin(const ShortStr& text) {
  static const ShortStr pairs = Cp866("НHуyрp");
  return PairReplace(text, pairs);
}

ShortStr NameLookup(const ShortStr& name, List* table) {
  ShortStr result = Copy(name, 1, kNameLimit);
  if (listman::ListCheck(table) != 0 || table->Count == 0) return result;
  ShortStr key = UpCaseStr(result);
  for (std::int32_t i = 1; i <= table->Count; ++i) {
    ShortStr line = Copy(lines::LineAt(table, i), 1, kNameLimit);
    if (TrimLeft(line).At(1) == ';') continue;
    if (!(UpCaseStr(ExtractField(line, 1)) == key)) continue;
    ShortStr form = ExtractField(line, 2);
    return form.Empty() ? result : Trim(form);
  }
  return result;
}

void ChangeNames(app::RunContext& run, bool keepReceiverLines) {
  writer::Writer->Heading("Changing names...");
  run.NamesChanged = 0;
  Stage st{run, keepReceiverLines, {}, {}, {}, {}};
  List* message = run.MessageLines;
  std::int32_t templates = lines::LineCount(run.TemplateBefore);
  for (std::int32_t g = 1; g <= templates; ++g) {
    st.foldedBefore.push_back(FoldLookAlikes(lines::LineAt(run.TemplateBefore, g)));
  }
  std::int32_t index = 1;
  while (index <= lines::LineCount(message)) {
    ShortStr line = lines::LineAt(message, index);
    ShortStr folded = FoldLookAlikes(line);
    ByteSet bytes(folded);
    for (std::int32_t g = 1; g <= templates; ++g) {
      if (!ApplyTemplate(st, g, line, folded, bytes)) continue;
      lines::LineSet(message, index, line);
      folded = FoldLookAlikes(line);
      bytes = ByteSet(folded);
    }
    ShortStr cause = ReceiverCause(st, line);
    if (cause.Empty()) {
      ++index;
      continue;
    }
    writer::Writer->Info(ShortStr("Deleted \"") + line + ShortStr("\" cause of \"") + cause + ShortStr("\"!"));
    listman::ListDelete(message, index);  // the next line moves to this index
  }
}

}  // namespace names
