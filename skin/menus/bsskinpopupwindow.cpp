#include "skin/menus/bsskinpopupwindow.h"

#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/ui/core/application.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsregions.h"
#include "skin/core/bssystem.h"
#include "skin/menus/bsskinmenu.h"

namespace {

TBitmap* pictureAt(TbsSkinData* SD, Integer Index) {
  if (SD == nullptr || Index < 0 || Index >= SD->PictureCount()) return nullptr;
  return SD->Picture(Index);
}

TbsDataSkinMenuItem* firstMenuItemElement(TbsSkinData* SD) {
  if (SD == nullptr || SD->Empty) return nullptr;
  for (Integer i = 0; i < SD->ObjectCount(); ++i)
    if (auto* M = dynamic_cast<TbsDataSkinMenuItem*>(SD->Objects(i))) return M;
  return nullptr;
}

bool isSeparator(TMenuItem* Item) {
  return MenuEntryKindOf(Item) == TbsMenuEntryKind::Separator;
}

}  // namespace

TbsSkinPopupWindow::TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu,
                                       TbsDataSkinPopupWindow* AData)
    : TCustomControl(AOwner), ParentMenu(AParentMenu) {
  FVisible = false;
  MouseTimer = new TTimer(this);
  MouseTimer->SetEnabled(false);
  MouseTimer->SetInterval(50);
  MouseTimer->OnTimer = [this](TObject* Sender) { MouseTimerProc(Sender); };
  MorphTimer = new TTimer(this);
  MorphTimer->SetEnabled(false);
  MorphTimer->SetInterval(20);
  MorphTimer->OnTimer = [this](TObject* Sender) { MorphTimerProc(Sender); };
  if (AData != nullptr && AData->WindowPictureIndex != -1) {
    PW = AData;
    SD = ParentMenu->SkinData;
    WindowPicture = pictureAt(SD, AData->WindowPictureIndex);
    MaskPicture = pictureAt(SD, AData->MaskPictureIndex);
  }
}

TbsSkinPopupWindow::~TbsSkinPopupWindow() {
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  ItemList.clear();
  FPaintBuffer.reset();
  DestroyHandle();
  if (FRgn != nullptr) DeleteObject(FRgn);
}

void TbsSkinPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      PaintMenu(HDC(Message.WParam));
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_TIMER:
      TCustomControl::Dispatch(Message);
      wmTimer(Message);
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

// ---- building ----

void TbsSkinPopupWindow::prepareFont() {
  DSMI = firstMenuItemElement(SD);
  // A skin with a window picture but no menu-item element has no complete description of a level:
  // such a level takes the default look, like one without skin.
  if (PW != nullptr && (WindowPicture == nullptr || DSMI == nullptr)) {
    PW = nullptr;
    SD = nullptr;
    DSMI = nullptr;
    WindowPicture = MaskPicture = nullptr;
  }
  TFont* F = Canvas()->Font();
  if (PW != nullptr && DSMI != nullptr && ParentMenu->UseSkinFont()) {
    F->SetHeight(DSMI->FontHeight);
    F->SetStyle(DSMI->FontStyle);
    F->SetName(DSMI->FontName);
  } else {
    F->Assign(ParentMenu->DefaultMenuItemFont());
  }
}

void TbsSkinPopupWindow::buildItems(TMenuItem* AItem, Integer From) {
  if (AItem == nullptr) return;
  for (Integer i = std::max(From, 0); i < AItem->Count(); ++i) {
    TMenuItem* Child = AItem->Items(i);
    if (Child->Visible()) ItemList.push_back(std::make_unique<TbsSkinMenuItem>(this, Child, DSMI));
  }
}

void TbsSkinPopupWindow::CreateMenu(TMenuItem* AItem, Integer StartIndex) {
  prepareFont();
  TMenu* M = AItem->GetParentMenu();
  ImgL = M != nullptr ? M->Images() : nullptr;
  buildItems(AItem, StartIndex);
  computeSize(false);
  computeGeometry();
  ArrangeItems();
  if (MaskPicture != nullptr) SetMenuWindowRegion();
}

void TbsSkinPopupWindow::CreateMenu2(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex) {
  prepareFont();
  TMenu* M = AItem->GetParentMenu();
  ImgL = M != nullptr ? M->Images() : nullptr;
  buildItems(AItem, StartIndex);
  buildItems(AItem2, std::max(StartIndex - AItem->Count(), 0));
  computeSize(true);
  computeGeometry();
  ArrangeItems();
  if (MaskPicture != nullptr) SetMenuWindowRegion();
}

Integer TbsSkinPopupWindow::GetMenuItemHeight() {
  if (ParentMenu->UseSkinSize() && DSMI != nullptr) return DSMI->SkinRect.Height();
  return ParentMenu->DefaultMenuItemHeight();
}

Integer TbsSkinPopupWindow::entryHeight(Integer Index, bool Skinned) {
  const bool Sep = isSeparator(Item(Index)->MenuItem);
  if (Skinned && DSMI != nullptr) return Sep ? DSMI->DividerRect.Height() : GetMenuItemHeight();
  return Sep ? 4 : ParentMenu->DefaultMenuItemHeight();
}

void TbsSkinPopupWindow::computeSize(bool TwoMenus) {
  VisibleStartIndex = 0;
  VisibleCount = ItemCount();
  Scroll = Scroll2 = false;
  // Width: the widest caption (with its shortcut) plus the glyph column and the arrow column.
  Integer Widest = 0;
  for (auto& E : ItemList) {
    String Text = E->MenuItem->Caption();
    if (E->MenuItem->ShortCut() != 0) Text += "  " + ShortCutToText(E->MenuItem->ShortCut());
    TRect R = Rect(0, 0, 0, 0);
    DrawWideText(Canvas(), Text, R, DT_CALCRECT);
    Widest = std::max(Widest, R.Width() + 2);
  }
  GlyphWidth = ImgL != nullptr ? ImgL->Width() + 5 : 19;
  const Integer C = Widest + GlyphWidth + 19;
  Integer W, H;
  const bool Skinned = PW != nullptr;
  if (!Skinned)
    W = C + 10;
  else
    W = C + WindowPicture->Width() - PW->ItemsRect.Width() + DSMI->TextRct.Left +
        (DSMI->SkinRect.Width() - DSMI->TextRct.Right);
  // Height: every entry, or MaxMenuItemsInWindow entries and the two scroll markers.
  Integer S = 0;
  for (Integer i = 0; i < ItemCount(); ++i) S += entryHeight(i, Skinned);
  const Integer N = ItemCount();
  const Integer Max = ParentMenu->MaxMenuItemsInWindow;
  if (Max != 0 && Max < N) {
    const Integer h = (Skinned ? GetMenuItemHeight() : ParentMenu->DefaultMenuItemHeight()) * Max;
    H = Skinned ? h + 20 + WindowPicture->Height() - PW->ItemsRect.Height() : h + (TwoMenus ? 26 : 24);
    Scroll = Scroll2 = true;
  } else {
    H = Skinned ? S + WindowPicture->Height() - PW->ItemsRect.Height() : S + (TwoMenus ? 6 : 4);
  }
  const TRect& WA = ParentMenu->WorkArea;
  if (WA.Height() > 0 && WA.Height() < H) {
    H = WA.Height();
    Scroll = true;
  }
  // A level wider than the work area is cut to it; its captions are clipped.
  if (WA.Width() > 0 && W > WA.Width()) W = WA.Width();
  SetBounds(Left(), Top(), W, H);
}

void TbsSkinPopupWindow::computeGeometry() {
  const Integer W = Width(), H = Height();
  if (PW != nullptr) {
    const Integer PWw = WindowPicture->Width(), PWh = WindowPicture->Height();
    NewLTPoint = PW->LTPoint;
    NewRTPoint = TPoint{W + PW->RTPoint.X - PWw, PW->RTPoint.Y};
    NewLBPoint = TPoint{PW->LBPoint.X, H + PW->LBPoint.Y - PWh};
    NewRBPoint = TPoint{W + PW->RBPoint.X - PWw, H + PW->RBPoint.Y - PWh};
    NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, W + PW->ItemsRect.Right - PWw,
                        H + PW->ItemsRect.Bottom - PWh);
  } else {
    NewItemsRect = Rect(2, 2, W - 2, H - 2);
  }
}

void TbsSkinPopupWindow::ArrangeItems() {
  VisibleCount = 0;
  Integer y = NewItemsRect.Top + (Scroll ? 10 : 0);
  const Integer Bottom = NewItemsRect.Bottom - (Scroll ? 10 : 0);
  for (Integer i = VisibleStartIndex; i < ItemCount(); ++i) {
    const Integer h = entryHeight(i, DSMI != nullptr);
    Item(i)->ObjectRect = Rect(NewItemsRect.Left, y, NewItemsRect.Right, y + h);
    y += h;
    if (y > Bottom) break;
    Item(i)->FVisible = true;
    ++VisibleCount;
  }
  if (Scroll)
    for (Integer i = 0; i < ItemCount(); ++i)
      if (i < VisibleStartIndex || i >= VisibleStartIndex + VisibleCount) Item(i)->FVisible = false;
}

void TbsSkinPopupWindow::SetMenuWindowRegion() {
  if (PW == nullptr || MaskPicture == nullptr) return;
  HRGN Rgn = nullptr;
  ComposeSkinRegion(Rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                    NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
  SetWindowRgn(Handle(), Rgn, true);
  if (FRgn != nullptr) DeleteObject(FRgn);
  FRgn = Rgn;
}

// ---- placement and showing ----

void TbsSkinPopupWindow::place(const TRect& R, bool PopupByItem, bool PopupUp) {
  const TRect& WA = ParentMenu->WorkArea;
  const Integer W = Width(), H = Height(), T = NewItemsRect.Top;
  const Integer Middle = WA.Top + WA.Height() / 2;
  bool Overlap = false;
  Integer Y;
  if (Scroll && !Scroll2) {
    Y = WA.Top;
  } else if (PopupByItem) {
    if (R.Top - T + H <= WA.Bottom)
      Y = R.Top - T;
    else if (R.Top < Middle)
      Y = WA.Bottom - H;
    else
      Y = std::max(R.Bottom + T - H, WA.Top);
  } else if (PopupUp) {
    if (R.Top - H >= WA.Top) {
      Y = R.Top - H;
    } else if (R.Top < Middle) {
      if (R.Bottom + H <= WA.Bottom) {
        Y = R.Bottom;
      } else {
        Y = WA.Bottom - H;
        Overlap = true;
      }
    } else {
      Y = WA.Top;
      Overlap = true;
    }
  } else {
    if (R.Bottom + H <= WA.Bottom) {
      Y = R.Bottom;
    } else if (R.Top < Middle) {
      Y = WA.Bottom - H;
      Overlap = true;
    } else if (R.Top - H >= WA.Top) {
      Y = R.Top - H;
    } else {
      Y = WA.Top;
      Overlap = true;
    }
  }
  Integer X;
  if (!PopupByItem && (!Scroll || Scroll2) && !Overlap) {
    X = R.Left;
    if (R.Left + W > WA.Right)
      X = WA.Right - W;
    else if (R.Left < WA.Left)
      X = WA.Left;
  } else {
    X = R.Right + W + 1 <= WA.Right ? R.Right + 1 : R.Left - W - 1;
    // Beside the anchor on its left there may be no room either: the level stays on the work area.
    if (X < WA.Left) X = WA.Left;
  }
  ShowX = X;
  ShowY = Y;
}

void TbsSkinPopupWindow::showLevel(const TRect& R, bool PopupByItem, bool PopupUp,
                                   const std::function<void()>& Build) {
  const bool CanAlpha = IsWindows2000OrLater();
  const bool Fade =
      CanAlpha && ParentMenu->AlphaBlend && ParentMenu->AlphaBlendAnimation && ParentMenu->First();
  if (Fade && Application != nullptr) Application->ProcessMessages();
  Build();
  place(R, PopupByItem, PopupUp);
  SetBounds(ShowX, ShowY, Width(), Height());
  HWND Wnd = Handle();
  Byte Alpha = ParentMenu->AlphaBlendValue;
  if (CanAlpha && ParentMenu->AlphaBlend) {
    SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlpha(Wnd, Fade ? 0 : Alpha);
  }
  SetWindowPos(Wnd, HWND_TOPMOST, ShowX, ShowY, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  if (Fade) {
    const Integer Step = std::max(Alpha / 15, 1);
    Integer Current = 0;
    DWORD Last = GetTickCount();
    while (Current < Alpha) {
      if (GetTickCount() - Last > 5) {
        Current = std::min(Current + Step, Integer(Alpha));
        SetWindowAlpha(Wnd, Byte(Current));
        Last = GetTickCount();
      } else {
        Sleep(1);
      }
    }
  }
  MouseTimer->SetEnabled(true);
  ActiveItem = -1;
  // Every level opens with its first usable entry highlighted.
  for (Integer i = 0; i < ItemCount(); ++i)
    if (usable(i)) {
      Item(i)->WaitCommand = true;
      ActiveItem = i;
      Item(i)->MouseEnter(true);
      break;
    }
}

void TbsSkinPopupWindow::Show(TRect R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp) {
  showLevel(R, PopupByItem, PopupUp, [&] { CreateMenu(AItem, StartIndex); });
}

void TbsSkinPopupWindow::Show2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                               bool PopupByItem, bool PopupUp) {
  showLevel(R, PopupByItem, PopupUp, [&] { CreateMenu2(AItem, AItem2, StartIndex); });
}

void TbsSkinPopupWindow::Hide() {
  FClosed = true;
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  if (HandleAllocated()) KillTimer(Handle(), 1);
  ScrollCode = 0;
  SetVisible(false);
}

// ---- painting ----

void TbsSkinPopupWindow::CreateWindowImage(TBitmap* B, bool ADrawClient) {
  const Integer W = Width(), H = Height();
  if (PW != nullptr) {
    ComposeSkinImage2(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                      NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, B, WindowPicture,
                      Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), W, H, ADrawClient,
                      PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect,
                      PW->StretchType);
    return;
  }
  B->SetSize(W, H);
  TCanvas* C = B->Canvas();
  const Integer a = ImgL != nullptr ? GlyphWidth + 2 : 21;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(0, 0, a, H));
  C->Brush()->SetColor(clWindow);
  C->FillRect(Rect(a, 0, W, H));
  DrawFrame3D(C, Rect(0, 0, W, H), clBtnShadow, clBtnShadow);
  DrawFrame3D(C, Rect(1, 1, W - 1, H - 1), clWindow, clWindow);
}

void TbsSkinPopupWindow::PaintMenu(HDC DC) {
  if (DC == nullptr) return;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(Width(), Height());
  CreateWindowImage(&B, Scroll);
  if (PW != nullptr && DSMI != nullptr && DSMI->InActiveTransparent) {
    FPaintBuffer = std::make_unique<TBitmap>();
    FPaintBuffer->SetPixelFormat(pf24bit);
    FPaintBuffer->SetSize(Width(), Height());
    CreateWindowImage(FPaintBuffer.get(), true);
  }
  for (Integer i = VisibleStartIndex; i < VisibleStartIndex + VisibleCount && i < ItemCount(); ++i)
    Item(i)->Draw(B.Canvas());
  if (Scroll) {
    DrawUpMarker(B.Canvas());
    DrawDownMarker(B.Canvas());
    if (VisibleCount > 0) {
      const Integer LastBottom = Item(VisibleStartIndex + VisibleCount - 1)->ObjectRect.Bottom;
      if (LastBottom < NewItemsRect.Bottom - 10)
        DrawItemBackground(B.Canvas(),
                           Rect(NewItemsRect.Left, LastBottom, NewItemsRect.Right, NewItemsRect.Bottom - 10));
    }
  }
  TCanvas C;
  C.SetHandle(DC);
  C.Draw(0, 0, &B);
  C.SetHandle(nullptr);
}

void TbsSkinPopupWindow::DrawUpMarker(TCanvas* Cnvs) {
  TRect R;
  TColor Color;
  if (PW != nullptr) {
    R = Rect(NewItemsRect.Left, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Top + 10);
    Color = ScrollCode == 1 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
    DrawItemBackground(Cnvs, R);
  } else {
    R = Rect(3, 3, Width() - 3, 13);
    Color = ScrollCode == 1 ? clBtnText : clBtnShadow;
  }
  DrawArrow(Cnvs, R, Color, 3);
}

void TbsSkinPopupWindow::DrawDownMarker(TCanvas* Cnvs) {
  TRect R;
  TColor Color;
  if (PW != nullptr) {
    R = Rect(NewItemsRect.Left, NewItemsRect.Bottom - 10, NewItemsRect.Right, NewItemsRect.Bottom);
    Color = ScrollCode == 2 ? PW->ScrollMarkerActiveColor : PW->ScrollMarkerColor;
    DrawItemBackground(Cnvs, R);
  } else {
    R = Rect(3, Height() - 10, Width() - 3, Height() - 3);
    Color = ScrollCode == 2 ? clBtnText : clBtnShadow;
  }
  DrawArrow(Cnvs, R, Color, 4);
}

void TbsSkinPopupWindow::DrawItemBackground(TCanvas* Cnvs, TRect R) {
  if (SD == nullptr || R.Width() <= 0 || R.Height() <= 0) return;
  Integer i = SD->GetIndex("menuitem");
  if (i == -1) i = SD->GetIndex("MENUITEM");
  if (i == -1) return;
  auto* M = dynamic_cast<TbsDataSkinMenuItem*>(SD->Objects(i));
  if (M == nullptr) return;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  if (M->InActiveTransparent && FPaintBuffer != nullptr) {
    B.SetSize(R.Width(), R.Height());
    B.Canvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), FPaintBuffer->Canvas(), R);
  } else {
    TBitmap* Pic = pictureAt(SD, M->ActivePictureIndex);
    if (Pic == nullptr) return;
    ComposeSkinImageH(M->ItemLO, M->ItemRO, &B, Pic, M->SkinRect, R.Width(), M->SkinRect.Height(),
                      M->InActiveStretchEffect);
  }
  // Cut to R's height.
  Cnvs->CopyRect(Rect(R.Left, R.Top, R.Left + B.Width(), R.Top + std::min(B.Height(), R.Height())),
                 B.Canvas(), Rect(0, 0, B.Width(), std::min(B.Height(), R.Height())));
}

void TbsSkinPopupWindow::MorphTimerProc(TObject*) {
  if (PW == nullptr) {
    MorphTimer->SetEnabled(false);
    return;
  }
  bool Changed = false;
  for (auto& E : ItemList) {
    if (E->EnableMorphing() && E->CanMorphing()) {
      E->DoMorphing();
      Changed = true;
    } else if (E->EnableAnimation()) {
      if (E->Active && E->CurrentFrame <= E->MI->FrameCount) {
        ++E->CurrentFrame;
        E->Draw(Canvas());
        Changed = true;
      } else if (!E->Active && E->CurrentFrame > 0) {
        --E->CurrentFrame;
        E->Draw(Canvas());
        Changed = true;
      }
    }
  }
  if (!Changed) MorphTimer->SetEnabled(false);
}
