#include "platform/rtl/partialfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>

#include "platform/rtl/files.h"

namespace {

constexpr const char* PartTag = ".part-";
// ".part-", up to 10 digits of the process id, "-", 6 random characters.
constexpr size_t SuffixRoom = 6 + 10 + 1 + 6;
constexpr size_t NameMax = 255;
constexpr size_t RandomLength = 6;

// The leading "." and the final name cut to leave room for the longest suffix, at a character
// boundary, so that every process makes the same prefix for one name.
String PartPrefix(const String& AName) {
  size_t keep = AName.size();
  const size_t room = NameMax - 1 - SuffixRoom;
  if (keep > room) {
    keep = room;
    while (keep > 0 && (static_cast<unsigned char>(AName[keep]) & 0xC0) == 0x80) --keep;
  }
  return "." + AName.substr(0, keep) + PartTag;
}

String FolderOf(const String& AFileName) {
  const String folder = ExtractFilePath(AFileName);
  return folder.empty() ? String("./") : folder;
}

String RandomLetters() {
  static const char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[RandomLength];
  if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != ssize_t(sizeof bytes)) {
    auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (unsigned char& b : bytes) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      b = static_cast<unsigned char>(seed >> 56);
    }
  }
  String text;
  for (unsigned char b : bytes) text += Letters[b % (sizeof Letters - 1)];
  return text;
}

// The process id of a partial file's name after its prefix ("<pid>-<random>"); 0 when the rest
// does not have that form.
pid_t ProcessOfPart(const String& ARest) {
  const size_t dash = ARest.find('-');
  if (dash == 0 || dash == String::npos || dash > 10 || ARest.size() != dash + 1 + RandomLength) return 0;
  long long pid = 0;
  for (size_t i = 0; i < dash; ++i) {
    if (ARest[i] < '0' || ARest[i] > '9') return 0;
    pid = pid * 10 + (ARest[i] - '0');
  }
  for (size_t i = dash + 1; i < ARest.size(); ++i) {
    const char c = ARest[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return 0;
  }
  return pid > 0 && pid <= INT_MAX ? pid_t(pid) : 0;
}

int SyncFile(const String& AFileName, int AFlags) {
  const int fd = ::open(AFileName.c_str(), AFlags | O_CLOEXEC);
  if (fd < 0) return errno;
  int err = 0;
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) err = errno;
  ::close(fd);
  return err;
}

int WriteAll(int AFd, const void* AData, size_t ASize) {
  const char* p = static_cast<const char*>(AData);
  size_t done = 0;
  while (done < ASize) {
    const ssize_t n = ::write(AFd, p + done, ASize - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    done += size_t(n);
  }
  return 0;
}

}  // namespace

int CreatePartialFile(const String& FileName, String& PartName) {
  PartName.clear();
  const String name = ExtractFileName(FileName);
  if (name.empty()) return -EISDIR;
  const String stem = FolderOf(FileName) + PartPrefix(name) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const String candidate = stem + RandomLetters();
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      PartName = candidate;
      return fd;
    }
    if (errno != EEXIST) return -errno;
  }
  return -EEXIST;
}

bool IsPartialFileOf(const String& Name, const String& FileName) {
  const String base = ExtractFileName(Name);
  const String prefix = PartPrefix(ExtractFileName(FileName));
  return base.size() > prefix.size() && base.compare(0, prefix.size(), prefix) == 0 &&
         ProcessOfPart(base.substr(prefix.size())) != 0;
}

int CommitPartialFile(const String& PartName, const String& FileName, bool AReplace) {
  // The data first, so that the name never leads to a file that a power loss could leave empty.
  if (const int err = SyncFile(PartName, O_RDONLY | O_NOFOLLOW)) return err;
  if (AReplace) {
    struct stat st;
    if (::lstat(FileName.c_str(), &st) == 0) {
      if (S_ISDIR(st.st_mode)) return EISDIR;
      if (!S_ISREG(st.st_mode)) return EEXIST;
      if (::access(FileName.c_str(), W_OK) != 0) return errno;
      ::chmod(PartName.c_str(), st.st_mode & 07777);
    } else if (errno != ENOENT) {
      return errno;
    }
    if (::rename(PartName.c_str(), FileName.c_str()) != 0) return errno;
  } else if (!RenameFile(PartName, FileName)) {
    return errno ? errno : EIO;
  }
  // The new name itself reaches the disk with its folder.
  SyncFile(FolderOf(FileName), O_RDONLY | O_DIRECTORY);
  return 0;
}

Integer SweepPartialFiles(const String& FileName) {
  const String folder = FolderOf(FileName);
  const String prefix = PartPrefix(ExtractFileName(FileName));
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  Integer removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const String base = entry->d_name;
    if (base.size() <= prefix.size() || base.compare(0, prefix.size(), prefix) != 0) continue;
    const pid_t pid = ProcessOfPart(base.substr(prefix.size()));
    if (pid == 0 || pid == ::getpid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    struct stat st;
    const String path = folder + base;
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

String LinkTarget(const String& FileName) {
  struct stat st;
  if (::lstat(FileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return FileName;
  char* resolved = ::realpath(FileName.c_str(), nullptr);
  if (!resolved) return FileName;
  String target = resolved;
  std::free(resolved);
  return target;
}

int WriteWholeFileSafely(const String& FileName, const void* Data, size_t Size, bool AReplace) {
  // Only a file written over is reached through a link; otherwise the link itself takes the name.
  const String target = AReplace ? LinkTarget(FileName) : FileName;
  String part;
  const int fd = CreatePartialFile(target, part);
  if (fd < 0) return -fd;
  int err = WriteAll(fd, Data, Size);
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0) err = CommitPartialFile(part, target, AReplace);
  if (err != 0) ::unlink(part.c_str());
  return err;
}
