// The engine's side of a linked ribbon: the link itself, the keyboard (shortcuts of the application
// button's menu, Alt+letter for the tabs, the keyboard-menu command) and the application menu's
// caption picture in the frame.
#include "platform/ui/menus/menuitem.h"
#include "skin/forms/engine/bsskinform.h"

void TbsSkinForm::SetSkinRibbon(IbsFormRibbon* Value) {
  if (FSkinRibbon != nullptr && FSkinRibbon != Value) {
    // The old ribbon must not keep calling into this engine.
    if (FSkinRibbon->LinkedSkinForm() == this) FSkinRibbon->LinkSkinForm(nullptr);
    FSkinRibbonComponent->RemoveFreeNotification(this);
  }
  FSkinRibbon = Value;
  FSkinRibbonComponent = Value != nullptr ? Value->RibbonComponent() : nullptr;
  if (Value == nullptr) return;
  FSkinRibbonComponent->FreeNotification(this);
  Value->LinkSkinForm(this);
}

bool TbsSkinForm::CanShowAppMenuCaption() const {
  if (FSkinRibbon == nullptr) return false;
  IbsFormAppMenu* M = FSkinRibbon->FormAppMenu();
  return M != nullptr && !UseFullLayeredBorder() && M->AppMenuVisible() && M->CanDrawAppMenuCaption();
}

void TbsSkinForm::DrawAppMenuCaption(TCanvas* Canvas, const TRect& R) {
  if (FSkinRibbon == nullptr) return;
  if (IbsFormAppMenu* M = FSkinRibbon->FormAppMenu()) M->DrawAppMenuCaption(Canvas, R);
}

Integer TbsSkinForm::GetAppMenuCaptionOffsetOf() const {
  IbsFormAppMenu* M = FSkinRibbon != nullptr ? FSkinRibbon->FormAppMenu() : nullptr;
  return M != nullptr ? M->GetAppMenuCaptionOffset() : 0;
}

void TbsSkinForm::ribbonShortCut(TWMKey& Msg, TMessage& M, bool& Handled) {
  if (FSkinRibbon == nullptr || Handled || Msg.CharCode == 0) return;
  if (TMenu* P = FSkinRibbon->AppButtonShortCutMenu()) {
    FInShortCut = P->IsShortCut(M);
    if (FInShortCut) Handled = true;
  }
  // Choosing a tab leaves the key to the rest of the form.
  if (!Handled && FSkinRibbon->HasTabs() && GetKeyState(VK_MENU) < 0)
    FSkinRibbon->SelectTabByAccel(Msg.CharCode);
}

void TbsSkinForm::ribbonKeyMenu() {
  if (FSkinRibbon == nullptr) return;
  if (IbsFormAppMenu* A = FSkinRibbon->FormAppMenu(); A != nullptr && A->AppMenuVisible())
    FSkinRibbon->CloseAppMenu();
  // Closing the application menu may have freed the ribbon.
  if (FSkinRibbon == nullptr) return;
  if (FSkinMenu->Visible())
    FSkinMenu->Hide();
  else
    SkinMenuClose();
  if (FSkinRibbon != nullptr) FSkinRibbon->FocusRibbon();
}
