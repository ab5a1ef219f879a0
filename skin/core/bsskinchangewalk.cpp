#include "skin/core/bsskinchangewalk.h"

#include "platform/ui/core/wincontrol.h"
#include "skin/core/bsskinchangeable.h"

namespace {

template <typename Call>
void walk(TbsSkinData* ASkinData, TWinControl* AControl, const Call& call) {
  if (AControl == nullptr) return;
  for (Integer i = 0; i < AControl->ControlCount(); ++i) {
    TControl* C = AControl->Controls(i);
    if (auto* S = dynamic_cast<IbsSkinChangeable*>(C); S != nullptr && (ASkinData == nullptr || S->SkinData() == ASkinData))
      call(S);
    if (auto* W = dynamic_cast<TWinControl*>(C)) walk(ASkinData, W, call);
  }
}

}  // namespace

void BeforeChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl) {
  walk(ASkinData, AControl, [](IbsSkinChangeable* S) { S->BeforeChangeSkinData(); });
}

void ChangeSkinDataControls(TbsSkinData* ASkinData, TWinControl* AControl) {
  walk(ASkinData, AControl, [](IbsSkinChangeable* S) { S->ChangeSkinData(); });
}
