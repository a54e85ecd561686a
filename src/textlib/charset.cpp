#include "textlib/charset.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/codepages.h"
#include "textlib/units.h"

namespace charset {

namespace {

// Escapes (units.h): a lead byte and its trails. Escape i of the table is
// one of 12 * 32 two-byte escapes, then of 2 * 32^2 three-byte ones, then
// of 2 * 32^4 five-byte ones: more than every code point and raw byte.
constexpr std::uint32_t kTrails = 32;
constexpr std::uint32_t kTwoByte = 12 * kTrails;
constexpr std::uint32_t kThreeByte = 2 * kTrails * kTrails;
// The key of an invalid byte b is kRawByte + b; other keys are code points.
constexpr std::uint32_t kRawByte = 0x110000;
// Every code point of the three code page tables lies below this.
constexpr std::uint32_t kTableRange = 0x2600;

// Bytes that stand for no character of their own while escapes are on.
bool IsEscapeByte(unsigned char c) { return c >= units::kFirstLead && c <= units::kLastTrail; }

using Reverse = std::array<unsigned char, kTableRange>;

Reverse MakeReverse(const unsigned short (&high)[128]) {
  Reverse r{};
  for (int i = 0; i < 128; ++i) {
    if (high[i] != 0) r[high[i]] = static_cast<unsigned char>(0x80 + i);
  }
  return r;
}

const unsigned short (&HighHalf(Charset cs))[128] {
  if (cs == Charset::Koi8r) return platform::kKoi8rHigh;
  if (cs == Charset::Cp1251) return platform::kCp1251High;
  return platform::kCp866High;
}

// The byte of code point cp in a single-byte charset; false when it has none.
bool ToSingleByte(std::uint32_t cp, Charset cs, unsigned char& out) {
  static const Reverse cp866 = MakeReverse(platform::kCp866High);
  static const Reverse koi8r = MakeReverse(platform::kKoi8rHigh);
  static const Reverse cp1251 = MakeReverse(platform::kCp1251High);
  if (cp < 0x80) {
    out = static_cast<unsigned char>(cp);
    return true;
  }
  if (cp >= kTableRange) return false;
  const Reverse& r = cs == Charset::Koi8r ? koi8r : cs == Charset::Cp1251 ? cp1251 : cp866;
  out = r[cp];
  return out != 0;
}

}  // namespace

void EscapeTable::Append(std::string& out, std::uint32_t key) {
  auto [it, added] = index_.try_emplace(key, static_cast<std::uint32_t>(keys_.size()));
  if (added) keys_.push_back(key);
  std::uint32_t i = it->second;
  auto trail = [](std::uint32_t digit) {
    return static_cast<char>(units::kFirstTrail + digit % kTrails);
  };
  if (i < kTwoByte) {
    out += static_cast<char>(units::kFirstLead + i / kTrails);
    out += trail(i);
    return;
  }
  i -= kTwoByte;
  if (i < kThreeByte) {
    out += static_cast<char>(units::kThreeByteLead + i / (kTrails * kTrails));
    out += trail(i / kTrails);
    out += trail(i);
    return;
  }
  i -= kThreeByte;
  out += static_cast<char>(units::kFiveByteLead + i / (kTrails * kTrails * kTrails * kTrails));
  for (std::uint32_t unit = kTrails * kTrails * kTrails; unit >= 1; unit /= kTrails)
    out += trail(i / unit);
}

bool EscapeTable::Key(std::string_view text, std::size_t at, std::uint32_t& key) const {
  const std::size_t n = units::Length(text, at);
  const auto lead = static_cast<unsigned char>(text[at]);
  if (!units::IsLead(lead) || n != units::LeadLength(lead)) return false;
  std::uint32_t value = 0;
  for (std::size_t k = 1; k < n; ++k)
    value = value * kTrails + (static_cast<unsigned char>(text[at + k]) - units::kFirstTrail);
  std::uint32_t i;
  if (n == 2)
    i = (lead - units::kFirstLead) * kTrails + value;
  else if (n == 3)
    i = kTwoByte + (lead - units::kThreeByteLead) * kTrails * kTrails + value;
  else
    i = kTwoByte + kThreeByte +
        (lead - units::kFiveByteLead) * kTrails * kTrails * kTrails * kTrails + value;
  if (i >= keys_.size()) return false;
  key = keys_[i];
  return true;
}

namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Length of the valid UTF-8 sequence at s[i] and its code point; 0 when
// the bytes there are not valid UTF-8 (overlong forms and surrogates too).
std::size_t Utf8Sequence(std::string_view s, std::size_t i, std::uint32_t& cp) {
  auto byte = [&](std::size_t k) {
    return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u;
  };
  const unsigned c = byte(0);
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  std::size_t n;
  unsigned low = 0x80, high = 0xBF;  // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < n; ++k) {
    unsigned b = byte(k);
    if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  return n;
}

// Appends the CP866 form of a character (key: a code point or a raw byte):
// with escapes, an escape of the table where CP866 lacks it; else '?'.
void PutDecoded(std::string& out, std::uint32_t key, EscapeTable* escapes) {
  unsigned char b;
  const bool on = escapes != nullptr;
  if (key < kRawByte && ToSingleByte(key, Charset::Cp866, b) && !(on && IsEscapeByte(b))) {
    out += static_cast<char>(b);
  } else if (on) {
    escapes->Append(out, key);
  } else {
    out += '?';
  }
}

void PutEncoded(std::string& out, std::uint32_t key, Charset cs) {
  if (key >= kRawByte) {
    out += static_cast<char>(key - kRawByte);
    return;
  }
  unsigned char b;
  if (cs == Charset::Utf8)
    AppendUtf8(out, key);
  else if (ToSingleByte(key, cs, b))
    out += static_cast<char>(b);
  else
    out += '?';
}

// The top bit of eight bytes: ASCII text is tested, copied and decoded
// eight bytes at a time where it runs on.
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// True when the eight bytes at p[i..] are all there and all ASCII; word
// receives them.
bool EightAscii(const unsigned char* p, std::size_t i, std::size_t n, std::uint64_t& word) {
  if (i + 8 > n) return false;
  std::memcpy(&word, p + i, 8);
  return (word & kHighBits) == 0;
}

// The CP866 byte of each valid two-byte UTF-8 sequence (lead byte 0xC2..0xDF)
// that has one and is no escape byte; 0 where the general path decides.
const std::array<unsigned char, 32 * 64>& TwoByteTable() {
  static const auto table = [] {
    std::array<unsigned char, 32 * 64> t{};
    for (std::uint32_t lead = 0xC2; lead <= 0xDF; ++lead) {
      for (std::uint32_t next = 0x80; next <= 0xBF; ++next) {
        unsigned char b;
        const std::uint32_t cp = (lead & 0x1F) << 6 | (next & 0x3F);
        if (ToSingleByte(cp, Charset::Cp866, b) && !IsEscapeByte(b))
          t[(lead - 0xC0) * 64 + (next - 0x80)] = b;
      }
    }
    return t;
  }();
  return table;
}

// Decode from UTF-8: ASCII and the two-byte letters through a table, into
// a buffer written by index; everything else as PutDecoded has it.
void DecodeUtf8(std::string_view bytes, std::string& out, EscapeTable* escapes) {
  const auto& two = TwoByteTable();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  out.resize(n);  // room for every byte still to come, kept so below
  std::size_t w = 0;
  std::string general;
  for (std::size_t i = 0; i < n;) {
    const unsigned c = p[i];
    if (c < 0x80) {
      // Eight ASCII bytes at a time where they run on, else one (a blank
      // between words of Cyrillic text) without a call.
      std::uint64_t word;
      if (EightAscii(p, i, n, word)) {
        std::memcpy(out.data() + w, &word, 8);
        w += 8;
        i += 8;
      } else {
        out[w++] = static_cast<char>(c);
        ++i;
      }
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
      const unsigned char b = two[(c - 0xC0) * 64 + (p[i + 1] - 0x80)];
      if (b != 0) {
        out[w++] = static_cast<char>(b);
        i += 2;
        continue;
      }
    }
    std::uint32_t cp;
    const std::size_t len = Utf8Sequence(bytes, i, cp);
    general.clear();
    PutDecoded(general, len == 0 ? kRawByte + c : cp, escapes);
    i += len == 0 ? 1 : len;
    // An escape may take more bytes than its character did: the buffer
    // keeps room for it and for every byte still to come.
    const std::size_t room = w + general.size() + (n - i);
    if (room > out.size()) out.resize(room);
    out.replace(w, general.size(), general);
    w += general.size();
  }
  out.resize(w);
}

// The UTF-8 bytes of each CP866 byte from 0x80 on.
struct Utf8Form {
  unsigned char len;
  char bytes[3];
};
const std::array<Utf8Form, 128>& Utf8Forms() {
  static const auto forms = [] {
    std::array<Utf8Form, 128> f{};
    for (std::size_t b = 0; b < 128; ++b) {
      std::string one;
      AppendUtf8(one, platform::kCp866High[b]);
      f[b].len = static_cast<unsigned char>(one.size());
      for (std::size_t k = 0; k < one.size() && k < 3; ++k) f[b].bytes[k] = one[k];
    }
    return f;
  }();
  return forms;
}

// A line (at most 256 bytes) to UTF-8 through the table, in a buffer on the
// stack (at most three bytes a character); false, out untouched, when it
// holds an escape (escapes on), which the general path decodes.
bool EncodeLineUtf8(std::string_view text, bool escapesOn, std::string& out) {
  const auto& forms = Utf8Forms();
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  char buffer[3 * 256];
  std::size_t w = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      std::uint64_t word;
      if (EightAscii(p, i, text.size(), word)) {
        std::memcpy(buffer + w, &word, 8);
        w += 8;
        i += 7;
      } else {
        buffer[w++] = static_cast<char>(c);
      }
      continue;
    }
    if (escapesOn && IsEscapeByte(c)) return false;
    const Utf8Form& f = forms[c - 0x80];
    std::memcpy(buffer + w, f.bytes,
                3);  // all three: the room is there, the unused ones are overwritten
    w += f.len;
  }
  out.assign(buffer, w);
  return true;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
    if (x != b[i]) return false;
  }
  return true;
}

}  // namespace

bool ByName(std::string_view name, Charset& out) {
  struct Alias {
    std::string_view name;
    Charset cs;
  };
  static constexpr Alias kAliases[] = {
      {"CP866", Charset::Cp866},   {"866", Charset::Cp866},    {"IBM866", Charset::Cp866},
      {"+7_FIDO", Charset::Cp866}, {"IBMPC", Charset::Cp866},  {"UTF-8", Charset::Utf8},
      {"UTF8", Charset::Utf8},     {"KOI8-R", Charset::Koi8r}, {"KOI8", Charset::Koi8r},
      {"CP1251", Charset::Cp1251}, {"1251", Charset::Cp1251},  {"WINDOWS-1251", Charset::Cp1251},
  };
  for (const Alias& a : kAliases) {
    if (EqualNoCase(name, a.name)) {
      out = a.cs;
      return true;
    }
  }
  return false;
}

std::string_view Name(Charset cs) {
  switch (cs) {
    case Charset::Utf8: return "UTF-8";
    case Charset::Koi8r: return "KOI8-R";
    case Charset::Cp1251: return "CP1251";
    case Charset::Cp866: break;
  }
  return "CP866";
}

namespace {

// Eight bytes (the first at the low end) tested at once: ASCII and whole
// two-byte sequences with leads 0xC2..0xDF, the most of Cyrillic text. The
// bytes taken (8, or 7 when the last one leads a sequence), or 0 when the
// byte-by-byte test must decide; twoByte is set when a sequence was among them.
std::size_t TwoByteWord(std::uint64_t w, bool& twoByte) {
  if constexpr (std::endian::native != std::endian::little) return 0;
  constexpr std::uint64_t kLow7 = ~kHighBits, kLowNibbles = 0x1E1E1E1E1E1E1E1Eu;
  const std::uint64_t ascii = ~w & kHighBits;                       // 0xxxxxxx
  const std::uint64_t next = w & ~(w << 1) & kHighBits;             // 10xxxxxx
  const std::uint64_t lead = w & (w << 1) & ~(w << 2) & kHighBits;  // 110xxxxx
  if ((ascii | next | lead) != kHighBits) return 0;
  // 0xC0 and 0xC1 lead no valid sequence: their bits 1 to 4 are all 0.
  const std::uint64_t low = w & kLowNibbles;
  if (lead & ~((((low & kLow7) + kLow7) | low) & kHighBits)) return 0;
  const std::uint64_t last = lead & (std::uint64_t{0x80} << 56);
  if (((lead & ~last) << 8) != next) return 0;  // each lead followed by one continuation
  twoByte = twoByte || lead != 0;
  return last != 0 ? 7 : 8;
}

}  // namespace

bool IsUtf8Text(std::string_view bytes) {
  bool multi = false;
  std::uint32_t cp;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  for (std::size_t i = 0; i < size;) {
    if (i + 8 <= size) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if (const std::size_t taken = TwoByteWord(word, multi)) {
        i += taken;
        continue;
      }
    }
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    if (p[i] >= 0xC2 && p[i] <= 0xDF && i + 1 < size && (p[i + 1] & 0xC0) == 0x80) {
      multi = true;
      i += 2;
      continue;
    }
    std::size_t n = Utf8Sequence(bytes, i, cp);
    if (n == 0) return false;
    multi = true;
    i += n;
  }
  return multi;
}

bool FromControlLines(std::string_view text, Charset& out) {
  // Only lines that begin with 0x01 matter: go from one such byte to the next.
  for (std::size_t at = text.find('\x01'); at != std::string_view::npos;
       at = text.find('\x01', at + 1)) {
    const bool afterBom = at == 3 && text.starts_with("\xEF\xBB\xBF");
    if (at > 0 && text[at - 1] != '\r' && text[at - 1] != '\n' && !afterBom) continue;
    std::string_view line = text.substr(at + 1);
    line = line.substr(0, line.find_first_of("\r\n"));
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view kind = line.substr(0, colon);
    if (!EqualNoCase(kind, "CHRS") && !EqualNoCase(kind, "CHARSET")) continue;
    std::string_view rest = line.substr(colon + 1);
    while (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t')) rest.remove_prefix(1);
    if (ByName(rest.substr(0, rest.find_first_of(" \t")), out)) return true;
  }
  return false;
}

std::string Writable(std::string_view text, Charset cs, const EscapeTable* escapes) {
  if (escapes == nullptr) return std::string(text);  // nothing there but CP866
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = units::Length(text, i);
    std::uint32_t key;
    unsigned char b;
    const bool lacked = n > 1 && escapes->Key(text, i, key) &&
                        (key >= kRawByte || (cs != Charset::Utf8 && !ToSingleByte(key, cs, b)));
    if (lacked)
      out += '?';
    else
      out.append(text.substr(i, n));
    i += n;
  }
  return out;
}

std::u32string Shown(std::string_view text, const EscapeTable* escapes) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = units::Length(text, i);
    std::uint32_t key;
    if (n > 1 && escapes != nullptr && escapes->Key(text, i, key)) {
      out += key >= kRawByte ? U'?' : static_cast<char32_t>(key);
      i += n;
      continue;
    }
    // Bytes of no escape (a name or path shown as it is) stay CP866 bytes.
    for (std::size_t k = 0; k < n; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      out += c < 0x80 ? static_cast<char32_t>(c)
                      : static_cast<char32_t>(platform::kCp866High[c - 0x80]);
    }
    i += n;
  }
  return out;
}

bool HoldsEscape(std::string_view text) {
  if (!units::EscapesOn()) return false;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (units::IsLead(static_cast<unsigned char>(text[i])) &&
        units::IsTrail(static_cast<unsigned char>(text[i + 1])))
      return true;
  }
  return false;
}

bool KeepsBytes(Charset cs, const EscapeTable* escapes) {
  return cs == Charset::Cp866 && escapes == nullptr;
}

std::string Decode(std::string_view bytes, Charset cs, EscapeTable* escapes) {
  std::string out;
  if (cs == Charset::Utf8) {
    DecodeUtf8(bytes, out, escapes);
    return out;
  }
  out.reserve(bytes.size());
  if (KeepsBytes(cs, escapes)) return std::string(bytes);
  if (cs == Charset::Cp866) {
    // Escapes on: only the box-drawing bytes change; the runs between them
    // are taken whole.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0, run = 0; i <= bytes.size(); ++i) {
      if (i < bytes.size() && !IsEscapeByte(p[i])) continue;
      out.append(bytes.substr(run, i - run));
      if (i < bytes.size()) escapes->Append(out, platform::kCp866High[p[i] - 0x80]);
      run = i + 1;
    }
    return out;
  }
  const auto& high = HighHalf(cs);
  for (char ch : bytes) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80)
      out += ch;
    else if (high[c - 0x80] == 0)
      PutDecoded(out, kRawByte + c, escapes);
    else
      PutDecoded(out, high[c - 0x80], escapes);
  }
  return out;
}

std::string Encode(std::string_view text, Charset cs, const EscapeTable* escapes) {
  std::string out;
  EncodeInto(text, cs, escapes, out);
  return out;
}

void EncodeInto(std::string_view text, Charset cs, const EscapeTable* escapes, std::string& out) {
  const bool on = escapes != nullptr;
  if (KeepsBytes(cs, escapes)) {
    out.assign(text);
    return;
  }
  if (cs == Charset::Utf8 && text.size() <= 256 && EncodeLineUtf8(text, on, out)) return;
  out.clear();
  out.reserve(text.size() + text.size() / 2);
  const bool utf8 = cs == Charset::Utf8;
  const auto& forms = Utf8Forms();
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (on && IsEscapeByte(c)) {
      std::uint32_t key;
      const std::size_t n = units::Length(text, i);
      if (escapes->Key(text, i, key))
        PutEncoded(out, key, cs);
      else
        out += '?';
      i += n;
      continue;
    }
    if (c < 0x80)
      out += static_cast<char>(c);
    else if (utf8)
      out.append(forms[c - 0x80].bytes, forms[c - 0x80].len);
    else
      PutEncoded(out, platform::kCp866High[c - 0x80], cs);
    ++i;
  }
}

}  // namespace charset
