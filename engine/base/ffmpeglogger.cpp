#include "engine/base/ffmpeglogger.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/librarymessage.h"
#include "platform/rtl/consts.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"

namespace {

// FFmpeg's threshold: its messages above it are dropped.
std::atomic<Integer> GAVThreshold{32};
std::atomic<TFFLogger*> GLogger{nullptr};
std::mutex GLoggerCreation;
TLogList* GLogList = nullptr;

constexpr size_t ChunkBufferSize = 2048;

// A chunk cut at the buffer's end may end inside a UTF-8 sequence; drop that partial character.
void DropPartialUtf8Tail(String& S) {
  size_t i = S.size();
  size_t continuation = 0;
  while (i > 0 && (Byte(S[i - 1]) & 0xC0) == 0x80 && continuation < 3) {
    --i;
    ++continuation;
  }
  if (i == 0) return;
  const Byte lead = Byte(S[i - 1]);
  size_t need = 0;
  if ((lead & 0xE0) == 0xC0)
    need = 1;
  else if ((lead & 0xF0) == 0xE0)
    need = 2;
  else if ((lead & 0xF8) == 0xF0)
    need = 3;
  else
    return;
  if (continuation < need) S.resize(i - 1);
}

struct TLoggerModule {
  TLoggerModule() { GLogList = new TLogList; }
  ~TLoggerModule() {
    delete GLogList;
    GLogList = nullptr;
    delete GLogger.load();
  }
} GLoggerModule;

}  // namespace

Integer ToAVLogLevel(TLogLevel ALevel) {
  return Integer(ALevel) * 8 - 8;
}

TLogLevel FromAVLogLevel(Integer ALevel) {
  Integer ordinal = ALevel / 8 + 1;
  if (ordinal < llQuiet) ordinal = llQuiet;
  if (ordinal > llDebug) ordinal = llDebug;
  return TLogLevel(ordinal);
}

// ---- TLogList ----------------------------------------------------------------------------------

TLogList::~TLogList() {
  Clear();
}

TLogItem* TLogList::GetItem(Cardinal AThreadID) {
  for (TLogItem* item = FHeader; item; item = item->Next)
    if (item->ThreadID == AThreadID) return item;
  auto* item = new TLogItem;
  item->ThreadID = AThreadID;
  item->Next = FHeader;
  FHeader = item;
  return item;
}

void TLogList::Clear() {
  TCriticalSectionHold guard(FLock);
  while (FHeader) {
    TLogItem* next = FHeader->Next;
    delete FHeader;
    FHeader = next;
  }
}

// ---- TFFLogger ---------------------------------------------------------------------------------

TFFLogger::TFFLogger(TComponent* AOwner) : TFFBaseComponent(AOwner) {
  TFFLogger* expected = nullptr;
  if (!GLogger.compare_exchange_strong(expected, this) && !ComponentState().Contains(csDesigning))
    throw EAssertionFailed(
        Format(SAssertError, "Allow creating only one instance of TFFLogger.", "FFmpegLogger", 323));
  FLogLevel = FromAVLogLevel(GAVThreshold);
  GLogger = this;
}

TFFLogger::~TFFLogger() {
  TThread::RemoveQueuedEvents(this);
  TFFLogger* self = this;
  GLogger.compare_exchange_strong(self, nullptr);
}

TFFLogger* GetFFLogger() {
  if (TFFLogger* logger = GLogger.load()) return logger;
  std::lock_guard<std::mutex> guard(GLoggerCreation);
  if (!GLogger.load()) new TFFLogger(nullptr);
  return GLogger.load();
}

void TFFLogger::InstallAVLogCallback() {
  if (!ff::av_log_set_callback)
    throw EAssertionFailed(Format(SAssertError, "Assertion failure", "FFmpegLogger", 338));
  if (!ff::av_log_set_level)
    throw EAssertionFailed(Format(SAssertError, "Assertion failure", "FFmpegLogger", 339));
  ff::av_log_set_callback(AVLogCallback);
  ApplyLogLevel();
}

void TFFLogger::SetLogLevel(TLogLevel Value) {
  if (Value == FLogLevel) return;
  FLogLevel = Value;
  ApplyLogLevel();
}

void TFFLogger::ApplyLogLevel() {
  if (!ff::av_log_set_level) return;  // libavutil not loaded: installing the callback applies it
  GAVThreshold = ToAVLogLevel(FLogLevel);
  ff::av_log_set_level(GAVThreshold);
}

void TFFLogger::OptLogLevel(const String& arg) {
  static const struct {
    const char* Name;
    Integer Level;
  } levels[] = {{"quiet", -8},   {"panic", 0}, {"fatal", 8},    {"error", 16},
                {"warning", 24}, {"info", 32}, {"verbose", 40}, {"debug", 48}};
  for (const auto& l : levels)
    if (SameText(arg, l.Name)) {
      SetLogLevel(FromAVLogLevel(l.Level));
      return;
    }
  SetLogLevel(FromAVLogLevel(StrToInt(arg)));
}

bool TFFLogger::WillDeliver(TLogLevel ALogLevel) const {
  if (!OnLog) return false;
  const TLogLevel level = FLogLevel;
  return ALogLevel <= level || (ALogLevel == llVerbose && level != llQuiet);
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg) {
  if (WillDeliver(ALogLevel)) Deliver(Sender, ALogLevel, ALogMsg);
}

void TFFLogger::Deliver(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg) {
  TLogInfo info;
  info.Sender = Sender;
  info.ThreadID = GetCurrentThreadId();
  info.LogLevel = ALogLevel;
  info.LogMsg = ALogMsg;
  Dispatch(info);
}

void TFFLogger::DoAVLog(Cardinal AThreadID, Integer ALevel, const String& ALine) {
  if (!OnLog) return;
  TLogInfo info;
  info.Sender = this;
  info.ThreadID = AThreadID;
  info.LogLevel = FromAVLogLevel(ALevel);
  info.LogMsg = ALine;
  Dispatch(info);
}

void TFFLogger::Dispatch(const TLogInfo& AInfo) {
  if (!FTriggerEventInMainThread) {
    CallLog(AInfo);
  } else if (!IsMainThread() && (CodecLock().HeldByCurrentThread() || MainThreadWaitBanned())) {
    // Waiting for the main thread here would deadlock against a main thread that waits for a lock
    // this thread holds (the codec lock while opening a probe, say): the line goes to the main
    // thread without waiting.
    TThread::Queue(this, [this, AInfo] { CallLog(AInfo); });
  } else {
    CallInMainThread([this, &AInfo] { CallLog(AInfo); });
  }
}

void TFFLogger::CallLog(const TLogInfo& AInfo) {
  if (TLogEvent handler = OnLog.Get()) handler(AInfo.Sender, AInfo.ThreadID, AInfo.LogLevel, AInfo.LogMsg);
}

// ---- the FFmpeg callback -----------------------------------------------------------------------

extern "C" void AVLogCallback(void* ptr, int level, const char* fmt, va_list vl) {
  NoteLibraryMessage(level, fmt, vl);
  if (level > GAVThreshold || !GLogList) return;
  const Cardinal threadId = GetCurrentThreadId();
  std::vector<String> lines;
  {
    TCriticalSectionHold guard(GLogList->Lock());
    TLogItem* item = GLogList->GetItem(threadId);

    char buffer[ChunkBufferSize] = {};
    int needed;
    bool endsLine;
    va_list args;
    va_copy(args, vl);
    if (ff::av_log_format_line2) {
      // A line's first chunk gets the "[class @ address] " prefix of its context. On return the
      // flag tells whether the whole message, before any cut, ended its line.
      int printPrefix = (ptr && item->LogMsg.empty()) ? 1 : 0;
      needed = ff::av_log_format_line2(ptr, level, fmt, args, buffer, int(sizeof buffer), &printPrefix);
      endsLine = printPrefix != 0;
    } else {
      needed = vsnprintf(buffer, sizeof buffer, fmt, args);
      endsLine = needed > 0 && fmt[std::strlen(fmt) - 1] == '\n';
    }
    va_end(args);
    String chunk(buffer);
    if (needed >= int(sizeof buffer)) {
      // Cut at the buffer's end: keep whole characters, and the line end the cut took away, so
      // that the line is still delivered.
      DropPartialUtf8Tail(chunk);
      if (endsLine && (chunk.empty() || chunk.back() != '\n')) chunk += '\n';
    }

    item->LogMsg += chunk;
    size_t feed;
    while ((feed = item->LogMsg.find('\n')) != String::npos) {
      lines.push_back(item->LogMsg.substr(0, feed));
      item->LogMsg.erase(0, feed + 1);
    }
  }
  // Delivery may wait for the main thread; the list's lock is released by now.
  for (const String& line : lines) GetFFLogger()->DoAVLog(threadId, level, line);
}
