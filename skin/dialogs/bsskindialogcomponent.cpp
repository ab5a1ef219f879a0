#include "skin/dialogs/bsskindialogcomponent.h"

TbsSkinDialogComponent::TbsSkinDialogComponent(TComponent* AOwner, const String& ATitle,
                                               Byte AAlphaBlendValue)
    : TComponent(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FTitle(ATitle),
      FAlphaBlendValue(AAlphaBlendValue) {
  FDefaultFont->SetName("Tahoma");
  FDefaultFont->SetHeight(13);
  FDefaultFont->SetStyle({});
}

TbsSkinDialogComponent::~TbsSkinDialogComponent() = default;

void TbsSkinDialogComponent::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}
