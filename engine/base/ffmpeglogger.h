// The engine logger: FFmpeg's log callback and the engine's own messages become OnLog events that
// carry the producing thread's id, a level and one complete line, delivered on the main thread when
// TriggerEventInMainThread is set.
#pragma once

#include <atomic>
#include <cstdarg>

#include "engine/base/engineutils.h"
#include "engine/base/guardedevent.h"
#include "platform/rtl/format.h"
#include "platform/rtl/threads.h"

enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// llQuiet -8, llPanic 0, … llDebug 48.
Integer ToAVLogLevel(TLogLevel ALevel);
// FFmpeg level / 8 (toward zero) + 1, kept within llQuiet … llDebug.
TLogLevel FromAVLogLevel(Integer ALevel);

using TLogEvent =
    std::function<void(TObject* Sender, Cardinal AThreadID, TLogLevel ALogLevel, const String& ALogMsg)>;

// One delivery.
struct TLogInfo {
  TObject* Sender = nullptr;
  Cardinal ThreadID = 0;
  TLogLevel LogLevel = llQuiet;
  String LogMsg;
};

// The text one thread has sent since its last line feed.
struct TLogItem {
  Cardinal ThreadID = 0;
  String LogMsg;
  TLogItem* Next = nullptr;
};

// Pending partial lines, one item per thread; changed only under Lock.
class TLogList : public TObject {
 public:
  TLogList() = default;
  ~TLogList() override;
  String ClassName() const override { return "TLogList"; }

  // The item of AThreadID, created (at the head) when missing. Call under Lock.
  TLogItem* GetItem(Cardinal AThreadID);
  // Discards every item and its pending text.
  void Clear();
  TCriticalSection& Lock() { return FLock; }

 private:
  TLogItem* FHeader = nullptr;
  TCriticalSection FLock;
};

class TFFLogger : public TFFBaseComponent {
 public:
  // Only one logger may exist: a second one at run time raises EAssertionFailed.
  explicit TFFLogger(TComponent* AOwner);
  ~TFFLogger() override;
  String ClassName() const override { return "TFFLogger"; }

  // An engine message. Delivered when OnLog is set and ALogLevel is not above LogLevel; llVerbose
  // passes at every level but llQuiet, llQuiet always.
  void Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg);
  // The same with Format(AFormat, Args…), formatted only when it will be delivered.
  template <typename... TArgs>
  void Log(TObject* Sender, TLogLevel ALogLevel, const String& AFormat, const TArgs&... Args) {
    if (WillDeliver(ALogLevel)) Deliver(Sender, ALogLevel, Format(AFormat, Args...));
  }

  // Sets LogLevel from "quiet" … "debug" (any case) or an FFmpeg level number; EConvertError for
  // anything else, LogLevel unchanged.
  void OptLogLevel(const String& arg);
  // Makes AVLogCallback FFmpeg's log callback and applies LogLevel. libavutil must be bound.
  void InstallAVLogCallback();

  TLogLevel LogLevel() const { return FLogLevel; }
  // Writing it also sets FFmpeg's threshold (once libavutil is bound).
  void SetLogLevel(TLogLevel Value);
  void ApplyLogLevel();
  bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
  void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }

  // Delivery of one complete FFmpeg line (not filtered again: the threshold did that).
  void DoAVLog(Cardinal AThreadID, Integer ALevel, const String& ALine);

  // Threads that log read it while the owner may assign it.
  TGuardedEvent<TLogEvent> OnLog;

 private:
  bool WillDeliver(TLogLevel ALogLevel) const;
  void Deliver(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg);
  void Dispatch(const TLogInfo& AInfo);
  void CallLog(const TLogInfo& AInfo);

  std::atomic<bool> FTriggerEventInMainThread{true};
  std::atomic<TLogLevel> FLogLevel{llInfo};
};

// The logger, created without owner on first use when none exists.
TFFLogger* GetFFLogger();

// FFmpeg's log callback (av_log_set_callback): cuts the chunks of each thread into complete lines.
extern "C" void AVLogCallback(void* ptr, int level, const char* fmt, va_list vl);
