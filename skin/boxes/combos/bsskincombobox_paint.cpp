// How the closed combo box lays out its button and item area and paints itself: the default look,
// the skinned look and the tool-button style.
#include "skin/boxes/combos/bsdropdowncommon.h"
#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/controls/base/bsskingeometry.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

// The first of the named button elements the skin has, or null.
TbsDataSkinButtonControl* firstButtonElement(TbsSkinData* SD, std::initializer_list<const char*> Names) {
  if (SD == nullptr) return nullptr;
  for (const char* Name : Names) {
    const Integer I = SD->GetControlIndex(Name);
    if (I != -1) return dynamic_cast<TbsDataSkinButtonControl*>(SD->Ctrls(I));
  }
  return nullptr;
}

// State (one of E's pictures) of button element E composed to W x H and drawn at (X, Y).
void drawButtonElement(TCanvas* C, TbsSkinData* SD, TbsDataSkinButtonControl* E, const TRect& State,
                       Integer X, Integer Y, Integer W, Integer H) {
  TBitmap* Source = SkinPictureAt(SD, E->PictureIndex);
  if (Source == nullptr || W <= 0 || H <= 0) return;
  TbsSkinGeometry G;
  G.CopyGeometry(E);
  Integer AW = W, AH = H;
  G.CalcGeometry(AW, AH, true);
  TBitmap B;
  if (G.ComposeImage(&B, Source, State, W, H)) C->Draw(X, Y, &B);
}

// Marker glyph M of element E centred in R, keyed on the element's transparent colour.
void drawMarkerGlyph(TCanvas* C, TbsSkinData* SD, TbsDataSkinButtonControl* E, const TRect& M,
                     const TRect& R) {
  TBitmap B;
  if (!LoadMarkerGlyph(&B, SkinPictureAt(SD, E->PictureIndex), M, E->MenuMarkerTransparentColor)) return;
  C->Draw(R.Left + RectWidth(R) / 2 - B.Width() / 2, R.Top + RectHeight(R) / 2 - B.Height() / 2, &B);
}

// The marker of E for the state: the down or hot picture when the skin has it, else the normal one.
TRect markerFor(TbsDataSkinButtonControl* E, bool Down, bool Hot) {
  if (Down && !IsEmptyRect(E->MenuMarkerDownRect)) return E->MenuMarkerDownRect;
  if (Hot && !IsEmptyRect(E->MenuMarkerActiveRect)) return E->MenuMarkerActiveRect;
  return E->MenuMarkerRect;
}

// Text in R: tabbed after the list's rule when tab stops are set, else left-aligned.
void drawItemText(TCanvas* C, const String& S, TStrings* TabWidths, const TRect& R) {
  if (TabWidths->Count() > 0)
    TbsListBox::DrawTabbedText(S, TabWidths, 0, R, C);
  else
    TextRectLeft(C, S, R);
}

}  // namespace

TColor TbsSkinCustomComboBox::GetDisabledFontColor() {
  if (FIndex == -1 || FSD == nullptr) return clGrayText;
  const Integer I = FSD->GetControlIndex("edit");
  auto* El = I == -1 ? nullptr : dynamic_cast<TbsDataSkinEditControl*>(FSD->Ctrls(I));
  return El != nullptr ? El->DisabledFontColor : clGrayText;
}

// The owner-draw event, or the image and text, of item Index on an item image of W × H.
void TbsSkinCustomComboBox::drawItemContents(TCanvas* C, Integer Index, TRect TR, TOwnerDrawState State,
                                             Integer W, Integer H) {
  if (OnComboBoxDrawItem) {
    OnComboBoxDrawItem(C, Index, W, H, TR, State);
    return;
  }
  if (TCustomImageList* IL = Images()) {
    const Integer ImgIndex = ImageIndex() >= 0 ? ImageIndex() : Index;
    if (ImgIndex < IL->Count())
      IL->Draw(C, TR.Left, TR.Top + RectHeight(TR) / 2 - IL->Height() / 2, ImgIndex, true);
    TR.Left += IL->Width() + 2;
  }
  C->Brush()->SetStyle(bsClear);
  drawItemText(C, Items()->Strings(Index), TabWidths(), TR);
}

void TbsSkinCustomComboBox::CreateControlDefaultImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  if (FToolButtonStyle) {
    DrawDefaultToolButton(C, nullptr);
    return;
  }
  DrawDefaultFrame(C);
  if (FEdit == nullptr) DrawDefaultItem(C);
}

void TbsSkinCustomComboBox::DrawDefaultFrame(TCanvas* C) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FDefaultColor);
  C->FillRect(Rect(0, 0, Width(), Height()));
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(Rect(0, 0, Width(), Height()));
  DrawButton(C);
}

void TbsSkinCustomComboBox::drawDefaultItemContents(TCanvas* C, Integer Index, const TRect& R, Integer W,
                                                    Integer H) {
  drawItemContents(C, Index, R, CBItem.State, W, H);
}

void TbsSkinCustomComboBox::DrawDefaultToolButton(TCanvas* C, const String* AText) {
  const TRect R = Rect(0, 0, Width(), Height());
  DrawDefaultToolButtonFrame(C, R, FDropDown, FMouseIn || Focused());
  C->SetFont(FDefaultFont.get());
  drawToolButtonText(C, AText);
  const Integer Shift = FDropDown ? 2 : 0;
  DrawSmallDownArrow(C, Rect(Width() - 15 + Shift, Shift, Width(), Height()), C->Font()->Color());
}

void TbsSkinCustomComboBox::drawToolButtonText(TCanvas* C, const String* AText) {
  C->Brush()->SetStyle(bsClear);
  const Integer Shift = FDropDown ? 2 : 0;
  const TRect TR = Rect(2 + Shift, 2 + Shift, Width() - 17, Height() - 2);
  if (AText != nullptr)
    TextRectLeft(C, *AText, TR);
  else if (const Integer I = shownIndex(); I != -1)
    drawItemContents(C, I, TR, CBItem.State, Width(), Height());
}

void TbsSkinCustomComboBox::DrawSkinToolButton(TCanvas* C, const String* AText) {
  if (FIndex == -1) return;
  TbsDataSkinButtonControl* E = firstButtonElement(FSD, {"resizetoolbutton", "resizebutton"});
  if (E == nullptr) return;
  const bool Hot = FMouseIn || Focused();
  TRect State = FDropDown ? E->DownSkinRect : Hot ? E->ActiveSkinRect : E->SkinRect;
  if (IsEmptyRect(State)) State = E->SkinRect;
  drawButtonElement(C, FSD, E, State, 0, 0, Width(), Height());
  if (FUseSkinFont) {
    C->Font()->SetName(E->FontName);
    C->Font()->SetStyle(E->FontStyle);
    C->Font()->SetHeight(E->FontHeight);
  } else {
    C->Font()->Assign(FDefaultFont.get());
  }
  C->Font()->SetColor(FDropDown   ? E->DownFontColor
                      : Hot       ? E->ActiveFontColor
                      : Enabled() ? E->FontColor
                                  : E->DisabledFontColor);
  drawToolButtonText(C, AText);
  const TRect AR = Rect(Width() - 15, 0, Width(), Height());
  if (!IsEmptyRect(E->MenuMarkerRect))
    drawMarkerGlyph(C, FSD, E, markerFor(E, FDropDown, Hot), AR);
  else
    DrawSmallDownArrow(C, AR, FDropDown ? E->DownFontColor : C->Font()->Color());
}

// ---- skinned look ----

void TbsSkinCustomComboBox::CreateControlSkinImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  if (FToolButtonStyle) {
    DrawSkinToolButton(C, nullptr);
    return;
  }
  DrawSkinFrame(B, false);
  if (FEdit == nullptr) DrawSkinItem(C);
}

void TbsSkinCustomComboBox::DrawSkinFrame(TBitmap* B, bool Resting) {
  TCanvas* C = B->Canvas();
  const bool Hot =
      (FMouseIn || Focused() || (FEdit != nullptr && FEdit->Focused())) && !IsEmptyRect(ActiveSkinRect);
  if (!FUseSkinSize) {
    // Stretched whole, the client kept 3 pixels in from the sides and 1 from top and bottom.
    const TRect Src = Hot && !Resting ? ActiveSkinRect : SkinRect;
    const TRect Cl = Rect(ClRect.Left + 3, ClRect.Top + 1, ClRect.Right - 3, ClRect.Bottom - 1);
    if (Picture != nullptr) ComposeStretchedSkinImage(B, Picture, Src, Cl, true);
    DrawResizeButton(C);
    return;
  }
  if (Hot && Picture != nullptr) {
    TBitmap H;
    ComposeSkinImageH(LTPt.X, RectWidth(ActiveSkinRect) - RTPt.X, &H, Picture, ActiveSkinRect, Width(),
                      Height(), StretchEffect);
    C->Draw(0, 0, &H);
  } else {
    TbsComboBoxBase::CreateControlSkinImage(B);
  }
  DrawButton(C);
}

void TbsSkinCustomComboBox::DrawResizeButton(TCanvas* C) {
  TbsDataSkinButtonControl* E = firstButtonElement(FSD, {"combobutton", "editbutton", "resizebutton"});
  if (E == nullptr) return;
  const TRect R = Button.R;
  const bool Hot = Button.MouseIn, Pressed = Button.Down && Button.MouseIn;
  const TRect Active = IsEmptyRect(E->ActiveSkinRect) ? E->SkinRect : E->ActiveSkinRect;
  const TRect Down = IsEmptyRect(E->DownSkinRect) ? Active : E->DownSkinRect;
  drawButtonElement(C, FSD, E,
                    Pressed ? Down
                    : Hot   ? Active
                            : E->SkinRect,
                    R.Left, R.Top, RectWidth(R), RectHeight(R));
  if (IsEmptyRect(E->MenuMarkerRect)) {
    if (!Enabled()) return;
    TRect AR = R;
    if (Pressed) AR.Top += 2;
    DrawArrow(C, AR, Pressed ? E->DownFontColor : Hot ? E->ActiveFontColor : E->FontColor, 4);
    return;
  }
  TRect MR = R;
  if (Pressed) OffsetRect(&MR, 0, 1);
  drawMarkerGlyph(C, FSD, E, markerFor(E, Pressed, Hot), MR);
}

void TbsSkinCustomComboBox::DrawSkinItem(TCanvas* C) {
  if (RectWidth(CBItem.R) <= 0 || RectHeight(CBItem.R) <= 0) return;
  TBitmap B;
  B.SetSize(RectWidth(CBItem.R), RectHeight(CBItem.R));
  TCanvas* BC = B.Canvas();
  const bool Focus = Focused();
  TRect Src = Focus                                                                        ? FocusItemRect
              : (FMouseIn && !IsEmptyRect(ActiveItemRect) && !IsEmptyRect(ActiveSkinRect)) ? ActiveItemRect
                                                                                           : SItemRect;
  if (!IsEmptyRect(Src) && Picture != nullptr && !FUseSkinSize) {
    // Free size: the item picture follows the item's height too.
    ComposeStretchedSkinImage(
        &B, Picture, Src, Rect(ItemLeftOffset, 0, RectWidth(Src) - ItemRightOffset, RectHeight(Src)), true);
  } else if (!IsEmptyRect(Src) && Picture != nullptr) {
    TBitmap S;
    ComposeSkinImageH(ItemLeftOffset, ItemRightOffset, &S, Picture, Src, B.Width(), B.Height(),
                      Focus ? FocusItemStretchEffect : ItemStretchEffect);
    BC->Draw(0, 0, &S);
  } else {
    BC->CopyRect(Rect(0, 0, B.Width(), B.Height()), C, CBItem.R);
  }
  TRect TR = ItemTextRect;
  TR.Right += RectWidth(CBItem.R) - (IsEmptyRect(SItemRect) ? RectWidth(ClRect) : RectWidth(SItemRect));
  if (!FUseSkinSize) TR.Bottom += Height() - RectHeight(SkinRect);
  if (FUseSkinFont) {
    BC->Font()->SetName(FontName);
    BC->Font()->SetStyle(FontStyle);
    BC->Font()->SetHeight(FontHeight);
  } else {
    BC->Font()->Assign(FDefaultFont.get());
  }
  BC->Font()->SetCharset(textCharset());
  TColor Color = Focus                                        ? FocusFontColor
                 : (FMouseIn && !IsEmptyRect(ActiveSkinRect)) ? ActiveFontColor
                                                              : FontColor;
  if (!Enabled() && FUseSkinSize) Color = GetDisabledFontColor();
  BC->Font()->SetColor(Color);
  if (const Integer I = shownIndex(); I != -1)
    drawItemContents(BC, I, TR, CBItem.State, B.Width(), B.Height());
  if (Focus && ShowFocus) DrawDottedFocusRect(BC, Rect(0, 0, B.Width(), B.Height()));
  C->Draw(CBItem.R.Left, CBItem.R.Top, &B);
}

void TbsSkinCustomComboBox::PaintSkinTo(TCanvas* C, Integer X, Integer Y, const String& AText) {
  TBitmap B;
  B.SetSize(Width(), Height());
  GetSkinData();
  const String Saved = Text();
  setShownText(AText);
  CalcRects();
  TCanvas* BC = B.Canvas();
  if (FToolButtonStyle) {
    if (FIndex == -1)
      DrawDefaultToolButton(BC, &AText);
    else
      DrawSkinToolButton(BC, &AText);
  } else {
    if (FIndex == -1) {
      DrawDefaultFrame(BC);
      BC->Font()->Assign(FDefaultFont.get());
    } else {
      DrawSkinFrame(&B, true);
      BC->Font()->SetName(FontName);
      BC->Font()->SetStyle(FontStyle);
      BC->Font()->SetHeight(FontHeight);
      BC->Font()->SetColor(FontColor);
    }
    BC->Brush()->SetStyle(bsClear);
    drawItemText(BC, AText, TabWidths(), CBItem.R);
  }
  setShownText(Saved);
  C->Draw(X, Y, &B);
}
