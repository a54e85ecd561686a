#include "textlib/paths.h"

#include "platform/files.h"

namespace paths {

using namespace shortstr;

namespace {

bool IsSeparator(unsigned char c, Style style) {
  return c == '/' || (style == Style::Windows && (c == '\\' || c == ':'));
}

unsigned char SeparatorOf(Style style) { return style == Style::Windows ? '\\' : '/'; }

ShortStr Cut(const ShortStr& s, int max) { return Copy(s, 1, max); }

}  // namespace

Style NativeStyle() { return Style::Posix; }

PathParts SplitPath(const ShortStr& raw, Style style) {
  ShortStr path = Cut(raw, kMaxPath);
  int last = 0;
  for (int i = 1; i <= path.len; ++i) {
    if (IsSeparator(path.At(i), style)) last = i;
  }
  PathParts parts;
  parts.Dir = Cut(Copy(path, 1, last), kMaxPath);
  ShortStr rest = Copy(path, last + 1, kMaxLen);
  ShortStr name = Cut(rest, kMaxName);
  int firstDot = Pos(".", name);
  parts.Name = firstDot > 0 ? Copy(name, 1, firstDot - 1) : name;
  int lastDot = 0;
  for (int i = 1; i <= rest.len; ++i) {
    if (rest.At(i) == '.') lastDot = i;
  }
  if (lastDot > 0) parts.Ext = Cut(Copy(rest, lastDot, kMaxLen), kMaxExt);
  return parts;
}

ShortStr ChangeExt(const ShortStr& path, const ShortStr& ext, Style style) {
  ShortStr e = Cut(ext, kMaxExt);
  if (e.At(1) != '.') e = Cut(ShortStr(".") + e, kMaxExt);
  PathParts parts = SplitPath(path, style);
  return Cut(parts.Dir + parts.Name + e, kMaxPath);
}

ShortStr DirOf(const ShortStr& path, Style style) {
  return AddBackslash(SplitPath(path, style).Dir, style);
}

ShortStr ExtOf(const ShortStr& path, Style style) { return SplitPath(path, style).Ext; }

ShortStr AddBackslash(const ShortStr& raw, Style style) {
  ShortStr path = Cut(raw, kMaxPath);
  unsigned char last = path.At(path.len);
  bool ends = last == SeparatorOf(style) || (style == Style::Windows && last == '/');
  if (path.Empty() || ends) return path;
  path.AppendChar(SeparatorOf(style));
  return Cut(path, kMaxPath);
}

ShortStr ProgramPath() { return Cut(ShortStr(platform::ExecutablePath()), kMaxPath); }

ShortStr CurrentDir() { return AddBackslash(ShortStr(platform::CurrentDirectory())); }

void ChangeDir(const ShortStr& path) {
  ShortStr p = Cut(path, kMaxPath);
  if (p.len > 1 && p.At(p.len) == '/') p = Copy(p, 1, p.len - 1);
  platform::ChangeDirectory(p.Std());
}

int MakePathPrefixes(const ShortStr& raw, ShortStr* out, int max, Style style) {
  ShortStr path = Cut(raw, kMaxPath);
  const unsigned char sep = SeparatorOf(style);
  int keep = style == Style::Windows ? 3 : 1;
  if (path.len > keep && path.At(path.len) == sep) path = Copy(path, 1, path.len - 1);
  if (path.Empty()) return 0;
  int count = 0;
  int start = 1;
  if (path.At(1) == sep) {
    // Windows: no drive, the walk stops at once. POSIX: the root exists.
    if (style == Style::Windows) return 0;
    start = 2;
  }
  for (int i = start; i <= path.len + 1 && count < max; ++i) {
    if (i > path.len || path.At(i) == sep) {
      ShortStr prefix = Copy(path, 1, i - 1);
      if (!prefix.Empty() && prefix.At(prefix.len) != sep) out[count++] = prefix;
    }
  }
  return count;
}

void MakePath(const ShortStr& path) {
  ShortStr prefixes[kMaxPath];
  int n = MakePathPrefixes(path, prefixes, kMaxPath);
  for (int i = 0; i < n; ++i) {
    std::string dir = prefixes[i].Std();
    if (platform::IsDirectory(dir)) continue;
    if (!platform::MakeDirectory(dir)) break;
  }
  platform::IoResult();
}

}  // namespace paths
