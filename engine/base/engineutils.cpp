#include "engine/base/engineutils.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

Integer SeekFlagsToAV(TSeekFlags AFlags) {
  Integer result = 0;
  if (AFlags.Contains(sfBackward)) result |= 1;
  if (AFlags.Contains(sfByte)) result |= 2;
  if (AFlags.Contains(sfAny)) result |= 4;
  if (AFlags.Contains(sfFrame)) result |= 8;
  return result;
}

String GetExeName() {
  return ParamStr(0);
}

String GetExePath() {
  return ExtractFilePath(GetExeName());
}

Int64 GetFileSize(const String& AFileName) {
  if (!FileExists(AFileName)) return -1;
  return FileSize(ExpandFileName(AFileName));
}

void SplitAt(String& AText, const String& ADelimiter, bool ARemove, String& AHead) {
  const size_t p = ADelimiter.empty() ? String::npos : AText.find(ADelimiter);
  if (p != String::npos) {
    AHead = AText.substr(0, p);
    if (ARemove) AText.erase(0, p + ADelimiter.size());
  } else {
    AHead = AText;
    if (ARemove) AText.clear();
  }
}

String FormatFileSize(Int64 ASize) {
  if (ASize > 1073741824) return Format("%.2f GB", Double(ASize) / 1073741824.0);
  if (ASize > 1048576) return Format("%.2f MB", Double(ASize) / 1048576.0);
  if (ASize > 1024) return Format("%.2f KB", Double(ASize) / 1024.0);
  return Format("%d Byte", ASize);
}

Double GetLocalTimeOffset() {
  // tzset fills `timezone`: seconds west of UTC for standard time, the zone's bias.
  tzset();
  return -Double(timezone) / 86400.0;
}

TDateTime UnixTimeToDateTime(Int64 ASeconds) {
  return Double(ASeconds) / 86400.0 + UnixDateDelta + GetLocalTimeOffset();
}

Int64 DateTimeToUnixTime(TDateTime ADateTime) {
  return Round((Extended(ADateTime) - UnixDateDelta - GetLocalTimeOffset()) * 86400.0L);
}

String FormatDateTimeText(const String& AFormat, TDateTime ADateTime) {
  return FormatDateTime(AFormat, ADateTime);
}

namespace {

// The callers whose CallInMainThread calls the main thread is running, innermost last.
thread_local std::vector<Cardinal> GServedThreads;
thread_local Integer GWaitBans = 0;

}  // namespace

void CallInMainThread(const TThreadMethod& AMethod) {
  if (IsMainThread()) {
    AMethod();
    return;
  }
  const Cardinal caller = GetCurrentThreadId();
  TThread::Synchronize(nullptr, [&AMethod, caller] {
    GServedThreads.push_back(caller);
    struct TPop {
      ~TPop() { GServedThreads.pop_back(); }
    } pop;
    AMethod();
  });
}

bool MainThreadServes(Cardinal AThreadID) {
  return std::find(GServedThreads.begin(), GServedThreads.end(), AThreadID) != GServedThreads.end();
}

TMainThreadWaitBan::TMainThreadWaitBan() {
  ++GWaitBans;
}

TMainThreadWaitBan::~TMainThreadWaitBan() {
  --GWaitBans;
}

bool MainThreadWaitBanned() {
  return GWaitBans > 0;
}
