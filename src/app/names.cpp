#include "app/names.h"

#include <optional>
#include <string>
#include <vector>

#include "console/writer.h"
#include "textlib/charset.h"
#include "textlib/lines.h"
#include "textlib/multimatch.h"
#include "textlib/textlines.h"
#include "textlib/units.h"
#include "textlib/tr.h"

namespace names {

using namespace shortstr;
using listman::List;

namespace {

constexpr int kNameLimit = 36;

const CharSet& NameDelimiters() {
  static const CharSet set("!\"'(),-.:;<>?[]_{}");
  return set;
}

// The names table, read once as NameLookup reads it: each name (upper-cased)
// to its form, the first line of a name winning. Kept in one byte string
// and an open hash of small entries, so a large table costs a few pages.
class NameIndex {
 public:
  explicit NameIndex(List* table) {
    if (listman::ListCheck(table) != 0) return;
    for (listman::Node* node = table->First; node != nullptr; node = node->Next) {
      const ShortStr line = Head(lines::LineOfNode(node), kNameLimit);
      if (TrimLeft(line).At(1) == ';') continue;
      const ShortStr key = UpCaseStr(ExtractField(line, 1));
      const ShortStr form = ExtractField(line, 2);
      Add(key.View(), form.Empty() ? std::nullopt : std::optional(Trim(form)));
    }
  }
  // The form the table gives the upper-cased name (trimmed, so possibly
  // empty); none when no line names it or its line gives no form.
  std::optional<std::string_view> Find(std::string_view upperName) const {
    if (slots_.empty()) return std::nullopt;
    for (std::size_t at = Hash(upperName) & mask_;; at = (at + 1) & mask_) {
      if (slots_[at] == 0) return std::nullopt;
      const Entry& e = entries_[slots_[at] - 1];
      if (Key(e) != upperName) continue;
      if (!e.hasForm) return std::nullopt;
      return std::string_view(bytes_).substr(e.at + e.keyLen, e.formLen);
    }
  }

 private:
  struct Entry {
    std::uint32_t at;  // the key's first byte in bytes_; the form follows it
    std::uint8_t keyLen, formLen;
    bool hasForm;
  };
  static std::size_t Hash(std::string_view text) {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
  }
  std::string_view Key(const Entry& e) const {
    return std::string_view(bytes_).substr(e.at, e.keyLen);
  }
  void Add(std::string_view key, const std::optional<ShortStr>& form) {
    if (2 * (entries_.size() + 1) > slots_.size()) Grow();
    std::size_t at = Hash(key) & mask_;
    for (; slots_[at] != 0; at = (at + 1) & mask_) {
      if (Key(entries_[slots_[at] - 1]) == key) return;  // an earlier line holds the name
    }
    const std::string_view formText = form ? form->View() : std::string_view();
    entries_.push_back({static_cast<std::uint32_t>(bytes_.size()),
                        static_cast<std::uint8_t>(key.size()),
                        static_cast<std::uint8_t>(formText.size()), form.has_value()});
    bytes_.append(key).append(formText);
    slots_[at] = static_cast<std::uint32_t>(entries_.size());
  }
  void Grow() {
    slots_.assign(slots_.empty() ? 64 : 2 * slots_.size(), 0);
    mask_ = slots_.size() - 1;
    for (std::uint32_t k = 0; k < entries_.size(); ++k) {
      std::size_t at = Hash(Key(entries_[k])) & mask_;
      while (slots_[at] != 0) at = (at + 1) & mask_;
      slots_[at] = k + 1;
    }
  }

  std::string bytes_;
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> slots_;  // an entry's number, 0 for none
  std::size_t mask_ = 0;
};

struct Stage {
  app::Message& message;
  const app::Tables& tables;
  NameOptions options;
  std::int32_t changed = 0;
  ShortStr receiver;
  ShortStr foldedReceiver;             // the receiver's name, folded once
  int receiverChars = 0;               // and its length in characters
  std::vector<ShortStr> foldedBefore;  // the before-texts, folded once
  std::vector<ShortStr> after;         // and the after-texts, read once
  // The words of the receiver's name in their table forms, folded: made at
  // the first signature that needs them (the receiver, once set, stays).
  std::optional<std::vector<ShortStr>> foldedReceiverForms;
  // The table does not change during the stage: it is read once, at the
  // first lookup.
  std::optional<NameIndex> index;
};

// The form the index gives a name of at most 36 bytes, or the name itself.
ShortStr FormIn(const NameIndex& index, const ShortStr& name) {
  const std::optional<std::string_view> form = index.Find(UpCaseStr(name).View());
  return form ? ShortStr(*form) : name;
}

// The stage's index of the names table, read at the first lookup.
const NameIndex& Index(Stage& st) {
  if (!st.index) st.index.emplace(st.tables.NamesTable);
  return *st.index;
}

// NameLookup through the stage's index.
ShortStr Lookup(Stage& st, const ShortStr& name) {
  if (Chars(name) > kNameLimit) return name;
  return FormIn(Index(st), name);
}

ShortStr LookupLatin(Stage& st, const ShortStr& name) { return CyrillicToLatin(Lookup(st, name)); }

// The changes a new name is made of, reported only when the line takes it.
using Reports = std::vector<std::pair<ShortStr, ShortStr>>;

// The form a table line gives a word, when there is one and it differs
// from the word.
std::optional<ShortStr> TableForm(Stage& st, const ShortStr& word) {
  if (Chars(word) > kNameLimit) return std::nullopt;
  const std::optional<std::string_view> form = Index(st).Find(UpCaseStr(word).View());
  if (!form || form->empty() || *form == word.View()) return std::nullopt;
  return ShortStr(*form);
}

// A text longer than any name of a message header is a sentence, not a
// name: each word (between blanks) the table knows is changed where it
// stands, and everything else stays as written.
std::string NewSentence(Stage& st, const ShortStr& text, Reports& reports) {
  const std::string_view view = text.View();
  const CharSet& blanks = BlankSet();
  std::string result;
  for (std::size_t i = 0; i < view.size();) {
    std::size_t end = i;
    while (end < view.size() && blanks.Has(static_cast<unsigned char>(view[end])) ==
                                    blanks.Has(static_cast<unsigned char>(view[i])))
      ++end;
    const ShortStr piece(view.substr(i, end - i));
    const std::optional<ShortStr> form =
        blanks.Has(static_cast<unsigned char>(view[i])) ? std::nullopt : TableForm(st, piece);
    if (form) {
      reports.emplace_back(piece, CyrillicToLatin(*form));
      result.append(reports.back().second.View());
    } else {
      result.append(piece.View());
    }
    i = end;
  }
  return result;
}

// The new form of a trimmed, non-empty name; the name as written when the
// table changes none of it.
std::string NewName(Stage& st, const ShortStr& name, Reports& reports) {
  if (Chars(name) > kNameLimit) return NewSentence(st, name, reports);
  ShortStr whole = LookupLatin(st, name);
  if (!(whole == name)) {
    reports.emplace_back(name, whole);
    return whole.Std();
  }
  std::string result;
  ShortStr first;
  for (int i = 1;; ++i) {
    ShortStr word = ExtractBlankWord(name, i);
    if (word.Empty()) break;
    ShortStr form = LookupLatin(st, word);
    if (i == 1) first = form;
    bool changed = !(form == word);
    if (changed) reports.emplace_back(word, form);
    if (st.options.saveFullName) {
      if (i > 1) result += ' ';
      result.append(form.View());
    } else if (changed) {
      result = form.Std();
      break;
    }
  }
  if (reports.empty()) return name.Std();
  return result.empty() ? first.Std() : result;
}

// The raw name in line after the before-text (nameStart: the position just
// after it), and in at the position of its first character: the text up to
// the after-text (searched from nameStart on), or the first word.
ShortStr RawName(const ShortStr& line, const ShortStr& after, int nameStart, int& at) {
  ShortStr rest = Copy(line, nameStart, kMaxBytes);
  int afterPos = after.Empty() ? 0 : Pos(after, rest);
  at = nameStart;
  if (afterPos > 0) return Copy(rest, 1, afterPos - 1);
  // No after-text in the line: the first word, as for an empty after-text,
  // rather than the rest of the line.
  int skipped = 0;
  while (skipped < rest.len && NameDelimiters().Has(rest.At(skipped + 1))) ++skipped;
  at = nameStart + skipped;
  int word = 1;
  return ExtractWord(rest, word, NameDelimiters());
}

bool IsComment(const ShortStr& foldedBefore) { return foldedBefore.At(1) == ';'; }

// Applies template number tmpl to line, the line at index of the message
// (folded: its look-alike letters folded); true when the line changed. A
// change that would take the line past 255 characters is not made.
bool ApplyTemplate(Stage& st, std::int32_t index, std::int32_t tmpl, ShortStr& line,
                   const ShortStr& folded) {
  const ShortStr& foldedBefore = st.foldedBefore[static_cast<std::size_t>(tmpl - 1)];
  if (IsComment(foldedBefore)) return false;
  int beforePos = Pos(foldedBefore, folded);
  if (beforePos == 0) return false;
  int at = 0;
  // Folding keeps lengths: the before-text is as long as its folded form.
  ShortStr raw = RawName(line, st.after[static_cast<std::size_t>(tmpl - 1)],
                         beforePos + foldedBefore.len, at);
  int blanks = 0;  // blanks before the name, which stay
  while (blanks < raw.len && TrimSet().Has(raw.At(blanks + 1))) ++blanks;
  ShortStr name = Trim(raw);
  if (name.Empty()) return false;
  if (st.receiver.Empty()) {
    st.receiver = name;
    st.foldedReceiver = FoldLookAlikes(name);
    st.receiverChars = Chars(name);
  }
  Reports reports;
  // What the reply's charset cannot write goes in as '?'.
  const std::string form = charset::Writable(NewName(st, name, reports), st.message.Format.Charset,
                                             st.message.Format.Escapes);
  if (reports.empty()) return false;
  at += blanks;
  if (Chars(line) - Chars(name) + static_cast<int>(units::Count(form)) > kMaxLen) {
    writer::Writer->Problem(
        tr::Say("Line %s is too long for the change, left as it is!", {Num(index)}));
    return false;
  }
  for (const auto& [from, to] : reports) {
    writer::Writer->Info(tr::Say("Changed: %s to %s!", {from, to}));
    ++st.changed;
  }
  ShortStr changed = Insert(ShortStr(form), Delete(line, at, name.len), at);
  if (changed == line) return false;
  line = changed;
  return true;
}

// A quoted line longer than its first word by more than this many
// characters is a sentence rather than a signature: it is deleted only when
// the whole of it is part of the receiver's name.
constexpr int kSignatureSlack = 9;

// What a line may be to the receiver test, read in place: most quoted lines
// are sentences longer than the name and are no repeat of it.
enum class Repeat {
  No,         // not a quoted line that may repeat the name
  Sentence,   // longer than its first word by more than kSignatureSlack
  Signature,  // its first word and little more
};

// The quote prefix stripped, trimmed and its dots deleted, as ReceiverCause
// takes the line: the length of that text and of its first word decide.
Repeat MayRepeatReceiver(const Stage& st, std::string_view line) {
  if (st.receiver.Empty() || line.empty() || st.options.keepReceiverLines) return Repeat::No;
  const int mark = textlines::QuoteMark(line);
  if (mark == 0) return Repeat::No;
  std::size_t from = static_cast<std::size_t>(mark) - 1, to = line.size();
  while (from < to && line[from] == '>') ++from;
  const CharSet& trim = TrimSet();
  const CharSet& token = TokenSet();
  while (from < to && trim.Has(static_cast<unsigned char>(line[from]))) ++from;
  while (to > from && trim.Has(static_cast<unsigned char>(line[to - 1]))) --to;
  int text = 0, word = 0;  // characters
  bool inWord = false, wordDone = false;
  const bool escapes = units::EscapesOn();
  for (std::size_t i = from; i < to; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c == '.' || (escapes && units::IsTrail(c))) continue;
    ++text;
    if (wordDone) {
      // The text only grows from here: a sentence longer than the name
      // cannot stand in it (folding keeps lengths).
      if (word + kSignatureSlack < text && text > st.receiverChars) return Repeat::No;
      continue;
    }
    if (token.Has(c)) {
      wordDone = inWord;
    } else {
      inWord = true;
      ++word;
    }
  }
  if (word + kSignatureSlack >= text) return Repeat::Signature;
  return text > st.receiverChars ? Repeat::No : Repeat::Sentence;
}

// The cause for deleting a quoted line that only repeats the receiver's
// name, or empty when the line stays.
ShortStr ReceiverCause(Stage& st, const ShortStr& line) {
  const Repeat shape = MayRepeatReceiver(st, line.View());
  if (shape == Repeat::No) return {};
  ShortStr quoted = textlines::StripQuotePrefix(line);
  static const CharSet dot(".");
  quoted = DeleteChars(Trim(quoted), dot);
  const ShortStr& foldedName = st.foldedReceiver;
  if (shape == Repeat::Sentence)
    return OccursIn(FoldLookAlikes(quoted), foldedName) ? quoted : ShortStr();
  const ShortStr firstWord = ExtractToken(quoted, 1);
  const ShortStr foldedWord = FoldLookAlikes(firstWord);
  if (OccursIn(foldedWord, foldedName)) return firstWord;
  // A word of the name in its table form (the signature may be in Russian).
  if (!st.foldedReceiverForms) {
    st.foldedReceiverForms.emplace();
    for (int i = 1;; ++i) {
      ShortStr nameWord = ExtractToken(st.receiver, i);
      if (nameWord.Empty()) break;
      st.foldedReceiverForms->push_back(FoldLookAlikes(Lookup(st, nameWord)));
    }
  }
  for (const ShortStr& form : *st.foldedReceiverForms) {
    if (OccursIn(form, foldedWord)) return firstWord;
  }
  return {};
}

}  // namespace

ShortStr CyrillicToLatin(const ShortStr& text) {
  static const ShortStr pairs = Cp866("НHуyрp");
  return PairReplace(text, pairs);
}

ShortStr NameLookup(const ShortStr& name, List* table) {
  // No table line can hold a longer name: it is not in the table.
  if (Chars(name) > kNameLimit) return name;
  return FormIn(NameIndex(table), name);
}

std::int32_t ChangeNames(app::Message& text, const app::Tables& tables, NameOptions options) {
  writer::Writer->Heading(tr::Say("Changing names..."));
  Stage st{text, tables, options, 0, {}, {}, 0, {}, {}, {}, {}};
  List* message = text.Lines;
  std::int32_t templates = lines::LineCount(tables.TemplateBefore);
  for (std::int32_t tmpl = 1; tmpl <= templates; ++tmpl) {
    st.foldedBefore.push_back(FoldLookAlikes(lines::LineAt(tables.TemplateBefore, tmpl)));
    st.after.push_back(lines::LineAt(tables.TemplateAfter, tmpl));
  }
  // Which templates a line holds, found in one pass over it (as folded): a
  // template it does not hold cannot apply.
  std::vector<std::string_view> texts;
  texts.reserve(st.foldedBefore.size());
  for (const ShortStr& before : st.foldedBefore)
    texts.push_back(IsComment(before) ? "" : before.View());
  const multimatch::Matcher matcher(texts, FoldTable());
  std::vector<std::uint32_t> held;
  std::int32_t index = 1;
  // The pass walks the nodes; a change or a removal goes through the list by
  // position (its cursor follows the pass, so that stays one step).
  for (listman::Node* node = message->First; node != nullptr;) {
    // A line that holds no template and is no quoted line after a greeting
    // is passed over without a copy.
    const std::string_view stored = lines::ViewOfNode(node);
    matcher.Occurring(stored, held);
    if (held.empty() && MayRepeatReceiver(st, stored) == Repeat::No) {
      node = node->Next;
      ++index;
      continue;
    }
    ShortStr line = lines::LineOfNode(node);
    // In template order; after a change only the later templates are looked
    // for, in the changed line.
    ShortStr folded = !held.empty() ? FoldLookAlikes(line) : ShortStr();
    for (std::size_t h = 0; h < held.size(); ++h) {
      const std::uint32_t k = held[h];
      if (!ApplyTemplate(st, index, static_cast<std::int32_t>(k) + 1, line, folded)) continue;
      lines::LineSet(message, index, line);
      folded = FoldLookAlikes(line);
      matcher.Occurring(line.View(), held, k + 1);
      h = static_cast<std::size_t>(-1);  // from the first of the new list
    }
    ShortStr cause = ReceiverCause(st, line);
    listman::Node* next = node->Next;  // a change keeps the node; a removal frees it
    if (cause.Empty()) {
      node = next;
      ++index;
      continue;
    }
    writer::Writer->Info(tr::Say("Deleted \"%s\" cause of \"%s\"!", {line, cause}));
    listman::ListDelete(message, index);  // the next line moves to this index
    node = next;
  }
  return st.changed;
}

}  // namespace names
