#include "skin/dialogs/bsskindialogcomponent.h"

#include "skin/core/bsstrings.h"

String SkinDialogText(TbsSkinData* CtrlSkinData, const char* Key, const char* Fallback) {
  if (CtrlSkinData != nullptr && CtrlSkinData->ResourceStrData() != nullptr)
    return CtrlSkinData->ResourceStrData()->GetResStr(Key);
  return Fallback;
}

String SkinDialogMessage(TbsSkinData* CtrlSkinData, const char* Key, const char* Fallback) {
  const String S = SkinDialogText(CtrlSkinData, Key, Fallback);
  return S.empty() ? String(Fallback) : S;
}

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
