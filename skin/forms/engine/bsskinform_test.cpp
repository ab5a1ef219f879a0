#include "skin/forms/engine/bsskinform.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/core/screen.h"
#include "platform/ui/graphics/imagelist.h"
#include "skin/controls/bars/bsskintoolbar.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/frame/bsskincaptionobject.h"
#include "skin/forms/testkit/skinformtestaccess.h"

using namespace wintest;

namespace {

class SkinFormTest : public TSkinControlTest {
 protected:
  // A shown form with an engine; Skinned gives it the generated skin.
  TbsSkinForm* MakeForm(TRect Bounds, bool Skinned, TFormBorderStyle BS = bsSizeable) {
    Form = NewForm(Bounds);
    Form->SetBorderStyle(BS);
    Engine = new TbsSkinForm(Form);
    if (Skinned) Engine->SetSkinData(Skin.get());
    Pump();
    return Engine;
  }
  // The hit-test answer for a point in frame coordinates.
  LRESULT HitAt(Integer X, Integer Y) {
    return SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Form->Left() + X, Form->Top() + Y));
  }
  TbsActiveSkinObject* Object(const String& Name) {
    const Integer I = Engine->GetIndex(Name);
    return I < 0 ? nullptr : Engine->Objects(I);
  }

  TForm* Form = nullptr;
  TbsSkinForm* Engine = nullptr;
};

struct THitCase {
  Integer X, Y;
  LRESULT Code;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Attachment

TEST_F(SkinFormTest, OwnerMustBeAForm) {
  TComponent NotAForm(nullptr);
  EXPECT_THROW(TbsSkinForm E(&NotAForm), EInvalidCast);
}

TEST_F(SkinFormTest, AttachingTakesTheFrameAndDetachingGivesTheProcedureBack) {
  Form = NewForm(Rect(100, 100, 400, 300));
  TMessage Probe{WM_NCCALCSIZE, 0, 0, 0};
  (void)Probe;
  Engine = new TbsSkinForm(Form);
  EXPECT_TRUE(Form->BorderIcons().Empty()) << "the engine draws its own buttons";
  EXPECT_EQ(Engine->BorderIcons(), (TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                                                   TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp}));
  // Default look: a 3-pixel frame around a 19-pixel caption.
  EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 300 - 6, 200 - 19 - 6));
  delete Engine;
  Engine = nullptr;
  // The form's own procedure answers again: its hit test knows nothing of the engine's HTOBJECT.
  EXPECT_NE(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(103, 103)), LRESULT(HTOBJECT));
}

TEST_F(SkinFormTest, GetSkinFormOfTakesTheFirstEngine) {
  Form = NewForm();
  EXPECT_EQ(GetSkinFormOf(Form), nullptr);
  EXPECT_EQ(GetSkinFormOf(nullptr), nullptr);
  auto* First = new TbsSkinForm(Form);
  new TbsSkinForm(Form);
  EXPECT_EQ(GetSkinFormOf(Form), First);
}

TEST_F(SkinFormTest, ClientAreaFollowsTheFrame) {
  struct {
    bool Skinned;
    TFormBorderStyle BS;
    TRect Client;
  } Cases[] = {
      {false, bsSizeable, Rect(0, 0, 300 - 6, 200 - 25)},
      {false, bsToolWindow, Rect(0, 0, 300 - 6, 200 - 21)},
      // The generated frame: client rectangle (4, 24) - (196, 116) of a 200 x 120 picture.
      {true, bsSizeable, Rect(0, 0, 300 - 8, 200 - 28)},
      {true, bsNone, Rect(0, 0, 300, 200)},
  };
  for (const auto& C : Cases) {
    MakeForm(Rect(100, 100, 400, 300), C.Skinned, C.BS);
    EXPECT_EQ(Form->ClientRect(), C.Client) << C.Skinned << " " << int(C.BS);
    delete Form;
  }
  Form = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Hit testing

TEST_F(SkinFormTest, DefaultLookHitTestTable) {
  MakeForm(Rect(100, 100, 400, 300), false);
  const THitCase Cases[] = {
      {2, 2, HTTOPLEFT},         {297, 2, HTTOPRIGHT}, {2, 197, HTBOTTOMLEFT},
      {297, 197, HTBOTTOMRIGHT}, {1, 100, HTLEFT},     {297, 100, HTRIGHT},
      {150, 1, HTTOP},           {150, 199, HTBOTTOM}, {3, 3, HTOBJECT},  // the system-menu button
      {100, 10, HTCAPTION},      {100, 100, HTCLIENT},
  };
  for (const auto& C : Cases) EXPECT_EQ(HitAt(C.X, C.Y), C.Code) << C.X << "," << C.Y;
}

TEST_F(SkinFormTest, MaximizedAndFixedFormsAnswerNoSizingCodes) {
  MakeForm(Rect(100, 100, 400, 300), false);
  Engine->SetWindowState(wsMaximized);
  EXPECT_EQ(HitAt(1, 100), LRESULT(HTOBJECT));
  EXPECT_EQ(HitAt(100, 10), LRESULT(HTCAPTION));
  delete Form;
  MakeForm(Rect(100, 100, 400, 300), false, bsSingle);
  EXPECT_EQ(HitAt(1, 100), LRESULT(HTOBJECT));
  EXPECT_EQ(HitAt(2, 2), LRESULT(HTOBJECT));
}

TEST_F(SkinFormTest, SkinnedHitTestTable) {
  // 300 x 200 on the 200 x 120 frame: dw = 100, dh = 80; border width 4; hot spots 10 in from the
  // corners; caption buttons packed from the right of the buttons area (220, 2) - (296, 22).
  MakeForm(Rect(100, 100, 400, 300), true);
  const THitCase Cases[] = {
      {1, 1, HTTOPLEFT},    {298, 2, HTTOPRIGHT}, {1, 198, HTBOTTOMLEFT}, {298, 198, HTBOTTOMRIGHT},
      {150, 1, HTTOP},      {150, 198, HTBOTTOM}, {1, 100, HTLEFT},       {298, 100, HTRIGHT},
      {100, 12, HTCAPTION}, {150, 100, HTCLIENT}, {286, 12, HTOBJECT},  // the close button
      {10, 12, HTOBJECT},                                               // the system-menu button
  };
  for (const auto& C : Cases) EXPECT_EQ(HitAt(C.X, C.Y), C.Code) << C.X << "," << C.Y;
}

TEST_F(SkinFormTest, HoveredObjectShowsItsHint) {
  MakeForm(Rect(100, 100, 400, 300), true);
  TbsSkinHint Hint(nullptr);
  Engine->SetSkinHint(&Hint);
  Engine->SetShowObjectHint(true);
  const TRect Close = Engine->Objects(Engine->GetIndex("closebutton"))->ObjectRect;
  Engine->TestActive(Close.Left + 2, Close.Top + 2, true);
  EXPECT_EQ(Engine->Mode().ActiveObject, Engine->GetIndex("closebutton"));
  EXPECT_TRUE(Hint.TimerRunning()) << "the close button's hint is on its way";
  Engine->TestActive(-1, -1, false);
  EXPECT_FALSE(Hint.TimerRunning());
  EXPECT_FALSE(Hint.IsVisible());
  Engine->SetSkinHint(nullptr);
}

TEST_F(SkinFormTest, QuickButtonsAreNotCaption) {
  MakeForm(Rect(100, 100, 400, 300), true);
  TCustomImageList Images(nullptr);
  Images.SetWidth(16);
  Engine->SetQuickImageList(&Images);
  Engine->QuickButtons()->Add();
  Engine->QuickButtons()->Add();
  // Two 16-pixel quick buttons take 2 * (16 + 8) + 7 = 55 pixels of the caption object.
  const TRect Caption = Engine->Objects(Engine->GetIndex("caption"))->ObjectRect;
  EXPECT_EQ(Engine->PtInCaptionArea(Point(Caption.Left + 55, 12)), false);
  EXPECT_EQ(Engine->PtInCaptionArea(Point(Caption.Left + 56, 12)), true);
  Engine->SetQuickImageList(nullptr);
  EXPECT_EQ(Engine->PtInCaptionArea(Point(Caption.Left + 20, 12)), true);
}

// ---------------------------------------------------------------------------------------------
// Frame objects

TEST_F(SkinFormTest, DefaultButtonsAreLaidOutFromTheRight) {
  MakeForm(Rect(100, 100, 500, 300), false);
  Engine->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                          TbsBorderIcon::biRollUp, TbsBorderIcon::biMinimizeToTray});
  TRect Caption;
  Engine->GetDefCaptionRect(Caption);
  const struct {
    const char* Name;
    Integer Left, Right;
  } Cases[] = {{"closebutton", 380, 397},  {"maxbutton", 363, 380},  {"minbutton", 346, 363},
               {"rollupbutton", 329, 346}, {"traybutton", 312, 329}, {"sysmenubutton", 3, 20}};
  for (const auto& C : Cases) {
    TbsActiveSkinObject* O = Object(C.Name);
    ASSERT_NE(O, nullptr) << C.Name;
    EXPECT_EQ(O->ObjectRect, Rect(C.Left, 4, C.Right, 21)) << C.Name;
  }
  EXPECT_EQ(Caption.Left, 20);
  EXPECT_EQ(Caption.Right, 312);
}

TEST_F(SkinFormTest, BorderIconsDecideWhichButtonsShowAndTheRestCloseTheGap) {
  MakeForm(Rect(100, 100, 400, 300), true);
  const TRect CloseAt = Object("closebutton")->ObjectRect;
  const TRect MinBefore = Object("minbutton")->ObjectRect;
  Engine->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize});
  EXPECT_FALSE(Object("maxbutton")->Visible);
  EXPECT_FALSE(Object("maxbutton")->Enabled);
  EXPECT_FALSE(Object("rollupbutton")->Visible);
  EXPECT_TRUE(Object("minbutton")->Visible);
  // The minimize button moves into the maximize button's place, next to close.
  EXPECT_EQ(Object("closebutton")->ObjectRect, CloseAt);
  EXPECT_EQ(Object("minbutton")->ObjectRect.Right, CloseAt.Left - 2);
  EXPECT_GT(Object("minbutton")->ObjectRect.Left, MinBefore.Left);
  EXPECT_EQ(Engine->GetIndex("nosuchobject"), -1);
}

TEST_F(SkinFormTest, DialogCloseButtonStandsInForCloseOnDialogIcons) {
  auto Dialog = std::make_unique<TbsDataSkinStdButton>("dialogclosebutton");
  Dialog->Command = cmClose;
  Dialog->SkinRectInAPicture = true;
  Dialog->SkinRect = Rect(0, 0, 16, 16);
  Skin->AddObject(std::move(Dialog));
  MakeForm(Rect(100, 100, 400, 300), true);
  const struct {
    TbsBorderIcons Icons;
    bool DialogShown;
  } Cases[] = {{{}, true},
               {{TbsBorderIcon::biSystemMenu}, true},
               {{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize}, false}};
  for (const auto& C : Cases) {
    Engine->SetBorderIcons(C.Icons);
    EXPECT_EQ(Object("dialogclosebutton")->Visible, C.DialogShown);
    EXPECT_EQ(Object("dialogclosebutton")->Enabled, C.DialogShown);
    if (C.DialogShown) {
      EXPECT_FALSE(Object("closebutton")->Visible);
    }
  }
}

TEST_F(SkinFormTest, ObjectRectanglesFollowTheFrameZones) {
  MakeForm(Rect(100, 100, 400, 300), true);  // dx = 100, dy = 80
  const struct {
    TRect In, Out;
  } Cases[] = {
      {Rect(2, 2, 10, 10), Rect(2, 2, 10, 10)},              // left top: stays
      {Rect(180, 2, 190, 10), Rect(280, 2, 290, 10)},        // right top: moves right
      {Rect(2, 100, 10, 110), Rect(2, 180, 10, 190)},        // left bottom: moves down
      {Rect(180, 100, 190, 110), Rect(280, 180, 290, 190)},  // right bottom: both
      {Rect(10, 2, 190, 10), Rect(10, 2, 290, 10)},          // across the top: stretches
      {Rect(2, 10, 10, 110), Rect(2, 10, 10, 190)},          // down the left: stretches
      {Rect(10, 10, 190, 110), Rect(10, 10, 290, 190)},      // over everything: both ways
  };
  for (const auto& C : Cases) {
    TRect R;
    Engine->GetNewObjectRect(C.In, R);
    EXPECT_EQ(R, C.Out);
  }
}

// ---------------------------------------------------------------------------------------------
// Size limits

TEST_F(SkinFormTest, MinimumSizes) {
  MakeForm(Rect(100, 100, 400, 300), false);
  EXPECT_EQ(Engine->GetMinWidth(), 120);
  EXPECT_EQ(Engine->GetMinHeight(), 25);
  Engine->SetMinWidth(400);
  EXPECT_EQ(Engine->GetMinWidth(), 400);
  Engine->SetMinWidth(0);
  Engine->SetSkinData(Skin.get());
  EXPECT_EQ(Engine->GetMinWidth(), 120) << "the skin's own minimum";
  EXPECT_EQ(Engine->GetMinHeight(), 60);
  Engine->SetMinHeight(90);
  EXPECT_EQ(Engine->GetMinHeight(), 90);
  Engine->SetRollUpState(true);
  EXPECT_EQ(Engine->GetMinHeight(), 60) << "rolled up, the form's own minimum does not count";
}

TEST_F(SkinFormTest, SizingKeepsTheMinimum) {
  MakeForm(Rect(100, 100, 400, 300), true);
  MINMAXINFO I{};
  SendMessage(Form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&I));
  EXPECT_EQ(I.ptMinTrackSize, Point(120, 60));
  const TRect Work = Screen->WorkAreaRect();
  EXPECT_EQ(I.ptMaxTrackSize, Point(Work.Width(), Work.Height()));
  // A window made smaller in code than the skin's frame allows is put back on the skin load.
  Form->SetBounds(100, 100, 50, 30);
  Engine->ApplySkinData();
  EXPECT_EQ(Form->Width(), 120);
  EXPECT_EQ(Form->Height(), 60);
}

// ---------------------------------------------------------------------------------------------
// Moving with snapping

TEST_F(SkinFormTest, MoveLoopSnapsToTheWorkAreaEdge) {
  MakeForm(Rect(100, 100, 400, 300), false);
  Engine->SetMagnetic(true);
  std::vector<TRect> Moving;
  const TWndMethod Inner = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    Inner(M);
    if (M.Msg == WM_MOVING) Moving.push_back(*reinterpret_cast<TRect*>(M.LParam));
  };
  // Grab the caption at (200, 110) and drag so the form would sit 4 pixels from the left edge.
  OnNextModalLoop([] {
    MouseMove({104, 150});
    MouseUp({104, 150});
  });
  MouseDown({200, 110});
  ASSERT_FALSE(Moving.empty());
  for (const TRect& R : Moving) EXPECT_EQ(R, Rect(0, 140, 300, 340));
  EXPECT_EQ(Form->BoundsRect(), Rect(0, 140, 300, 340));
  EXPECT_EQ(GetCapture(), nullptr);
  Form->WindowProc = Inner;
}

TEST_F(SkinFormTest, SnappedFormHoldsUntilTheCursorLeavesByMoreThanTheMagneticSize) {
  MakeForm(Rect(100, 100, 400, 300), false);
  Engine->SetMagnetic(true);
  const TRect Work = Screen->WorkAreaRect();
  const HWND H = Form->Handle();
  SetCursorPosition({200, 110});
  SendMessage(H, WM_ENTERSIZEMOVE, 0, 0);
  // Each step: where the cursor is, where the drag would put the form's left edge, where it goes.
  const struct {
    Integer CursorX, ProposedLeft, Left;
  } Steps[] = {
      {104, 4, 0},    // within 5 of the left edge: snaps, remembering the cursor at 104
      {101, 1, 0},    // 3 from the snap point: held
      {109, 9, 0},    // exactly 5 from the snap point: still held, but no longer near the edge
      {111, 11, 11},  // more than 5: free, where the drag puts it
      {150, 50, 50},  // far away: plain dragging
  };
  for (const auto& S : Steps) {
    SetCursorPosition({S.CursorX, 110});
    TRect R = Bounds(S.ProposedLeft, 100, 300, 200);
    SendMessage(H, WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
    EXPECT_EQ(R, Bounds(S.Left, 100, 300, 200)) << S.CursorX;
  }
  // The right edge of the work area snaps the same way.
  TRect R = Bounds(Work.Right - 300 + 3, 100, 300, 200);
  SetCursorPosition({Work.Right - 100, 110});
  SendMessage(H, WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R.Right, Work.Right);
  SendMessage(H, WM_EXITSIZEMOVE, 0, 0);
  // Without Magnetic nothing snaps.
  Engine->SetMagnetic(false);
  R = Bounds(4, 100, 300, 200);
  SendMessage(H, WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R.Left, 4);
}

TEST_F(SkinFormTest, MaximizedFormCannotBeDragged) {
  MakeForm(Rect(100, 100, 400, 300), false);
  Engine->SetWindowState(wsMaximized);
  const TRect At = Form->BoundsRect();
  TRect Drag = Rect(50, 50, 350, 250);
  SendMessage(Form->Handle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&Drag));
  EXPECT_EQ(Drag, At);
}

// ---------------------------------------------------------------------------------------------
// Window states

TEST_F(SkinFormTest, MaximizeAndRestore) {
  MakeForm(Rect(100, 100, 400, 300), false);
  int Maximized = 0, Restored = 0;
  Engine->OnMaximize = [&](TObject*) { ++Maximized; };
  Engine->OnRestore = [&](TObject*) { ++Restored; };
  auto* Bar = NewControl<TbsSkinStatusBar>(Form, Bounds(0, 150, 200, 20));
  Bar->SetSizeGrip(true);
  Engine->SetStatusBar(Bar);
  Engine->SetWindowState(wsMaximized);
  EXPECT_EQ(Engine->WindowState(), wsMaximized);
  EXPECT_EQ(Form->BoundsRect(), Screen->WorkAreaRect());
  EXPECT_FALSE(Bar->ShowGrip()) << "no size grip on a maximized form";
  Engine->SetWindowState(wsNormal);
  EXPECT_TRUE(Bar->ShowGrip());
  EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
  EXPECT_EQ(Maximized, 1);
  EXPECT_EQ(Restored, 1);
  Engine->OnMaximize = nullptr;
  Engine->OnRestore = nullptr;
}

TEST_F(SkinFormTest, MinimizedFormsLineUpAlongTheBottomOfTheWorkArea) {
  // The first form made is the application's main form, whose minimize goes to the application.
  NewForm(Rect(0, 0, 100, 100));
  const TRect Work = Screen->WorkAreaRect();
  std::vector<TForm*> Forms;
  for (int i = 0; i < 3; ++i) {
    MakeForm(Bounds(100 + 10 * i, 100, 300, 200), false);
    Forms.push_back(Form);
    Engine->SetWindowState(wsMinimized);
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Forms[i]->BoundsRect(), Bounds(Work.Left + 120 * i, Work.Bottom - 25, 120, 25)) << i;
    EXPECT_EQ(GetSkinFormOf(Forms[i])->WindowState(), wsMinimized);
  }
  GetSkinFormOf(Forms[1])->SetWindowState(wsNormal);
  EXPECT_EQ(Forms[1]->BoundsRect(), Rect(110, 100, 410, 300));
}

TEST_F(SkinFormTest, RollUpKeepsTheCaptionStripAndRollsBackDown) {
  MakeForm(Rect(100, 100, 400, 300), true);
  int Changes = 0;
  Engine->OnChangeRollUpState = [&](TObject*) { ++Changes; };
  Engine->SetRollUpState(true);
  EXPECT_EQ(Form->Height(), 60);
  // Asking again changes nothing: the height to roll back to is kept.
  Engine->SetRollUpState(true);
  Engine->SetRollUpState(false);
  EXPECT_EQ(Form->Height(), 200);
  EXPECT_EQ(Changes, 2);
  Engine->SetBorderIcons({TbsBorderIcon::biSystemMenu});
  Engine->SetRollUpState(true);
  EXPECT_FALSE(Engine->RollUpState()) << "no roll-up without its border icon";
  EXPECT_EQ(Form->Height(), 200);
  Engine->OnChangeRollUpState = nullptr;
}

TEST_F(SkinFormTest, CaptionDoubleClickToggles) {
  MakeForm(Rect(100, 100, 400, 300), false);
  auto dblClick = [&] {
    SendMessage(Form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION,
                MAKELPARAM(Form->Left() + 100, Form->Top() + 10));
  };
  dblClick();
  EXPECT_EQ(Engine->WindowState(), wsMaximized);
  dblClick();
  EXPECT_EQ(Engine->WindowState(), wsNormal);
  delete Form;
  // A fixed form rolls up instead.
  MakeForm(Rect(100, 100, 400, 300), false, bsSingle);
  dblClick();
  EXPECT_TRUE(Engine->RollUpState());
  dblClick();
  EXPECT_FALSE(Engine->RollUpState());
}

TEST_F(SkinFormTest, RolledUpWhileMaximizedDoubleClickRollsDownAndStaysMaximized) {
  MakeForm(Rect(100, 100, 400, 300), false);
  Engine->SetWindowState(wsMaximized);
  Engine->SetRollUpState(true);
  SendMessage(Form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION,
              MAKELPARAM(Form->Left() + 100, Form->Top() + 10));
  EXPECT_FALSE(Engine->RollUpState());
  EXPECT_EQ(Engine->WindowState(), wsMaximized);
}

TEST_F(SkinFormTest, FormCursorOverTheFrameKeepsSizingCursors) {
  MakeForm(Rect(100, 100, 400, 300), false);
  Engine->SetUseFormCursorInNCArea(true);
  Word Passed = 0;
  const TWndMethod Previous = TbsSkinFormTestAccess::OldWindowProc(Engine);
  TbsSkinFormTestAccess::OldWindowProc(Engine) = [&](TMessage& M) {
    if (M.Msg == WM_SETCURSOR) Passed = LOWORD(uintptr_t(M.LParam));
    Previous(M);
  };
  const struct {
    Word In, Out;
  } Cases[] = {{HTCAPTION, HTCLIENT},
               {HTOBJECT, HTCLIENT},
               {HTLEFT, HTLEFT},
               {HTBOTTOMRIGHT, HTBOTTOMRIGHT},
               {HTCLIENT, HTCLIENT}};
  for (const auto& C : Cases) {
    SendMessage(Form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Form->Handle()),
                MAKELPARAM(C.In, WM_MOUSEMOVE));
    EXPECT_EQ(Passed, C.Out) << C.In;
  }
  TbsSkinFormTestAccess::OldWindowProc(Engine) = Previous;
}

// ---------------------------------------------------------------------------------------------
// Messages answered for outside callers

TEST_F(SkinFormTest, OutsideCallerMessages) {
  MakeForm(Rect(100, 100, 400, 300), false);
  EXPECT_EQ(SendMessage(Form->Handle(), CM_QUERYSKINNEDFRAME, 0, 0), SkinnedFrameByEngine);
  TBitmap B;
  B.SetSize(300, 200);
  HDC DC = B.Canvas()->Handle();
  EXPECT_EQ(SendMessage(Form->Handle(), CN_PAINTNC, reinterpret_cast<WPARAM>(DC), PaintNCNotifyCode),
            PaintNCNotifyCode);
  EXPECT_EQ(SendMessage(Form->Handle(), CN_PAINTNC, reinterpret_cast<WPARAM>(DC), 1), 0)
      << "other values pass through";
  EXPECT_EQ(SendMessage(Form->Handle(), CM_PAINTNC, reinterpret_cast<WPARAM>(DC), 0), PaintNCDone);
  // The default frame went into the DC: the dark outer ring and the button face inside it.
  EXPECT_EQ(B.Canvas()->Pixels(0, 100), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(B.Canvas()->Pixels(1, 100), ColorToRGB(clBtnFace));
}

// ---------------------------------------------------------------------------------------------
// Bad skins

TEST_F(SkinFormTest, UnusableFramePictureDrawsTheDefaultFrame) {
  const struct {
    const char* What;
    std::function<void(TbsSkinData*)> Break;
  } Cases[] = {
      {"no frame picture", [](TbsSkinData* S) { S->FPicture = std::make_unique<TBitmap>(); }},
      {"picture smaller than its borders", [](TbsSkinData* S) { S->FPicture->SetSize(20, 20); }},
      {"corner points out of order", [](TbsSkinData* S) { S->RTPoint = Point(10, 24); }},
  };
  for (const auto& C : Cases) {
    BuildGeneratedSkin(Skin.get());
    C.Break(Skin.get());
    MakeForm(Rect(100, 100, 400, 300), true);
    EXPECT_FALSE(Engine->Mode().SkinSupport) << C.What;
    EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 294, 175)) << C.What;
    EXPECT_EQ(HitAt(100, 10), LRESULT(HTCAPTION)) << C.What;
    EXPECT_EQ(PaintedPixel(Form->Handle(), 0, 100), ColorToRGB(cl3DDkShadow)) << C.What;
    delete Form;
  }
  Form = nullptr;
}
