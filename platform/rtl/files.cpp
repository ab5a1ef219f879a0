#include "platform/rtl/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/rtl/datetime.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/strings.h"

// The folder's names are read at the search's start and handed out in name order (case folded), so
// a folder's files come in the same order on every run and file system.
struct TSearchState {
  std::vector<String> Names;
  size_t Next = 0;
  String Folder;  // with trailing "/"
  String Mask;
  Integer Attr = 0;
};

namespace {

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Length of the UTF-8 sequence starting at s[i] (1 for stray bytes), so '?' takes a whole character.
size_t charLength(const String& s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  if (i + n > s.size()) n = 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

bool wildMatch(const String& name, const String& mask) {
  size_t n = 0, m = 0;
  size_t starMask = String::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = ++m;
      starName = n;
    } else if (m < mask.size() && mask[m] == '?') {
      n += charLength(name, n);
      ++m;
    } else if (m < mask.size() && lowerAscii(mask[m]) == lowerAscii(name[n])) {
      ++n;
      ++m;
    } else if (starMask != String::npos) {
      starName += charLength(name, starName);
      n = starName;
      m = starMask;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

bool statEntry(const String& path, struct stat& st) {
  if (stat(path.c_str(), &st) == 0) return true;
  return lstat(path.c_str(), &st) == 0;  // a dangling link is still an entry
}

Integer attributesOf(const String& name, const struct stat& st) {
  Integer attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= faDirectory;
  else if (S_ISREG(st.st_mode))
    attr |= faArchive;
  else
    attr |= faSysFile;
  if (!(st.st_mode & S_IWUSR)) attr |= faReadOnly;
  if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
  return attr;
}

// Reads on until an entry passes the mask and the attribute filter.
Integer findMatching(TSearchRec& F) {
  TSearchState* state = F.FindHandle.get();
  if (!state) return EBADF;
  while (state->Next < state->Names.size()) {
    const String& name = state->Names[state->Next++];
    if (!MatchesMask(name, state->Mask)) continue;
    struct stat st {};
    if (!statEntry(state->Folder + name, st)) continue;
    const Integer attr = attributesOf(name, st);
    if (attr & F.ExcludeAttr) continue;
    F.Name = name;
    F.Attr = attr;
    F.Size = S_ISDIR(st.st_mode) ? 0 : Int64(st.st_size);
    F.Time = TFileDate(st.st_mtime);
    return 0;
  }
  return ENOENT;
}

}  // namespace

bool MatchesMask(const String& Name, const String& Mask) {
  if (wildMatch(Name, Mask)) return true;
  const bool hasDot = Name.find('.') != String::npos;
  // "name.*" also matches "name"; "*." matches names without an extension.
  if (Mask.size() >= 2 && Mask.compare(Mask.size() - 2, 2, ".*") == 0 && !hasDot)
    return wildMatch(Name, Mask.substr(0, Mask.size() - 2));
  if (!Mask.empty() && Mask.back() == '.' && !hasDot) return wildMatch(Name, Mask.substr(0, Mask.size() - 1));
  return false;
}

Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F) {
  FindClose(F);
  auto state = std::make_shared<TSearchState>();
  const size_t slash = Path.rfind(PathDelim);
  state->Folder = slash == String::npos ? String() : Path.substr(0, slash + 1);
  state->Mask = slash == String::npos ? Path : Path.substr(slash + 1);
  state->Attr = Attr;
  DIR* dir = opendir(state->Folder.empty() ? "." : state->Folder.c_str());
  if (!dir) return errno ? errno : ENOENT;
  while (dirent* entry = readdir(dir)) state->Names.emplace_back(entry->d_name);
  closedir(dir);
  std::sort(state->Names.begin(), state->Names.end(), [](const String& a, const String& b) {
    const int folded = CompareText(a, b);
    return folded != 0 ? folded < 0 : a < b;
  });
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  F.FindHandle = std::move(state);
  const Integer result = findMatching(F);
  if (result != 0) FindClose(F);
  return result;
}

Integer FindNext(TSearchRec& F) {
  return findMatching(F);
}

void FindClose(TSearchRec& F) {
  F.FindHandle.reset();
}

bool FileExists(const String& FileName) {
  struct stat st {};
  return !FileName.empty() && stat(FileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& Directory) {
  struct stat st {};
  return !Directory.empty() && stat(Directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const String& Dir) {
  if (Dir.empty()) return false;
  const String dir = ExcludeTrailingPathDelimiter(ExpandFileName(Dir));
  if (DirectoryExists(dir)) return true;
  const String parent = ExtractFileDir(dir);
  if (parent != dir && !ForceDirectories(parent)) return false;
  return CreateDir(dir) || DirectoryExists(dir);  // another thread or process may have made it
}

bool CreateDir(const String& Dir) {
  return !Dir.empty() && mkdir(Dir.c_str(), 0777) == 0;
}

bool RemoveDir(const String& Dir) {
  return !Dir.empty() && rmdir(Dir.c_str()) == 0;
}

bool DeleteFile(const String& FileName) {
  struct stat st {};
  if (FileName.empty() || lstat(FileName.c_str(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  return unlink(FileName.c_str()) == 0;
}

bool RenameFile(const String& OldName, const String& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  if (renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the no-replace flag: a second link fails on an existing name as the
  // rename would, and the first then goes.
  struct stat st {};
  if (lstat(OldName.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) {
    if (link(OldName.c_str(), NewName.c_str()) == 0) {
      unlink(OldName.c_str());
      return true;
    }
    if (errno == EEXIST || (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)) return false;
  }
  // Nor links: check first (not atomic, but the best there is).
  if (lstat(NewName.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return rename(OldName.c_str(), NewName.c_str()) == 0;
}

Int64 FileSize(const String& FileName) {
  struct stat st {};
  if (FileName.empty() || stat(FileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return Int64(st.st_size);
}

TFileDate FileAge(const String& FileName) {
  struct stat st {};
  if (FileName.empty() || stat(FileName.c_str(), &st) != 0) return -1;
  return TFileDate(st.st_mtime);
}

bool FileAge(const String& FileName, TDateTime& FileDateTime) {
  const TFileDate age = FileAge(FileName);
  if (age == -1) return false;
  FileDateTime = FileDateToDateTime(age);
  return true;
}

TDateTime FileDateToDateTime(TFileDate FileDate) {
  const time_t seconds = time_t(FileDate);
  tm local{};
  if (!localtime_r(&seconds, &local)) return 0;
  TDateTime date = 0, time = 0;
  TryEncodeDate(Word(local.tm_year + 1900), Word(local.tm_mon + 1), Word(local.tm_mday), date);
  TryEncodeTime(Word(local.tm_hour), Word(local.tm_min), Word(local.tm_sec > 59 ? 59 : local.tm_sec), 0,
                time);
  return date < 0 ? date - time : date + time;
}

Integer FileGetAttr(const String& FileName) {
  struct stat st {};
  if (FileName.empty() || !statEntry(FileName, st)) return -1;
  return attributesOf(ExtractFileName(ExcludeTrailingPathDelimiter(FileName)), st);
}

String ExtractFilePath(const String& FileName) {
  const size_t slash = FileName.rfind(PathDelim);
  return slash == String::npos ? String() : FileName.substr(0, slash + 1);
}

String ExtractFileDir(const String& FileName) {
  const size_t slash = FileName.rfind(PathDelim);
  if (slash == String::npos) return String();
  return slash == 0 ? String(1, PathDelim) : FileName.substr(0, slash);
}

String ExtractFileName(const String& FileName) {
  const size_t slash = FileName.rfind(PathDelim);
  return slash == String::npos ? FileName : FileName.substr(slash + 1);
}

String ExtractFileExt(const String& FileName) {
  const size_t cut = FileName.find_last_of("./");
  if (cut == String::npos || FileName[cut] != '.') return String();
  return FileName.substr(cut);
}

String ChangeFileExt(const String& FileName, const String& Extension) {
  const size_t cut = FileName.find_last_of("./");
  if (cut == String::npos || FileName[cut] != '.') return FileName + Extension;
  return FileName.substr(0, cut) + Extension;
}

String IncludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && S.back() == PathDelim) return S;
  return S + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& S) {
  if (S.size() > 1 && S.back() == PathDelim) return S.substr(0, S.size() - 1);
  return S;
}

String ExpandFileName(const String& FileName) {
  if (FileName.empty()) return String();
  const String full =
      FileName[0] == PathDelim ? FileName : IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
  std::vector<String> parts;
  size_t start = 0;
  while (start <= full.size()) {
    size_t end = full.find(PathDelim, start);
    if (end == String::npos) end = full.size();
    const String part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  String result;
  for (const String& part : parts) result += PathDelim + part;
  if (result.empty()) return String(1, PathDelim);
  if (full.back() == PathDelim) result += PathDelim;
  return result;
}

String GetCurrentDir() {
  std::vector<char> buffer(4096);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return String();
    buffer.resize(buffer.size() * 2);
  }
  return String(buffer.data());
}

bool SetCurrentDir(const String& Dir) {
  return !Dir.empty() && chdir(Dir.c_str()) == 0;
}

String ParamStr(Integer Index) {
  if (Index != 0) return String();
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return String();
    if (size_t(n) < buffer.size()) return String(buffer.data(), size_t(n));
    buffer.resize(buffer.size() * 2);
  }
}

String ProgramDir() {
  return ExtractFilePath(ParamStr(0));
}

String GetHomeDir() {
  String home = GetEnvironmentVariable("HOME");
  if (home.empty()) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
      home = found->pw_dir;
  }
  return ExcludeTrailingPathDelimiter(home);
}
