#include "engine/base/unicodeprotocol.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "engine/base/avstubs.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/partialfile.h"

namespace {

constexpr size_t PrefixLength = 13;  // "unicode:utf8:"
constexpr int IOBufferSize = 32768;

using TIOOpen = int (*)(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**);
using TIOClose2 = int (*)(AVFormatContext*, AVIOContext*);

// FFmpeg's own callbacks, the same for every context; taken from the first context we change.
std::atomic<TIOOpen> GDefaultIOOpen{nullptr};
std::atomic<TIOClose2> GDefaultIOClose2{nullptr};

int FileOf(void* AOpaque) {
  return int(reinterpret_cast<intptr_t>(AOpaque));
}

int UnicodeIOOpen(AVFormatContext* s, AVIOContext** pb, const char* url, int flags, AVDictionary** options) {
  if (IsUnicodeURL(url)) return UnicodeOpen(pb, url, flags);
  TIOOpen fallback = GDefaultIOOpen;
  if (!fallback) return ff::avio_open2(pb, url, flags, &s->interrupt_callback, options);
  return fallback(s, pb, url, flags, options);
}

int UnicodeIOClose2(AVFormatContext* s, AVIOContext* pb) {
  if (IsUnicodeIOContext(pb)) return UnicodeClose(&pb);
  TIOClose2 fallback = GDefaultIOClose2;
  if (!fallback) return ff::avio_close(pb);
  return fallback(s, pb);
}

}  // namespace

bool NeedsUnicodeProtocol(const String& AFileName) {
  const size_t colon = AFileName.find(':');
  if (colon != String::npos) {
    const String key = ":" + AFileName.substr(0, colon) + ":";
    if (std::strstr(UnicodeProtocolList, key.c_str())) return false;
  }
  String system;
  if (!Utf8ToSystem(AFileName, system)) return true;
  // FFmpeg opens files by these bytes, and the file system's names are UTF-8.
  return system != AFileName;
}

String MakeUnicodeURL(const String& AFileName) {
  return UnicodeURLPrefix + AFileName;
}

String FileNameToURL(const String& AFileName) {
  if (AFileName.empty()) return String();
  if (NeedsUnicodeProtocol(AFileName)) return MakeUnicodeURL(AFileName);
  String system;
  Utf8ToSystem(AFileName, system);
  return system;
}

bool IsUnicodeURL(const char* AURL) {
  return AURL && std::strlen(AURL) > PrefixLength && std::strncmp(AURL, UnicodeURLPrefix, PrefixLength) == 0;
}

String DecodeUnicodeURL(const char* AURL) {
  String name = AURL ? AURL : "";
  for (int i = 0; i < 2; ++i) {
    const size_t colon = name.find(':');
    if (colon != String::npos) name.erase(0, colon + 1);
  }
  return name;
}

String URLToFileName(const char* AURL) {
  if (IsUnicodeURL(AURL)) return DecodeUnicodeURL(AURL);
  String name;
  SystemToUtf8(AURL ? AURL : "", name);
  return name;
}

// ---- the file operations -----------------------------------------------------------------------

int UnicodeRead(void* AOpaque, uint8_t* ABuffer, int ASize) {
  ssize_t n;
  do n = ::read(FileOf(AOpaque), ABuffer, size_t(ASize));
  while (n < 0 && errno == EINTR);
  if (n < 0) return -1;
  // FFmpeg 5.1 expects the end of the file as AVERROR_EOF, not as an empty read.
  if (n == 0) return AVERROR_EOF;
  return int(n);
}

int UnicodeWrite(void* AOpaque, uint8_t* ABuffer, int ASize) {
  int done = 0;
  while (done < ASize) {
    const ssize_t n = ::write(FileOf(AOpaque), ABuffer + done, size_t(ASize - done));
    if (n < 0 && errno == EINTR) continue;
    // The cause goes back to the muxer, which reports it (a full disk, a file size limit).
    if (n < 0) return AVERROR(errno);
    if (n == 0) return AVERROR(EIO);
    done += int(n);
  }
  return done;
}

int64_t UnicodeSeek(void* AOpaque, int64_t APosition, int AWhence) {
  const int fd = FileOf(AOpaque);
  if (AWhence & AVSEEK_SIZE) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return -1;
    return int64_t(st.st_size);
  }
  const off_t position = ::lseek(fd, off_t(APosition), AWhence & ~AVSEEK_FORCE);
  return position < 0 ? -1 : int64_t(position);
}

bool IsUnicodeIOContext(const AVIOContext* APB) {
  return APB && APB->seek == UnicodeSeek;
}

namespace {

// The I/O context over an open file; the file is closed when that fails.
int WrapFile(AVIOContext** APB, int AFd, bool AWriting) {
  auto* buffer = static_cast<unsigned char*>(ff::av_malloc(IOBufferSize));
  AVIOContext* pb = buffer ? ff::avio_alloc_context(buffer, IOBufferSize, AWriting ? 1 : 0,
                                                    reinterpret_cast<void*>(intptr_t(AFd)), UnicodeRead,
                                                    AWriting ? UnicodeWrite : nullptr, UnicodeSeek)
                           : nullptr;
  if (!pb) {
    ff::av_free(buffer);
    ::close(AFd);
    return AVERROR(ENOMEM);
  }
  *APB = pb;
  return 0;
}

}  // namespace

int UnicodeOpen(AVIOContext** APB, const char* AURL, int AFlags) {
  *APB = nullptr;
  const String name = DecodeUnicodeURL(AURL);
  const bool writing = (AFlags & AVIO_FLAG_WRITE) != 0;
  int mode = O_RDONLY;
  if ((AFlags & AVIO_FLAG_READ_WRITE) == AVIO_FLAG_READ_WRITE)
    mode = O_RDWR | O_CREAT | O_TRUNC;
  else if (writing)
    mode = O_WRONLY | O_CREAT | O_TRUNC;
  const int fd = ::open(name.c_str(), mode | O_CLOEXEC, 0666);
  // The cause in the result: a missing file, a folder, no permission are told apart.
  if (fd < 0) return AVERROR(errno);
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    const int cause = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    return AVERROR(cause);
  }
  return WrapFile(APB, fd, writing);
}

int UnicodeOpenPartialOutput(AVFormatContext* AContext, const String& AFileName, String& APartName) {
  InstallUnicodeIO(AContext);
  const int fd = CreatePartialFile(AFileName, APartName);
  if (fd < 0) return AVERROR(-fd);
  const String url = MakeUnicodeURL(APartName);
  char* copy = ff::av_strdup(url.c_str());
  const int ret = copy ? WrapFile(&AContext->pb, fd, true) : AVERROR(ENOMEM);
  if (ret < 0) {
    if (!copy) ::close(fd);
    ff::av_free(copy);
    ::unlink(APartName.c_str());
    APartName.clear();
    return ret;
  }
  ff::av_free(AContext->url);
  AContext->url = copy;
  return 0;
}

int UnicodeClose(AVIOContext** APB) {
  AVIOContext* pb = *APB;
  if (!pb) return 0;
  if (pb->write_flag) ff::avio_flush(pb);
  int result = pb->error < 0 ? pb->error : 0;
  const int fd = FileOf(pb->opaque);
  ff::av_freep(&pb->buffer);
  ff::avio_context_free(APB);
  if (::close(fd) != 0 && result == 0) result = AVERROR(errno);
  return result;
}

// ---- format contexts ---------------------------------------------------------------------------

void InstallUnicodeIO(AVFormatContext* AContext) {
  if (!AContext) return;
  if (AContext->io_open != UnicodeIOOpen) {
    TIOOpen none = nullptr;
    GDefaultIOOpen.compare_exchange_strong(none, AContext->io_open);
    AContext->io_open = UnicodeIOOpen;
  }
  if (AContext->io_close2 != UnicodeIOClose2) {
    TIOClose2 none = nullptr;
    GDefaultIOClose2.compare_exchange_strong(none, AContext->io_close2);
    AContext->io_close2 = UnicodeIOClose2;
  }
}

int UnicodeOpenInput(AVFormatContext** APS, const char* AURL, const AVInputFormat* AFormat,
                     AVDictionary** AOptions) {
  AVFormatContext* s = *APS ? *APS : ff::avformat_alloc_context();
  if (!s) return AVERROR(ENOMEM);
  InstallUnicodeIO(s);
  AVIOContext* pb = nullptr;
  if (IsUnicodeURL(AURL) && !s->pb && !(AFormat && (AFormat->flags & AVFMT_NOFILE))) {
    const int ret = UnicodeOpen(&pb, AURL, AVIO_FLAG_READ);
    if (ret < 0) {
      ff::avformat_free_context(s);
      *APS = nullptr;
      return ret;
    }
    s->pb = pb;
    s->flags |= AVFMT_FLAG_CUSTOM_IO;
  }
  *APS = s;
  const int ret = ff::avformat_open_input(APS, AURL, AFormat, AOptions);
  // On failure FFmpeg frees the context but leaves a caller's I/O context alone.
  if (ret < 0 && pb) UnicodeClose(&pb);
  return ret;
}

void UnicodeCloseInput(AVFormatContext** APS) {
  if (!APS || !*APS) return;
  AVIOContext* pb = (*APS)->pb;
  const bool ours = ((*APS)->flags & AVFMT_FLAG_CUSTOM_IO) && IsUnicodeIOContext(pb);
  ff::avformat_close_input(APS);
  if (ours) UnicodeClose(&pb);
}

int UnicodeOpenOutput(AVFormatContext* AContext, const char* AURL, AVDictionary** AOptions) {
  InstallUnicodeIO(AContext);
  if (AContext->oformat && (AContext->oformat->flags & AVFMT_NOFILE)) return 0;
  if (IsUnicodeURL(AURL)) return UnicodeOpen(&AContext->pb, AURL, AVIO_FLAG_WRITE);
  return ff::avio_open2(&AContext->pb, AURL, AVIO_FLAG_WRITE, &AContext->interrupt_callback, AOptions);
}

int UnicodeCloseOutput(AVFormatContext* AContext) {
  if (!AContext || !AContext->pb) return 0;
  if (IsUnicodeIOContext(AContext->pb)) return UnicodeClose(&AContext->pb);
  return ff::avio_closep(&AContext->pb);
}
