// TbsSkinCustomEdit: the skinned single-line edit box. Its frame, background, font and edit button
// come from a skin element of kind edit named by SkinDataName ("edit", or "buttonedit" with an edit
// button); without one it draws a flat look of two one-pixel rings on DefaultColor. The frame is the
// window's non-client area; the text area is the platform edit's client area, painted transparently
// over a background cut from the same skin picture. Hover and focus switch the frame picture and the
// font colour to their active variants.
#pragma once

#include <memory>

#include "skin/boxes/edits/bscustomedit.h"

class TbsSkinData;
class TBitmap;
class TCanvas;
class TFont;

// The state of one small button inside a skinned control.
struct TbsCBButtonX {
  TRect R;
  bool MouseIn = false;
  bool Down = false;
};

class TbsSkinCustomEdit : public TbsCustomEdit {
 public:
  explicit TbsSkinCustomEdit(TComponent* AOwner);
  ~TbsSkinCustomEdit() override;
  String ClassName() const override { return "TbsSkinCustomEdit"; }

  TbsSkinData* SkinData() const { return FSD; }
  virtual void SetSkinData(TbsSkinData* Value);
  // Re-reads the element and applies its font, size and look anew.
  virtual void ChangeSkinData();
  String SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  bool ButtonMode() const { return FButtonMode; }
  void SetButtonMode(bool Value);

  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void RePaintBuffered() override;
  // Repaints the frame and then the client.
  void RePaintFrame();
  // The one-line height the font (and the skin's frame) ask for.
  Integer GetEditHeight();
  void AdjustEditHeight();

  // Element index in the skin's control list; -1: the default look.
  Integer SkinIndex() const { return FIndex; }
  // The edit button and the text area, window coordinates.
  TRect ButtonRectNow() {
    CalcRects();
    return FButtonRect;
  }
  TRect EditRectNow() {
    CalcRects();
    return FEditRect;
  }
  bool MouseIn() const { return FMouseIn; }

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void GetSkinData();
  void CalcRects();
  void DrawEditFrame(TCanvas* C);
  void DrawEditBackground(TCanvas* C);

 private:
  bool nonClientMessage(TMessage& Message);
  void doMouseEnter();
  void doMouseLeave();
  bool needHoverTimer() const;
  bool focused() const;
  TRect statePicture() const;
  void drawDefaultFrame(TBitmap* B);
  void applyStateFontColor();
  // A disabled box draws its text itself, in the disabled colour.
  void paintDisabled(HDC Given);

  TColor FDefaultColor;
  bool FButtonMode = false;
  bool FButtonDown = false;
  bool FButtonActive = false;
  TRect FButtonRect;
  TRect FEditRect;
  bool FMouseIn = false;
  Integer FIndex = -1;
  TbsSkinData* FSD = nullptr;
  String FSkinDataName = "edit";
  TBitmap* Picture = nullptr;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;

  // The element's values (GetSkinData).
  Integer LOffset = 0;
  Integer ROffset = 0;
  TRect ClRect;
  TRect SkinRect;
  TRect ActiveSkinRect;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 13;
  TColor FontColor = 0;
  TColor DisabledFontColor = 0;
  TColor ActiveFontColor = 0;
  TRect ButtonRect;
  TRect ActiveButtonRect;
  TRect DownButtonRect;
  TRect UnEnabledButtonRect;
  bool StretchEffect = false;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
 public:
  explicit TbsSkinEdit(TComponent* AOwner) : TbsSkinCustomEdit(AOwner) {}
  String ClassName() const override { return "TbsSkinEdit"; }
};
