#include "engine/component/optionrecords.h"

#include "engine/base/avheaders.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/strings.h"

void InitInputOptions(TInputOptions& AOptions) {
  AOptions = TInputOptions();
}

void InitOutputOptions(TOutputOptions& AOptions) {
  AOptions = TOutputOptions();
}

String LowerAZ(const String& AText) {
  String result = AText;
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return result;
}

static_assert(NoTimeValue == AV_NOPTS_VALUE);

namespace {

void ReplaceAll(String& AText, const String& AFrom, const String& ATo) {
  size_t p = 0;
  while ((p = AText.find(AFrom, p)) != String::npos) {
    AText.replace(p, AFrom.size(), ATo);
    p += ATo.size();
  }
}

bool SameTextAZ(const String& A, const String& B) {
  return LowerAZ(A) == LowerAZ(B);
}

// A time field of a text form: a 64-bit decimal integer, AV_NOPTS_VALUE otherwise.
Int64 TimeFromText(const String& AValue) {
  Int64 value = 0;
  return TryStrToInt64(AValue, value) ? value : NoTimeValue;
}

void AppendPair(String& AExtOptions, const TOptionPair& APair) {
  AExtOptions += APair.first + "=" + APair.second + "\n";
}

}  // namespace

std::vector<TOptionPair> SplitExtOptions(const String& AText) {
  String text = Trim(AText);
  ReplaceAll(text, "\r\n", "\n");
  ReplaceAll(text, "\r", "\n");
  ReplaceAll(text, "<CRLF>", "\n");
  std::vector<TOptionPair> pairs;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == String::npos) end = text.size();
    const String line = text.substr(start, end - start);
    start = end + 1;
    const size_t eq = line.find('=');
    if (eq == String::npos)
      pairs.emplace_back(line, String());
    else
      pairs.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  }
  return pairs;
}

TInputOptions InputOptionsFromText(const String& AText) {
  TInputOptions options;
  for (const TOptionPair& pair : SplitExtOptions(AText)) {
    if (SameTextAZ(pair.first, "TimeStart"))
      options.TimeStart = TimeFromText(pair.second);
    else
      AppendPair(options.ExtOptions, pair);
  }
  return options;
}

TOutputOptions OutputOptionsFromText(const String& AText) {
  TOutputOptions options;
  for (const TOptionPair& pair : SplitExtOptions(AText)) {
    if (SameTextAZ(pair.first, "Hook") || SameTextAZ(pair.first, "CustomHook"))
      options.CustomHook = true;
    else if (SameTextAZ(pair.first, "Join"))
      options.Join = true;
    else if (SameTextAZ(pair.first, "TimeStart"))
      options.TimeStart = TimeFromText(pair.second);
    else if (SameTextAZ(pair.first, "TimeLength"))
      options.TimeLength = TimeFromText(pair.second);
    else
      AppendPair(options.ExtOptions, pair);
  }
  return options;
}
