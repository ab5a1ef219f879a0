#include "platform/rtl/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "platform/rtl/sysutils.h"

// ---- TStream -----------------------------------------------------------------------------------

void TStream::ReadBuffer(void* Buffer, Int64 Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(SWriteError);
}

Int64 TStream::Size() {
  Int64 Pos = Seek(0, soCurrent);
  Int64 Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(Int64) {}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  if (Count < 0) return 0;
  constexpr Int64 MaxBufSize = 0xF000;
  std::vector<Byte> Buffer(static_cast<size_t>(std::min(Count, MaxBufSize)));
  Int64 Result = Count;
  while (Count > 0) {
    Int64 N = std::min(Count, MaxBufSize);
    Source->ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Count -= N;
  }
  return Result;
}

// ---- THandleStream -----------------------------------------------------------------------------

Int64 THandleStream::Read(void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  Int64 Done = 0;
  auto* P = static_cast<char*>(Buffer);
  while (Done < Count) {
    ssize_t N = ::read(FHandle, P + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

Int64 THandleStream::Write(const void* Buffer, Int64 Count) {
  if (Count <= 0) return 0;
  Int64 Done = 0;
  auto* P = static_cast<const char*>(Buffer);
  while (Done < Count) {
    ssize_t N = ::write(FHandle, P + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  int Whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return static_cast<Int64>(::lseek(FHandle, static_cast<off_t>(Offset), Whence));
}

void THandleStream::SetSize(Int64 NewSize) {
  Seek(NewSize, soBeginning);
  if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) throw EStreamError(std::strerror(errno));
}

// ---- TFileStream -------------------------------------------------------------------------------

namespace {

int openFile(const String& FileName, Word Mode, Cardinal Rights) {
  int Flags = O_CLOEXEC;
  if (Mode == fmCreate) {
    Flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 3) {
      case fmOpenWrite:
        Flags |= O_WRONLY;
        break;
      case fmOpenReadWrite:
        Flags |= O_RDWR;
        break;
      default:
        Flags |= O_RDONLY;
        break;
    }
  }
  int Fd = ::open(FileName.c_str(), Flags, static_cast<mode_t>(Rights));
  if (Fd < 0) return -errno;
  // A folder opens read-only on this platform but is no file to stream.
  struct stat St;
  if (::fstat(Fd, &St) == 0 && S_ISDIR(St.st_mode)) {
    ::close(Fd);
    return -EISDIR;
  }
  return Fd;
}

}  // namespace

TFileStream::TFileStream(const String& AFileName, Word Mode) : TFileStream(AFileName, Mode, 0666) {}

TFileStream::TFileStream(const String& AFileName, Word Mode, Cardinal Rights)
    : THandleStream(-1), FFileName(AFileName) {
  int Fd = openFile(AFileName, Mode, Rights);
  if (Fd < 0) {
    String Reason = std::strerror(-Fd);
    if (Mode == fmCreate) throw EFCreateError(Format(SFCreateError, AFileName, Reason));
    throw EFOpenError(Format(SFOpenError, AFileName, Reason));
  }
  FHandle = Fd;
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

// ---- TCustomMemoryStream -----------------------------------------------------------------------

namespace {

// The position a seek asks for in a stream of Size bytes; an offset past the range of Int64 stops at
// its end rather than wrapping.
Int64 seekTarget(Int64 Position, Int64 Size, Int64 Offset, TSeekOrigin Origin) {
  Int64 Base;
  switch (Origin) {
    case soBeginning:
      Base = 0;
      break;
    case soCurrent:
      Base = Position;
      break;
    case soEnd:
      Base = Size;
      break;
    default:
      return Position;
  }
  Int64 Target;
  if (__builtin_add_overflow(Base, Offset, &Target))
    return Offset > 0 ? std::numeric_limits<Int64>::max() : std::numeric_limits<Int64>::min();
  return Target;
}

// Copies up to Count bytes of Data (Size bytes) from Position on and moves Position past them.
Int64 readAt(const char* Data, Int64 Size, Int64& Position, void* Buffer, Int64 Count) {
  if (Position < 0 || Count <= 0 || Position >= Size) return 0;
  Int64 N = std::min(Count, Size - Position);
  std::memcpy(Buffer, Data + Position, static_cast<size_t>(N));
  Position += N;
  return N;
}

// Whether Count bytes written at Position would end past the largest stream position.
bool writeOverflows(Int64 Position, Int64 Count) {
  return Count > std::numeric_limits<Int64>::max() - Position;
}

}  // namespace

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size) {
  FMemory = Ptr;
  FSize = Size;
}

Int64 TCustomMemoryStream::Read(void* Buffer, Int64 Count) {
  return readAt(static_cast<const char*>(FMemory), FSize, FPosition, Buffer, Count);
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  FPosition = seekTarget(FPosition, FSize, Offset, Origin);
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  if (FSize != 0) Stream->WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(&Stream);
}

// ---- TMemoryStream -----------------------------------------------------------------------------

void TMemoryStream::SetCapacity(Int64 NewCapacity) {
  if (NewCapacity < FSize) NewCapacity = FSize;
  FData.resize(static_cast<size_t>(NewCapacity));
  FData.shrink_to_fit();
  SetPointer(FData.empty() ? nullptr : FData.data(), FSize);
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  if (static_cast<size_t>(NewSize) > FData.size()) {
    // Grow geometrically so that appending byte by byte stays linear.
    size_t Cap = std::max(static_cast<size_t>(NewSize), FData.size() + FData.size() / 2);
    FData.resize(Cap);
  }
  if (NewSize > FSize) std::memset(FData.data() + FSize, 0, static_cast<size_t>(NewSize - FSize));
  SetPointer(FData.empty() ? nullptr : FData.data(), NewSize);
  if (FPosition > NewSize) FPosition = NewSize;
}

Int64 TMemoryStream::Write(const void* Buffer, Int64 Count) {
  if (FPosition < 0 || Count <= 0 || writeOverflows(FPosition, Count)) return 0;
  Int64 End = FPosition + Count;
  if (End > FSize) {
    Int64 Pos = FPosition;
    SetSize(End);
    FPosition = Pos;
  }
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = End;
  return Count;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  Int64 Count = Stream->Size();
  SetSize(Count);
  if (Count != 0) Stream->ReadBuffer(FMemory, Count);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

// ---- TStringStream -----------------------------------------------------------------------------

Int64 TStringStream::Read(void* Buffer, Int64 Count) {
  return readAt(FDataString.data(), static_cast<Int64>(FDataString.size()), FPosition, Buffer, Count);
}

Int64 TStringStream::Write(const void* Buffer, Int64 Count) {
  if (FPosition < 0 || Count <= 0 || writeOverflows(FPosition, Count)) return 0;
  size_t End = static_cast<size_t>(FPosition + Count);
  if (End > FDataString.size()) FDataString.resize(End, '\0');
  std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition += Count;
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  Int64 Size = static_cast<Int64>(FDataString.size());
  // The string's end bounds the position, as the class library's string stream does.
  FPosition = std::clamp<Int64>(seekTarget(FPosition, Size, Offset, Origin), 0, Size);
  return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
  FDataString.resize(static_cast<size_t>(std::max<Int64>(NewSize, 0)), '\0');
  if (FPosition > NewSize) FPosition = std::max<Int64>(NewSize, 0);
}

String TStringStream::ReadString(Int64 Count) {
  Int64 Size = static_cast<Int64>(FDataString.size());
  Int64 N = std::clamp<Int64>(Count, 0, std::max<Int64>(Size - FPosition, 0));
  String Result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(N));
  FPosition += N;
  return Result;
}
