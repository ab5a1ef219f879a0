#include "skin/forms/frame/bsframemenu.h"

#include "skin/forms/engine/bsskinform.h"

void PopupFrameObjectMenu(TbsSkinForm* Form, TMenuItem* Items, const TRect&, bool, TbsSkinData*) {
  if (!Form || !Items) return;
  Form->SkinMenuOpen();
}

void PopupQuickButtonMenuAt(TbsSkinPopupMenu*, const TRect&) {}
