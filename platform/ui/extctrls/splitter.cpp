#include "platform/ui/extctrls/splitter.h"

#include "platform/ui/stdctrls/looksurface.h"

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  FAlign = alLeft;
  FWidth = 3;
  FHeight = 100;
  FCursor = crHSplit;
}

void TSplitter::SetBeveled(bool Value) {
  if (FBeveled == Value) return;
  FBeveled = Value;
  Invalidate();
}

void TSplitter::RequestAlign() {
  TGraphicControl::RequestAlign();
  if (FCursor == crHSplit || FCursor == crVSplit) FCursor = horizontalAlign() ? crVSplit : crHSplit;
}

void TSplitter::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(LookBackground(this));
  C->FillRect(R);
  if (!FBeveled) return;
  // A 1-pixel groove along the middle.
  C->Brush()->SetColor(stdlook::SurfaceBorder);
  if (horizontalAlign())
    C->FillRect(Rect(R.Left, R.Height() / 2, R.Right, R.Height() / 2 + 1));
  else
    C->FillRect(Rect(R.Width() / 2, R.Top, R.Width() / 2 + 1, R.Bottom));
}

// The visible control aligned the same way whose edge touches the splitter's near edge.
TControl* TSplitter::findNeighbour() {
  TWinControl* P = Parent();
  if (P == nullptr) return nullptr;
  TPoint Edge{Left(), Top()};
  switch (Align()) {
    case alLeft:
      Edge.X -= 1;
      break;
    case alRight:
      Edge.X += Width();
      break;
    case alTop:
      Edge.Y -= 1;
      break;
    case alBottom:
      Edge.Y += Height();
      break;
    default:
      return nullptr;
  }
  for (Integer i = 0; i < P->ControlCount(); ++i) {
    TControl* C = P->Controls(i);
    if (C == this || !C->Visible() || C->Align() != Align()) continue;
    TRect R = C->BoundsRect();
    // A closed (zero-size) neighbour still counts when it sits at the edge.
    if (R.Width() == 0) ++R.Right;
    if (R.Height() == 0) ++R.Bottom;
    if (PtInRect(&R, Edge)) return C;
  }
  return nullptr;
}

Integer TSplitter::sizeOf(TControl* C) const {
  return horizontalAlign() ? C->Height() : C->Width();
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = findNeighbour();
  if (FControl == nullptr) return;
  FControl->FreeNotification(this);
  FDownPos = {X, Y};
  // The room the aligned controls on both sides leave, less the minimum for the far side.
  TWinControl* P = Parent();
  const bool Horz = horizontalAlign();
  FMaxSize = (Horz ? P->ClientHeight() : P->ClientWidth()) - FMinSize;
  for (Integer i = 0; i < P->ControlCount(); ++i) {
    TControl* C = P->Controls(i);
    if (!C->Visible()) continue;
    if (Horz ? (C->Align() == alTop || C->Align() == alBottom)
             : (C->Align() == alLeft || C->Align() == alRight))
      FMaxSize -= sizeOf(C);
  }
  FMaxSize += sizeOf(FControl);
  FOldSize = FNewSize = sizeOf(FControl);
  FSplit = 0;
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) drawLine();
}

void TSplitter::calcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split) {
  Split = horizontalAlign() ? Y - FDownPos.Y : X - FDownPos.X;
  // Moving towards the neighbour shrinks it: right or down for alRight / alBottom.
  Integer S = (Align() == alRight || Align() == alBottom) ? -Split : Split;
  NewSize = sizeOf(FControl) + S;
  if (NewSize < FMinSize) NewSize = (FAutoSnap && NewSize < FMinSize / 2) ? 0 : FMinSize;
  if (NewSize > FMaxSize) NewSize = FMaxSize < 0 ? 0 : FMaxSize;
}

void TSplitter::updateSize(Integer X, Integer Y) {
  Integer NewSize, Split;
  calcSplitSize(X, Y, NewSize, Split);
  if (!DoCanResize(NewSize)) return;
  FNewSize = NewSize;
  // The bar follows the neighbour's new edge.
  Integer Delta = NewSize - sizeOf(FControl);
  FSplit = (Align() == alRight || Align() == alBottom) ? -Delta : Delta;
}

bool TSplitter::DoCanResize(Integer& NewSize) {
  bool Accept = true;
  if (OnCanResize) OnCanResize(this, NewSize, Accept);
  return Accept;
}

void TSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FControl == nullptr || !Shift.Contains(ssLeft)) return;
  if (FLineVisible) drawLine();
  updateSize(X, Y);
  if (FResizeStyle == rsUpdate) {
    // The splitter moves with the neighbour, so the press point stays where it is in its coordinates.
    applySize();
    FSplit = 0;
  } else if (FResizeStyle == rsLine || FResizeStyle == rsPattern) {
    drawLine();
  }
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || FControl == nullptr) return;
  updateSize(X, Y);
  endDrag(true);
}

void TSplitter::WMCancelMode(TMessage& Message) {
  TGraphicControl::WMCancelMode(Message);
  if (FControl != nullptr) endDrag(false);
}

void TSplitter::endDrag(bool Apply) {
  if (FLineVisible) drawLine();
  if (Apply && FResizeStyle != rsUpdate) applySize();
  if (FControl != nullptr) FControl->RemoveFreeNotification(this);
  bool Moved = Apply && FControl != nullptr && FOldSize != sizeOf(FControl);
  FControl = nullptr;
  if (Moved && OnMoved) OnMoved(this);
}

void TSplitter::applySize() {
  if (FControl == nullptr || FNewSize == sizeOf(FControl)) return;
  TWinControl* P = Parent();
  P->DisableAlign();
  switch (Align()) {
    case alLeft:
      FControl->SetWidth(FNewSize);
      break;
    case alTop:
      FControl->SetHeight(FNewSize);
      break;
    case alRight:
      FControl->SetBounds(FControl->Left() + FControl->Width() - FNewSize, FControl->Top(), FNewSize,
                          FControl->Height());
      // Right-aligned controls stack from the edge: the splitter must stay left of its neighbour.
      SetLeft(FControl->Left() - Width());
      break;
    case alBottom:
      FControl->SetBounds(FControl->Left(), FControl->Top() + FControl->Height() - FNewSize,
                          FControl->Width(), FNewSize);
      SetTop(FControl->Top() - Height());
      break;
    default:
      break;
  }
  P->EnableAlign();
  P->Update();
}

// The bar drawn over the parent while dragging: inverted, so drawing it twice removes it.
void TSplitter::drawLine() {
  TWinControl* P = Parent();
  if (P == nullptr || !P->HandleAllocated()) return;
  if (!FLineVisible) {
    FLineRect = BoundsRect();
    if (horizontalAlign())
      OffsetRect(&FLineRect, 0, FSplit);
    else
      OffsetRect(&FLineRect, FSplit, 0);
  }
  HDC DC = GetDCEx(P->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  HBRUSH Brush = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
  HGDIOBJ Old = SelectObject(DC, Brush);
  PatBlt(DC, FLineRect.Left, FLineRect.Top, FLineRect.Width(), FLineRect.Height(), PATINVERT);
  SelectObject(DC, Old);
  DeleteObject(Brush);
  ReleaseDC(P->Handle(), DC);
  FLineVisible = !FLineVisible;
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) {
    FControl = nullptr;
    FLineVisible = false;
  }
}
