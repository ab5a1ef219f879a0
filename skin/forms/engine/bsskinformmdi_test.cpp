#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "platform/ui/extctrls/panel.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/testkit/skinformtestaccess.h"

namespace {

// An MDI main form with an engine (the application's main form) and children made on demand.
class MDISkinFormTest : public TSkinControlTest {
 protected:
  void MakeMain(bool Skinned = false) {
    Application->CreateForm(Main);
    Main->SetFormStyle(fsMDIForm);
    Main->SetBoundsRect(Rect(50, 50, 650, 450));
    MainEngine = new TbsSkinForm(Main);
    if (Skinned) MainEngine->SetSkinData(Skin.get());
    Main->Show();
    wintest::Pump();
  }
  // A shown child at Bounds in the client area; WithEngine gives it a skinning engine.
  TForm* NewChild(const String& Name, TRect Bounds, bool WithEngine = true) {
    auto* F = new TForm(Application);
    F->AfterConstruction();
    F->SetFormStyle(fsMDIChild);
    F->SetName(Name);
    F->SetCaption(Name);
    F->SetBoundsRect(Bounds);
    if (WithEngine) new TbsSkinForm(F);
    F->Show();
    wintest::Pump();
    return F;
  }
  TRect ClientArea() const {
    TRect R = Rect(-1, -1, -1, -1);
    MainEngine->GetMDIClientRect(R);
    return R;
  }
  TbsSkinScrollBar* HBar() const { return MainEngine->MDIHScrollBar(); }
  TbsSkinScrollBar* VBar() const { return MainEngine->MDIVScrollBar(); }
  // The colour the client window's background painting gives a point.
  COLORREF ClientBackground(Integer X, Integer Y) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(X + 1, Y + 1);
    SendMessage(Main->ClientHandle(), WM_ERASEBKGND, WPARAM(B.Canvas()->Handle()), 0);
    return ColorToRGB(B.Canvas()->Pixels(X, Y));
  }

  TForm* Main = nullptr;
  TbsSkinForm* MainEngine = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The client window

TEST_F(MDISkinFormTest, ClientWindowIsSubclassedAtFirstShowAndHasNoFrameOfItsOwn) {
  MakeMain();
  HWND Client = Main->ClientHandle();
  ASSERT_NE(Client, nullptr);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(Client, GWL_WNDPROC)),
            TbsSkinFormTestAccess::ClientInstance(MainEngine));
  EXPECT_NE(TbsSkinFormTestAccess::PrevClientProc(MainEngine), nullptr);
  EXPECT_EQ(SendMessage(Client, WM_NCACTIVATE, 0, 0), 1);
  RECT R{0, 0, 100, 80};
  EXPECT_EQ(SendMessage(Client, WM_NCCALCSIZE, 0, LPARAM(&R)), 0);
  EXPECT_EQ(R.Right, 100) << "the whole window stays client";
  EXPECT_EQ(R.Bottom, 80);
  // The bars exist from the start, hidden, on the form.
  ASSERT_NE(HBar(), nullptr);
  ASSERT_NE(VBar(), nullptr);
  EXPECT_FALSE(HBar()->Visible());
  EXPECT_EQ(HBar()->Parent(), Main);
  EXPECT_EQ(HBar()->Kind(), sbHorizontal);
  EXPECT_EQ(VBar()->Kind(), sbVertical);
  EXPECT_EQ(HBar()->Height(), 17);
  EXPECT_EQ(VBar()->Width(), 17);
}

TEST_F(MDISkinFormTest, ClientBackgroundFollowsTheSkin) {
  MakeMain();
  EXPECT_EQ(ClientBackground(5, 5), ColorToRGB(clAppWorkSpace)) << "no skin";
  MainEngine->SetSkinData(Skin.get());
  // No background picture: the client part of the frame picture, whose top-left is a left-border slice.
  EXPECT_EQ(ClientBackground(0, 0), COLORREF(GeneratedSkinSliceColor(63, 0, 3)));
  EXPECT_EQ(HBar()->SkinData(), Skin.get()) << "the bars take the form's skin";
  // An MDI background picture (here the control sheet) wins, tiled from the corner.
  Skin->MDIBGPictureIndex = 0;
  EXPECT_EQ(ClientBackground(0, 0), COLORREF(GeneratedSkinSliceColor(0, 0, 0)));
  Skin->MDIBGPictureIndex = -1;
}

TEST_F(MDISkinFormTest, EngineFreedBeforeItsFormGivesTheClientItsProcedureBack) {
  MakeMain();
  HWND Client = Main->ClientHandle();
  WNDPROC Previous = TbsSkinFormTestAccess::PrevClientProc(MainEngine);
  delete MainEngine;
  MainEngine = nullptr;
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(Client, GWL_WNDPROC)), Previous);
  // The client still works on its own: sizing the form reaches it without the engine.
  Main->SetBounds(60, 60, 500, 300);
  wintest::Pump();
  EXPECT_TRUE(IsWindow(Client));
}

// ---------------------------------------------------------------------------------------------
// The scroll bars

TEST_F(MDISkinFormTest, ClientRectLeavesVisibleAlignedControlsOut) {
  MakeMain();
  auto panel = [&](TAlign A, Integer Size, bool Visible) {
    auto* P = new TPanel(Main);
    P->SetParent(Main);
    P->SetAlign(A);
    if (A == alLeft || A == alRight)
      P->SetWidth(Size);
    else
      P->SetHeight(Size);
    P->SetVisible(Visible);
  };
  panel(alTop, 30, true);
  panel(alLeft, 40, true);
  panel(alRight, 25, true);
  panel(alBottom, 20, false);
  EXPECT_EQ(ClientArea(), Rect(40, 30, Main->ClientWidth() - 25, Main->ClientHeight()));
}

TEST_F(MDISkinFormTest, BarsAppearForChildrenOutsideTheClientArea) {
  MakeMain();
  const TRect A = ClientArea();
  TForm* C = NewChild("One", Rect(10, 10, 210, 160));
  EXPECT_FALSE(HBar()->Visible());
  EXPECT_FALSE(VBar()->Visible());

  // Dragged partly above the area: the vertical bar alone, its position the overhang.
  C->SetTop(-40);
  wintest::Pump();
  EXPECT_TRUE(VBar()->Visible());
  EXPECT_FALSE(HBar()->Visible());
  EXPECT_EQ(VBar()->Position(), 40);
  EXPECT_EQ(VBar()->BoundsRect(), Rect(A.Right - 17, A.Top, A.Right, A.Bottom));
  EXPECT_EQ(VBar()->PageSize(), A.Height());

  // Also past the right edge: both bars, the horizontal one with the corner marker and the
  // vertical one shortened by it.
  C->SetLeft(A.Width() - 50);
  wintest::Pump();
  EXPECT_TRUE(HBar()->Visible());
  EXPECT_TRUE(VBar()->Visible());
  EXPECT_TRUE(HBar()->Both());
  EXPECT_EQ(HBar()->BoundsRect(), Rect(A.Left, A.Bottom - 17, A.Right, A.Bottom));
  EXPECT_EQ(VBar()->BoundsRect(), Rect(A.Right - 17, A.Top, A.Right, A.Bottom - 17));
  EXPECT_EQ(HBar()->Position(), 0);
  EXPECT_EQ(HBar()->PageSize(), A.Width() - 17);
  EXPECT_EQ(HBar()->Max(), A.Width() - 50 + 200 - 1);

  // Back inside: both go.
  C->SetBounds(10, 10, 200, 150);
  wintest::Pump();
  EXPECT_FALSE(HBar()->Visible());
  EXPECT_FALSE(VBar()->Visible());
}

TEST_F(MDISkinFormTest, BarsScrollEveryVisibleChild) {
  MakeMain();
  const TRect A = ClientArea();
  TForm* Wide = NewChild("Wide", Bounds(A.Width() - 100, 10, 300, 100));
  TForm* Other = NewChild("Other", Bounds(20, 150, 100, 100));
  ASSERT_TRUE(HBar()->Visible());
  // The thumb dragged by 30: the bar reports its last change, the children move 30 to the left.
  HBar()->SetPosition(30);
  HBar()->OnLastChange(HBar());
  EXPECT_EQ(Wide->Left(), A.Width() - 130);
  EXPECT_EQ(Other->Left(), -10);
  EXPECT_EQ(HBar()->Position(), 30) << "scrolling keeps the range";
  // A press on the bar's right arrow scrolls 10 more.
  TRect Up = HBar()->Buttons[TbsSkinScrollBar::UpButton].R;
  TPoint P = HBar()->ClientToScreen(Point((Up.Left + Up.Right) / 2, (Up.Top + Up.Bottom) / 2));
  wintest::Click(P);
  wintest::Pump();
  EXPECT_EQ(HBar()->Position(), 40);
  EXPECT_EQ(Other->Left(), -20);
  EXPECT_EQ(Wide->Left(), A.Width() - 140);
}

TEST_F(MDISkinFormTest, HiddenOrDestroyedChildLeavesTheExtent) {
  MakeMain();
  const TRect A = ClientArea();
  NewChild("Inside", Rect(10, 10, 110, 110));
  TForm* Out = NewChild("Out", Bounds(10, A.Height() - 20, 100, 100));
  ASSERT_TRUE(VBar()->Visible());
  Out->Hide();
  wintest::Pump();
  EXPECT_FALSE(VBar()->Visible()) << "a hidden child counts no more";
  Out->Show();
  wintest::Pump();
  ASSERT_TRUE(VBar()->Visible());
  delete Out;
  wintest::Pump();
  EXPECT_FALSE(VBar()->Visible()) << "nor does a destroyed one";
}

TEST_F(MDISkinFormTest, NoBarsWithoutShowMDIScrollBarsOrWithAMaximizedChild) {
  MakeMain();
  MainEngine->SetShowMDIScrollBars(false);
  TForm* C = NewChild("One", Rect(-50, -50, 150, 150));
  EXPECT_FALSE(HBar()->Visible());
  EXPECT_FALSE(VBar()->Visible());
  MainEngine->SetShowMDIScrollBars(true);
  MainEngine->UpdateMDIScrollBars(true);
  ASSERT_TRUE(VBar()->Visible());
  TbsSkinFormTestAccess::MDIChildMaximized(MainEngine) = true;
  C->SetTop(-60);
  wintest::Pump();
  EXPECT_FALSE(HBar()->Visible());
  EXPECT_FALSE(VBar()->Visible());
}

// Switching between the engine's frame and the system's on an MDI main form: refused while it has
// children; without them the form stays on screen (it is never hidden to be re-maximized), and its
// client window keeps going through the engine, whichever frame it has.
TEST_F(MDISkinFormTest, SwitchingTheFrameOfAnMDIMainForm) {
  MakeMain(true);
  TForm* C = NewChild("One", Rect(10, 10, 210, 160));
  MainEngine->SetSkinnableForm(false);
  EXPECT_TRUE(MainEngine->GetSkinnableForm()) << "refused while a child is open";
  delete C;
  wintest::Pump();

  MainEngine->SetWindowState(wsMaximized);
  Integer Hidden = 0;
  Main->OnHide = [&](TObject*) { ++Hidden; };
  for (const bool Skinnable : {false, true}) {
    SCOPED_TRACE(Skinnable);
    MainEngine->SetSkinnableForm(Skinnable);
    wintest::Pump();
    EXPECT_EQ(MainEngine->GetSkinnableForm(), Skinnable);
    EXPECT_EQ(Hidden, 0);
    EXPECT_TRUE(IsWindowVisible(Main->Handle()));
    // Maximized still, by the frame it has now.
    if (Skinnable) {
      EXPECT_EQ(MainEngine->WindowState(), wsMaximized);
    } else {
      EXPECT_EQ(Main->WindowState(), wsMaximized);
    }
    HWND Client = Main->ClientHandle();
    ASSERT_NE(Client, nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(Client, GWL_WNDPROC)),
              TbsSkinFormTestAccess::ClientInstance(MainEngine));
    // A new child opens in the client area the engine manages.
    TForm* D = NewChild("Two", Rect(10, 10, 210, 160));
    EXPECT_EQ(D->Parent(), nullptr);
    EXPECT_EQ(GetParent(D->Handle()), Client);
    delete D;
    wintest::Pump();
  }
  Main->OnHide = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The lookups

TEST_F(MDISkinFormTest, MaximizedAndActiveChildLookups) {
  EXPECT_EQ(GetActiveMDIChildSkinForm(), nullptr) << "no main form";
  EXPECT_EQ(GetMaximizedMDIChildSkinForm(), nullptr);
  MakeMain();
  EXPECT_EQ(GetActiveMDIChildSkinForm(), nullptr) << "no child";
  EXPECT_EQ(MainEngine->GetMaximizedMDIChild(), nullptr);
  TForm* Bare = NewChild("Bare", Rect(0, 0, 100, 100), false);
  TForm* A = NewChild("A", Rect(10, 10, 110, 110));
  TForm* B = NewChild("B", Rect(20, 20, 120, 120));
  TForm* C = NewChild("C", Rect(30, 30, 130, 130));
  // The last one shown is active and first in the client's order.
  ASSERT_EQ(Main->ActiveMDIChild(), C);
  EXPECT_EQ(GetActiveMDIChildSkinForm(), GetSkinFormOf(C));
  EXPECT_EQ(GetMaximizedMDIChildSkinForm(), nullptr);

  // Two maximized, neither active: the first in the children's order.
  TbsSkinFormTestAccess::Mode(GetSkinFormOf(A)).WindowStateInit = wsMaximized;
  TbsSkinFormTestAccess::Mode(GetSkinFormOf(B)).WindowStateInit = wsMaximized;
  ASSERT_EQ(Main->MDIChildren(1), B);
  EXPECT_EQ(MainEngine->GetMaximizedMDIChild(), B);
  EXPECT_EQ(GetMaximizedMDIChildSkinForm(), GetSkinFormOf(B));
  // A maximized active child comes first.
  TbsSkinFormTestAccess::Mode(GetSkinFormOf(C)).WindowStateInit = wsMaximized;
  EXPECT_EQ(MainEngine->GetMaximizedMDIChild(), C);
  // A child without an engine is never the maximized one, and has no engine to be active with.
  Bare->Show();
  Main->ActiveMDIChild()->SetFocus();
  SendMessage(Main->ClientHandle(), WM_MDIACTIVATE, WPARAM(Bare->Handle()), 0);
  ASSERT_EQ(Main->ActiveMDIChild(), Bare);
  EXPECT_EQ(GetActiveMDIChildSkinForm(), nullptr);
  EXPECT_EQ(MainEngine->GetMaximizedMDIChild(), C) << "C is next in the order now";
  for (TForm* F : {A, B, C}) TbsSkinFormTestAccess::Mode(GetSkinFormOf(F)).WindowStateInit = wsNormal;
}

// ---------------------------------------------------------------------------------------------
// A child's window procedure

TEST_F(MDISkinFormTest, MaximizedChildFillsTheClientAndIsUndoneWhenDestroyed) {
  MakeMain();
  TForm* C = NewChild("One", Rect(10, 10, 210, 160));
  TbsSkinForm* E = GetSkinFormOf(C);
  E->SetWindowState(wsMaximized);
  wintest::Pump();
  const TRect A = ClientArea();
  EXPECT_EQ(C->BoundsRect(), Rect(0, 0, A.Width(), A.Height()));
  EXPECT_EQ(C->ClientRect(), Rect(0, 0, A.Width(), A.Height())) << "no frame of its own";
  EXPECT_TRUE(MainEngine->GetMDIChildMaximized());
  EXPECT_EQ(SendMessage(Main->Handle(), WM_MDICHILDMAXIMIZED, 0, 0), 1);
  // A new child opens maximized like its sibling.
  TForm* D = NewChild("Two", Rect(20, 20, 220, 170));
  EXPECT_EQ(GetSkinFormOf(D)->WindowState(), wsMaximized);
  // The main form's client grows: the maximized children re-fit.
  Main->SetBounds(50, 50, 700, 500);
  wintest::Pump();
  EXPECT_EQ(C->Width(), ClientArea().Width());
  EXPECT_EQ(D->Height(), ClientArea().Height());
  delete D;
  wintest::Pump();
  EXPECT_TRUE(MainEngine->GetMDIChildMaximized()) << "one is still maximized";
  delete C;
  wintest::Pump();
  EXPECT_FALSE(MainEngine->GetMDIChildMaximized()) << "the last maximized child went";
  EXPECT_EQ(SendMessage(Main->Handle(), WM_MDICHILDMAXIMIZED, 0, 0), 0);
}

// The default look's caption of a main form with a maximized child names the child, as the skinned
// caption does: "Main - [Doc]", centred in the caption bar.
TEST_F(MDISkinFormTest, TheDefaultCaptionNamesTheMaximizedChild) {
  SetTestFontMode(true);
  MakeMain();
  Main->SetCaption("Main");
  TForm* C = NewChild("Doc", Rect(10, 10, 210, 160));
  // The ink of the caption bar's middle row: the first and last columns in the caption font's colour.
  auto captionInk = [&] {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(Main->Width(), Main->Height());
    MainEngine->PaintNCDefault(B.Canvas()->Handle(), true);
    TRect Cap;
    MainEngine->GetDefCaptionRect(Cap);
    const Integer Y = 3 + MainEngine->GetDefCaptionHeight() / 2;
    const COLORREF Ink = ColorToRGB(MainEngine->DefCaptionFont()->Color());
    Integer First = -1, Last = -1;
    for (Integer X = Cap.Left; X < Cap.Right; ++X)
      if (COLORREF(ColorToRGB(B.Canvas()->Pixels(X, Y))) == Ink) {
        if (First < 0) First = X;
        Last = X;
      }
    return Last - First + 1;
  };
  // The same text in the caption font, measured the same way.
  auto inkOf = [&](const String& Text) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(400, 40);
    B.Canvas()->Brush()->SetColor(clWhite);
    B.Canvas()->FillRect(Rect(0, 0, 400, 40));
    B.Canvas()->Font()->Assign(MainEngine->DefCaptionFont());
    B.Canvas()->Brush()->SetStyle(bsClear);
    B.Canvas()->TextOut(5, 5, Text);
    const Integer Y = 5 + B.Canvas()->TextHeight(Text) / 2;
    const COLORREF Ink = ColorToRGB(MainEngine->DefCaptionFont()->Color());
    Integer First = -1, Last = -1;
    for (Integer X = 0; X < 400; ++X)
      if (COLORREF(ColorToRGB(B.Canvas()->Pixels(X, Y))) == Ink) {
        if (First < 0) First = X;
        Last = X;
      }
    return Last - First + 1;
  };
  EXPECT_EQ(captionInk(), inkOf("Main"));
  GetSkinFormOf(C)->SetWindowState(wsMaximized);
  wintest::Pump();
  ASSERT_TRUE(MainEngine->GetMDIChildMaximized());
  EXPECT_EQ(captionInk(), inkOf("Main - [Doc]"));
  GetSkinFormOf(C)->SetWindowState(wsNormal);
  wintest::Pump();
  EXPECT_EQ(captionInk(), inkOf("Main"));
  SetTestFontMode(false);
}

// A child dragged inside the main form snaps to the edges of the MDI client area, not to the screen's
// work area.
TEST_F(MDISkinFormTest, AChildSnapsToTheEdgesOfTheClientArea) {
  MakeMain();
  TForm* C = NewChild("One", Rect(40, 40, 240, 190));
  TbsSkinForm* E = GetSkinFormOf(C);
  E->SetMagnetic(true);
  TRect A = ClientArea();
  const TPoint O = Main->ClientToScreen({0, 0});
  OffsetRect(&A, O.X, O.Y);
  // Where a drag would put the child (screen coordinates) and where it goes.
  const struct {
    const char* Edge;
    TPoint Proposed, Placed;
  } Cases[] = {
      {"left", {A.Left + 3, A.Top + 40}, {A.Left, A.Top + 40}},
      {"top", {A.Left + 40, A.Top + 4}, {A.Left + 40, A.Top}},
      {"right", {A.Right - 200 - 2, A.Top + 40}, {A.Right - 200, A.Top + 40}},
      {"bottom", {A.Left + 40, A.Bottom - 150 + 3}, {A.Left + 40, A.Bottom - 150}},
      {"none", {A.Left + 40, A.Top + 40}, {A.Left + 40, A.Top + 40}},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Edge);
    TbsSkinFormTestAccess::ClearSnap(E);
    wintest::SetCursorPosition({K.Proposed.X + 50, K.Proposed.Y + 10});
    TRect R = Bounds(K.Proposed.X, K.Proposed.Y, 200, 150);
    SendMessage(C->Handle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
    EXPECT_EQ(R, Bounds(K.Placed.X, K.Placed.Y, 200, 150));
  }
}

TEST_F(MDISkinFormTest, MouseActivationOfTheActiveChildMarksItsFrameActive) {
  MakeMain();
  NewChild("A", Rect(10, 10, 110, 110));
  TForm* B = NewChild("B", Rect(20, 20, 120, 120));
  ASSERT_EQ(Main->ActiveMDIChild(), B);
  // Its frame was left inactive (as after the main form lost and got back the activation).
  TbsSkinForm* EB = GetSkinFormOf(B);
  TbsSkinFormTestAccess::Mode(EB).FormActive = false;
  SendMessage(B->Handle(), WM_MOUSEACTIVATE, WPARAM(Main->Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_TRUE(EB->Mode().FormActive);
}

TEST_F(MDISkinFormTest, MaximizedChildsNewCaptionRepaintsTheMainFormsCaption) {
  MakeMain();
  Main->SetCaption("Main");
  std::vector<String> Painted;
  TForm* C = NewChild("One", Rect(10, 10, 210, 160));
  MainEngine->OnCaptionPaint = [&](TCanvas*, const TRect&, bool) { Painted.push_back("main"); };
  C->SetCaption("Renamed");
  EXPECT_TRUE(Painted.empty()) << "a child in its frame shows its own caption";
  GetSkinFormOf(C)->SetWindowState(wsMaximized);
  wintest::Pump();
  Painted.clear();
  C->SetCaption("Again");
  EXPECT_FALSE(Painted.empty());
  MainEngine->OnCaptionPaint = nullptr;
}
