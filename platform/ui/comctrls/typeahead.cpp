#include "platform/ui/comctrls/typeahead.h"

#include "platform/rtl/strings.h"

void TTypeAheadSearch::Type(char32_t Key, Cardinal Now) {
  if (Now - FTime > Pause) FTyped.clear();
  FTime = Now;
  const String Letter = Utf8Encode(Key);
  FTyped += Letter;
  FStepsOn = true;
  for (size_t At = 0; At < FTyped.size() && FStepsOn; At += Letter.size())
    FStepsOn = FTyped.compare(At, Letter.size(), Letter) == 0;
  FWanted = FStepsOn ? Letter : FTyped;
}

bool TTypeAheadSearch::Matches(const String& Text) const {
  return UpperCase(Text).rfind(UpperCase(FWanted), 0) == 0;
}
