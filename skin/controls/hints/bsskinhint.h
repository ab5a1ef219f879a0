// The skinned hint window and the hint component. The component replaces the application's hint window
// class, so every control hint shows in the skin's hint look (a nine-slice picture with an optional
// shape and the skin's hint font) or, without a skin, in a flat tooltip look; for skinned controls the
// hint also carries a bold title and an image. It also offers delayed hints to the library itself
// (ActivateHint2 after the hint pause, hidden after the hide pause, or HideHint).
#pragma once

#include <memory>

#include "platform/ui/core/application.h"
#include "platform/ui/core/hintwindow.h"
#include "platform/ui/core/timer.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/core/bsskindata.h"
#include "skin/menus/bsskinmenuhost.h"

class TbsSkinHint;

class TbsSkinHintWindow : public THintWindow {
 public:
  explicit TbsSkinHintWindow(TComponent* AOwner);
  ~TbsSkinHintWindow() override;
  String ClassName() const override { return "TbsSkinHintWindow"; }

  void ActivateHint(TRect Rect, const String& AHint) override;
  void ActivateHintEx(TRect Rect, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                      TCustomImageList* AImageList);
  void ActivateHintFromRect(TRect ARect, const String& AHint, bool ATop);

  // The skin used for the current hint (null: the flat look) and the shape set on the window.
  TbsSkinData* SkinUsed() const { return FSD; }
  HRGN WindowShape() const { return FRgn; }
  bool ExtendedStyle() const { return AExtendedStyle; }

  TRect NewClRect{};
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TbsSkinHint;
  // Both activations from the skin choice on: Title and image only size an extended hint.
  void activate(TRect Rect, const String& AHint, bool Extended, const String& Title, Integer ImageIndex,
                TCustomImageList* ImageList, const TRect* FromRect, bool ATop);
  static TbsSkinHint* FindSkinHint();
  String ReplaceLineSeparator(const String& S) const;
  void applyFont(TCanvas* C) const;
  TSize measure(TCanvas* C, const String& Text) const;
  void CalcHintSize(const String& Text, Integer& W, Integer& H);
  void CalcHintSizeEx(const String& Text, const String& Title, TCustomImageList* ImageList,
                      Integer ImageIndex, Integer& W, Integer& H);
  void fitSkinGeometry(Integer& W, Integer& H);
  void placeInWorkArea(TRect& R, Integer W, Integer H) const;
  void applyAlpha();
  void fadeIn();
  void UpdateHintRegion();
  void paintBackground(TBitmap* B);
  void PaintEx(TCanvas* C);

  TbsSkinHint* FspHint = nullptr;
  // The title and image the current hint was sized for; it is painted with the same ones.
  String FTitle;
  Integer FImageIndex = 0;
  TCustomImageList* FImageList = nullptr;
  TbsSkinData* FSD = nullptr;
  HRGN FRgn = nullptr;
  bool FOldAlphaBlend = false;
  Byte FOldAlphaBlendValue = 0;
  bool AExtendedStyle = false;
};

class TbsSkinHint : public TComponent, public IbsSkinHintLink {
 public:
  explicit TbsSkinHint(TComponent* AOwner);
  ~TbsSkinHint() override;
  String ClassName() const override { return "TbsSkinHint"; }

  // ---- published ----
  const String& LineSeparator() const { return FLineSeparator; }
  void SetLineSeparator(const String& Value) { FLineSeparator = Value; }
  TbsSkinData* SkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TShowHintEvent OnShowHint;

  // ---- operations ----
  void ActivateHint(TPoint P, const String& AHint);
  void ActivateWideHint(TPoint P, const String& AHint) { ActivateHint(P, AHint); }
  void ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, Integer AImageIndex,
                      TCustomImageList* AImageList);
  void ActivateHint2(const String& AHint) override;
  void ActivateWideHint2(const String& AHint) { ActivateHint2(AHint); }
  void ActivateHintEx2(const String& AHintTitle, const String& AHint, Integer AImageIndex,
                       TCustomImageList* AImageList);
  void ActivateHint3(TRect AFromRect, const String& AHint, bool ATop);
  void HideHint() override;
  bool IsVisible() const;
  Integer GetCursorHeightMargin() const;

  TbsSkinHintWindow* HintWindow() const { return HW; }
  // A delayed hint is pending or shown.
  bool TimerRunning() const { return HintTimer != nullptr; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TbsSkinHintWindow;
  void DoShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);
  void installShowHint();
  void showActivated();
  void startDelayed(std::function<void()> ShowStep);
  void afterShow();
  void freeTimer();
  TPoint hintPoint() const;

  bool FActive = true;
  TbsSkinData* FSD = nullptr;
  TbsSkinHintWindow* HW = nullptr;  // owned through the component tree
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 0;
  bool FAlphaBlendAnimation = false;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  TTimer* HintTimer = nullptr;
  String HintText;
  String FLineSeparator = "@";
  TRect FromRect{};
  bool Top = false;
  String FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
  // Cleared by the destructor: the application's hint event then finds nothing to call.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
