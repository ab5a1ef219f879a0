// The texts the skin library itself shows (system menu, caption button hints, dialog labels, message
// box buttons), as "NAME=value" lines. Replacing the lines translates the library.
#pragma once

#include <memory>

#include "platform/rtl/component.h"
#include "platform/rtl/lists.h"
#include "platform/ui/graphics/graphicsobjects.h"

class TbsResourceStrData : public TComponent {
 public:
  // Holds the English default lines; CharSet DEFAULT_CHARSET.
  explicit TbsResourceStrData(TComponent* AOwner);
  ~TbsResourceStrData() override;
  String ClassName() const override { return "TbsResourceStrData"; }

  // The value of the first line whose name (text before its first "=") equals ResName, ignoring
  // letter case; "" when none. A line without "=" has no name.
  String GetResStr(const String& ResName);

  TStrings* ResStrings() const { return FResStrs.get(); }
  // Replaces every line by a copy of Value's lines.
  void SetResStrings(TStrings* Value);
  TFontCharset CharSet() const { return FCharSet; }
  void SetCharSet(TFontCharset Value) { FCharSet = Value; }

 private:
  std::unique_ptr<TStringList> FResStrs;
  TFontCharset FCharSet = DEFAULT_CHARSET;
};

// The default lines, in order.
extern const char* const SkinDefaultResourceStrings[131];
