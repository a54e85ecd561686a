#include "textlib/paths.h"

#include "platform/files.h"

namespace paths {

namespace {

bool IsSeparator(char c, Style style) {
  return c == '/' || (style == Style::Windows && (c == '\\' || c == ':'));
}

char SeparatorOf(Style style) { return style == Style::Windows ? '\\' : '/'; }

// Index just past the last separator (0 without one).
std::size_t NameStart(std::string_view path, Style style) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1], style)) return i;
  }
  return 0;
}

}  // namespace

Style NativeStyle() { return platform::NativePathsAreWindows() ? Style::Windows : Style::Posix; }

PathParts SplitPath(std::string_view path, Style style) {
  const std::size_t start = NameStart(path, style);
  std::string_view rest = path.substr(start);
  PathParts parts;
  parts.Dir = std::string(path.substr(0, start));
  parts.Name = std::string(rest.substr(0, rest.find('.')));
  std::size_t lastDot = rest.rfind('.');
  if (lastDot != std::string_view::npos) parts.Ext = std::string(rest.substr(lastDot));
  return parts;
}

std::string ChangeExt(std::string_view path, std::string_view ext, Style style) {
  PathParts parts = SplitPath(path, style);
  std::string out = parts.Dir + parts.Name;
  if (ext.empty() || ext[0] != '.') out += '.';
  return out.append(ext);
}

std::string DirOf(std::string_view path, Style style) {
  return AddBackslash(SplitPath(path, style).Dir, style);
}

std::string ExtOf(std::string_view path, Style style) { return SplitPath(path, style).Ext; }

std::string FileNameOf(std::string_view path, Style style) {
  return std::string(path.substr(NameStart(path, style)));
}

std::string AddBackslash(std::string_view path, Style style) {
  std::string out(path);
  if (out.empty()) return out;
  const char last = out.back();
  if (last == SeparatorOf(style) || (style == Style::Windows && last == '/')) return out;
  out += SeparatorOf(style);
  return out;
}

std::string ProgramPath() {
  // The program does not move while it runs: asked once.
  static const std::string path = platform::ExecutablePath();
  return path;
}

std::string CurrentDir() { return AddBackslash(platform::CurrentDirectory()); }

void ChangeDir(std::string_view path) {
  std::string p(path);
  if (p.size() > 1 && p.back() == '/') p.pop_back();
  platform::ChangeDirectory(p);
}

std::vector<std::string> MakePathPrefixes(std::string_view path, Style style) {
  std::vector<std::string> out;
  const char sep = SeparatorOf(style);
  const std::size_t keep = style == Style::Windows ? 3 : 1;
  // Windows takes '/' for '\\' too.
  auto isSep = [&](char c) { return c == sep || (style == Style::Windows && c == '/'); };
  if (path.size() > keep && isSep(path.back())) path.remove_suffix(1);
  if (path.empty()) return out;
  std::size_t start = 0;
  if (isSep(path[0])) {
    // Windows: no drive, the walk stops at once. POSIX: the root exists.
    if (style == Style::Windows) return out;
    start = 1;
  }
  for (std::size_t i = start; i <= path.size(); ++i) {
    if (i == path.size() || isSep(path[i])) {
      std::string_view prefix = path.substr(0, i);
      if (!prefix.empty() && !isSep(prefix.back())) out.emplace_back(prefix);
    }
  }
  return out;
}

void MakePath(std::string_view path) {
  for (const std::string& dir : MakePathPrefixes(path)) {
    if (platform::IsDirectory(dir)) continue;
    if (!platform::MakeDirectory(dir)) break;
  }
  platform::IoResult();
}

std::string UserFolder() {
  const std::string home = platform::UserConfigHome();
  return home.empty() ? "" : AddBackslash(AddBackslash(home) + "salvetor");
}

std::string StateFolder() {
  const std::string home = platform::UserStateHome();
  return home.empty() ? "" : AddBackslash(AddBackslash(home) + "salvetor");
}

namespace {
// "../share/<name>/" from the program's folder, as an installation lays it out.
std::string ShareFolder(std::string_view name) {
  return AddBackslash(AddBackslash(AddBackslash(DirOf(ProgramPath()) + "..") + "share") +
                      std::string(name));
}
}  // namespace

std::string InstalledDataFolder() {
  const std::string folder = ShareFolder("salvetor");
  return platform::IsDirectory(folder) ? folder : "";
}

std::string LocaleFolder() {
  std::string beside = AddBackslash(DirOf(ProgramPath()) + "locale");
  if (platform::IsDirectory(beside)) return beside;
  const std::string installed = ShareFolder("locale");
  return !InstalledDataFolder().empty() && platform::IsDirectory(installed) ? installed : "";
}

std::string DataFile(std::string_view fileName) {
  const std::string user = UserFolder();
  if (!user.empty()) {
    std::string mine = user + std::string(fileName);
    if (platform::KindOf(mine) == platform::Kind::Regular) return mine;
  }
  std::string beside = DirOf(ProgramPath()) + std::string(fileName);
  const std::string installed = InstalledDataFolder();
  if (installed.empty() || platform::KindOf(beside) == platform::Kind::Regular) return beside;
  return installed + std::string(fileName);
}

std::string ProgramPathWithExt(std::string_view ext) { return ChangeExt(ProgramPath(), ext); }

std::string ProgramFileName(std::string_view ext) { return FileNameOf(ProgramPathWithExt(ext)); }

std::string ProgramDataFile(std::string_view ext) { return DataFile(ProgramFileName(ext)); }

std::string ProgramOutputFile(std::string_view ext, bool createFolder) {
  std::string beside = ProgramPathWithExt(ext);
  const std::string state = StateFolder();
  const std::string folder = DirOf(beside);
  const bool own = InstalledDataFolder().empty() && platform::FolderOwned(folder) &&
                   platform::FolderWritable(folder);
  if (state.empty() || own) return beside;
  if (createFolder) MakePath(state);
  return state + FileNameOf(beside);
}

}  // namespace paths
