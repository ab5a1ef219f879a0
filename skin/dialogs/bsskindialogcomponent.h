// What every skinned dialog component keeps: the skin of its frame and of its controls (also the
// source of its texts), the font its controls use without the skin's, its caption and the
// translucency handed to the form it builds.
#pragma once

#include <memory>

#include "platform/rtl/component.h"
#include "platform/ui/graphics/graphicsobjects.h"
#include "skin/core/bsskindata.h"

// A text of the dialogs by Key: the control skin's string table answers when the skin has one (an empty
// text for a key it lacks), else Fallback, the built-in English text.
String SkinDialogText(TbsSkinData* CtrlSkinData, const char* Key, const char* Fallback);
// The same for a message that must never come out empty: a table without the key gives Fallback too.
String SkinDialogMessage(TbsSkinData* CtrlSkinData, const char* Key, const char* Fallback);

// The message of a folder the dialogs could not create (its path and the system's reason).
constexpr const char* FolderCreateFailedKey = "MSG_FOLDERCREATEFAILED";
constexpr const char* FolderCreateFailedText = "Cannot create the folder \"%s\":\n%s";

class TbsSkinDialogComponent : public TComponent {
 public:
  TbsSkinDialogComponent(TComponent* AOwner, const String& ATitle, Byte AAlphaBlendValue);
  ~TbsSkinDialogComponent() override;

  TbsSkinData* SkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value) { refer(FSD, Value); }
  TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
  void SetCtrlSkinData(TbsSkinData* Value) { refer(FCtrlFSD, Value); }
  // Default "Tahoma", height 13, no style; the setter copies.
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }

 protected:
  // Clears the skins when they go; descendants clear their own references after calling this.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A weak reference to another component, cleared by Notification when that component goes. The
  // old one keeps telling us: it may still sit in another field (the main window gives one skin as
  // both SkinData and CtrlSkinData).
  template <class T>
  void refer(T*& Field, T* Value) {
    Field = Value;
    if (Value != nullptr) Value->FreeNotification(this);
  }

  TbsSkinData* FSD = nullptr;
  TbsSkinData* FCtrlFSD = nullptr;
  std::unique_ptr<TFont> FDefaultFont;
  String FTitle;
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue;
  bool FAlphaBlendAnimation = false;
};
