// Paths: splitting into directory, name and extension, changing extensions,
// the program's own path and creating missing directories. Both path styles
// are here: POSIX ('/' only) and Windows ('\', '/' and the drive colon);
// the native style is the default. A path is never cut: a shorter name
// would be another file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace paths {

enum class Style { Posix, Windows };
Style NativeStyle();

struct PathParts {
  std::string Dir;   // up to and including the last separator
  std::string Name;  // before the first dot of the rest
  std::string Ext;   // from the last dot of the rest
};

PathParts SplitPath(std::string_view path, Style style = NativeStyle());
// Directory + name + new extension (a dot is put in front when missing).
std::string ChangeExt(std::string_view path, std::string_view ext, Style style = NativeStyle());
// Directory part with a trailing separator; empty without a directory.
std::string DirOf(std::string_view path, Style style = NativeStyle());
std::string ExtOf(std::string_view path, Style style = NativeStyle());
// The part after the last separator.
std::string FileNameOf(std::string_view path, Style style = NativeStyle());
// Appends the separator when the path is not empty and lacks one.
std::string AddBackslash(std::string_view path, Style style = NativeStyle());
// The running program's absolute path (links resolved).
std::string ProgramPath();
// The program's own path with another extension (salvetor -> salvetor.cfg).
std::string ProgramPathWithExt(std::string_view ext);
// The file name of that path, without its folder.
std::string ProgramFileName(std::string_view ext);
// The current directory with a trailing separator.
std::string CurrentDir();
// Failure leaves an I/O error pending.
void ChangeDir(std::string_view path);
// The prefixes that MakePath walks, in order.
std::vector<std::string> MakePathPrefixes(std::string_view path, Style style = NativeStyle());
// Creates exactly the missing directories of path; leaves no I/O error.
void MakePath(std::string_view path);

// The user's folder for the program's data, with a trailing separator:
// "salvetor" in the user's settings folder; empty when there is none.
std::string UserFolder();
// The user's folder for what the program keeps (log, error report), with a
// trailing separator: "salvetor" in the user's state folder; empty when
// there is none.
std::string StateFolder();
// The shipped data of an installed program, with a trailing separator:
// "../share/salvetor/" from the program's folder; empty when the program
// does not run from an installation (a build, a portable copy).
std::string InstalledDataFolder();
// The folder of the program's message catalogues, with a trailing
// separator: "locale" beside the program (a build, a portable copy), else an
// installation's "../share/locale"; empty when there is neither.
std::string LocaleFolder();
// A data file by its file name: in the user's folder when it is there,
// else beside the program, else in the installation's data folder.
std::string DataFile(std::string_view fileName);
// The program's own path with another extension, as a data file
// (salvetor.cfg: the user's copy when there is one).
std::string ProgramDataFile(std::string_view ext);
// Where the program writes a file of its own (salvetor.err, .log): beside
// the program when it runs from a folder of the user's own that it may
// write (a build, a portable copy), else in the user's state folder,
// created when needed: never inside an installation.
// With createFolder false the folder is only named, not made.
std::string ProgramOutputFile(std::string_view ext, bool createFolder = true);

}  // namespace paths
