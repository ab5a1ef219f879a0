#include "skin/boxes/ribbon/bsribbonpages.h"

TbsRibbonCustomPage::TbsRibbonCustomPage(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(Left(), Top(), 150, 30);
}

void TbsRibbonCustomPage::GetScrollInfo() {}

TbsAppMenuCustomPage::TbsAppMenuCustomPage(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(Left(), Top(), 150, 30);
}

void TbsAppMenuCustomPage::GetScrollInfo() {}
