// Option names that FFmpeg 5.1 no longer knows as generic codec options. The presets and targets
// were written against the old generic names; here each old name (or each flag of an old flag list)
// becomes the encoder-private option that replaced it, or stays generic where 5.1 still has it.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/types.h"

struct TTranslatedOption {
  bool Generic = false;  // a generic codec option; otherwise a private option of the video encoder
  String Name;
  String Value;
};

enum TTranslateResult {
  trNotTranslated,  // not an old name: the generic and private stores decide
  trTranslated,     // AOut holds the options to set instead
  trRefused         // an old name with a flag or value that has no counterpart
};

// AIsGenericFlag tells whether a flag name is a constant of a generic flags option ("flags",
// "flags2") in this FFmpeg.
using TGenericFlagTest = std::function<bool(const String& AOption, const String& AFlag)>;

TTranslateResult TranslateOldOption(const String& AName, const String& AValue,
                                    const TGenericFlagTest& AIsGenericFlag,
                                    std::vector<TTranslatedOption>& AOut);
