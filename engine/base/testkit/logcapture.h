// Records what the engine logger delivers, for the tests of every engine folder: lines arrive on
// the sending thread (unless a test turns main-thread delivery back on), and the logger's level and
// delivery mode are put back when the capture ends.
#pragma once

#include <mutex>
#include <vector>

#include "engine/base/ffmpeglogger.h"
#include "platform/rtl/threads.h"

struct TLoggedLine {
  TObject* Sender = nullptr;
  Cardinal ThreadID = 0;
  TLogLevel Level = llQuiet;
  String Msg;
  bool OnMainThread = false;
  friend bool operator==(const TLoggedLine&, const TLoggedLine&) = default;
};

class TLogCapture {
 public:
  explicit TLogCapture(TLogLevel ALevel = llInfo)
      : FLogger(GetFFLogger()),
        FSavedLevel(FLogger->LogLevel()),
        FSavedMainThread(FLogger->TriggerEventInMainThread()) {
    FLogger->SetTriggerEventInMainThread(false);
    FLogger->SetLogLevel(ALevel);
    FLogger->OnLog = [this](TObject* Sender, Cardinal AThreadID, TLogLevel ALevel, const String& AMsg) {
      std::lock_guard<std::mutex> guard(FLock);
      FLines.push_back({Sender, AThreadID, ALevel, AMsg, IsMainThread()});
    };
  }
  ~TLogCapture() {
    FLogger->OnLog = nullptr;
    FLogger->SetLogLevel(FSavedLevel);
    FLogger->SetTriggerEventInMainThread(FSavedMainThread);
  }
  TLogCapture(const TLogCapture&) = delete;
  TLogCapture& operator=(const TLogCapture&) = delete;

  TFFLogger* Logger() const { return FLogger; }
  std::vector<TLoggedLine> Lines() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FLines;
  }
  std::vector<String> Messages() const {
    std::lock_guard<std::mutex> guard(FLock);
    std::vector<String> result;
    for (const TLoggedLine& line : FLines) result.push_back(line.Msg);
    return result;
  }
  // The first line that starts with APrefix goes to AFound; false when no line does.
  bool Find(const String& APrefix, TLoggedLine& AFound) const {
    std::lock_guard<std::mutex> guard(FLock);
    for (const TLoggedLine& line : FLines)
      if (line.Msg.rfind(APrefix, 0) == 0) {
        AFound = line;
        return true;
      }
    return false;
  }
  void Clear() {
    std::lock_guard<std::mutex> guard(FLock);
    FLines.clear();
  }

 private:
  TFFLogger* FLogger;
  TLogLevel FSavedLevel;
  bool FSavedMainThread;
  mutable std::mutex FLock;
  std::vector<TLoggedLine> FLines;
};
