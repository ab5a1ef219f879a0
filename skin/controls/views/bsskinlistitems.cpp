// Items drawn from the skin (DrawSkin): the selected item on the "listbox" element's item picture, the
// others on the list's background, images, check boxes from the "checkbox" element, report sub-items
// and the skin-coloured grid lines.
#include <algorithm>

#include "skin/controls/views/bsskinlistview.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bsskinrecordslists.h"

void TbsSkinCustomListView::DrawSkinItem(TCustomListView*, TListItem* Item, TCustomDrawState State,
                                         bool& DefaultDraw) {
  if (designing() || FSD == nullptr || FSD->Empty || Item == nullptr) return;
  const TViewStyle View = ViewStyle();
  // 1. The list's own image list, when neither image property is set.
  FThirdImages = nullptr;
  if (SmallImages() == nullptr && LargeImages() == nullptr)
    readThirdImages(LVM_GETIMAGELIST, View == vsIcon ? LVSIL_NORMAL : LVSIL_SMALL);
  // 2. The item element; without it the platform draws.
  const Integer ItemIndex = FSD->GetControlIndex(FItemSkinDataName);
  auto* LB = ItemIndex >= 0 ? dynamic_cast<TbsDataSkinListBox*>(FSD->Ctrls(ItemIndex)) : nullptr;
  if (LB == nullptr) return;
  DefaultDraw = false;
  TBitmap* Picture = SkinPictureAt(FSD, LB->PictureIndex);
  TCanvas* C = Canvas();

  // 3. Rectangles.
  TRect Label = Item->DisplayRect(drLabel);
  if (View == vsList) {
    TRect Calc = Label;
    DrawText(C->Handle(), Item->Caption(), &Calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    // A name longer than its column ends in the ellipsis inside it (the selection takes 4 more).
    Label.Right = std::min(Label.Left + Calc.Width() + 2, Item->DisplayRect(drBounds).Right - 4);
  }
  if (View == vsIcon) OffsetRect(&Label, 2, 0);
  TRect Icon = Item->DisplayRect(drIcon);
  const TRect Bounds = Item->DisplayRect(drBounds);
  TRect Sel;
  if (View == vsIcon) {
    Sel = Item->DisplayRect(drLabel);
  } else {
    Sel = Item->DisplayRect(drSelectBounds);
    Sel.Left = Label.Left;
    if (View == vsList) Sel.Right = Label.Right + (Item->Caption().empty() ? 20 : 4);
  }
  Sel.Bottom -= 1;
  TCustomImageList* Images = View == vsIcon ? LargeImages() : SmallImages();
  const Integer CheckIndex = FSD->GetControlIndex(FCheckSkinDataName);
  auto* Check =
      CheckIndex >= 0 ? dynamic_cast<TbsDataSkinCheckRadioControl*>(FSD->Ctrls(CheckIndex)) : nullptr;
  const Integer LabelCut = View == vsReport ? 3 : 2;

  bool SubItemsDrawn = false;
  if (State.Contains(cdsSelected) && Sel.Width() > 0 && Picture != nullptr) {
    // 4. The selected item on the element's item picture.
    TBitmap B;
    B.SetSize(Sel.Width(), std::max(1, Sel.Height()));
    TCanvas* BC = paintSelection(B, LB);
    TRect L = Label;
    OffsetRect(&L, -Sel.Left, -Sel.Top);
    L.Left += View == vsReport ? 3 : 2;
    if (View == vsIcon && IconOptions().WrapText) {
      TRect W = L;
      W.Right -= 4;
      DrawWrappedText(BC, Item->Caption(), W, true);
    } else {
      String S = Item->Caption();
      FitTextToWidth(BC, S, Label.Width() - LabelCut);
      DrawTextLeft(BC, S, L);
    }
    if (View == vsReport && RowSelect()) {
      drawSkinSubItems(BC, Item, State, Bounds, -Sel.Left, -Sel.Top, true);
      SubItemsDrawn = true;
    }
    C->Draw(Sel.Left, Sel.Top, &B);
  } else {
    // 5. On the list's background.
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(Rect(Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom - 1));
    C->Brush()->SetStyle(bsClear);
    C->Font()->Assign(Font());
    String S = Item->Caption();
    FitTextToWidth(C, S, Label.Width() - LabelCut);
    TRect L = Label;
    L.Left += View == vsReport ? 3 : 2;
    if (View == vsIcon && IconOptions().WrapText)
      DrawWrappedText(C, Item->Caption(), L, false);
    else
      DrawTextLeft(C, S, L);
  }

  // 6. Image.
  if (FThirdImages && Item->ImageIndex() >= 0 && Item->ImageIndex() < FThirdImagesCount) {
    Integer X = Icon.Left, Y = Icon.Top;
    if (View == vsIcon) X = Icon.Left + (Icon.Width() - FThirdImageWidth) / 2, Y = Icon.Top + 2;
    if (View != vsIcon) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Color());
      C->FillRect(Rect(X, Y, X + FThirdImageWidth, Y + FThirdImageHeight));
    }
    FThirdImages->Draw(C, X, Y, Item->ImageIndex());
    if (View == vsIcon && Checkboxes()) Icon.Left = X;
  } else if (Images && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count()) {
    Integer X = Icon.Left, Y = Icon.Top;
    if (View == vsIcon) X = Icon.Left + (Icon.Width() - Images->Width()) / 2, Y = Icon.Top + 2;
    Images->Draw(C, X, Y, Item->ImageIndex());
    if (View == vsIcon && Checkboxes()) Icon.Left = X;
  }

  // 7. Check box.
  if (Checkboxes() && Check != nullptr && Picture != nullptr) {
    const TRect Src = Item->Checked() ? Check->CheckImageRect : Check->UnCheckImageRect;
    if (!IsEmptyRect(Src)) {
      TBitmap B;
      B.SetSize(Src.Width(), Src.Height());
      B.Canvas()->CopyRect(Rect(0, 0, Src.Width(), Src.Height()), Picture->Canvas(), Src);
      B.SetTransparent(true);
      const Integer X = Icon.Left - B.Width() - 1;
      Integer Y =
          View == vsIcon ? Icon.Bottom - B.Height() - 1 : Bounds.Top + Icon.Height() / 2 - B.Height() / 2 - 1;
      Y = std::max(Y, Bounds.Top);
      C->Draw(X, Y, &B);
    }
  }

  // 8. Report sub-items.
  if (View == vsReport && !SubItemsDrawn) drawSkinSubItems(C, Item, State, Bounds, 0, 0, false);
  // 9. Skin grid lines.
  if (View == vsReport && Columns()->Count() > 0 && FDrawSkinLines) drawSkinGridLines(Item, Bounds);
}

void TbsSkinCustomListView::drawSkinSubItems(TCanvas* C, TListItem* Item, TCustomDrawState State,
                                             const TRect& Bounds, Integer OffsetX, Integer OffsetY,
                                             bool InBitmap) {
  Integer X = Integer(SendMessage(Handle(), LVM_GETCOLUMNWIDTH, 0, 0));
  const Integer Top = InBitmap ? 0 : Bounds.Top + OffsetY;
  const Integer Bottom = InBitmap ? Top + Bounds.Height() : Bounds.Bottom + OffsetY;
  for (Integer i = 0; i < Item->SubItems()->Count() && i + 1 < Columns()->Count(); ++i) {
    const Integer W = Column(i + 1)->Width();
    TRect Cell = Rect(Bounds.Left + OffsetX + X, Top, Bounds.Left + OffsetX + X + W, Bottom);
    X += W;
    if (!InBitmap) {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Color());
      C->FillRect(Cell);
    }
    Cell.Left += 3;
    Cell.Right -= 3;
    C->Brush()->SetStyle(bsClear);
    if (OnDrawSkinSubItem) {
      OnDrawSkinSubItem(this, Item, i, State, C, Cell);
      continue;
    }
    const Integer Img = Item->SubItemImages(i);
    if (SmallImages() && Img >= 0 && Img < SmallImages()->Count()) {
      SmallImages()->Draw(C, Cell.Left, Cell.Top, Img);
      Cell.Left += SmallImages()->Width() + 3;
    }
    if (Cell.Right <= Cell.Left) continue;
    String S = Item->SubItems()->Strings(i);
    FitTextToWidth(C, S, Cell.Width());
    if (InBitmap && std::abs(C->Font()->Height()) % 2 != 0) Cell.Top += 1;
    DrawTextAligned(C, S, Cell, Column(i + 1)->Alignment());
  }
}

void TbsSkinCustomListView::drawSkinGridLines(TListItem* Item, const TRect& Bounds) {
  TCanvas* C = Canvas();
  C->Pen()->SetColor(FLineColor);
  Integer X = Bounds.Left;
  for (Integer i = 0; i < Columns()->Count(); ++i) {
    X += Column(i)->Width();
    C->MoveTo(X - 1, Bounds.Top);
    C->LineTo(X - 1, Bounds.Bottom);
  }
  C->MoveTo(Bounds.Left, Bounds.Bottom - 1);
  C->LineTo(Width(), Bounds.Bottom - 1);
  if (Item->Index() == 0) {
    C->MoveTo(Bounds.Left, Bounds.Top - 1);
    C->LineTo(Width(), Bounds.Top - 1);
  }
}
