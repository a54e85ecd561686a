#include "textlib/iolist.h"

#include <cstring>
#include <new>

#include "textlib/lines.h"

namespace iolist {

using namespace files;
using namespace shortstr;

namespace {

constexpr std::uint16_t kTextBuffer = 10240;
// A whole text is written in pieces of this size (a reply of 3 MB in 50
// writes rather than 750).
constexpr std::uint16_t kSaveBuffer = 61440;
constexpr std::int32_t kMinMemory = 5120;

List* cache = nullptr;

// The UTF-8 byte-order mark.
constexpr std::string_view kBom = "\xEF\xBB\xBF";

ShortStr Transform(ShortStr line, std::uint32_t options) {
  if (options & optUpper) line = UpCaseStr(line);
  if (options & optLower) line = LoCaseStr(line);
  if (options & optTrimRight) line = TrimRight(line);
  if (options & optTrimLeft) line = TrimLeft(line);
  return line;
}

ShortStr Recode(ShortStr line, std::uint32_t options) {
  if (options & optToAnsi) line = RecodeStr(line, 1);
  if (options & optToOem) line = RecodeStr(line, 2);
  return line;
}

// Applies optComments and optSkipEmpty; false when the line is dropped.
bool KeepLine(ShortStr& line, std::uint32_t options) {
  if (options & optComments) {
    int semicolon = Pos(";", line);
    if (semicolon > 0) line = Copy(line, 1, semicolon - 1);
    if (line.Empty()) return false;
  }
  return !(line.Empty() && (options & optSkipEmpty));
}

// The options that change a line on its way to the file.
constexpr std::uint32_t kLineChanges = optUpper | optLower | optTrimRight | optTrimLeft |
                                       optToAnsi | optToOem | optComments | optSkipEmpty;

std::string Numbered(const std::string& name, std::uint32_t options) {
  return (options & optNumbered) ? NumberedName(name) : name;
}

}  // namespace

namespace {

// The line store: a text's bytes, handed over whole, in which its lines are
// stored where they lie (a large reply is then not copied line by line).
// A line freed by its list is counted off here; the bytes go with the last
// of their lines, or at once when none was stored in them.
struct StoredText {
  std::string bytes;
  std::size_t live = 0;  // lines stored in it and not yet freed
};

struct LineStore {
  std::vector<StoredText*> texts;
  std::uintptr_t from = 0, to = 0;  // an address range holding every text
};

bool Claim(void* block);

// The store, made at the first text and never destroyed (lines may be freed
// at exit); listman hands it back the blocks it made from then on.
LineStore& Store() {
  static LineStore* store = [] {
    listman::SetBlockStore(Claim);
    return new LineStore();
  }();
  return *store;
}

void Release(LineStore& store, std::size_t i) {
  delete store.texts[i];
  store.texts.erase(store.texts.begin() + static_cast<std::ptrdiff_t>(i));
  if (store.texts.empty()) store.from = store.to = 0;
}

// listman's claim: counts off a line stored in one of the texts.
bool Claim(void* block) {
  LineStore& store = Store();
  const auto at = reinterpret_cast<std::uintptr_t>(block);
  if (at < store.from || at >= store.to) return false;
  // The newest first: the reply's text comes after the data files'.
  for (std::size_t i = store.texts.size(); i-- > 0;) {
    const auto begin = reinterpret_cast<std::uintptr_t>(store.texts[i]->bytes.data());
    if (at < begin || at >= begin + store.texts[i]->bytes.size()) continue;
    if (--store.texts[i]->live == 0) Release(store, i);
    return true;
  }
  return false;
}

StoredText* Adopt(std::string bytes) {
  LineStore& store = Store();
  auto* text = new StoredText{std::move(bytes)};
  const auto from = reinterpret_cast<std::uintptr_t>(text->bytes.data());
  const std::uintptr_t to = from + text->bytes.size();
  if (store.texts.empty() || from < store.from) store.from = from;
  if (store.texts.empty() || to > store.to) store.to = to;
  store.texts.push_back(text);
  return text;
}

// Releases the text when no line was stored in it.
void Done(StoredText* text) {
  if (text->live > 0) return;
  LineStore& store = Store();
  for (std::size_t i = 0; i < store.texts.size(); ++i) {
    if (store.texts[i] == text) return Release(store, i);
  }
}

// Appends the lines of text to list, each through the load options; false
// when optWrap finds more lines than a list may hold.
// Lines of text up to 255 bytes are stored in place when text lies in
// stored (each takes the line end before it as its length byte).
bool StoreLines(std::string_view text, List* list, std::uint32_t options, StoredText* stored) {
  const bool wrap = (options & optWrap) != 0;
  bool fits = true;
  const bool transform = (options & kLineChanges) != 0;  // the options ask for changes
  auto store = [&](ShortStr line) {
    if (list->Count >= kMaxLines) {
      fits = !wrap;
      return;
    }
    if (transform) {
      line = Recode(Transform(line, options), options);
      if (!KeepLine(line, options)) return;
    }
    lines::LineAdd(list, line);
  };
  textlines::ForEachLine(text, [&](std::string_view line) {
    if (!fits) return false;
    if (!transform && line.size() <= static_cast<std::size_t>(kMaxLen)) {  // stored as it stands
      if (list->Count >= kMaxLines)
        fits = !wrap;
      else if (stored != nullptr && line.data() != text.data()) {
        ++stored->live;
        lines::LineAddInPlace(list, const_cast<char*>(line.data()) - 1,
                              static_cast<std::uint8_t>(line.size()));
      } else
        lines::LineAddBytes(list, line);
      return fits;
    }
    if (wrap)
      textlines::WrapLine(line, store);
    else
      store(ShortStr(line));  // cut at 255
    return fits;
  });
  return fits;
}

// A stored line's node from the pool, with its header.
constexpr std::size_t kLineCost = 32;

// About the number of lines in text: its LF bytes, or its CR bytes when it
// has none.
std::size_t LinesIn(std::string_view text) {
  auto count = [text](char end) {
    std::size_t n = 0;
    for (const char *at = text.data(), *stop = at + text.size();
         (at = static_cast<const char*>(
              std::memchr(at, end, static_cast<std::size_t>(stop - at)))) != nullptr;
         ++at)
      ++n;
    return n;
  };
  std::size_t lf = count('\n');
  return (lf > 0 ? lf : count('\r')) + 1;
}

// Hands put(text) each line of first..last as it is written: with the
// prefix and the options' changes (a line that nothing changes straight
// from its stored bytes), in the format's charset; false as soon as put
// gives false. Positions are counted in 32 bits: inserts can take a full
// message past 65,535 lines, and every line must still be written.
template <class Put>
bool ForEachWritten(List* list, std::int32_t first, std::int32_t last, const ShortStr& prefix,
                    std::uint32_t options, const TextFormat& format, Put&& put) {
  const bool asStored = prefix.Empty() && !(options & kLineChanges);
  const bool plain = charset::KeepsBytes(format.Charset, format.Escapes);
  listman::Node* node = first <= last ? listman::ListGetNode(list, first) : nullptr;
  std::string encoded;  // one buffer for every line
  for (std::int32_t i = first; i <= last && node != nullptr; ++i, node = node->Next) {
    ShortStr line;
    std::string_view text;
    if (asStored) {
      text = lines::ViewOfNode(node);
    } else {
      line = Recode(prefix + Transform(lines::LineOfNode(node), options), options);
      if (!KeepLine(line, options)) continue;
      text = line.View();
    }
    if (!plain) charset::EncodeInto(text, format.Charset, format.Escapes, encoded);
    if (!put(plain ? text : std::string_view(encoded))) return false;
  }
  return true;
}

}  // namespace

int TextRead(const std::string& name, std::string& bytes) {
  File file;
  int r = FileOpen(file, kTextBuffer, name, optText | optRead);
  if (r != 0) return -r;
  const int readError = ReadAll(file, bytes);
  const int closeError = FileClose(file);
  return -(readError != 0 ? readError : closeError);
}

int TextParse(std::string bytes, List*& lines, std::uint32_t options, TextFormat& format) {
  listman::ListCreate(lines);
  // A text that will be refused costs no more than its bytes: when it may
  // hold too many lines they are counted before anything is decoded or
  // stored (decoding adds no line end).
  const std::size_t expected = LinesIn(bytes);
  if ((options & optWrap) && expected > kMaxLines && textlines::MoreLinesThan(bytes, kMaxLines)) {
    return kErrTooManyLines;
  }
  format.Bom =
      format.Charset == charset::Charset::Utf8 && std::string_view(bytes).starts_with(kBom);
  std::size_t from = format.Bom ? kBom.size() : 0;
  format.Ending = textlines::FirstLineEnd(std::string_view(bytes).substr(from));
  // The text (the bytes themselves when they are CP866) becomes a region
  // the lines are stored in: a large reply is not copied again.
  std::size_t size = textlines::WithoutEndMark(std::string_view(bytes).substr(from)).size();
  if (!charset::KeepsBytes(format.Charset, format.Escapes)) {
    bytes =
        charset::Decode(std::string_view(bytes).substr(from, size), format.Charset, format.Escapes);
    from = 0;
    size = bytes.size();
  }
  listman::BlocksAhead((expected < kMaxLines ? expected : kMaxLines) * kLineCost);
  StoredText* stored = Adopt(std::move(bytes));
  const bool fits =
      StoreLines(std::string_view(stored->bytes.data() + from, size), lines, options, stored);
  Done(stored);
  if (fits) return 0;
  listman::ListDisposeAll(lines);
  listman::ListCreate(lines);
  return kErrTooManyLines;
}

int TextLoad(const std::string& rawName, List*& lines, std::uint32_t options, TextFormat* format,
             charset::EscapeTable* escapes) {
  listman::ListCreate(lines);
  if (rawName.empty()) return 3;
  if (MemAvailable() < kMinMemory) return 203;
  platform::IoResult();
  std::string name = Numbered(rawName, options);
  CacheEntry* entry = nullptr;
  if (!(options & optNoCache) && TextCacheFind(name, entry)) {
    listman::ListDisposeAll(lines);
    listman::ListCopy(entry->Lines, lines);
    return 0;
  }
  std::string bytes;
  int r = TextRead(name, bytes);
  if (r != 0 && bytes.empty()) return r;
  TextFormat found;
  found.Escapes = escapes;
  if (charset::IsUtf8Text(bytes)) found.Charset = charset::Charset::Utf8;
  listman::ListDisposeAll(lines);
  int parsed = TextParse(std::move(bytes), lines, options, found);
  if (format != nullptr) *format = found;
  return parsed != 0 ? parsed : r;
}

int TextSave(const std::string& rawName, List* list, std::int32_t first, std::int32_t last,
             const ShortStr& prefix, std::uint32_t options, const TextFormat& format) {
  if (listman::ListCheck(list) != 0) return 204;
  std::string name = Numbered(rawName, options);
  CacheEntry* entry = nullptr;
  if (!(options & optNoCache) && TextCacheFind(name, entry)) {
    listman::ListDisposeAll(entry->Lines);
    listman::ListCopy(list, entry->Lines);
    entry->Changed = true;
    return 0;
  }
  if (MemAvailable() < kMinMemory) return 203;
  platform::IoResult();
  if (!(options & optRewrite)) options |= optAppend;
  File file;
  int r = FileOpen(file, kSaveBuffer, name,
                   (options & ~optNumbered) | optText | optMakeDir | optRewrite);
  if (r != 0) return -r;
  if (first < 0) first = 1;
  if (last < 0) last = list->Count;
  const std::string_view ending = textlines::LineEndBytes(format.Ending);
  auto failed = [&file] {
    const int error = file.Error;
    FileDiscard(file);
    return -(error != 0 ? error : 101);
  };
  if (format.Bom && first == 1 && WriteBytes(file, kBom.data(), kBom.size()) != 0) return failed();
  const bool written =
      ForEachWritten(list, first, last, prefix, options, format,
                     [&](std::string_view text) { return WriteText(file, text, ending) == 0; });
  if (!written) return failed();
  return -FileClose(file);
}

int TextWrite(const std::string& name, List* list, const ShortStr& prefix, std::uint32_t options,
              const TextFormat& format) {
  return TextSave(name, list, -1, -1, prefix, options, format);
}

std::string TextBytes(List* list, const TextFormat& format) {
  std::string out;
  if (listman::ListCheck(list) != 0) return out;
  const std::string_view ending = textlines::LineEndBytes(format.Ending);
  if (format.Bom) out.append(kBom);
  ForEachWritten(list, 1, list->Count, ShortStr(), 0, format, [&](std::string_view text) {
    out.append(text).append(ending);
    return true;
  });
  return out;
}

void TextCacheInit() {
  if (cache == nullptr) listman::ListCreate(cache);
}

bool TextCacheFind(const std::string& name, CacheEntry*& entry) {
  entry = nullptr;
  if (cache == nullptr) return false;
  const std::string key = UpCaseText(name);
  for (std::int32_t i = cache->Count; i >= 1; --i) {
    auto* e = static_cast<CacheEntry*>(listman::ListGet(cache, i));
    if (*e->Key == key) {
      entry = e;
      return true;
    }
  }
  return false;
}

int TextCacheLoad(const std::string& name, std::uint32_t options, CacheEntry*& entry) {
  if (TextCacheFind(name, entry)) return 0;
  if (cache == nullptr) listman::ListCreate(cache);
  void* block = listman::BlockAlloc(sizeof(CacheEntry));
  entry = new (block) CacheEntry{new std::string(UpCaseText(name)),
                                 new std::string(name),
                                 nullptr,
                                 new std::string(),
                                 options,
                                 options,
                                 false};
  // File names are case-sensitive here: the file is opened under the name
  // as given, while the key matches any letter case.
  int r = TextLoad(name, entry->Lines, options);
  listman::ListAppend(cache, entry, sizeof(CacheEntry));
  return r;
}

void TextCacheRelease() {
  if (cache == nullptr) return;
  for (std::int32_t i = cache->Count; i >= 1; --i) {
    auto* e = static_cast<CacheEntry*>(listman::ListGet(cache, i));
    if (e->Changed && e->Lines != nullptr) {
      std::uint32_t back = (e->LoadOptions & ~(optRead | optAppend)) | optRewrite | optNoCache;
      TextWrite(*e->Name, e->Lines, ShortStr(*e->Prefix), back);
    }
    if (e->Lines != nullptr) listman::ListDisposeAll(e->Lines);
    delete e->Key;
    delete e->Name;
    delete e->Prefix;
  }
  listman::ListDisposeAll(cache);
}

}  // namespace iolist
