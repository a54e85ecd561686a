#include "textlib/shortstr.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace shortstr {

ShortStr::ShortStr(std::string_view text) {
  len = static_cast<std::uint16_t>(units::Head(text, kMaxLen));
  if (len > 0) std::memcpy(s, text.data(), len);  // an empty view may have no data
}

void ShortStr::Append(std::string_view more) {
  std::size_t n = more.size();
  if (len + n > static_cast<std::size_t>(kMaxLen)) {
    const std::size_t have = units::Count(View());
    n = have >= static_cast<std::size_t>(kMaxLen) ? 0 : units::Head(more, kMaxLen - have);
  }
  if (n > 0) std::memcpy(s + len, more.data(), n);
  len = static_cast<std::uint16_t>(len + n);
}

int Chars(const ShortStr& text) { return static_cast<int>(units::Count(text.View())); }

ShortStr Head(const ShortStr& text, int count) {
  if (count <= 0) return {};
  return ShortStr(text.View().substr(0, units::Head(text.View(), static_cast<std::size_t>(count))));
}

bool operator==(const ShortStr& a, const ShortStr& b) {
  return a.len == b.len && std::memcmp(a.s, b.s, a.len) == 0;
}

ShortStr operator+(ShortStr a, const ShortStr& b) {
  a.Append(b);
  return a;
}

namespace {
// The sets, made by the compiler: no guard to test at each use.
constexpr CharSet kBlanks("\t "), kTokenEnds("\t ,/;"), kFieldEnds(",;"), kTrimmed("\t\n\r ");
}  // namespace

const CharSet& BlankSet() { return kBlanks; }
const CharSet& TokenSet() { return kTokenEnds; }
const CharSet& FieldSet() { return kFieldEnds; }
const CharSet& TrimSet() { return kTrimmed; }

const ShortStr& LatinToCyrillic() {
  // H Н, Y У, C С, y у, p р, a а, c с, k к, u и, m т, o о, n п, e е, x х
  static const ShortStr pairs = Cp866("HНYУCСyуpрaаcсkкuиmтoоnпeеxх");
  return pairs;
}

const std::array<unsigned char, 256>& FoldTable() {
  static const auto table = [] {
    std::array<unsigned char, 256> t{};
    for (std::size_t i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    const ShortStr& pairs = LatinToCyrillic();
    for (int p = 0; p + 1 < pairs.len; p += 2) {
      for (auto& b : t) {
        if (b == pairs.s[p]) b = pairs.s[p + 1];
      }
    }
    return t;
  }();
  return table;
}

namespace {

// Each byte of text through table, four to a test of the end.
void MapBytes(ShortStr& text, const std::array<unsigned char, 256>& table) {
  const int n = text.len;  // a local count: the stores below may not be taken to change it
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    text.s[i] = table[text.s[i]];
    text.s[i + 1] = table[text.s[i + 1]];
    text.s[i + 2] = table[text.s[i + 2]];
    text.s[i + 3] = table[text.s[i + 3]];
  }
  for (; i < n; ++i) text.s[i] = table[text.s[i]];
}

}  // namespace

ShortStr FoldLookAlikes(ShortStr text) {
  MapBytes(text, FoldTable());
  return text;
}

// --- primitives -----------------------------------------------------------

int Pos(const ShortStr& pattern, const ShortStr& text) {
  if (pattern.len == 0 || pattern.len > text.len) return 0;
  size_t at = text.View().find(pattern.View());
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

ShortStr Copy(const ShortStr& text, int index, int count) {
  if (index < 1) index = 1;
  if (index > text.len || count <= 0) return {};
  int avail = text.len - index + 1;
  if (count > avail) count = avail;
  return ShortStr(
      text.View().substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}

ShortStr Delete(ShortStr text, int index, int count) {
  if (index < 1 || index > text.len || count <= 0) return text;
  int avail = text.len - index + 1;
  if (count > avail) count = avail;
  std::memmove(text.s + index - 1, text.s + index - 1 + count,
               static_cast<std::size_t>(avail - count));
  text.len = static_cast<std::uint16_t>(text.len - count);
  return text;
}

ShortStr Insert(const ShortStr& piece, const ShortStr& text, int index) {
  if (index < 1) index = 1;
  if (index > text.len + 1) index = text.len + 1;
  const auto at = static_cast<std::size_t>(index - 1);
  ShortStr r(text.View().substr(0, at));
  r.Append(piece);
  r.Append(text.View().substr(at));
  return r;
}

// --- words and fields -----------------------------------------------------

ShortStr ExtractWord(const ShortStr& text, int& n, const CharSet& set) {
  int pos = 1;
  int counter = 0;
  while (pos <= text.len) {
    while (pos <= text.len && set.Has(text.At(pos))) ++pos;
    int start = pos;
    while (pos <= text.len && !set.Has(text.At(pos))) ++pos;
    ++counter;
    if (counter == n) return Copy(text, start, pos - start);
  }
  n = -1;
  return {};
}

ShortStr ExtractToken(const ShortStr& text, int n) { return ExtractWord(text, n, TokenSet()); }

ShortStr ExtractBlankWord(const ShortStr& text, int n) { return ExtractWord(text, n, BlankSet()); }

ShortStr ExtractField(const ShortStr& text, int n) {
  const CharSet& fields = FieldSet();
  const int len = text.len;
  bool quoted = false;  // carries over from field to field
  int pos = 1;
  int number = 0;
  while (pos <= len) {
    ++number;
    int from = text.At(pos) == '"' ? pos + 1 : pos;
    int j = pos;
    for (; j <= len; ++j) {
      unsigned char c = text.At(j);
      if (c == '"')
        quoted = !quoted;
      else if (fields.Has(c) && !quoted)
        break;
    }
    int end;
    if (j <= len) {
      end = j - 1;
      if (end >= 1 && text.At(end) == '"') --end;
    } else {
      end = len;
      unsigned char last = text.At(len);
      if (last == '"' || fields.Has(last)) {
        end = len - 1;
        if (end >= 1 && text.At(end) == '"') --end;
      }
    }
    if (number == n) return end >= from ? Copy(text, from, end - from + 1) : ShortStr();
    pos = j + 1;
  }
  return {};
}

ShortStr Unquote(const ShortStr& text) {
  if (text.len > 1 && text.At(1) == '"' && text.At(text.len) == '"') {
    return Copy(text, 2, text.len - 2);
  }
  return text;
}

// --- case, code pages, replacement -----------------------------------------

unsigned char UpCaseChar(unsigned char c) {
  if ((c >= 0x61 && c <= 0x7A) || (c >= 0xA0 && c <= 0xAF)) return c - 0x20;
  if (c >= 0xE0 && c <= 0xEF) return c - 0x50;
  return c;
}

unsigned char LoCaseChar(unsigned char c) {
  if ((c >= 0x41 && c <= 0x5A) || (c >= 0x80 && c <= 0x8F)) return c + 0x20;
  if (c >= 0x90 && c <= 0x9F) return c + 0x50;
  return c;
}

const std::array<unsigned char, 256>& UpperTable() {
  static const auto table = [] {
    std::array<unsigned char, 256> t{};
    for (std::size_t i = 0; i < 256; ++i) t[i] = UpCaseChar(static_cast<unsigned char>(i));
    return t;
  }();
  return table;
}

ShortStr UpCaseStr(ShortStr text) {
  MapBytes(text, UpperTable());
  return text;
}

std::string UpCaseText(std::string_view text) {
  const auto& upper = UpperTable();
  std::string out(text);
  for (char& c : out) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
  return out;
}

ShortStr LoCaseStr(ShortStr text) {
  for (int i = 0; i < text.len; ++i) text.s[i] = LoCaseChar(text.s[i]);
  return text;
}

unsigned char RecodeChar(unsigned char c, int mode) {
  if (mode == 1) {
    if (c >= 0x80 && c <= 0xAF) return c + 0x40;
    if (c >= 0xE0 && c <= 0xEF) return c + 0x10;
  } else if (mode == 2) {
    if (c == 0xB9) return 0x23;
    if (c >= 0xC0 && c <= 0xEF) return c - 0x40;
    if (c >= 0xF0) return c - 0x10;
  }
  return c;
}

ShortStr RecodeStr(ShortStr text, int mode) {
  for (int i = 0; i < text.len; ++i) text.s[i] = RecodeChar(text.s[i], mode);
  return text;
}

ShortStr PairReplace(ShortStr text, const ShortStr& pairs) {
  for (int p = 0; p + 1 < pairs.len; p += 2) {
    const unsigned char from = pairs.s[p], to = pairs.s[p + 1];
    for (int i = 0; i < text.len; ++i) {
      if (text.s[i] == from) text.s[i] = to;
    }
  }
  return text;
}

ShortStr ReplaceChar(ShortStr text, unsigned char from, unsigned char to) {
  for (int i = 0; i < text.len; ++i) {
    if (text.s[i] == from) text.s[i] = to;
  }
  return text;
}

bool OccursIn(const ShortStr& pattern, const ShortStr& text) { return Pos(pattern, text) > 0; }

int PosNth(const ShortStr& pattern, const ShortStr& text, std::uint16_t n) {
  if (n == 0) n = 1;
  if (pattern.len == 0 || pattern.len > text.len) return 0;
  std::string_view t = text.View();
  size_t from = 0;
  for (int found = 0;; ++from) {
    size_t at = t.find(pattern.View(), from);
    if (at == std::string_view::npos) return 0;
    if (++found == n) return static_cast<int>(at) + 1;
    from = at;
  }
}

ShortStr TrimLeft(const ShortStr& text) {
  const CharSet& trim = TrimSet();
  int i = 1;
  while (i <= text.len && trim.Has(text.At(i))) ++i;
  return Copy(text, i, text.len - i + 1);
}

ShortStr TrimRight(const ShortStr& text) {
  const CharSet& trim = TrimSet();
  int n = text.len;
  while (n > 0 && trim.Has(text.At(n))) --n;
  return Copy(text, 1, n);
}

ShortStr Trim(const ShortStr& text) { return TrimLeft(TrimRight(text)); }

ShortStr DeleteChars(const ShortStr& text, const CharSet& set) {
  ShortStr r;
  for (int i = 0; i < text.len; ++i) {
    if (!set.Has(text.s[i])) r.s[r.len++] = text.s[i];
  }
  return r;
}

ShortStr RemoveSpaces(const ShortStr& text) {
  static const CharSet space(" ");
  return DeleteChars(text, space);
}

namespace {

// The replacement loop of ReplaceAll over a text that may grow: a step that
// takes it past 255 bytes cuts it (cut), or else ends the loop with false.
bool ReplaceLoop(std::string& text, const ShortStr& find, const ShortStr& replacement, int& count,
                 bool cut) {
  constexpr int kMaxReplacements = 1000;
  count = 0;
  if (find.len == 0) return true;
  const ShortStr key = UpCaseStr(find);
  // A replacement that holds the key would be found again without end, so
  // then the search goes on after the inserted text.
  const bool onward = OccursIn(key, UpCaseStr(replacement));
  // The text upper-cased, kept in step with it: a replacement changes both.
  const auto& table = UpperTable();
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  const ShortStr upperReplacement = UpCaseStr(replacement);
  std::size_t from = 0;
  while (count < kMaxReplacements) {
    std::size_t at = upper.find(key.View(), from);
    if (at == std::string::npos) break;
    text.replace(at, find.len, replacement.View());
    upper.replace(at, find.len, upperReplacement.View());
    ++count;
    if (text.size() > static_cast<std::size_t>(kMaxLen) &&
        units::Count(text) > static_cast<std::size_t>(kMaxLen)) {
      if (!cut) return false;
      const std::size_t keep = units::Head(text, kMaxLen);
      text.resize(keep);
      upper.resize(keep);
    }
    from = onward ? at + replacement.len : 0;
    if (from >= text.size()) break;
  }
  return true;
}

}  // namespace

ShortStr ReplaceAll(const ShortStr& text, const ShortStr& find, const ShortStr& replacement,
                    int& count) {
  std::string work = text.Std();
  ReplaceLoop(work, find, replacement, count, true);
  return ShortStr(work);
}

bool ReplaceAllWhole(ShortStr& text, const ShortStr& find, const ShortStr& replacement,
                     int& count) {
  return ReplaceAllWhole(text, PrepareReplacement(find, replacement), count);
}

Replacement PrepareReplacement(const ShortStr& find, const ShortStr& with) {
  Replacement r{find.Std(), UpCaseStr(find).Std(), with.Std(), UpCaseStr(with).Std(), false, false};
  // A replacement that holds the key would be found again without end.
  r.onward = !r.upperFind.empty() && r.upperWith.find(r.upperFind) != std::string::npos;
  r.grows = r.with.size() > r.find.size() || units::Count(r.with) > units::Count(r.find);
  return r;
}

bool ReplaceAllWhole(ShortStr& text, const Replacement& r, int& count) {
  ShortStr upper = UpCaseStr(text);
  return ReplaceAllWhole(text, upper, r, count);
}

bool ReplaceAllWhole(ShortStr& text, ShortStr& upperText, const Replacement& r, int& count,
                     Untouched* kept) {
  constexpr int kMaxReplacements = 1000;
  count = 0;
  if (r.find.empty()) return true;
  const std::string_view key = r.upperFind;
  std::size_t at = upperText.View().find(key);
  if (at == std::string_view::npos) return true;
  // The text and its upper-cased form are spliced in step, in place. A text
  // that may grow is kept first, to be put back when the result would pass
  // 255 characters: the text is never cut.
  ShortStr oldText, oldUpper;
  if (r.grows) {
    oldText = text;
    oldUpper = upperText;
  }
  auto undo = [&] {
    text = oldText;
    upperText = oldUpper;
    return false;
  };
  const std::size_t f = r.find.size(), w = r.with.size();
  std::size_t n = text.len;
  int made = 0;
  Untouched ends{n, n};
  for (;;) {
    if (n - f + w > static_cast<std::size_t>(kMaxBytes)) return undo();
    // What lies before the key and after it stays (the end counted from the end).
    ends = {std::min(ends.head, at), std::min(ends.tail, n - at - f)};
    std::memmove(text.s + at + w, text.s + at + f, n - at - f);
    std::memmove(upperText.s + at + w, upperText.s + at + f, n - at - f);
    r.with.copy(reinterpret_cast<char*>(text.s + at), w);
    r.upperWith.copy(reinterpret_cast<char*>(upperText.s + at), w);
    n = n - f + w;
    text.len = upperText.len = static_cast<std::uint16_t>(n);
    // Searching again from the start finds the first occurrence there is
    // now: none lies wholly before this one (it was the first), so it
    // starts at most f - 1 bytes before it.
    const std::size_t from = r.onward ? at + w : at + 1 > f ? at + 1 - f : 0;
    if (++made == kMaxReplacements || from >= n) break;
    at = upperText.View().find(key, from);
    if (at == std::string_view::npos) break;
  }
  if (n > static_cast<std::size_t>(kMaxLen) &&
      units::Count(text.View()) > static_cast<std::size_t>(kMaxLen))
    return undo();
  count = made;
  if (kept != nullptr) *kept = ends;
  return true;
}

ShortStr ReplaceText(const ShortStr& text, const ShortStr& find, const ShortStr& replacement) {
  int count = 0;
  return ReplaceAll(text, find, replacement, count);
}

ShortStr TildeCopy(const ShortStr& text, int start, int count) {
  ShortStr r;
  int j = 0, k = 0, tildes = 0;
  // Never more than 255 bytes are taken, so the limit stays small enough to
  // grow by the one tilde it may get.
  int limit = count < kMaxLen ? count : kMaxLen;
  while (j < text.len && r.len < limit && r.len < kMaxLen) {
    ++j;
    if (r.len == 0 && text.At(j) == '~') {
      ++tildes;
      continue;
    }
    ++k;
    if (k < start) continue;
    if (r.len == 0 && tildes % 2 == 1 && text.At(k) != '~') {
      r.AppendChar('~');
      ++limit;
    }
    r.AppendChar(text.At(k));
  }
  return r;
}

ShortStr RepeatChar(unsigned char c, int count) {
  ShortStr r;
  for (int i = 0; i < count && i < kMaxLen; ++i) r.AppendChar(c);
  return r;
}

// --- numbers ---------------------------------------------------------------

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number that starts text, 0 when there is none.
size_t NumberLength(std::string_view t) {
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    size_t e = i + 1;
    if (e < t.size() && (t[e] == '+' || t[e] == '-')) ++e;
    size_t expDigits = 0;
    while (e < t.size() && IsDigit(t[e])) ++e, ++expDigits;
    if (expDigits == 0) return 0;
    i = e;
  }
  return i;
}

std::string FixedText(double x, int decimals) {
  if (!std::isfinite(x)) return "0";
  if (decimals <= 0) {
    // Half away from zero, as whole-number output always rounded.
    double r = std::round(x);
    if (r == 0) r = 0;  // no "-0"
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.0f", r);
    return buf;
  }
  if (decimals > 30) decimals = 30;
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
  return buf;
}

ShortStr RightAlign(const std::string& digits, int width) {
  std::string out;
  if (width > kMaxLen) width = kMaxLen;
  if (static_cast<int>(digits.size()) < width)
    out.assign(static_cast<std::size_t>(width) - digits.size(), ' ');
  out += digits;
  return ShortStr(out);
}

}  // namespace

double StrToReal(const ShortStr& text) {
  std::string_view t = text.View();
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  size_t n = NumberLength(t);
  if (n == 0 || n != t.size()) return 0;
  if (t.front() == '+') t.remove_prefix(1);
  double value = 0;
  auto res = std::from_chars(t.data(), t.data() + t.size(), value);
  if (res.ec != std::errc() || res.ptr != t.data() + t.size()) return 0;
  return std::isfinite(value) ? value : 0;
}

ShortStr NumText(int width, double x) { return RightAlign(FixedText(x, 0), width); }

ShortStr ZeroPad(int width, double x) { return ReplaceChar(NumText(width, x), ' ', '0'); }

ShortStr NumTextOrDash(int width, int decimals, double x) {
  constexpr double kEmptyValue = 6543210987602837504.0;
  if (std::fabs(std::fabs(x) - kEmptyValue) <= 100000000.0) {
    int w = width < 0 ? -width : width;
    if (w > kMaxLen) w = kMaxLen;
    std::string side(static_cast<std::size_t>((w - 1) / 2 > 0 ? (w - 1) / 2 : 0), ' ');
    return ShortStr(side + (w % 2 == 1 ? "-" : "--") + side);
  }
  return RightAlign(FixedText(x, decimals), width);
}

ShortStr HexStr8(std::uint32_t x) {
  static const char kDigits[] = "0123456789ABCDEF";
  ShortStr r;
  for (int shift = 28; shift >= 0; shift -= 4)
    r.AppendChar(static_cast<unsigned char>(kDigits[(x >> shift) & 0xF]));
  return r;
}

std::int32_t HexVal(const ShortStr& text) {
  int n = text.len < 8 ? text.len : 8;
  std::uint32_t value = 0;
  for (int i = 1; i <= n; ++i) {
    unsigned char c = text.At(i);
    unsigned digit = 0;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    value = value * 16 + digit;
  }
  return static_cast<std::int32_t>(value);
}

ShortStr FormatSegOfs(std::uint32_t x) {
  ShortStr hex = HexStr8(x);
  return Copy(hex, 1, 4) + ShortStr(":") + Copy(hex, 5, 4);
}

std::uint32_t ParseSegOfs(const ShortStr& text) {
  ShortStr t = Copy(text, 1, 32);
  int colon = Pos(ShortStr(":"), t);
  ShortStr seg = colon > 0 ? Copy(t, 1, colon - 1) : ShortStr();
  ShortStr ofs = colon > 0 ? Copy(t, colon + 1, 4) : Copy(t, 1, 4);
  std::uint32_t s = static_cast<std::uint32_t>(HexVal(seg)) & 0xFFFF;
  std::uint32_t o = static_cast<std::uint32_t>(HexVal(ofs)) & 0xFFFF;
  return s * 16 + o;
}

ShortStr Num(long long x) { return ShortStr(std::to_string(x)); }

}  // namespace shortstr
