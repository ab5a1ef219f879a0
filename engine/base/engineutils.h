// Small routines and types that every engine component shares: the component base, seek flags, the
// program's own file, file sizes and size texts, text splitting, Unix time, and the call that moves
// work to the main thread.
#pragma once

#include "platform/rtl/component.h"
#include "platform/rtl/threads.h"
#include "platform/rtl/tset.h"
#include "platform/rtl/types.h"

// Names of files and folders handed to the engine (library folder, library names).
using TPathFileName = String;

template <typename E>
using TEnumSet = TSet<E>;

// The base of the engine's components (logger, probe, converter, player).
class TFFBaseComponent : public TComponent {
 public:
  using TComponent::TComponent;
  String ClassName() const override { return "TFFBaseComponent"; }
};

enum TSeekFlag { sfBackward, sfByte, sfAny, sfFrame };
using TSeekFlags = TEnumSet<TSeekFlag>;

// FFmpeg's seek flags (AVSEEK_FLAG_BACKWARD 1, _BYTE 2, _ANY 4, _FRAME 8) of a set.
Integer SeekFlagsToAV(TSeekFlags AFlags);

// Full file name of the running program.
String GetExeName();
// Its folder, ending with the path delimiter.
String GetExePath();
// Size in bytes (64-bit), -1 when no file of that name exists.
Int64 GetFileSize(const String& AFileName);

// Cuts AText at the first ADelimiter: AHead gets the text before it (the whole text when it does not
// occur); with ARemove, AText keeps what follows it (empty when it does not occur).
void SplitAt(String& AText, const String& ADelimiter, bool ARemove, String& AHead);

// "1.00 KB" and the like; sizes up to 1024 in whole bytes ("1024 Byte"), negatives too.
String FormatFileSize(Int64 ASize);

// The local zone's offset from UTC in days, daylight saving not counted.
Double GetLocalTimeOffset();
TDateTime UnixTimeToDateTime(Int64 ASeconds);
// Seconds since 1970-01-01 UTC, rounded half to even.
Int64 DateTimeToUnixTime(TDateTime ADateTime);
String FormatDateTimeText(const String& AFormat, TDateTime ADateTime);

// Holds a lock for a scope (TCriticalSection has no lock()/unlock() for std::lock_guard).
class TCriticalSectionHold {
 public:
  explicit TCriticalSectionHold(TCriticalSection& ALock) : FLock(ALock) { FLock.Enter(); }
  ~TCriticalSectionHold() { FLock.Leave(); }
  TCriticalSectionHold(const TCriticalSectionHold&) = delete;
  TCriticalSectionHold& operator=(const TCriticalSectionHold&) = delete;

 private:
  TCriticalSection& FLock;
};

// Runs AMethod on the main thread and waits for it; on the main thread it runs at once. An
// exception AMethod raises there is raised again in the caller.
void CallInMainThread(const TThreadMethod& AMethod);
// True on the main thread while it runs (perhaps nested) a call that AThreadID handed it through
// CallInMainThread: that thread waits for the call, so nothing inside it may wait for that thread.
bool MainThreadServes(Cardinal AThreadID);

// For its scope the calling thread holds a lock that the main thread takes without serving its
// queue, so the thread must not wait for the main thread meanwhile: where a wait can be avoided
// (the logger's lines), the call is handed over without waiting.
class TMainThreadWaitBan {
 public:
  TMainThreadWaitBan();
  ~TMainThreadWaitBan();
  TMainThreadWaitBan(const TMainThreadWaitBan&) = delete;
  TMainThreadWaitBan& operator=(const TMainThreadWaitBan&) = delete;
};
bool MainThreadWaitBanned();
