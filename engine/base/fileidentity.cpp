#include "engine/base/fileidentity.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "engine/base/unicodeprotocol.h"
#include "platform/rtl/partialfile.h"

namespace {

// "a/./b/../c" → "a/c", with repeated slashes merged; ".." above the root stays at the root.
String NormalizePath(const String& APath) {
  std::vector<String> parts;
  size_t start = 0;
  while (start <= APath.size()) {
    size_t end = APath.find('/', start);
    if (end == String::npos) end = APath.size();
    const String part = APath.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  String result;
  for (const String& part : parts) result += "/" + part;
  return result.empty() ? String("/") : result;
}

String Absolute(const String& APath) {
  if (!APath.empty() && APath[0] == '/') return NormalizePath(APath);
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return NormalizePath("/" + APath);
  return NormalizePath(String(cwd) + "/" + APath);
}

// The folder resolved when it exists, so that links and "." or ".." in it do not matter.
String ResolvedPath(const String& APath) {
  const String absolute = Absolute(APath);
  if (char* real = realpath(absolute.c_str(), nullptr)) {
    String result = real;
    free(real);
    return result;
  }
  const size_t slash = absolute.rfind('/');
  const String folder = slash == 0 ? String("/") : absolute.substr(0, slash);
  const String name = absolute.substr(slash + 1);
  if (char* real = realpath(folder.c_str(), nullptr)) {
    String result = real;
    free(real);
    return (result == "/" ? String() : result) + "/" + name;
  }
  return absolute;
}

}  // namespace

String LocalPathOf(const String& AFileName) {
  if (IsUnicodeURL(AFileName.c_str())) return DecodeUnicodeURL(AFileName.c_str());
  if (AFileName.rfind("file:", 0) == 0) return AFileName.substr(5);
  // A protocol name: letters, digits and a few marks up to the first colon, before any slash.
  const size_t colon = AFileName.find(':');
  if (colon != String::npos && colon > 0 && AFileName.find('/') > colon) {
    bool protocol = true;
    for (size_t i = 0; i < colon; ++i) {
      const unsigned char c = static_cast<unsigned char>(AFileName[i]);
      if (!std::isalnum(c) && c != '_' && c != '-' && c != '+' && c != '.') protocol = false;
    }
    if (protocol) return String();
  }
  return AFileName;
}

TFileIdentity FileIdentityOf(const String& AFileName) {
  TFileIdentity identity;
  const String path = LocalPathOf(AFileName);
  if (path.empty()) {
    identity.Path = AFileName;
    return identity;
  }
  identity.Local = true;
  identity.Path = ResolvedPath(path);
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    identity.Exists = true;
    identity.Dev = st.st_dev;
    identity.Ino = st.st_ino;
    identity.Regular = S_ISREG(st.st_mode);
  }
  return identity;
}

bool SameFile(const TFileIdentity& A, const TFileIdentity& B) {
  if (A.Local != B.Local) return false;
  if (A.Exists && B.Exists) return A.Dev == B.Dev && A.Ino == B.Ino;
  return A.Path == B.Path;
}

bool SameFile(const String& A, const String& B) {
  return SameFile(FileIdentityOf(A), FileIdentityOf(B));
}

bool IsStillTheFile(const String& AFileName, const TFileIdentity& AIdentity) {
  if (!AIdentity.Exists || !AIdentity.Regular) return false;
  const TFileIdentity now = FileIdentityOf(AFileName);
  return now.Exists && now.Regular && now.Dev == AIdentity.Dev && now.Ino == AIdentity.Ino;
}

bool WritesThroughPartialFile(const String& AFileName) {
  const String path = LocalPathOf(AFileName);
  if (path.empty()) return false;
  struct stat st;
  return ::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}

Integer CheckWritableFileName(const String& AFileName) {
  const String path = LocalPathOf(AFileName);
  if (path.empty()) return 0;
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return -EISDIR;
    if (::access(path.c_str(), W_OK) != 0) return -errno;
    // A device or a pipe is written as it is; a file is made beside the one it replaces.
    if (!S_ISREG(st.st_mode)) return 0;
  } else if (errno != ENOENT) {
    return -errno;
  }
  const String target = LinkTarget(path);
  const size_t slash = target.rfind('/');
  const String folder = slash == String::npos ? String(".")
                        : slash == 0          ? String("/")
                                              : target.substr(0, slash);
  if (::stat(folder.c_str(), &st) != 0) return -errno;
  if (!S_ISDIR(st.st_mode)) return -ENOTDIR;
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return -errno;
  return 0;
}
