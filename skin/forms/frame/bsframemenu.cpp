#include "skin/forms/frame/bsframemenu.h"

#include "skin/forms/frame/bsformobjecthost.h"
#include "skin/menus/bsskinmenu.h"
#include "skin/menus/bsskinmenuhost.h"

void PopupFrameObjectMenu(IbsFormObjectHost* Form, TMenuItem* Items, const TRect& R, bool APopupUp,
                          TbsSkinData* ASkinData) {
  if (!Form || !Items) return;
  if (auto* Own = dynamic_cast<TbsSkinPopupMenu*>(Items->GetParentMenu())) {
    Own->PopupFromRect(R, APopupUp);
    return;
  }
  Form->SkinMenuOpen();
  IbsSkinMenuHost* Host = Form->Form() ? GetSkinMenuHostOf(Form->Form()) : nullptr;
  if (Host && Host->SkinMenu()) Host->SkinMenu()->Popup(nullptr, ASkinData, 0, R, Items, APopupUp);
}

void PopupQuickButtonMenuAt(TbsSkinPopupMenu* Menu, const TRect& R) {
  if (Menu) Menu->PopupFromRect(R, false);
}
