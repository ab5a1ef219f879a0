// TbsSkinCustomEdit: the skinned single-line edit box. Its frame, background, font and edit button
// come from a skin element of kind edit named by SkinDataName ("edit", or "buttonedit" with an edit
// button); without one it draws a flat look of two one-pixel rings on DefaultColor. The frame is the
// window's non-client area; the text area is the platform edit's client area, painted transparently
// over a background cut from the same skin picture. Hover and focus switch the frame picture and the
// font colour to their active variants. Optional image buttons (from Images) sit at the left and right
// ends of the text area; the edit's formatting rectangle keeps the text off them.
#pragma once

#include <memory>

#include "platform/ui/graphics/graphicsobjects.h"
#include "skin/boxes/edits/bscbbutton.h"
#include "skin/boxes/edits/bscustomedit.h"
#include "skin/core/bscancelmodetarget.h"
#include "skin/core/bsskinchangeable.h"

class TbsSkinData;
class TBitmap;
class TCanvas;
class TFont;
class TCustomImageList;

// The form engine's skin-change walk and its cancel-mode step reach the box through the two small
// interfaces of the skin core.
class TbsSkinCustomEdit : public TbsCustomEdit, public IbsSkinChangeable, public IbsCancelModeTarget {
 public:
  explicit TbsSkinCustomEdit(TComponent* AOwner);
  ~TbsSkinCustomEdit() override;
  String ClassName() const override { return "TbsSkinCustomEdit"; }

  TbsSkinData* SkinData() const override { return FSD; }
  virtual void SetSkinData(TbsSkinData* Value);
  // Before the skin is replaced: the element and its picture are forgotten.
  void BeforeChangeSkinData() override;
  // Re-reads the element and applies its font, size and look anew.
  void ChangeSkinData() override;
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
  Integer ButtonImageIndex() const { return FButtonImageIndex; }
  void SetButtonImageIndex(Integer Value);

  // ---- image buttons ----
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer LeftImageIndex() const { return FLeftImageIndex; }
  void SetLeftImageIndex(Integer Value);
  Integer LeftImageHotIndex() const { return FLeftImageHotIndex; }
  void SetLeftImageHotIndex(Integer Value) { FLeftImageHotIndex = Value; }
  Integer LeftImageDownIndex() const { return FLeftImageDownIndex; }
  void SetLeftImageDownIndex(Integer Value) { FLeftImageDownIndex = Value; }
  Integer RightImageIndex() const { return FRightImageIndex; }
  void SetRightImageIndex(Integer Value);
  Integer RightImageHotIndex() const { return FRightImageHotIndex; }
  void SetRightImageHotIndex(Integer Value) { FRightImageHotIndex = Value; }
  Integer RightImageDownIndex() const { return FRightImageDownIndex; }
  void SetRightImageDownIndex(Integer Value) { FRightImageDownIndex = Value; }
  // Lays the image buttons out over the client area; with AUpdate the edit's formatting rectangle
  // becomes what they leave, so the text never runs under them.
  void CalcImageRects(bool AUpdate);
  // The box's complete resting look with AText as its text, drawn on C at (X, Y).
  void PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText);

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
  bool ButtonDown() const { return FButtonDown; }
  bool ButtonActive() const { return FButtonActive; }

  TbsCBButtonX LeftButton;
  TbsCBButtonX RightButton;

  TNotifyEvent OnButtonClick;
  TNotifyEvent OnLeftButtonClick;
  TNotifyEvent OnRightButtonClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void Loaded() override;
  void GetSkinData();
  void CalcRects();
  void DrawEditFrame(TCanvas* C);
  void DrawEditBackground(TCanvas* C);
  // The edit button from the skin's separate button element (a box without the skin's font).
  void DrawEditButton(TCanvas* C, const TRect& R);
  void DrawImages(TCanvas* C);

 private:
  bool nonClientMessage(TMessage& Message);
  void doMouseEnter();
  void doMouseLeave();
  bool needHoverTimer() const;
  bool focused() const;
  TRect statePicture() const;
  void drawDefaultFrame(TBitmap* B, TColor InnerRing, Integer FrameRight, bool ShowButtonState);
  void drawButtonImage(TCanvas* C, const TRect& R);
  bool imageButtonMessage(TMessage& Message);
  // The image-button hit test: 104 left, 105 right, 0 neither; hot states follow the pointer.
  LRESULT hitImageButtons(TPoint Client);
  void imageButtonsNotHot();
  void takeFocus();
  void designRelayout();
  TFontCharset textCharset() const;
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
  TCustomImageList* FImages = nullptr;
  Integer FLeftImageIndex = -1;
  Integer FLeftImageHotIndex = -1;
  Integer FLeftImageDownIndex = -1;
  Integer FRightImageIndex = -1;
  Integer FRightImageHotIndex = -1;
  Integer FRightImageDownIndex = -1;
  Integer FButtonImageIndex = -1;

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
