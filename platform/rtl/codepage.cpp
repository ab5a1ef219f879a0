#include "platform/rtl/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

#include "platform/rtl/consts.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strings.h"

namespace {

std::mutex GCodePageLock;
String GCodePage = "UTF-8";

bool IsUtf8Name(const String& Name) {
  const String N = UpperCase(Name);
  return N == "UTF-8" || N == "UTF8" || N == "CP65001";
}

// One iconv conversion state, closed on every path.
class TIconv {
 public:
  TIconv(const String& To, const String& From) : FHandle(iconv_open(To.c_str(), From.c_str())) {}
  ~TIconv() {
    if (Valid()) iconv_close(FHandle);
  }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

  // Converts S; each sequence iconv refuses is replaced by Replacement and skipped by the length
  // SkipLength gives for it. False when anything was replaced.
  template <typename TSkip>
  bool Convert(const String& S, String& Out, const String& Replacement, TSkip SkipLength) {
    Out.clear();
    bool Exact = true;
    char* In = const_cast<char*>(S.data());
    size_t InLeft = S.size();
    char Buf[1024];
    while (InLeft > 0) {
      char* OutPtr = Buf;
      size_t OutLeft = sizeof(Buf);
      const size_t Rc = iconv(FHandle, &In, &InLeft, &OutPtr, &OutLeft);
      const int Err = errno;
      Out.append(Buf, OutPtr - Buf);
      if (Rc != static_cast<size_t>(-1)) break;
      if (Err == E2BIG) continue;
      // EILSEQ (unrepresentable or malformed) or EINVAL (cut off at the end).
      Exact = false;
      Out += Replacement;
      const size_t Skip = std::min<size_t>(std::max<size_t>(SkipLength(In, InLeft), 1), InLeft);
      In += Skip;
      InLeft -= Skip;
    }
    // Flush any shift state the target keeps.
    char* OutPtr = Buf;
    size_t OutLeft = sizeof(Buf);
    iconv(FHandle, nullptr, nullptr, &OutPtr, &OutLeft);
    Out.append(Buf, OutPtr - Buf);
    return Exact;
  }

 private:
  iconv_t FHandle;
};

size_t Utf8SequenceAt(const char* P, size_t Left) {
  Integer Size = 0;
  Utf8Decode(String(P, std::min<size_t>(Left, 4)), 0, &Size);
  return Size;
}

}  // namespace

void SetSystemCodePage(const String& Name) {
  if (!IsUtf8Name(Name)) {
    TIconv Probe(Name, "UTF-8");
    if (!Probe.Valid()) throw EConvertError(Format(SInvalidCodePage, Name));
  }
  std::lock_guard<std::mutex> Lock(GCodePageLock);
  GCodePage = Name;
}

String SystemCodePage() {
  std::lock_guard<std::mutex> Lock(GCodePageLock);
  return GCodePage;
}

bool SystemCodePageIsUtf8() {
  return IsUtf8Name(SystemCodePage());
}

bool Utf8ToSystem(const String& S, String& Out) {
  const String CodePage = SystemCodePage();
  const String To = IsUtf8Name(CodePage) ? "UTF-8" : CodePage;
  TIconv Cd(To, "UTF-8");
  if (!Cd.Valid()) throw EConvertError(Format(SInvalidCodePage, CodePage));
  String Question;
  {
    TIconv Q(To, "UTF-8");
    if (!Q.Convert(String(1, '?'), Question, String(), Utf8SequenceAt)) Question.assign(1, '?');
  }
  return Cd.Convert(S, Out, Question, Utf8SequenceAt);
}

bool SystemToUtf8(const String& S, String& Out) {
  const String CodePage = SystemCodePage();
  TIconv Cd("UTF-8", IsUtf8Name(CodePage) ? "UTF-8" : CodePage);
  if (!Cd.Valid()) throw EConvertError(Format(SInvalidCodePage, CodePage));
  // Without knowing the code page's sequence lengths, a refused byte is skipped alone.
  return Cd.Convert(S, Out, Utf8Encode(0xFFFD), [](const char*, size_t) { return size_t(1); });
}
