// Paths: splitting into directory, name and extension, changing extensions,
// the program's own path and creating missing directories. Both path styles
// are here: POSIX ('/' only) and Windows ('\', '/' and the drive colon);
// the native style is the default. Texts are cut to the path limits.
#pragma once

#include "textlib/shortstr.h"

namespace paths {

using shortstr::ShortStr;

enum class Style { Posix, Windows };
Style NativeStyle();

inline constexpr int kMaxPath = 252;
inline constexpr int kMaxName = 219;
inline constexpr int kMaxExt = 36;

struct PathParts {
  ShortStr Dir;   // up to and including the last separator, at most 252
  ShortStr Name;  // before the first dot of the rest, at most 219
  ShortStr Ext;   // from the last dot of the rest, at most 36
};

PathParts SplitPath(const ShortStr& path, Style style = NativeStyle());
// Directory + name + new extension (a dot is put in front when missing).
ShortStr ChangeExt(const ShortStr& path, const ShortStr& ext, Style style = NativeStyle());
// Directory part with a trailing separator; empty without a directory.
ShortStr DirOf(const ShortStr& path, Style style = NativeStyle());
ShortStr ExtOf(const ShortStr& path, Style style = NativeStyle());
// Appends the separator when the path is not empty and lacks one.
ShortStr AddBackslash(const ShortStr& path, Style style = NativeStyle());
// The running program's absolute path (links resolved), cut to 252.
ShortStr ProgramPath();
// The current directory with a trailing separator.
ShortStr CurrentDir();
// Failure leaves an I/O error pending.
void ChangeDir(const ShortStr& path);
// The prefixes that MakePath walks, in order.
int MakePathPrefixes(const ShortStr& path, ShortStr* out, int max, Style style = NativeStyle());
// Creates exactly the missing directories of path; leaves no I/O error.
void MakePath(const ShortStr& path);

}  // namespace paths
