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

// Drops the option mark of both words when both have one.
void DropMarks(ShortStr& o, ShortStr& w) {
  if (!o.Empty() && !w.Empty() && IsMark(o.At(1)) && IsMark(w.At(1))) {
    o = Copy(o, 2, kMaxBytes);
    w = Copy(w, 2, kMaxBytes);
  }
}

bool IsPositional(const std::string& arg) { return platform::IsPositionalArgument(arg); }

}  // namespace

void SetArguments(std::vector<std::string> args) { Arguments() = std::move(args); }

void SetArguments(int argc, char** argv) { SetArguments(platform::CommandArguments(argc, argv)); }

std::vector<std::string> OptionArguments() {
  std::vector<std::string> out;
  for (const std::string& arg : Arguments()) {
    if (!arg.empty() && !IsPositional(arg)) out.push_back(arg);
  }
  return out;
}

bool ArgumentGiven(std::string_view text) {
  for (const std::string& arg : Arguments()) {
    if (arg == text) return true;
  }
  return false;
}

ShortStr CommandLine() {
  ShortStr line;
  bool first = true;
  for (const std::string& arg : Arguments()) {
    if (arg.empty() || IsPositional(arg)) continue;
    if (!first) line.AppendChar(' ');
    line.Append(std::string_view(arg));
    first = false;
  }
  return line;
}

std::string ParamN(int n) {
  if (n < 1) n = 1;
  int found = 0;
  for (const std::string& arg : Arguments()) {
    if (IsPositional(arg) && ++found >= n) return arg;
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

bool OptionPresent(const ShortStr& option) {
  static const CharSet delimiters("\t =");
  const ShortStr o = UpCaseStr(Trim(option));
  const ShortStr line = UpCaseStr(Trim(CommandLine()));
  for (int i = 1;; ++i) {
    int k = i;
    ShortStr w = ExtractWord(line, k, delimiters);
    if (k < 0) return false;
    ShortStr want = o;
    DropMarks(want, w);
    if (want == w) return true;
  }
}

ShortStr OptionValue(const ShortStr& option) {
  const ShortStr o = UpCaseStr(Trim(option));
  const ShortStr line = Trim(CommandLine());
  for (int i = 1;; ++i) {
    int k = i;
    ShortStr w = ExtractWord(line, k, BlankSet());
    if (k < 0) return {};
    ShortStr want = o;
    DropMarks(want, w);
    if (w.len >= want.len && UpCaseStr(Copy(w, 1, want.len)) == want) {
      return Copy(w, want.len + 1, kMaxBytes);
    }
  }
}

}  // namespace option
