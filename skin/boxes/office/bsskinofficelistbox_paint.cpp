// How the office list paints its frame, item rows and group header rows.
#include <memory>

#include "skin/boxes/office/bsskinofficelistbox.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

// Keeps the canvas's drawing state (clip included) for one row and restores it afterwards. The
// canvas forgets what it had selected, since the restore put the saved objects and modes back.
class TSavedDC {
 public:
  explicit TSavedDC(TCanvas* C) : FCanvas(C), FDC(C->Handle()), FLevel(SaveDC(FDC)) {}
  ~TSavedDC() {
    FCanvas->Refresh();
    RestoreDC(FDC, FLevel);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  TCanvas* FCanvas;
  HDC FDC;
  Integer FLevel;
};

void clipTo(TCanvas* C, const TRect& R) {
  IntersectClipRect(C->Handle(), R.Left, R.Top, R.Right, R.Bottom);
}

template <class T>
T* elementNamed(TbsSkinData* SD, const String& Name) {
  if (SD == nullptr || SD->Empty) return nullptr;
  const Integer I = SD->GetControlIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<T*>(SD->Ctrls(I));
}

void separatorLine(TCanvas* C, const TRect& R, TColor Color) {
  const TColor Old = C->Pen()->Color();
  C->Pen()->SetColor(Color);
  C->MoveTo(R.Left, R.Bottom - 1);
  C->LineTo(R.Right, R.Bottom - 1);
  C->Pen()->SetColor(Old);
}

}  // namespace

void TbsSkinOfficeListBox::CreateControlDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  const TRect R = Rect(0, 0, Width(), Height());
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(R);
  C->Brush()->SetColor(clWindow);
  C->FillRect(Rect(2, 2, Width() - 2, Height() - 2));
  drawItems(C);
}

void TbsSkinOfficeListBox::CreateControlSkinImage(TBitmap* B) {
  TbsSkinCustomControl::CreateControlSkinImage(B);
  drawItems(B->Canvas());
}

void TbsSkinOfficeListBox::drawItems(TCanvas* C) {
  CalcItemRects();
  TSavedDC Saved(C);
  clipTo(C, FItemsRect);
  for (Integer i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->IsVisible) DrawItem(i, C);
}

void TbsSkinOfficeListBox::DrawItem(Integer Index, TCanvas* Cnvs) {
  if (FIndex == -1)
    DefaultDrawItem(Index, Cnvs);
  else
    SkinDrawItem(Index, Cnvs);
}

// Title, then the image and caption (or the caption alone, indented under titles), into R.
void TbsSkinOfficeListBox::drawItemContents(TCanvas* C, TbsSkinOfficeItem* Item, TRect R, bool ExpandTabs) {
  if (!Item->Title().empty() && FShowItemTitles) {
    TFontStyles Style = C->Font()->Style();
    C->Font()->SetStyle(Style + TFontStyles{fsBold});
    TRect T = R;
    T.Bottom = T.Top + C->TextHeight(Item->Title());
    DrawWideText(C, Item->Title(), T, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    C->Font()->SetStyle(Style);
    R.Top = T.Bottom;
  }
  if (FImages != nullptr && Item->ImageIndex() >= 0 && Item->ImageIndex() < FImages->Count()) {
    DrawCaptionWithImageLeft(C, R, 0, 2, blGlyphLeft, Item->Caption(), Item->ImageIndex(), FImages, false,
                             Item->Enabled(), false, clBlack);
    return;
  }
  if (FShowItemTitles) R.Left += 10;
  const UINT Tabs = ExpandTabs ? DT_EXPANDTABS : 0;
  TRect M = Rect(0, 0, R.Right - R.Left, 0);
  DrawWideText(C, Item->Caption(), M, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | Tabs);
  const Integer TextH = M.Bottom - M.Top;
  Integer Top = R.Top + ((R.Bottom - R.Top) - TextH) / 2;
  if (Top < R.Top) Top = R.Top;
  TRect T = Rect(R.Left, Top, R.Right, R.Bottom);
  DrawWideText(C, Item->Caption(), T, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | Tabs);
}

void TbsSkinOfficeListBox::DefaultDrawItem(Integer Index, TCanvas* Cnvs) {
  TbsSkinOfficeItem* Item = FItems->Items(Index);
  TColor Brush, Text;
  if (Item->Header()) {
    Brush = clBtnShadow;
    Text = clBtnHighlight;
  } else if (Item->Active) {
    Brush = clHighlight;
    Text = clHighlightText;
  } else {
    Brush = clWindow;
    Text = Item->Enabled() ? clWindowText : clGray;
  }
  Cnvs->SetFont(FDefaultFont.get());
  Cnvs->Font()->SetColor(Text);
  TSavedDC Saved(Cnvs);
  clipTo(Cnvs, Item->ItemRect);
  Cnvs->Brush()->SetStyle(bsSolid);
  Cnvs->Brush()->SetColor(Brush);
  Cnvs->FillRect(Item->ItemRect);
  Cnvs->Brush()->SetStyle(bsClear);
  TRect R = Item->ItemRect;
  InflateRect(&R, -2, -2);
  if (Item->Header()) {
    const UINT Align = FHeaderLeftAlignment ? DT_LEFT : DT_CENTER;
    DrawWideText(Cnvs, Item->Caption(), R, Align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    if (OnDrawItem) {
      OnDrawItem(Cnvs, Index, Item->ItemRect);
    } else {
      if (FShowCheckBoxes) {
        R.Left += 14;
        FCheckOffset = 14;
      }
      drawItemContents(Cnvs, Item, R, false);
    }
    if (FShowLines) separatorLine(Cnvs, Item->ItemRect, clBtnFace);
    if (FShowCheckBoxes && Item->Checked()) {
      const TRect& IR = Item->ItemRect;
      const Integer Y = IR.Top + (IR.Bottom - IR.Top) / 2 - 5;
      DrawCheckMark(Cnvs, IR.Left + 2, Y, Text);
    }
  }
  if (Item->Active && Focused()) {
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->DrawFocusRect(Item->ItemRect);
  }
}

void TbsSkinOfficeListBox::SkinDrawItem(Integer Index, TCanvas* Cnvs) {
  TbsSkinOfficeItem* Item = FItems->Items(Index);
  if (Item->Header()) {
    SkinDrawHeaderItem(Index, Cnvs);
    return;
  }
  auto* El = elementNamed<TbsDataSkinListBox>(FSD, FItemSkinDataName);
  if (El == nullptr) return;
  TRect R = Item->ItemRect;
  InflateRect(&R, -2, -2);
  Cnvs->Brush()->SetStyle(bsClear);
  auto* Check = FShowCheckBoxes ? elementNamed<TbsDataSkinCheckListBox>(FSD, "checklistbox") : nullptr;
  if (El->FontColor == FDisabledFontColor && El->FontColor == 0) FDisabledFontColor = clGray;
  auto setFont = [&](TCanvas* C, TColor Color) {
    ApplySkinFont(C, El->FontName, El->FontHeight, El->FontStyle);
    C->Font()->SetColor(Color);
  };
  TColor Normal;
  if (!Item->Enabled())
    Normal = FDisabledFontColor;
  else if (FSkinDataName == "listbox" || FSkinDataName == "memo" || FSkinDataName == "menupagepanel")
    Normal = El->FontColor;
  else
    Normal = FSD->SkinColors()->cBtnText();
  // The check area; draws on C at R's left and narrows R.
  auto drawCheck = [&](TCanvas* C, TRect& Area, TColor MarkColor) {
    if (Check != nullptr) {
      const TRect& Src = Item->Checked() ? Check->CheckImageRect : Check->UnCheckImageRect;
      const Integer W = RectWidth(Check->CheckImageRect);
      const Integer Y = Area.Top + (Area.Bottom - Area.Top) / 2 - RectHeight(Check->CheckImageRect) / 2;
      if (Picture != nullptr && !IsEmptyRect(Src)) {
        TBitmap Tmp;
        Tmp.SetSize(RectWidth(Src), RectHeight(Src));
        Tmp.Canvas()->CopyRect(Rect(0, 0, Tmp.Width(), Tmp.Height()), Picture->Canvas(), Src);
        Tmp.SetTransparent(true);
        Tmp.SetTransparentColor(Tmp.Canvas()->Pixels(0, Tmp.Height() - 1));
        C->Draw(Area.Left, Y, &Tmp);
      }
      Area.Left += W + 5;
      FCheckOffset = W + 5;
    } else {
      const Integer Y = Area.Top + (Area.Bottom - Area.Top) / 2 - 5;
      if (Item->Checked()) DrawCheckMark(C, Area.Left + 2, Y, MarkColor);
      Area.Left += 14;
      FCheckOffset = 14;
    }
  };
  if (Item->Active && Item->Enabled()) {
    TBitmap B;
    B.SetSize(RectWidth(Item->ItemRect), RectHeight(Item->ItemRect));
    const TRect& Src = Focused() ? El->FocusItemRect : El->ActiveItemRect;
    if (Picture != nullptr && !IsEmptyRect(Src))
      ComposeStretchedSkinImage(&B, Picture, Src, El->ItemTextRect, true);
    TCanvas* BC = B.Canvas();
    setFont(BC, Focused() ? El->FocusFontColor : El->ActiveFontColor);
    BC->Brush()->SetStyle(bsClear);
    TRect TR = Rect(2, 2, B.Width() - 2, B.Height() - 2);
    if (OnDrawItem) {
      OnDrawItem(BC, Index, TR);
    } else {
      if (FShowCheckBoxes) drawCheck(BC, TR, El->ActiveFontColor);
      drawItemContents(BC, Item, TR, true);
    }
    Cnvs->Draw(Item->ItemRect.Left, Item->ItemRect.Top, &B);
    return;
  }
  TSavedDC Saved(Cnvs);
  clipTo(Cnvs, Item->ItemRect);
  setFont(Cnvs, Normal);
  if (OnDrawItem) {
    OnDrawItem(Cnvs, Index, R);
  } else {
    if (FShowCheckBoxes) drawCheck(Cnvs, R, FSD->SkinColors()->cWindowText());
    drawItemContents(Cnvs, Item, R, true);
  }
  if (FShowLines) separatorLine(Cnvs, Item->ItemRect, FSD->SkinColors()->cBtnShadow());
}

void TbsSkinOfficeListBox::SkinDrawHeaderItem(Integer Index, TCanvas* Cnvs) {
  TbsSkinOfficeItem* Item = FItems->Items(Index);
  auto* El = elementNamed<TbsDataSkinLabelControl>(FSD, FHeaderSkinDataName);
  if (El == nullptr) El = elementNamed<TbsDataSkinLabelControl>(FSD, "label");
  if (El == nullptr) return;
  TBitmap B;
  B.SetSize(RectWidth(Item->ItemRect), RectHeight(Item->ItemRect));
  if (TBitmap* Pic = SkinPictureAt(FSD, El->PictureIndex); Pic != nullptr && !IsEmptyRect(El->SkinRect))
    ComposeStretchedSkinImage(&B, Pic, El->SkinRect, El->ClRect, true);
  TRect T = Rect(1, 1, B.Width() - 1, B.Height() - 1);
  if (FHeaderLeftAlignment) T.Left = El->ClRect.Left;
  TCanvas* C = B.Canvas();
  C->Font()->SetName(El->FontName);
  C->Font()->SetColor(El->FontColor);
  C->Font()->SetHeight(El->FontHeight);
  C->Font()->SetStyle(El->FontStyle);
  C->Brush()->SetStyle(bsClear);
  const UINT Align = FHeaderLeftAlignment ? DT_LEFT : DT_CENTER;
  DrawWideText(C, Item->Caption(), T, Align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  Cnvs->Draw(Item->ItemRect.Left, Item->ItemRect.Top, &B);
}
