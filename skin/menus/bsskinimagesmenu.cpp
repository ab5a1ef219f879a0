#include "skin/menus/bsskinimagesmenu.h"

#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/screen.h"
#include "skin/core/bscompose.h"
#include "skin/core/bsdraw.h"
#include "skin/core/bsregions.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "skin/core/bssystem.h"
#include "skin/menus/bsskinmenu.h"

namespace {

TBitmap* pictureAt(TbsSkinData* SD, Integer Index) {
  if (SD == nullptr || Index < 0 || Index >= SD->PictureCount()) return nullptr;
  return SD->Picture(Index);
}

bool skinLoaded(TbsSkinData* SD) {
  return SD != nullptr && !SD->Empty;
}

TbsDataSkinLabelControl* labelElement(TbsSkinData* SD) {
  if (!skinLoaded(SD)) return nullptr;
  const Integer i = SD->GetControlIndex("label");
  return i == -1 ? nullptr : dynamic_cast<TbsDataSkinLabelControl*>(SD->Ctrls(i));
}

TbsDataSkinButtonControl* buttonElement(TbsSkinData* SD) {
  if (SD == nullptr) return nullptr;
  Integer i = SD->GetControlIndex("menuitembutton");
  if (i == -1) i = SD->GetControlIndex("resizebutton");
  return i == -1 ? nullptr : dynamic_cast<TbsDataSkinButtonControl*>(SD->Ctrls(i));
}

TbsDataSkinMenuItem* menuItemObject(TbsSkinData* SD) {
  if (SD == nullptr) return nullptr;
  Integer i = SD->GetIndex("menuitem");
  if (i == -1) i = SD->GetIndex("MENUITEM");
  return i == -1 ? nullptr : dynamic_cast<TbsDataSkinMenuItem*>(SD->Objects(i));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Entries

TbsImagesMenuItem::TbsImagesMenuItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TbsImagesMenuItem::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TbsImagesMenuItem*>(Source)) {
    SetImageIndex(S->ImageIndex());
    SetCaption(S->Caption());
    FButton = S->FButton;
    FHint = S->FHint;
    return;
  }
  TCollectionItem::Assign(Source);
}

TbsImagesMenuItems::TbsImagesMenuItems(TbsSkinImagesMenu* AImagesMenu)
    : TCollection(CollectionItemClass<TbsImagesMenuItem>()), ImagesMenu(AImagesMenu) {}

TPersistent* TbsImagesMenuItems::GetOwner() {
  return ImagesMenu;
}

// ---------------------------------------------------------------------------------------------
// The component

TbsSkinImagesMenu::TbsSkinImagesMenu(TComponent* AOwner)
    : TComponent(AOwner),
      FImagesItems(std::make_unique<TbsImagesMenuItems>(this)),
      FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Tahoma");
  FDefaultFont->SetHeight(13);
  FDefaultFont->SetStyle({});
}

TbsSkinImagesMenu::~TbsSkinImagesMenu() {
  if (FPopupWindow != nullptr) {
    // Closed without events: the hook and the capture go back, the window goes.
    TbsSkinImagesMenuPopupWindow* W = FPopupWindow;
    W->releaseHooks();
    FPopupWindow = nullptr;
    delete W;
  }
}

void TbsSkinImagesMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FSkinData) FSkinData = nullptr;
  if (AComponent == FSkinHint) FSkinHint = nullptr;
}

void TbsSkinImagesMenu::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinData(TbsSkinData* Value) {
  FSkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinImagesMenu::SetSkinHint(TComponent* Value) {
  FSkinHint = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

IbsSkinHintLink* TbsSkinImagesMenu::hintLink() const {
  return dynamic_cast<IbsSkinHintLink*>(FSkinHint);
}

void TbsSkinImagesMenu::SetColumnsCount(Integer Value) {
  if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

TbsImagesMenuItem* TbsSkinImagesMenu::SelectedItem() const {
  if (FItemIndex < 0 || FItemIndex >= FImagesItems->Count()) return nullptr;
  return FImagesItems->GetItem(FItemIndex);
}

void TbsSkinImagesMenu::Popup(Integer X, Integer Y) {
  PopupFromRect(Rect(X, Y, X, Y));
}

void TbsSkinImagesMenu::PopupFromRect(TRect R) {
  if (FPopupWindow != nullptr) FPopupWindow->Hide(false);
  if (OnMenuPopup) OnMenuPopup(this);
  if (FImages == nullptr || FImages->Count() == 0) return;
  FOldItemIndex = FItemIndex;
  FPopupWindow = new TbsSkinImagesMenuPopupWindow(this);
  FPopupWindow->Show(R);
}

void TbsSkinImagesMenu::Hide() {
  if (FPopupWindow != nullptr) FPopupWindow->Hide(false);
}

void TbsSkinImagesMenu::ProcessEvents(bool AProcessEvents) {
  if (FPopupWindow != nullptr) {
    // The grid may be closing from inside one of its own handlers: it goes once that has returned.
    TbsSkinImagesMenuPopupWindow* W = FPopupWindow;
    FPopupWindow = nullptr;
    RemoveComponent(W);
    WinDeferAction([W] { delete W; });
  }
  if (OnInternalMenuClose) OnInternalMenuClose(this);
  if (OnMenuClose) OnMenuClose(this);
  if (AProcessEvents && FItemIndex != -1) {
    if (TbsImagesMenuItem* Item = SelectedItem(); Item != nullptr && Item->OnClick) {
      TNotifyEvent Handler = Item->OnClick;
      Handler(this);
    }
    if (OnItemClick) OnItemClick(this);
    if (FItemIndex != FOldItemIndex) {
      if (OnInternalChange) OnInternalChange(this);
      if (OnChange) OnChange(this);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The grid window

TbsSkinImagesMenuPopupWindow::TbsSkinImagesMenuPopupWindow(TComponent* AOwner)
    : TCustomControl(AOwner), ImagesMenu(static_cast<TbsSkinImagesMenu*>(AOwner)) {
  FVisible = false;
}

TbsSkinImagesMenuPopupWindow::~TbsSkinImagesMenuPopupWindow() {
  releaseHooks();
  DestroyHandle();
  if (FRgn != nullptr) DeleteObject(FRgn);
}

void TbsSkinImagesMenuPopupWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  Params.WndParent = nullptr;
  Params.WindowClass.style |= CS_SAVEBITS;
  if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TbsSkinImagesMenuPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case CM_MOUSEENTER:
      return;
    case CM_MOUSELEAVE:
      hideHint();
      MouseInItem = OldMouseInItem = -1;
      Repaint();
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

void TbsSkinImagesMenuPopupWindow::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (FClosed) return;
  if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) {
    POINT P;
    GetCursorPos(&P);
    if (WindowFromPoint(P) != Handle()) Hide(false);
  }
}

bool TbsSkinImagesMenuPopupWindow::isHeader(Integer Index) const {
  return ImagesMenu->ImagesItems()->GetItem(Index)->Header();
}

void TbsSkinImagesMenuPopupWindow::hideHint() {
  if (ImagesMenu->ShowHints())
    if (IbsSkinHintLink* H = ImagesMenu->hintLink()) H->HideHint();
}

void TbsSkinImagesMenuPopupWindow::CalcItemRects() {
  TCustomImageList* Images = ImagesMenu->Images();
  const Integer w = Images->Width() + 10, h = Images->Height() + 10;
  const Integer RW = ImagesMenu->ColumnsCount() * w;
  Integer x0 = 5, y0 = 5;
  if (FSkinSupport) {
    x0 = ImagesMenu->SkinData()->PopupWindow->ItemsRect.Left;
    y0 = ImagesMenu->SkinData()->PopupWindow->ItemsRect.Top;
  }
  TbsDataSkinLabelControl* Label = labelElement(ImagesMenu->SkinData());
  const Integer LH = Label != nullptr ? Label->SkinRect.Height() : h;
  Integer x = x0, y = y0;
  TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
  for (Integer i = 0; i < Items->Count(); ++i) {
    TbsImagesMenuItem* E = Items->GetItem(i);
    if (E->Header()) {
      if (x != x0) y += h + 1;
      E->ItemRect = Rect(x0, y, x0 + RW, y + LH);
      y += LH + 1;
      x = x0;
    } else if (E->Button()) {
      if (x != x0) y += h + 1;
      E->ItemRect = Rect(x0, y, x0 + RW, y + h);
      y += h + 1;
      x = x0;
    } else {
      E->ItemRect = Rect(x, y, x + w, y + h);
      x += w;
      if (x + w > x0 + RW) {
        x = x0;
        y += h + 1;
      }
    }
  }
}

void TbsSkinImagesMenuPopupWindow::CreateWindowImage() {
  TbsSkinData* SD = ImagesMenu->SkinData();
  FSkinSupport = skinLoaded(SD) && SD->PopupWindow->WindowPictureIndex != -1 &&
                 pictureAt(SD, SD->PopupWindow->WindowPictureIndex) != nullptr;
  CalcItemRects();
  TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
  const Integer RW = ImagesMenu->ColumnsCount() * (ImagesMenu->Images()->Width() + 10);
  const Integer C = Items->Count() > 0 ? Items->GetItem(Items->Count() - 1)->ItemRect.Bottom -
                                             Items->GetItem(0)->ItemRect.Top
                                       : 0;
  Integer W, H;
  if (FSkinSupport) {
    TbsDataSkinPopupWindow* PW = SD->PopupWindow.get();
    WindowPicture = pictureAt(SD, PW->WindowPictureIndex);
    MaskPicture = pictureAt(SD, PW->MaskPictureIndex);
    const Integer PWw = WindowPicture->Width(), PWh = WindowPicture->Height();
    W = PWw + RW - PW->ItemsRect.Width();
    H = PWh + C - PW->ItemsRect.Height();
    NewLTPoint = PW->LTPoint;
    NewRTPoint = TPoint{W + PW->RTPoint.X - PWw, PW->RTPoint.Y};
    NewLBPoint = TPoint{PW->LBPoint.X, H + PW->LBPoint.Y - PWh};
    NewRBPoint = TPoint{W + PW->RBPoint.X - PWw, H + PW->RBPoint.Y - PWh};
    NewItemsRect = Rect(PW->ItemsRect.Left, PW->ItemsRect.Top, W + PW->ItemsRect.Right - PWw,
                        H + PW->ItemsRect.Bottom - PWh);
  } else {
    W = RW + 10;
    H = C + 10;
  }
  SetBounds(Left(), Top(), W, H);
  if (FSkinSupport && MaskPicture != nullptr) SetMenuWindowRegion();
}

void TbsSkinImagesMenuPopupWindow::SetMenuWindowRegion() {
  TbsDataSkinPopupWindow* PW = ImagesMenu->SkinData()->PopupWindow.get();
  HRGN Rgn = nullptr;
  ComposeSkinRegion(Rgn, PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                    NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
  SetWindowRgn(Handle(), Rgn, true);
  if (FRgn != nullptr) DeleteObject(FRgn);
  FRgn = Rgn;
}

void TbsSkinImagesMenuPopupWindow::Show(TRect PopupRect) {
  CreateWindowImage();
  // The work area of the form the grid belongs to.
  TCustomForm* F = Screen != nullptr ? Screen->ActiveCustomForm() : nullptr;
  if (F == nullptr && Application != nullptr) F = Application->MainForm();
  HWND Ref = nullptr;
  if (F != nullptr && F->Visible() && F->HandleAllocated())
    Ref = F->Handle();
  else if (auto* O = dynamic_cast<TWinControl*>(ImagesMenu->Owner()); O != nullptr && O->HandleAllocated())
    Ref = O->Handle();
  TRect WA;
  GetScreenRect(true, WA);
  GetMonitorRectOfWindow(Ref, true, WA);
  Integer Y = PopupRect.Bottom;
  if (Y + Height() > WA.Bottom) Y = PopupRect.Top - Height();
  Integer X = PopupRect.Left;
  if (X + Width() > WA.Right) X = WA.Right - Width();
  if (X < WA.Left) X = WA.Left;
  if (Y < WA.Top) Y = WA.Top;
  SetBounds(X, Y, Width(), Height());
  HWND Wnd = Handle();
  const bool CanAlpha = IsWindows2000OrLater();
  const Byte Alpha = ImagesMenu->AlphaBlendValue();
  const bool Fade = CanAlpha && ImagesMenu->AlphaBlend() && ImagesMenu->AlphaBlendAnimation();
  if (CanAlpha && ImagesMenu->AlphaBlend()) {
    SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowAlpha(Wnd, Fade ? 0 : Alpha);
  }
  SetWindowPos(Wnd, HWND_TOPMOST, X, Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  SetVisible(true);
  if (Fade) {
    if (Application != nullptr) Application->ProcessMessages();
    if (FClosed) return;
    Integer Current = 0;
    DWORD Last = GetTickCount();
    while (Current < Alpha) {
      if (GetTickCount() - Last > 5) {
        Current = std::min(Current + 10, Integer(Alpha));
        SetWindowAlpha(Wnd, Byte(Current));
        Last = GetTickCount();
      } else {
        Sleep(1);
      }
    }
  }
  if (Application != nullptr) {
    OldAppMessage = Application->OnMessage;
    Application->OnMessage = [this](MSG& Msg, bool& Handled) { AppMessage(Msg, Handled); };
    FHooked = true;
  }
  SetCapture(Wnd);
}

void TbsSkinImagesMenuPopupWindow::releaseHooks() {
  if (FHooked && Application != nullptr) {
    FHooked = false;
    Application->OnMessage = OldAppMessage;
  }
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TbsSkinImagesMenuPopupWindow::Hide(bool AProcessEvents) {
  if (FClosed) return;
  FClosed = true;
  hideHint();
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  SetVisible(false);
  releaseHooks();
  ImagesMenu->ProcessEvents(AProcessEvents);
}

void TbsSkinImagesMenuPopupWindow::AppMessage(MSG& Msg, bool&) {
  switch (Msg.message) {
    case WM_KEYDOWN:
      ProcessKey(Integer(Msg.wParam));
      Msg.message = 0;
      break;
    case WM_MOUSEWHEEL:
      Msg.message = 0;
      break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // A press elsewhere closes the grid; on the grid itself a right click picks an entry.
      if (Msg.hwnd != Handle()) Hide(false);
      break;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_PARENTNOTIFY:
      Hide(false);
      break;
    default:
      break;
  }
}

Integer TbsSkinImagesMenuPopupWindow::ItemAtPos(Integer X, Integer Y) {
  TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
  for (Integer i = 0; i < Items->Count(); ++i)
    if (!isHeader(i) && PtInRect(&Items->GetItem(i)->ItemRect, TPoint{X, Y})) return i;
  return -1;
}

void TbsSkinImagesMenuPopupWindow::moveHover(Integer NewItem) {
  MouseInItem = NewItem;
  if (MouseInItem == OldMouseInItem) return;
  OldMouseInItem = MouseInItem;
  Repaint();
  IbsSkinHintLink* H = ImagesMenu->hintLink();
  if (ImagesMenu->ShowHints() && MouseInItem != -1 && H != nullptr) {
    H->HideHint();
    const String& Text = ImagesMenu->ImagesItems()->GetItem(MouseInItem)->Hint();
    if (!Text.empty()) H->ActivateHint2(Text);
  }
}

void TbsSkinImagesMenuPopupWindow::TestActive(Integer X, Integer Y) {
  const Integer i = ItemAtPos(X, Y);
  if (i == -1)
    if (IbsSkinHintLink* H = ImagesMenu->hintLink()) H->HideHint();
  moveHover(i);
}

void TbsSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  TestActive(X, Y);
}

void TbsSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  hideHint();
  FDown = true;
  FItemDown = ItemAtPos(X, Y) != -1;
  Repaint();
}

void TbsSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FClosed) return;
  const Integer i = ItemAtPos(X, Y);
  if (FDown && i != -1) {
    ImagesMenu->SetItemIndex(i);
    Hide(true);
    return;
  }
  // The class library dropped the capture with the release; the grid keeps the mouse.
  if (GetCapture() == Handle()) ReleaseCapture();
  SetCapture(Handle());
}

void TbsSkinImagesMenuPopupWindow::ProcessKey(Integer KeyCode) {
  TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
  const Integer N = Items->Count();
  if (N == 0) {
    if (KeyCode == VK_ESCAPE || KeyCode == VK_RETURN || KeyCode == VK_SPACE) Hide(false);
    return;
  }
  auto firstEntry = [&] { return isHeader(0) && N > 1 ? 1 : 0; };
  auto sameColumnOrButton = [&](Integer j, Integer From) {
    TbsImagesMenuItem* E = Items->GetItem(j);
    TbsImagesMenuItem* F = Items->GetItem(From);
    return E->Button() || E->ItemRect.Left == F->ItemRect.Left;
  };
  Integer Cur = MouseInItem;
  Integer New = Cur;
  switch (KeyCode) {
    case VK_RETURN:
    case VK_SPACE:
      if (MouseInItem != -1) ImagesMenu->SetItemIndex(MouseInItem);
      Hide(true);
      return;
    case VK_ESCAPE:
      Hide(false);
      return;
    case VK_LEFT:
      if (Cur == -1 || Cur == firstEntry() || Cur == 0) {
        New = N - 1;
      } else {
        New = Cur - 1;
        while (New > 0 && isHeader(New)) --New;
        if (isHeader(New)) New = N - 1;
      }
      break;
    case VK_UP:
      if (Cur == -1) {
        New = N - 1;
      } else {
        const Integer Row = Items->GetItem(Cur)->ItemRect.Top;
        for (Integer j = Cur - 1; j >= 0; --j)
          if (!isHeader(j) && Items->GetItem(j)->ItemRect.Top < Row && sameColumnOrButton(j, Cur)) {
            New = j;
            break;
          }
      }
      break;
    case VK_RIGHT:
      if (Cur == -1 || Cur == N - 1) {
        New = firstEntry();
      } else {
        New = Cur + 1;
        while (New < N - 1 && isHeader(New)) ++New;
        if (isHeader(New)) New = firstEntry();
      }
      break;
    case VK_DOWN:
      if (Cur == -1) {
        New = firstEntry();
      } else {
        const Integer Row = Items->GetItem(Cur)->ItemRect.Top;
        for (Integer j = Cur + 1; j < N; ++j)
          if (!isHeader(j) && Items->GetItem(j)->ItemRect.Top > Row && sameColumnOrButton(j, Cur)) {
            New = j;
            break;
          }
      }
      break;
    default:
      return;
  }
  if (New != MouseInItem) {
    MouseInItem = OldMouseInItem = New;
    Repaint();
  }
}

// ---- painting ----

void TbsSkinImagesMenuPopupWindow::Paint() {
  TbsSkinData* SD = ImagesMenu->SkinData();
  FSkinSupport = skinLoaded(SD) && SD->PopupWindow->WindowPictureIndex != -1 && WindowPicture != nullptr;
  const Integer S = ImagesMenu->ShowSelectedItem() ? ImagesMenu->ItemIndex() : -1;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(Width(), Height());
  if (FSkinSupport) {
    TbsDataSkinPopupWindow* PW = SD->PopupWindow.get();
    ComposeSkinImage2(PW->LTPoint, PW->RTPoint, PW->LBPoint, PW->RBPoint, PW->ItemsRect, NewLTPoint,
                      NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &B, WindowPicture,
                      Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), Width(), Height(), true,
                      PW->LeftStretch, PW->TopStretch, PW->RightStretch, PW->BottomStretch, PW->StretchEffect,
                      PW->StretchType);
  } else {
    B.Canvas()->Pen()->SetColor(clBtnShadow);
    B.Canvas()->Brush()->SetColor(clWindow);
    B.Canvas()->Rectangle(0, 0, Width(), Height());
  }
  DrawItems(MouseInItem, S, B.Canvas());
  Canvas()->Draw(0, 0, &B);
}

void TbsSkinImagesMenuPopupWindow::DrawItems(Integer AActiveIndex, Integer ASelectedIndex, TCanvas* Cnvs) {
  TbsImagesMenuItems* Items = ImagesMenu->ImagesItems();
  TCustomImageList* Images = ImagesMenu->Images();
  for (Integer i = 0; i < Items->Count(); ++i) {
    TbsImagesMenuItem* E = Items->GetItem(i);
    TRect R = E->ItemRect;
    if (E->Header()) {
      DrawHeaderCaption(E->Caption(), R, Cnvs);
      continue;
    }
    if (i == ASelectedIndex && !FItemDown)
      DrawItemFrame(R, Cnvs, true);
    else if (i == AActiveIndex)
      DrawItemFrame(R, Cnvs, FItemDown);
    Integer t = 0;
    if (Images != nullptr && E->ImageIndex() >= 0 && E->ImageIndex() < Images->Count()) {
      Images->Draw(Cnvs, R.Left + 5, R.Top + 5, E->ImageIndex(), true);
      t = Images->Width() + 5;
    }
    if (E->Button() && !E->Caption().empty()) {
      R.Left += t;
      const bool Pressed = (i == ASelectedIndex && !FItemDown) || (i == AActiveIndex && FItemDown);
      const bool Hot = i == AActiveIndex && !FItemDown && !(i == ASelectedIndex && !FItemDown);
      DrawButtonCaption(E->Caption(), R, Pressed, Hot, Cnvs);
    }
  }
}

void TbsSkinImagesMenuPopupWindow::DrawHeaderCaption(const String& Caption, TRect R, TCanvas* Cnvs) {
  TbsSkinData* SD = ImagesMenu->SkinData();
  TbsDataSkinLabelControl* L = labelElement(SD);
  const UINT Flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
  if (L == nullptr) {
    Cnvs->Brush()->SetStyle(bsClear);
    DrawText(Cnvs->Handle(), Caption, &R, Flags);
    return;
  }
  const TRect& SR = L->SkinRect;
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  ComposeSkinImageH(L->LTPoint.X, SR.Width() - L->RTPoint.X, &B, pictureAt(SD, L->PictureIndex), SR,
                    R.Width(), SR.Height(), L->StretchEffect);
  TCanvas* C = B.Canvas();
  C->Font()->SetColor(L->FontColor);
  C->Font()->SetName(L->FontName);
  C->Font()->SetHeight(L->FontHeight);
  C->Font()->SetStyle(L->FontStyle);
  C->Brush()->SetStyle(bsClear);
  TRect T = Rect(L->ClRect.Left, L->ClRect.Top, B.Width() + L->ClRect.Right - SR.Width(), B.Height());
  DrawText(C->Handle(), Caption, &T, Flags);
  Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsSkinImagesMenuPopupWindow::DrawItemFrame(TRect R, TCanvas* Cnvs, bool ADown) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(R.Width(), R.Height());
  TbsSkinData* SD = ImagesMenu->SkinData();
  TbsDataSkinButtonControl* Btn = FSkinSupport ? buttonElement(SD) : nullptr;
  TBitmap* Pic = Btn != nullptr ? pictureAt(SD, Btn->PictureIndex) : nullptr;
  if (Btn != nullptr && Pic != nullptr) {
    const Integer dw = R.Width() - Btn->SkinRect.Width(), dh = R.Height() - Btn->SkinRect.Height();
    TRect Src = ADown && !IsEmptyRect(Btn->DownSkinRect) ? Btn->DownSkinRect : Btn->ActiveSkinRect;
    if (IsEmptyRect(Src)) Src = Btn->SkinRect;
    ComposeSkinImage(Btn->LTPoint, Btn->RTPoint, Btn->LBPoint, Btn->RBPoint, Btn->ClRect, Btn->LTPoint,
                     TPoint{Btn->RTPoint.X + dw, Btn->RTPoint.Y}, TPoint{Btn->LBPoint.X, Btn->LBPoint.Y + dh},
                     TPoint{Btn->RBPoint.X + dw, Btn->RBPoint.Y + dh},
                     Rect(Btn->ClRect.Left, Btn->ClRect.Top, Btn->ClRect.Right + dw, Btn->ClRect.Bottom + dh),
                     &B, Pic, Src, R.Width(), R.Height(), true, Btn->LeftStretch, Btn->TopStretch,
                     Btn->RightStretch, Btn->BottomStretch, Btn->StretchEffect, Btn->StretchType);
  } else {
    TCanvas* C = B.Canvas();
    C->Brush()->SetColor(TColor(RGB(59, 107, 183)));
    C->FillRect(Rect(0, 0, R.Width(), R.Height()));
    C->Brush()->SetColor(ADown ? TColor(RGB(162, 188, 228)) : TColor(RGB(193, 212, 243)));
    C->FillRect(Rect(1, 1, R.Width() - 1, R.Height() - 1));
  }
  Cnvs->Draw(R.Left, R.Top, &B);
}

void TbsSkinImagesMenuPopupWindow::DrawButtonCaption(const String& Caption, TRect R, bool ADown, bool AActive,
                                                     TCanvas* Cnvs) {
  TbsSkinData* SD = ImagesMenu->SkinData();
  TbsDataSkinButtonControl* Btn = FSkinSupport ? buttonElement(SD) : nullptr;
  TbsDataSkinMenuItem* MI = FSkinSupport ? menuItemObject(SD) : nullptr;
  TFont* F = Cnvs->Font();
  if (Btn != nullptr && MI != nullptr) {
    if (ImagesMenu->UseSkinFont()) {
      F->SetName(Btn->FontName);
      F->SetHeight(Btn->FontHeight);
      F->SetStyle(Btn->FontStyle);
    } else {
      F->Assign(ImagesMenu->DefaultFont());
    }
    F->SetColor(ADown ? Btn->DownFontColor : (AActive ? Btn->ActiveFontColor : MI->FontColor));
  } else {
    F->Assign(ImagesMenu->DefaultFont());
    F->SetColor(clWindowText);
  }
  Cnvs->Brush()->SetStyle(bsClear);
  UINT Flags = DT_SINGLELINE | DT_VCENTER;
  if (Cnvs->TextWidth(Caption) <= R.Width()) Flags |= DT_CENTER;
  DrawText(Cnvs->Handle(), Caption, &R, Flags);
}
