#include "engine/transcoder/optiontranslation.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/rtl/strings.h"

namespace {

// Old generic names that became private options of the H.264 encoder under another name (or the
// same one); the value passes unchanged unless a value map says otherwise.
struct TRename {
  const char* Old;
  const char* New;
};
const TRename Renames[] = {
    {"coder", "coder"},
    {"b_strategy", "b_strategy"},
    {"sc_threshold", "sc_threshold"},
    {"wpredp", "wpredp"},
    {"directpred", "direct-pred"},
    {"me_method", "motion-est"},
    {"rc_lookahead", "rc-lookahead"},
    {"crf", "crf"},
    {"cqp", "qp"},
};

// Motion-estimation methods the old option named beyond the encoder's own.
struct TValueMap {
  const char* Old;
  const char* New;
};
const TValueMap MeMethods[] = {{"epzs", "dia"}, {"full", "esa"}};

// Flags of the old "flags2" list and the private switches that carry them now.
struct TFlagMap {
  const char* Flag;
  const char* Option;
  const char* On;
  const char* Off;
};
const TFlagMap Flags2Map[] = {
    {"mixed_refs", "mixed-refs", "1", "0"},
    {"wpred", "weightb", "1", "0"},
    {"dct8x8", "8x8dct", "1", "0"},
    {"fastpskip", "fast-pskip", "1", "0"},
    {"bpyramid", "b-pyramid", "normal", "none"},
    {"mbtree", "mbtree", "1", "0"},
    {"aud", "aud", "1", "0"},
    {"psy", "psy", "1", "0"},
    {"ssim", "ssim", "1", "0"},
    {"intra_refresh", "intra-refresh", "1", "0"},
};
// Flags of the old "flags" list that became private switches of the MPEG encoders.
const TFlagMap FlagsMap[] = {{"scan_offset", "scan_offset", "1", "0"}};

// The old "partitions" flags and the encoder's partition names.
const TValueMap Partitions[] = {{"parti4x4", "i4x4"},
                                {"parti8x8", "i8x8"},
                                {"partp4x4", "p4x4"},
                                {"partp8x8", "p8x8"},
                                {"partb8x8", "b8x8"}};

struct TFlagToken {
  char Sign;  // '+', '-', or 0 for a flag without sign
  String Name;
};

// "+a+b-c", "a+b": the flags with their signs.
bool SplitFlags(const String& AValue, std::vector<TFlagToken>& ATokens) {
  size_t i = 0;
  const String value = Trim(AValue);
  while (i < value.size()) {
    TFlagToken token{0, String()};
    if (value[i] == '+' || value[i] == '-') token.Sign = value[i++];
    while (i < value.size() && value[i] != '+' && value[i] != '-') token.Name += value[i++];
    if (token.Name.empty()) return false;
    ATokens.push_back(token);
  }
  return !ATokens.empty();
}

TTranslateResult TranslateFlagList(const String& AName, const String& AValue, const TFlagMap* AMap,
                                   size_t ACount, const TGenericFlagTest& AIsGenericFlag,
                                   std::vector<TTranslatedOption>& AOut) {
  std::vector<TFlagToken> tokens;
  if (!SplitFlags(AValue, tokens)) return trNotTranslated;
  bool any = false;
  for (const TFlagToken& t : tokens)
    for (size_t i = 0; i < ACount; ++i) any = any || t.Name == AMap[i].Flag;
  // A list of flags that 5.1 knows as they are stays with the generic store.
  if (!any) return trNotTranslated;
  String generic;
  std::vector<TTranslatedOption> privates;
  for (const TFlagToken& t : tokens) {
    const TFlagMap* found = nullptr;
    for (size_t i = 0; i < ACount; ++i)
      if (t.Name == AMap[i].Flag) found = &AMap[i];
    if (found) {
      privates.push_back({false, found->Option, t.Sign == '-' ? found->Off : found->On});
    } else if (AIsGenericFlag && AIsGenericFlag(AName, t.Name)) {
      // Signless flags would replace the whole generic value; beside translated ones they add.
      generic += String(1, t.Sign ? t.Sign : '+') + t.Name;
    } else {
      return trRefused;
    }
  }
  if (!generic.empty()) AOut.push_back({true, AName, generic});
  AOut.insert(AOut.end(), privates.begin(), privates.end());
  return trTranslated;
}

TTranslateResult TranslatePartitions(const String& AValue, std::vector<TTranslatedOption>& AOut) {
  std::vector<TFlagToken> tokens;
  if (!SplitFlags(AValue, tokens)) return trRefused;
  // The old flags started from none; the list that results is the encoder's whole setting.
  std::vector<String> chosen;
  for (const TFlagToken& t : tokens) {
    const TValueMap* found = nullptr;
    for (const TValueMap& p : Partitions)
      if (t.Name == p.Old) found = &p;
    if (!found) return trRefused;
    auto at = std::find(chosen.begin(), chosen.end(), String(found->New));
    if (t.Sign == '-') {
      if (at != chosen.end()) chosen.erase(at);
    } else if (at == chosen.end()) {
      chosen.push_back(found->New);
    }
  }
  String value;
  for (const String& p : chosen) value += (value.empty() ? "" : ",") + p;
  AOut.push_back({false, "partitions", value.empty() ? "none" : value});
  return trTranslated;
}

}  // namespace

TTranslateResult TranslateOldOption(const String& AName, const String& AValue,
                                    const TGenericFlagTest& AIsGenericFlag,
                                    std::vector<TTranslatedOption>& AOut) {
  if (AName == "flags2")
    return TranslateFlagList(AName, AValue, Flags2Map, std::size(Flags2Map), AIsGenericFlag, AOut);
  if (AName == "flags")
    return TranslateFlagList(AName, AValue, FlagsMap, std::size(FlagsMap), AIsGenericFlag, AOut);
  if (AName == "partitions") return TranslatePartitions(AValue, AOut);
  for (const TRename& r : Renames) {
    if (AName != r.Old) continue;
    String value = Trim(AValue);
    if (AName == "me_method")
      for (const TValueMap& m : MeMethods)
        if (value == m.Old) value = m.New;
    AOut.push_back({false, r.New, value});
    return trTranslated;
  }
  return trNotTranslated;
}
