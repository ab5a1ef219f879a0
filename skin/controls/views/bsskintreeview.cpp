#include "skin/controls/views/bsskintreeview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsglyphs.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecordslists.h"
#include "skin/core/bsstrings.h"

void MakeFadeLine(TbsBitmap& Line, Integer Length, TColor Color) {
  if (Length < 1) return;
  Line.SetSize(Length, 1);
  const TbsColor Rgb = ColorToBsColor(Color, 0) & 0x00FFFFFF;
  const Integer Half = Length / 2;
  // A line of one pixel has no second half to fade.
  const Integer Step = Half > 0 ? Integer(std::lround(255.0 / Half)) : 0;
  Integer Alpha = 255;
  for (Integer X = 0; X < Length; ++X) {
    if (X > Half) Alpha = std::max(0, Alpha - Step);
    Line.SetPixel(X, 0, Rgb | (TbsColor(Alpha) << 24));
  }
}

void DrawFadeLine(TCanvas* Canvas, Integer X, Integer Y, Integer Length, TColor Color) {
  if (Length < 1) return;
  TbsBitmap Line;
  MakeFadeLine(Line, Length, Color);
  Line.SetAlphaBlend(true);
  Line.Draw(Canvas, X, Y);
}

TbsSkinCustomTreeView::TbsSkinCustomTreeView(TComponent* AOwner)
    : TbsSkinViewBase(AOwner, "treeview", clBlack),
      FExpandImage(std::make_unique<TBitmap>()),
      FNoExpandImage(std::make_unique<TBitmap>()) {}

TbsSkinCustomTreeView::~TbsSkinCustomTreeView() {
  if (FButtonImageList) FButtonImageList->RemoveFreeNotification(this);
}

// ---- properties ----
void TbsSkinCustomTreeView::SetDrawSkin(bool Value) {
  FDrawSkin = Value;
  if (Value && !designing())
    OnAdvancedCustomDrawItem = [this](TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State,
                                      TCustomDrawStage Stage, bool& PaintImages, bool& DefaultDraw) {
      DrawSkinItem(Sender, Node, State, Stage, PaintImages, DefaultDraw);
    };
}

void TbsSkinCustomTreeView::SetButtonImageList(TCustomImageList* Value) {
  if (FButtonImageList && FButtonImageList != Value) FButtonImageList->RemoveFreeNotification(this);
  FButtonImageList = Value;
  if (Value) Value->FreeNotification(this);
}

// ---- life cycle ----
void TbsSkinCustomTreeView::Loaded() {
  TCustomTreeView::Loaded();
  ChangeSkinData();
}

void TbsSkinCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinViewBase::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FButtonImageList) FButtonImageList = nullptr;
}

void TbsSkinCustomTreeView::Change(TTreeNode* Node) {
  TCustomTreeView::Change(Node);
  UpDateScrollBars();
}

void TbsSkinCustomTreeView::readExpandImages(const TRect& ExpandRect, const TRect& NoExpandRect,
                                             Integer PictureIndex) {
  TBitmap* Picture =
      PictureIndex >= 0 && PictureIndex < FSD->PictureCount() ? FSD->Picture(PictureIndex) : nullptr;
  if (IsRectEmpty(&ExpandRect) || IsRectEmpty(&NoExpandRect) || Picture == nullptr) {
    FExpandImage = std::make_unique<TBitmap>();
    FNoExpandImage = std::make_unique<TBitmap>();
    return;
  }
  auto Copy = [Picture](TBitmap* B, const TRect& R) {
    B->SetSize(R.Width(), R.Height());
    const TRect Dst = Rect(0, 0, R.Width(), R.Height());
    B->Canvas()->CopyRect(Dst, Picture->Canvas(), R);
    B->SetTransparent(true);
  };
  Copy(FExpandImage.get(), ExpandRect);
  Copy(FNoExpandImage.get(), NoExpandRect);
}

void TbsSkinCustomTreeView::ChangeSkinData() {
  if (loading()) return;
  findElement();
  if (FIndex == -1) {
    applyDefaultLook();
    FLineColor = clGray;
  } else if (auto* R = dynamic_cast<TbsDataSkinTreeView*>(FSD->Ctrls(FIndex))) {
    applyElementLook(R);
    // A quarter of the text colour over the background for the lines, a half for the buttons.
    FLineColor = AverageColor(AverageColor(R->FontColor, R->BGColor), R->BGColor);
    FButtonColor = AverageColor(R->FontColor, R->BGColor);
    readExpandImages(R->ExpandImageRect, R->NoExpandImageRect, R->PictureIndex);
  }
  applyCharset();
  if (Images()) Images()->SetBkColor(Color());
  if (StateImages()) StateImages()->SetBkColor(Color());
  refreshScrollBars();
  Invalidate();
}

// ---- messages ----
void TbsSkinCustomTreeView::WndProc(TMessage& Message) {
  TbsSkinViewBase::WndProc(Message);
  if ((Message.Msg == WM_SIZE || Message.Msg == WM_PAINT) && !FInCheckScrollBars) UpDateScrollBars();
}

// ---- the attached bars ----
void TbsSkinCustomTreeView::UpDateScrollBars() {
  if (loading() || FInCheckScrollBars || !HandleAllocated()) return;
  bool Changed = false;
  if (FVScrollBar) {
    Integer Min = 0, Max = 0;
    GetScrollRange(Handle(), SB_VERT, &Min, &Max);
    const Integer Pos = GetScrollPos(Handle(), SB_VERT);
    const Integer Page = Integer(SendMessage(Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    const Integer Count = Integer(SendMessage(Handle(), TVM_GETCOUNT, 0, 0));
    const bool Vis = Max > 0 && Max >= Page && Max < Count && Visible();
    setBarVisible(FVScrollBar, Vis, Changed);
    if (Vis) FVScrollBar->SetRange(Min, Max, Pos, Page);
  }
  Integer Pos = 0;
  if (FHScrollBar) mirrorHorizontal(Changed, Pos);
  finishScrollBars(Changed);
}

void TbsSkinCustomTreeView::VScrollBarChange(TObject*) {
  if (FVScrollBar == nullptr || !HandleAllocated()) return;
  // The tree's own scroll position is set first, so that the thumb message lands on that exact row.
  SCROLLINFO SI;
  SI.fMask = SIF_ALL;
  GetScrollInfo(Handle(), SB_VERT, &SI);
  SI.fMask = SIF_POS;
  SI.nPos = FVScrollBar->Position();
  SetScrollInfo(Handle(), SB_VERT, &SI, true);
  SendMessage(Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FVScrollBar->Position())), 0);
}

void TbsSkinCustomTreeView::HScrollBarChange(TObject*) {
  if (FHScrollBar == nullptr || !HandleAllocated()) return;
  SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, Word(FHScrollBar->Position())), 0);
}

// ---- skinned nodes ----
void TbsSkinCustomTreeView::DrawSkinItem(TCustomTreeView*, TTreeNode* Node, TCustomDrawState State,
                                         TCustomDrawStage Stage, bool&, bool& DefaultDraw) {
  // Everything is drawn before the platform would; the after-paint call has nothing to add.
  if (Stage != cdPrePaint || Node == nullptr || FSD == nullptr || FSD->Empty) return;
  const Integer ItemIndex = FSD->GetControlIndex(FItemSkinDataName);
  auto* LB = ItemIndex >= 0 ? dynamic_cast<TbsDataSkinListBox*>(FSD->Ctrls(ItemIndex)) : nullptr;
  if (LB == nullptr) return;
  DefaultDraw = false;
  SCROLLINFO SI;
  SI.fMask = SIF_POS;
  GetScrollInfo(Handle(), SB_HORZ, &SI);
  const Integer H = SI.nPos;

  TCanvas* C = Canvas();
  TRect Row = Node->DisplayRect(false);
  TRect Text = Node->DisplayRect(true);
  // A name longer than the tree's width ends in the ellipsis where the tree ends.
  Text.Right = std::min(Text.Right, ClientWidth() - 1);
  OffsetRect(&Row, -H, 0);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(Row);
  C->FillRect(Text);
  C->Brush()->SetStyle(bsClear);

  TRect R = Row;
  const Integer Level = ShowRoot() ? Node->Level() : Node->Level() - 1;
  R.Left += Level * Indent();
  DrawNodeLines(R, Node);
  R.Left += Indent() + FButtonSize;
  DrawNodeImage(R, Node->ImageIndex());

  if (!State.Contains(cdsSelected)) {
    TRect T = Text;
    T.Left += 2;
    T.Top += 1;
    C->Font()->Assign(Font());
    C->Brush()->SetStyle(bsClear);
    String S = Node->Text();
    FitTextToWidth(C, S, T.Width());
    DrawTextLeft(C, S, T);
    return;
  }
  if (Text.Width() < 1) return;
  TBitmap B;
  B.SetSize(Text.Width(), std::max<Integer>(1, Text.Height()));
  TCanvas* BC = paintSelection(B, LB);
  String S = Node->Text();
  FitTextToWidth(BC, S, B.Width() - 2);
  DrawTextLeft(BC, S, Rect(2, 1, B.Width(), B.Height()));
  C->Draw(Text.Left, Text.Top, &B);
}

void TbsSkinCustomTreeView::DrawNodeLines(TRect R, TTreeNode* Node) {
  TCanvas* C = Canvas();
  Integer X0 = R.Left + Indent() / 2;
  const Integer Yc = R.Top + R.Height() / 2;
  // 1. The button's half side.
  if (FButtonImageList)
    FButtonSize = std::max(FButtonImageList->Width(), FButtonImageList->Height()) / 2;
  else if (FExpandImage->Empty() || FNoExpandImage->Empty())
    FButtonSize = 5;
  else
    FButtonSize = FExpandImage->Width() / 2 - 2;
  const Integer S = FButtonSize;
  const bool Children = Node->HasChildren();
  // 2. The fading line towards the node's image.
  if (ShowLines()) {
    if (Children) {
      const Integer X1 = X0 + S - 1;
      DrawFadeLine(C, X1, Yc - 1, std::abs(R.Left + Indent() + S - 5 - X1), FLineColor);
    } else {
      const Integer X1 = X0 - 1;
      DrawFadeLine(C, X1, Yc - 1, std::abs(R.Left + Indent() - X1), FLineColor);
    }
  }
  // 3. The vertical line up to the previous row and down to the next sibling.
  C->Pen()->SetColor(FLineColor);
  if (ShowLines() && Node->AbsoluteIndex() != 0) {
    C->MoveTo(X0 - 1, Yc - 1);
    C->LineTo(X0 - 1, R.Top - 1);
  }
  TTreeNode* NextVisible = Node->GetNextVisible();
  if (ShowLines() && ((NextVisible && NextVisible->Level() == Node->Level()) || Node->getNextSibling())) {
    C->MoveTo(X0 - 1, Yc);
    C->LineTo(X0 - 1, R.Bottom + 1);
  }
  // 4-6. The expand button.
  if (Children && ShowButtons()) {
    const bool Expanded = Node->Expanded();
    if (FButtonImageList == nullptr) {
      C->Pen()->SetColor(FButtonColor);
      C->Brush()->SetStyle(bsClear);
      C->Rectangle(X0 - S, Yc - S, X0 + S - 1, Yc + S - 1);
      C->Pen()->SetColor(Font()->Color());
      C->MoveTo(X0 - S + 2, Yc - 1);
      C->LineTo(X0 + S - 3, Yc - 1);
      if (!Expanded) {
        C->MoveTo(X0 - 1, Yc - S + 2);
        C->LineTo(X0 - 1, Yc + S - 3);
      }
      if (!FExpandImage->Empty() && !FNoExpandImage->Empty()) {
        TBitmap* Picture = Expanded ? FExpandImage.get() : FNoExpandImage.get();
        // The whole picture's place is cleared: no box edge or tree line runs through the chevron.
        const TRect At = Bounds(X0 - S - 3, Yc - S - 3, Picture->Width(), Picture->Height());
        const TRect Box = Rect(X0 - S - 2, Yc - S - 2, X0 + S - 2, Yc + S - 2);
        TRect Clear;
        UnionRect(&Clear, &At, &Box);
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Color());
        C->FillRect(Clear);
        C->Draw(At.Left, At.Top, Picture);
      }
    } else {
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Color());
      C->FillRect(Rect(X0 - S, Yc - S, X0 + S, Yc + S));
      const Integer Index = Expanded ? FButtonExpandImageIndex : FButtonNoExpandImageIndex;
      if (Index >= 0 && Index < FButtonImageList->Count()) FButtonImageList->Draw(C, X0 - S, Yc - S, Index);
    }
    C->Brush()->SetStyle(bsClear);
  }
  // 7. The lines of the ancestors that have siblings still to come.
  if (ShowLines()) {
    C->Pen()->SetColor(FLineColor);
    for (TTreeNode* P = Node->Parent(); P != nullptr; P = P->Parent()) {
      X0 -= Indent();
      if (P->getNextSibling()) {
        C->MoveTo(X0 - 1, R.Top);
        C->LineTo(X0 - 1, R.Bottom + 1);
      }
    }
  }
}

void TbsSkinCustomTreeView::DrawNodeImage(const TRect& R, Integer Index) {
  const Integer Y = R.Top + R.Height() / 2;
  if (Images()) {
    if (Index >= 0 && Index < Images()->Count())
      Images()->Draw(Canvas(), R.Left - FButtonSize, Y - Images()->Height() / 2, Index);
    return;
  }
  readThirdImages(TVM_GETIMAGELIST, TVSIL_NORMAL);
  if (FThirdImages == nullptr) return;
  if (Index >= 0 && Index < FThirdImagesCount)
    FThirdImages->DrawEx(Index, Canvas()->Handle(), R.Left - FButtonSize, Y - FThirdImageHeight / 2, 0, 0,
                         CLR_NONE, CLR_NONE, ILD_NORMAL);
}
