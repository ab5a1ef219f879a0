// What the skinned list and tree views share: the skin they follow and the element they resolve in
// it, the default font and colour shown without one, the whole window as client area, and the two
// external skinned bars that stand in for the platform's own and mirror its scroll state.
#pragma once

#include <memory>

#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/base/bsskincontrolbase.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinchangeable.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordslists.h"

template <class TBase>
class TbsSkinViewBase : public TBase, public IbsSkinChangeable {
 public:
  TbsSkinViewBase(TComponent* AOwner, const String& ASkinDataName, TColor ALineColor)
      : TBase(AOwner),
        FSkinDataName(ASkinDataName),
        FDefaultFont(std::make_unique<TFont>()),
        FLineColor(ALineColor) {
    FDefaultFont->SetName("Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->SetStyle({});
    this->Font()->Assign(FDefaultFont.get());
    // A skinned view shows its selection without the focus too, in the unfocused selection's look.
    this->SetHideSelection(false);
  }
  ~TbsSkinViewBase() override {
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FVScrollBar) FVScrollBar->RemoveFreeNotification(this);
    if (FHScrollBar) FHScrollBar->RemoveFreeNotification(this);
  }

  // ---- skin ----
  TbsSkinData* SkinData() const override { return FSD; }
  void SetSkinData(TbsSkinData* Value) {
    LinkSkinData(this, FSD, Value);
    if (Value != nullptr && !Value->Empty && !designing()) ChangeSkinData();
  }
  const String& SkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
  const String& ItemSkinDataName() const { return FItemSkinDataName; }
  void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
  const String& CheckSkinDataName() const { return FCheckSkinDataName; }
  void SetCheckSkinDataName(const String& Value) { FCheckSkinDataName = Value; }
  bool DrawSkin() const { return FDrawSkin; }
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) {
    FDefaultFont->Assign(Value);
    if (FIndex == -1) this->Font()->Assign(Value);
  }
  TColor DefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) this->SetColor(Value);
  }
  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TbsSkinScrollBar* Value) {
    AttachExternalScrollBar(this, FVScrollBar, Value, [this](TObject* Sender) { VScrollBarChange(Sender); });
    UpDateScrollBars();
  }
  TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TbsSkinScrollBar* Value) {
    AttachExternalScrollBar(this, FHScrollBar, Value, [this](TObject* Sender) { HScrollBarChange(Sender); });
    UpDateScrollBars();
  }

  void BeforeChangeSkinData() override { FIndex = -1; }
  // Mirrors the view's scroll state onto the attached bars.
  virtual void UpDateScrollBars() = 0;

  Integer SkinIndex() const { return FIndex; }
  TColor LineColor() const { return FLineColor; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TBase::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
  }
  void CreateParams(TCreateParams& Params) override {
    TBase::CreateParams(Params);
    Params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
  }
  void WndProc(TMessage& Message) override {
    if (answerFrameMessage(Message)) return;
    TBase::WndProc(Message);
    if (Message.Msg == WM_KEYDOWN || Message.Msg == WM_LBUTTONUP) {
      UpDateScrollBars();
    } else if (Message.Msg == CM_VISIBLECHANGED) {
      if (FVScrollBar) FVScrollBar->SetVisible(this->Visible());
      if (FHScrollBar) FHScrollBar->SetVisible(this->Visible());
    }
  }
  // The whole window is client: no platform bars, no border. True for a message answered here.
  static bool answerFrameMessage(TMessage& Message) {
    if (Message.Msg == WM_NCCALCSIZE || Message.Msg == WM_NCPAINT)
      Message.Result = 0;
    else if (Message.Msg == WM_NCHITTEST)
      Message.Result = HTCLIENT;
    else if (Message.Msg == CM_PAINTNC)
      Message.Result = PaintNCDone;
    else
      return false;
    return true;
  }
  // The bars report their moves here.
  virtual void VScrollBarChange(TObject* Sender) = 0;
  virtual void HScrollBarChange(TObject* Sender) = 0;

  bool designing() const { return this->ComponentState().Contains(csDesigning); }

  // ---- the element's look ----
  // FIndex from the skin: -1 when there is none or it lacks the element.
  void findElement() { FIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->GetControlIndex(FSkinDataName); }
  void applyDefaultLook() {
    this->SetColor(FDefaultColor);
    this->Font()->Assign(FDefaultFont.get());
  }
  // The element's font (the default font when the skin's is not used), text and background colours.
  template <class TRecord>
  void applyElementLook(const TRecord* R) {
    TFont* F = this->Font();
    if (FUseSkinFont) {
      F->SetName(R->FontName);
      F->SetStyle(R->FontStyle);
      F->SetHeight(R->FontHeight);
    } else {
      F->Assign(FDefaultFont.get());
    }
    F->SetColor(R->FontColor);
    this->SetColor(R->BGColor);
  }
  // The skin's string-table character set, else the default font's.
  void applyCharset() {
    if (FSD && FSD->ResourceStrData())
      this->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    else
      this->Font()->SetCharset(FDefaultFont->Charset());
  }
  // The bars mirrored again and placed anew (a new skin may change their size).
  void refreshScrollBars() {
    UpDateScrollBars();
    if (FVScrollBar) FVScrollBar->SetAlign(FVScrollBar->Align());
    if (FHScrollBar) FHScrollBar->SetAlign(FHScrollBar->Align());
  }

  // The platform control's own image list (the one Which names, asked for with Msg) and its cell
  // size and count, for drawing nodes or items when the view has no images set.
  void readThirdImages(UINT Msg, WPARAM Which) {
    FThirdImages = reinterpret_cast<TCustomImageList*>(SendMessage(this->Handle(), Msg, Which, 0));
    if (FThirdImages == nullptr) return;
    FThirdImageWidth = FThirdImages->Width();
    FThirdImageHeight = FThirdImages->Height();
    FThirdImagesCount = FThirdImages->Count();
  }

  // B filled with the item picture of the item element LB (when the skin has the picture) and its
  // canvas set for the selected text: the view's font in the element's (focused) selection colour.
  TCanvas* paintSelection(TBitmap& B, const TbsDataSkinListBox* LB) {
    const bool HasFocus = this->Focused();
    if (TBitmap* Picture = SkinPictureAt(FSD, LB->PictureIndex))
      ComposeStretchedSkinImage(&B, Picture, HasFocus ? LB->FocusItemRect : LB->ActiveItemRect,
                                LB->ItemTextRect, true);
    TCanvas* BC = B.Canvas();
    BC->Font()->Assign(this->Font());
    BC->Font()->SetColor(HasFocus ? LB->FocusFontColor : LB->ActiveFontColor);
    BC->Brush()->SetStyle(bsClear);
    return BC;
  }

  // ---- mirroring ----
  // Shows or hides Bar without mirroring in between; Changed is set when it did.
  void setBarVisible(TbsSkinScrollBar* Bar, bool Visible, bool& Changed) {
    if (Bar->Visible() == Visible) return;
    FInCheckScrollBars = true;
    Bar->SetVisible(Visible);
    FInCheckScrollBars = false;
    Changed = true;
  }
  // The horizontal bar over the view's range with a page of the view's width, shown while the range
  // is wider than the view; true when shown, with the position it took in Pos.
  bool mirrorHorizontal(bool& Changed, Integer& Pos) {
    Integer Min = 0, Max = 0;
    GetScrollRange(this->Handle(), SB_HORZ, &Min, &Max);
    Pos = GetScrollPos(this->Handle(), SB_HORZ);
    const bool Vis = Max > this->Width() && this->Visible();
    setBarVisible(FHScrollBar, Vis, Changed);
    if (Vis) FHScrollBar->SetRange(Min, Max, Pos, this->Width());
    return Vis;
  }
  // The horizontal bar leaves the corner to a shown vertical one; an aligned view's parent lays its
  // children out again once a bar came or went.
  void finishScrollBars(bool Changed) {
    if (FVScrollBar && FHScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
      FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (this->Align() != alNone && Changed && this->Parent() != nullptr) {
      FInCheckScrollBars = true;
      this->Parent()->Realign();
      FInCheckScrollBars = false;
    }
  }

  TbsSkinData* FSD = nullptr;
  String FSkinDataName;
  String FItemSkinDataName = "listbox";
  String FCheckSkinDataName = "checkbox";
  bool FDrawSkin = false;
  std::unique_ptr<TFont> FDefaultFont;
  TColor FDefaultColor = clWindow;
  bool FUseSkinFont = true;
  TbsSkinScrollBar* FVScrollBar = nullptr;
  TbsSkinScrollBar* FHScrollBar = nullptr;
  Integer FIndex = -1;
  TColor FLineColor;
  // Set while the view shows or hides a bar or realigns: no mirroring runs then.
  bool FInCheckScrollBars = false;
  TCustomImageList* FThirdImages = nullptr;
  Integer FThirdImageWidth = 0, FThirdImageHeight = 0, FThirdImagesCount = 0;
};
