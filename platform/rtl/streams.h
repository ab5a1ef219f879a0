// Streams: the abstract TStream, streams over file handles and files, memory and strings.
#pragma once

#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
 public:
  String ClassName() const override { return "TStream"; }

  // At most Count bytes from the position; returns the number read (short at the end, no error).
  virtual Int64 Read(void* Buffer, Int64 Count) = 0;
  // Returns the number written.
  virtual Int64 Write(const void* Buffer, Int64 Count) = 0;
  // Returns the new position.
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  // Exactly Count bytes or EReadError "Stream read error".
  void ReadBuffer(void* Buffer, Int64 Count);
  // Exactly Count bytes or EWriteError "Stream write error".
  void WriteBuffer(const void* Buffer, Int64 Count);
  // Copies Count bytes from Source's position; Count 0 copies the whole of Source from its start.
  // Returns the number copied; a short source raises EReadError.
  Int64 CopyFrom(TStream* Source, Int64 Count);

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Value) { Seek(Value, soBeginning); }
  virtual Int64 Size();
  virtual void SetSize(Int64 NewSize);
};

// A stream over an open POSIX file descriptor, which it does not close.
class THandleStream : public TStream {
 public:
  explicit THandleStream(int AHandle) : FHandle(AHandle) {}
  String ClassName() const override { return "THandleStream"; }

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  // A failed seek (negative position, not seekable) returns -1.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // EStreamError when the file cannot be resized.
  void SetSize(Int64 NewSize) override;
  int Handle() const { return FHandle; }

 protected:
  int FHandle;
};

// Open modes of TFileStream: one access mode, optionally or-ed with a share mode (accepted and ignored
// here), or fmCreate to create or truncate the file.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TFileStream : public THandleStream {
 public:
  // EFOpenError "Cannot open file \"<name>\". <reason>" or, with fmCreate, EFCreateError
  // "Cannot create file \"<name>\". <reason>". Folders are refused.
  TFileStream(const String& AFileName, Word Mode);
  // Rights: the permission bits of a created file (before the umask).
  TFileStream(const String& AFileName, Word Mode, Cardinal Rights);
  ~TFileStream() override;
  String ClassName() const override { return "TFileStream"; }

  const String& FileName() const { return FFileName; }

 private:
  String FFileName;
};

class TCustomMemoryStream : public TStream {
 public:
  String ClassName() const override { return "TCustomMemoryStream"; }
  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);
  void* Memory() const { return FMemory; }
  Int64 Size() override { return FSize; }

 protected:
  void SetPointer(void* Ptr, Int64 Size);

  void* FMemory = nullptr;
  Int64 FSize = 0;
  Int64 FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;
  String ClassName() const override { return "TMemoryStream"; }

  // Writing past the end grows the stream; a gap before the position reads as zero bytes.
  Int64 Write(const void* Buffer, Int64 Count) override;
  // New bytes are zero; the position is kept unless it lies past the new end.
  void SetSize(Int64 NewSize) override;
  void Clear();
  // Replaces the contents with the whole of Stream (from its start) or of the file; position 0.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  Int64 Capacity() const { return static_cast<Int64>(FData.size()); }
  void SetCapacity(Int64 NewCapacity);

 private:
  std::vector<Byte> FData;
};

class TStringStream : public TStream {
 public:
  explicit TStringStream(const String& AString = String()) : FDataString(AString) {}
  String ClassName() const override { return "TStringStream"; }

  Int64 Read(void* Buffer, Int64 Count) override;
  Int64 Write(const void* Buffer, Int64 Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;
  Int64 Size() override { return static_cast<Int64>(FDataString.size()); }

  // Up to Count bytes from the position.
  String ReadString(Int64 Count);
  void WriteString(const String& AString) { Write(AString.data(), static_cast<Int64>(AString.size())); }
  const String& DataString() const { return FDataString; }

 private:
  String FDataString;
  Int64 FPosition = 0;
};
