#include "textlib/option.h"

#include "platform/process.h"


namespace option {

using namespace shortstr;

namespace {

std::vector<std::string>& Arguments() {
  static std::vector<std::string> args;
  return args;
}

bool IsMark(unsigned char c) { return c == '/' || c == '-'; }

// The number of arguments before the first "--" (all of them when there is
// none): after it every argument is a file name.
std::size_t OptionsEnd() {
  const std::vector<std::string>& args = Arguments();
  std::size_t i = 0;
  while (i < args.size() && args[i] != "--") ++i;
  return i;
}

// Whether argument i is a file name; the "--" itself is neither.
bool IsPositional(std::size_t i) {
  const std::size_t end = OptionsEnd();
  if (i == end) return false;
  return i > end || platform::IsPositionalArgument(Arguments()[i]);
}

}  // namespace

void SetArguments(std::vector<std::string> args) { Arguments() = std::move(args); }

void SetArguments(int argc, char** argv) { SetArguments(platform::CommandArguments(argc, argv)); }

std::vector<std::string> OptionArguments() {
  std::vector<std::string> out;
  const std::vector<std::string>& args = Arguments();
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!args[i].empty() && i != OptionsEnd() && !IsPositional(i)) out.push_back(args[i]);
  }
  return out;
}

bool ArgumentGiven(std::string_view text) {
  for (const std::string& arg : OptionArguments()) {
    if (arg == text) return true;
  }
  return false;
}

ShortStr CommandLine() {
  ShortStr line;
  bool first = true;
  for (const std::string& arg : OptionArguments()) {
    if (!first) line.AppendChar(' ');
    line.Append(std::string_view(arg));
    first = false;
  }
  return line;
}

std::string ParamN(int n) {
  if (n < 1) n = 1;
  int found = 0;
  const std::vector<std::string>& args = Arguments();
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!args[i].empty() && IsPositional(i) && ++found >= n) return args[i];
  }
  return {};
}

ShortStr ParamNOfLine(const ShortStr& line, int n) {
  int found = 0;
  for (int i = 1;; ++i) {
    int k = i;
    ShortStr word = Trim(ExtractWord(line, k, BlankSet()));
    if (!word.Empty() && !IsMark(word.At(1)) && ++found >= n) return UpCaseStr(word);
    if (k < 0) return {};
  }
}

namespace {

std::string Trimmed(std::string_view text) {
  static const CharSet& trim = TrimSet();
  std::size_t from = 0, to = text.size();
  while (from < to && trim.Has(static_cast<unsigned char>(text[from]))) ++from;
  while (to > from && trim.Has(static_cast<unsigned char>(text[to - 1]))) --to;
  return std::string(text.substr(from, to - from));
}

// Calls word(w) for each word of the option arguments, split at the
// delimiters, in command-line order, until it returns true. The arguments
// are read whole: no option is lost however long the others are.
template <class F>
bool AnyWord(const CharSet& delimiters, F&& word) {
  for (const std::string& arg : OptionArguments()) {
    for (std::size_t i = 0; i < arg.size();) {
      while (i < arg.size() && delimiters.Has(static_cast<unsigned char>(arg[i]))) ++i;
      std::size_t end = i;
      while (end < arg.size() && !delimiters.Has(static_cast<unsigned char>(arg[end]))) ++end;
      if (end > i && word(std::string_view(arg).substr(i, end - i))) return true;
      i = end;
    }
  }
  return false;
}

// Drops the option mark of both words when both have one.
void DropMarks(std::string& o, std::string_view& w) {
  if (!o.empty() && !w.empty() && IsMark(static_cast<unsigned char>(o[0])) && IsMark(static_cast<unsigned char>(w[0]))) {
    o.erase(0, 1);
    w.remove_prefix(1);
  }
}

}  // namespace

bool OptionPresent(const ShortStr& option) {
  static const CharSet delimiters("\t =");
  const std::string o = UpCaseText(Trimmed(option.View()));
  return AnyWord(delimiters, [&](std::string_view w) {
    std::string want = o;
    DropMarks(want, w);
    return want == UpCaseText(w);
  });
}

std::string OptionValue(const ShortStr& option) {
  const std::string o = UpCaseText(Trimmed(option.View()));
  std::string value;
  AnyWord(BlankSet(), [&](std::string_view w) {
    std::string want = o;
    DropMarks(want, w);
    if (w.size() < want.size() || UpCaseText(w.substr(0, want.size())) != want) return false;
    value = std::string(w.substr(want.size()));
    return true;
  });
  return value;
}

}  // namespace option
