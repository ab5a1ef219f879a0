// The layered border around a skinned form: its four windows following the form's moves, sizes and
// states, the images cut from the skin's layer frame, the alpha it is pushed with, sizing the form
// by dragging a border window, and the skin changes that switch it on, off and rebuild it.
#include "skin/forms/layered/bsformlayerborder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/ui/core/application.h"
#include "platform/ui/core/screen.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordsform.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinobjects.h"
#include "skin/forms/testkit/layerframetestkit.h"
#include "skin/forms/testkit/skinformtestaccess.h"

using namespace wintest;

namespace {

// The layer frame picture (the test kit's geometry). Each pixel tells where it
// comes from: red = 3 x column, green = 4 x row, blue 0x40, alpha 200 (never 0, so that every pixel
// takes the mouse; the colours stay below the alpha, which bounds them in a premultiplied image).
TbsColor SourcePixel(Integer X, Integer Y) {
  return 0xC8000040u | (Cardinal(X * 3) << 16) | (Cardinal(Y * 4) << 8);
}

class LayeredBorderTest : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    auto LF = MakeTestLayerFrame(SourcePixel);
    LF->FullBorder = FullBorderSkin;
    LF->AlphaBlendValue = 200;
    LF->InActiveAlphaBlendValue = 255;
    Skin->LayerFrame = std::move(LF);
    Form = NewForm(Rect(100, 100, 400, 300));
    Engine = new TbsSkinForm(Form);
    Engine->SetSkinData(Skin.get());
    Pump();
    Border = static_cast<TbsFormLayerBorder*>(Engine->Layers().BorderLayer);
  }
  void TearDown() override {
    if (Engine != nullptr) Engine->SkinMenu()->Hide();
    WinRunDeferredActions();
    TSkinControlTest::TearDown();
  }

  static TRect WindowRect(TbsFormLayerWindow* W) {
    TRect R;
    GetWindowRect(W->Handle(), &R);
    return R;
  }
  static bool Shown(TbsFormLayerWindow* W) { return W != nullptr && IsWindowVisible(W->Handle()); }
  // The frame the form at L, T of W x H should have: 10 pixels left and right, 20 above, 10 below.
  void ExpectFrameAround(Integer L, Integer T, Integer W, Integer H) {
    ASSERT_TRUE(Border->FVisible);
    EXPECT_EQ(WindowRect(Border->TopBorder), Rect(L - 10, T - 20, L + W + 10, T));
    EXPECT_EQ(WindowRect(Border->BottomBorder), Rect(L - 10, T + H, L + W + 10, T + H + 10));
    EXPECT_EQ(WindowRect(Border->LeftBorder), Rect(L - 10, T, L, T + H));
    EXPECT_EQ(WindowRect(Border->RightBorder), Rect(L + W, T, L + W + 10, T + H));
    for (auto* W : {Border->TopBorder, Border->BottomBorder, Border->LeftBorder, Border->RightBorder})
      EXPECT_TRUE(Shown(W));
  }
  // The constant alphas the top window was pushed with since the records were cleared.
  std::vector<Integer> TopAlphas() {
    std::vector<Integer> A;
    for (const auto& R : Env.Backend().LayeredPushes())
      if (R.Wnd == Border->TopBorder->Handle()) A.push_back(R.Push.ConstantAlpha);
    return A;
  }

  bool FullBorderSkin = false;
  TForm* Form = nullptr;
  TbsSkinForm* Engine = nullptr;
  TbsFormLayerBorder* Border = nullptr;
};

// The top window carries the caption and the caption buttons.
class FullLayeredBorderTest : public LayeredBorderTest {
 protected:
  FullLayeredBorderTest() { FullBorderSkin = true; }
};

TEST_F(LayeredBorderTest, FourWindowsFrameTheFormAndFollowItsMovesAndSizes) {
  ASSERT_TRUE(Engine->UseLayeredBorders());
  ExpectFrameAround(100, 100, 300, 200);
  EXPECT_EQ(Border->LeftSize, 5);
  EXPECT_EQ(Border->TopSize, 5);
  EXPECT_EQ(Border->HitTopLeftX, 7);
  EXPECT_EQ(Border->HitBottomRightY, 7);
  for (TbsFormLayerWindow* W :
       {Border->TopBorder, Border->BottomBorder, Border->LeftBorder, Border->RightBorder}) {
    EXPECT_TRUE(GetWindowLong(W->Handle(), GWL_EXSTYLE) & LONG(WS_EX_LAYERED));
    EXPECT_FALSE(GetWindowLong(W->Handle(), GWL_EXSTYLE) & LONG(WS_EX_TRANSPARENT));
  }
  struct Case {
    TRect Bounds;  // left, top, width, height
    const char* What;
  };
  const Case Cases[] = {
      {Rect(150, 120, 300, 200), "moved"},
      {Rect(150, 120, 420, 260), "grown"},
      {Rect(40, 60, 260, 240), "moved and sized"},
      {Rect(40, 60, 260, 240), "unchanged"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Form->SetBounds(C.Bounds.Left, C.Bounds.Top, C.Bounds.Right, C.Bounds.Bottom);
    Pump();
    ExpectFrameAround(C.Bounds.Left, C.Bounds.Top, C.Bounds.Right, C.Bounds.Bottom);
  }
  // The engine's outer bounds include the border where it takes the mouse.
  Engine->SetBounds(0, 0, 310, 210);
  EXPECT_EQ(Form->BoundsRect(), Rect(5, 5, 305, 205));
}

TEST_F(LayeredBorderTest, ImagesAreCutFromTheLayerFramePictureAndStretched) {
  // The form is 300 wide: the frame 320, the top part 20 rows, the bottom 10, the sides 200 rows.
  TbsBitmap* Top = Border->TopImage.get();
  ASSERT_EQ(Top->Width(), 320);
  ASSERT_EQ(Top->Height(), 20);
  EXPECT_EQ(*Top->GetPixelPtr(3, 7), SourcePixel(3, 7)) << "left corner as it stands";
  EXPECT_EQ(*Top->GetPixelPtr(319, 7), SourcePixel(59, 7)) << "right corner at the right edge";
  EXPECT_EQ(*Top->GetPixelPtr(320 - 15, 2), SourcePixel(45, 2));
  const TbsColor Mid = *Top->GetPixelPtr(160, 4);
  EXPECT_GE(Mid >> 16 & 0xFF, 15u * 3);
  EXPECT_LT(Mid >> 16 & 0xFF, 45u * 3) << "the middle is stretched from the picture's middle";
  TbsBitmap* Bottom = Border->BottomImage.get();
  ASSERT_EQ(Bottom->Height(), 10);
  EXPECT_EQ(*Bottom->GetPixelPtr(0, 0), SourcePixel(0, 40));
  EXPECT_EQ(*Bottom->GetPixelPtr(319, 9), SourcePixel(59, 49));
  ASSERT_EQ(Border->LeftImage->Width(), 10);
  ASSERT_EQ(Border->LeftImage->Height(), 200);
  // Tiled downwards: the 20-row side strip repeats.
  EXPECT_EQ(*Border->LeftImage->GetPixelPtr(4, 0), SourcePixel(4, 20));
  EXPECT_EQ(*Border->LeftImage->GetPixelPtr(4, 45), SourcePixel(4, 25));
  EXPECT_EQ(*Border->RightImage->GetPixelPtr(9, 199), SourcePixel(59, 39));
  // What the windows were given is the images, with per-pixel alpha and the skin's alpha.
  Env.Backend().ClearRecords();
  Border->SetAlphaBlend();
  const auto& Pushes = Env.Backend().LayeredPushes();
  ASSERT_EQ(Pushes.size(), 4u);
  for (const auto& P : Pushes) {
    EXPECT_TRUE(P.Push.PerPixelAlpha);
    EXPECT_EQ(P.Push.ConstantAlpha, 200);
  }
}

TEST_F(LayeredBorderTest, AFrameShorterThanItsTopAndBottomShowsTheLastBottomRowsAndNoSides) {
  // 25 rows: the top 20 whole, then the last 5 rows of the bottom part.
  Border->SetBounds(0, 0, 100, 25);
  ASSERT_EQ(Border->TopImage->Height(), 20);
  ASSERT_EQ(Border->BottomImage->Height(), 5);
  EXPECT_EQ(*Border->BottomImage->GetPixelPtr(0, 0), SourcePixel(0, 45));
  EXPECT_EQ(Border->LeftImage->Height(), 0);
  EXPECT_FALSE(Shown(Border->LeftBorder));
  EXPECT_FALSE(Shown(Border->RightBorder));
  EXPECT_TRUE(Shown(Border->BottomBorder));
  EXPECT_EQ(WindowRect(Border->BottomBorder), Rect(0, 20, 100, 25));
}

TEST_F(LayeredBorderTest, FormAlphaScalesTheSkinsAlphaValues) {
  struct Case {
    Integer FormAlpha, Active, InActive;
  };
  for (const Case& C : {Case{128, 100, 128}, Case{255, 200, 255}, Case{0, 0, 0}}) {
    Border->CheckFormAlpha(C.FormAlpha, true);
    EXPECT_EQ(Border->FCurrentAlphaBlendValue, C.Active) << C.FormAlpha;
    EXPECT_EQ(Border->FCurrentInActiveAlphaBlendValue, C.InActive) << C.FormAlpha;
  }
}

TEST_F(LayeredBorderTest, AnimatedShowFadesInInFifteenStepsAtMost) {
  struct Case {
    Integer Target;
    size_t Steps;
    Integer FirstStep;
  };
  for (const Case& C : {Case{14, 14, 1}, Case{255, 15, 17}}) {
    Skin->LayerFrame->AlphaBlendValue = C.Target;
    Border->CheckFormAlpha(255, false);
    Env.Backend().ClearRecords();
    Border->ShowWithFormAnimation();
    std::vector<Integer> A = TopAlphas();
    // The first push comes with the windows at alpha 0, then one per step.
    ASSERT_EQ(A.size(), C.Steps + 1) << C.Target;
    EXPECT_EQ(A[0], 0);
    EXPECT_EQ(A[1], C.FirstStep);
    EXPECT_EQ(A.back(), C.Target);
  }
}

TEST_F(LayeredBorderTest, TheBorderFadesInWithTheForm) {
  Engine->SetAlphaBlendAnimation(true);
  Form->Hide();
  Pump();
  Env.Backend().ClearRecords();
  Form->Show();
  for (int i = 0; i < 10 && Border->FCurrentAlphaBlendValue != 200; ++i) {
    AdvanceTime(Clock(), 5);
    Pump();
  }
  const std::vector<Integer> A = TopAlphas();
  ASSERT_GE(A.size(), 3u);
  EXPECT_EQ(A.front(), 0) << "shown transparent with the form";
  EXPECT_TRUE(std::is_sorted(A.begin(), A.end()));
  EXPECT_EQ(A.back(), 200) << "ends at the skin's alpha";
  ExpectFrameAround(100, 100, 300, 200);
}

TEST_F(LayeredBorderTest, TheBorderGoesAndComesWithTheFormsStates) {
  // Deactivated: the inactive alpha; without an inactive picture the same picture.
  Env.Backend().ClearRecords();
  Border->SetActive(false, true);
  ASSERT_FALSE(TopAlphas().empty());
  EXPECT_EQ(TopAlphas().back(), 255);
  EXPECT_EQ(*Border->TopImage->GetPixelPtr(3, 7), SourcePixel(3, 7));
  Border->SetActive(true, true);
  EXPECT_EQ(TopAlphas().back(), 200);
  // With an inactive picture the images change with the activation.
  Skin->LayerFrame->FSourceInActiveBitMap = std::make_unique<TbsBitmap>();
  Skin->LayerFrame->FSourceInActiveBitMap->SetSize(TestLayerFrameW, TestLayerFrameH);
  Skin->LayerFrame->FSourceInActiveBitMap->Clear(0x80202020u);
  Border->SetActive(false, true);
  EXPECT_EQ(*Border->TopImage->GetPixelPtr(3, 7), 0x80202020u);
  Border->SetActive(true, true);
  EXPECT_EQ(*Border->TopImage->GetPixelPtr(3, 7), SourcePixel(3, 7));
  Skin->LayerFrame->FSourceInActiveBitMap.reset();

  Form->Hide();
  Pump();
  EXPECT_FALSE(Border->FVisible);
  EXPECT_EQ(Border->TopBorder, nullptr);
  Form->Show();
  Pump();
  ExpectFrameAround(100, 100, 300, 200);

  // A plain border does not frame a maximized form; restoring brings it back where the form is.
  Engine->SetWindowState(wsMaximized);
  Pump();
  EXPECT_FALSE(Border->FVisible);
  Engine->SetWindowState(wsNormal);
  Pump();
  ExpectFrameAround(100, 100, 300, 200);

  // Rolled up, the frame wraps the caption strip.
  Engine->SetRollUpState(true);
  Pump();
  const Integer H = Form->Height();
  ASSERT_LT(H, 200);
  ExpectFrameAround(100, 100, 300, H);
  Engine->SetRollUpState(false);
  Pump();
  ExpectFrameAround(100, 100, 300, 200);

  // The main form minimized goes from the screen and its border with it; restored, both come back.
  ASSERT_EQ(Application->MainForm(), Form);
  Engine->SetWindowState(wsMinimized);
  Pump();
  EXPECT_TRUE(IsIconic(Form->Handle()));
  EXPECT_FALSE(Border->FVisible);
  Application->Restore();
  Pump();
  ASSERT_FALSE(IsIconic(Form->Handle()));
  ExpectFrameAround(100, 100, 300, 200);
}

TEST_F(LayeredBorderTest, SkinChangesSwitchTheBorderOffAndOnAndRebuildIt) {
  HWND OldTop = Border->TopBorder->Handle();
  SendMessage(Form->Handle(), WM_LAYEREDBORDERSUPDATE, WPARAM(Skin.get()), 1000);
  WinRunDeferredActions();
  ASSERT_TRUE(Border->FVisible);
  EXPECT_NE(Border->TopBorder->Handle(), OldTop) << "new windows";
  EXPECT_FALSE(IsWindow(OldTop)) << "the old ones are gone";
  ExpectFrameAround(100, 100, 300, 200);

  Skin->SetShowLayeredBorders(false);
  Pump();
  EXPECT_FALSE(Engine->UseLayeredBorders());
  EXPECT_FALSE(Border->FVisible);
  EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300)) << "the form keeps its place";
  Skin->SetShowLayeredBorders(true);
  Pump();
  ExpectFrameAround(100, 100, 300, 200);

  // A skin loaded in its place (without a layer frame) takes the border and the old frame away.
  const String File = (std::filesystem::temp_directory_path() /
                       ("nerivo_layeredborder_test_" + std::to_string(getpid()) + ".skn"))
                          .string();
  WriteGeneratedSkinContainer(File);
  Skin->LoadFromCompressedFile(File);
  std::filesystem::remove(File);
  Pump();
  WinRunDeferredActions();
  EXPECT_FALSE(Border->FVisible);
  EXPECT_EQ(Border->FData, nullptr);
  EXPECT_EQ(Border->TopBorder, nullptr);
  ASSERT_TRUE(Engine->Mode().SkinSupport) << "the form keeps its skinned frame";

  // Nor does a layer frame without a picture.
  Skin->LayerFrame = MakeTestLayerFrame(SourcePixel);
  Engine->ApplySkinData();
  ASSERT_TRUE(Border->FVisible);
  Skin->LayerFrame->PictureIndex = -1;
  Engine->ApplySkinData();
  Pump();
  EXPECT_FALSE(Border->FVisible);
  EXPECT_EQ(Border->FData, nullptr);
}

TEST_F(LayeredBorderTest, WithoutAMouseFrameTheWindowsLetClicksThrough) {
  Skin->LayerFrame->BorderRect = TRect();
  Engine->ApplySkinData();
  Pump();
  ASSERT_TRUE(Border->FVisible);
  EXPECT_EQ(Border->LeftSize + Border->TopSize + Border->RightSize + Border->BottomSize, 0);
  EXPECT_TRUE(GetWindowLong(Border->LeftBorder->Handle(), GWL_EXSTYLE) & LONG(WS_EX_TRANSPARENT));
  EXPECT_NE(WindowFromPoint(Point(95, 200)), Border->LeftBorder->Handle());
}

// ---- sizing by dragging a border window ----

TEST_F(LayeredBorderTest, DraggingTheRightEdgeSizesTheFormAndTheFrameFollows) {
  const TPoint P = Point(405, 200);  // in the right window, inside the outer strip
  ASSERT_EQ(WindowFromPoint(P), Border->RightBorder->Handle());
  MouseMove(P);
  EXPECT_EQ(Border->RightBorder->Cursor(), crSizeWE);
  MouseDown(P);
  MouseMove(Point(435, 200));
  MouseUp(Point(435, 200));
  Pump();
  EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 430, 300));
  ExpectFrameAround(100, 100, 330, 200);
  EXPECT_FALSE(Engine->Mode().BorderLayerChangeSize);
}

TEST_F(LayeredBorderTest, DraggingTheLeftEdgeKeepsTheRightEdgeAndStopsAtTheStripAndTheMinimum) {
  struct Case {
    std::vector<TPoint> Path;  // press at the first point, release at the last
    TRect Want;
    const char* What;
  };
  const Integer MinW = Engine->GetMinWidth();
  ASSERT_LT(MinW, 250);
  const Case Cases[] = {
      {{Point(96, 200), Point(80, 200)}, Rect(84, 100, 400, 300), "outward"},
      {{Point(98, 200), Point(120, 200)}, Rect(122, 100, 400, 300), "inward"},
      // At the minimum the right edge would move: nothing more. Going back out, the form waits
      // until the cursor is in the outer strip of its left edge again.
      {{Point(98, 200), Point(390, 200)}, Rect(400 - MinW, 100, 400, 300), "inward to the minimum"},
      {{Point(98, 200), Point(390, 200), Point(400 - MinW, 200)},
       Rect(400 - MinW, 100, 400, 300),
       "back out, right of the strip"},
      {{Point(98, 200), Point(390, 200), Point(400 - MinW - 20, 200)},
       Rect(400 - MinW - 19, 100, 400, 300),
       "back out past the strip"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    Form->SetBounds(100, 100, 300, 200);
    Pump();
    MouseMove(C.Path[0]);
    EXPECT_EQ(Border->LeftBorder->Cursor(), crSizeWE);
    MouseDown(C.Path[0]);
    TPoint At = C.Path[0];
    for (size_t i = 1; i < C.Path.size(); ++i)
      while (At.X != C.Path[i].X) {
        At.X += C.Path[i].X > At.X ? 1 : -1;
        MouseMove(At);
      }
    MouseUp(At);
    Pump();
    EXPECT_EQ(Form->BoundsRect(), C.Want);
    const TRect& W = C.Want;
    ExpectFrameAround(W.Left, W.Top, W.Width(), W.Height());
  }
}

TEST_F(LayeredBorderTest, TheFramesOwnMoveAndSizeLoopsTakeTheBorderAlong) {
  ASSERT_EQ(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(200, 110)), LRESULT(HTCAPTION));
  ASSERT_EQ(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(398, 200)), LRESULT(HTRIGHT));
  // Where the border stands when the loop ends, before the engine hears of the end.
  TRect AtLoopEnd;
  const TWndMethod Inner = Form->WindowProc;
  Form->WindowProc = [&](TMessage& M) {
    if (M.Msg == WM_EXITSIZEMOVE) AtLoopEnd = WindowRect(Border->RightBorder);
    Inner(M);
  };
  OnNextModalLoop([&] {
    MouseMove({230, 130});
    MouseUp({230, 130});
  });
  MouseDown({200, 110});
  EXPECT_EQ(AtLoopEnd, Rect(430, 120, 440, 320)) << "the border moved with the loop's steps";
  EXPECT_EQ(Form->BoundsRect(), Rect(130, 120, 430, 320));
  ExpectFrameAround(130, 120, 300, 200);

  OnNextModalLoop([&] {
    MouseMove({468, 220});
    MouseUp({468, 220});
  });
  MouseDown({428, 220});
  EXPECT_EQ(AtLoopEnd, Rect(470, 120, 480, 320)) << "the border sized with the loop's steps";
  EXPECT_EQ(Form->BoundsRect(), Rect(130, 120, 470, 320));
  ExpectFrameAround(130, 120, 340, 200);
  Form->WindowProc = Inner;
}

TEST_F(LayeredBorderTest, CornersAndStripsOfTheTopAndBottomWindows) {
  struct Case {
    TPoint P;
    TbsFormLayerBorderHit Want;
    TCursor Cursor;
  };
  // The form is (100, 100) - (400, 300); the sensitive frame reaches 5 pixels beyond it.
  const Case Cases[] = {
      {Point(96, 96), bsflhTopLeft, crSizeNWSE},       {Point(200, 96), bsflhTop, crSizeNS},
      {Point(403, 96), bsflhTopRight, crSizeNESW},     {Point(200, 99), bsflhNone, crDefault},
      {Point(96, 303), bsflhBottomLeft, crSizeNESW},   {Point(200, 304), bsflhBottom, crSizeNS},
      {Point(403, 303), bsflhBottomRight, crSizeNWSE}, {Point(200, 308), bsflhNone, crDefault},
  };
  for (const Case& C : Cases) {
    HWND W = WindowFromPoint(C.P);
    TbsFormLayerWindow* LW = W == Border->TopBorder->Handle() ? Border->TopBorder : Border->BottomBorder;
    ASSERT_EQ(W, LW->Handle()) << C.P.X << "," << C.P.Y;
    MouseMove(C.P);
    EXPECT_EQ(LW->FHitMode, C.Want) << C.P.X << "," << C.P.Y;
    EXPECT_EQ(LW->Cursor(), C.Cursor) << C.P.X << "," << C.P.Y;
  }
  // Dragging the bottom-right corner sizes both ways.
  MouseMove(Point(403, 303));
  MouseDown(Point(403, 303));
  MouseMove(Point(423, 333));
  MouseUp(Point(423, 333));
  Pump();
  EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 420, 330));
  ExpectFrameAround(100, 100, 320, 230);
}

TEST_F(LayeredBorderTest, AFixedFormIsNotSizedThroughItsBorder) {
  Form->SetBorderStyle(bsSingle);
  Pump();
  ASSERT_TRUE(Border->FVisible);
  MouseMove(Point(405, 200));
  EXPECT_EQ(Border->RightBorder->FHitMode, bsflhNone);
  MouseDown(Point(405, 200));
  MouseMove(Point(440, 200));
  MouseUp(Point(440, 200));
  Pump();
  EXPECT_EQ(Form->Width(), 300);
}

TEST_F(LayeredBorderTest, ClickingABorderWindowLeavesActivationAndFocusWithTheForm) {
  Form->SetFocus();
  Pump();
  ASSERT_TRUE(Form->Active());
  MouseMove(Point(405, 200));
  MouseDown(Point(405, 200));
  MouseUp(Point(405, 200));
  Pump();
  EXPECT_TRUE(Form->Active());
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_EQ(SendMessage(Border->RightBorder->Handle(), WM_MOUSEACTIVATE, WPARAM(Form->Handle()),
                        MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  // A click on the border of an inactive form activates the form, not the border window.
  TForm* Other = NewForm(Rect(600, 500, 700, 600));
  Other->SetFocus();
  Pump();
  ASSERT_FALSE(Form->Active());
  MouseDown(Point(405, 200));
  MouseUp(Point(405, 200));
  Pump();
  EXPECT_TRUE(Form->Active());
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  // Given the focus, a border window hands it back to the form.
  SetFocus(Border->RightBorder->Handle());
  Pump();
  EXPECT_TRUE(Form->Active());
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_EQ(Form->Width(), 300) << "a click without a move sizes nothing";
}

TEST_F(LayeredBorderTest, WindowsWaitingToBeFreedOutliveTheirBorderSafely) {
  // The border hides from inside a window's own handler, so its windows are freed afterwards; the
  // engine (and the border) may go first.
  TbsFormLayerWindow* Right = Border->RightBorder;
  HWND H = Right->Handle();
  Border->Hide();
  EXPECT_FALSE(IsWindowVisible(H));
  delete Engine;
  Engine = nullptr;
  SendMessage(H, WM_MOUSEMOVE, 0, MAKELPARAM(2, 50));
  SendMessage(H, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 50));
  SendMessage(H, WM_LBUTTONUP, 0, MAKELPARAM(2, 50));
  EXPECT_TRUE(WinRunDeferredActions());
  EXPECT_FALSE(IsWindow(H));
  EXPECT_EQ(Form->BoundsRect(), Rect(100, 100, 400, 300));
}

// ---- full border ----

TEST_F(FullLayeredBorderTest, TheFormIsAllClientAndItsCaptionButtonsSitOnTheTopWindow) {
  ASSERT_TRUE(Engine->UseFullLayeredBorder());
  TPoint TopLeft;
  ASSERT_TRUE(Engine->FullLayeredBorderVisible(TopLeft));
  EXPECT_EQ(TopLeft, Point(90, 80));
  EXPECT_EQ(Form->ClientWidth(), 300);
  EXPECT_EQ(Form->ClientHeight(), 200);
  EXPECT_EQ(SendMessage(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(110, 102)), LRESULT(HTCLIENT));
  // The form's shape is its whole rectangle, not the skin mask's frame (a mask cutting the corner).
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetPixelFormat(pf24bit);
  Mask->SetSize(Skin->FPicture->Width(), Skin->FPicture->Height());
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, Mask->Width(), Mask->Height()));
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, 3, 3));
  Skin->FMask = std::move(Mask);
  Engine->ApplySkinData();
  Pump();
  const auto* Native = Env.Backend().Native(Form->Handle());
  ASSERT_NE(Native, nullptr);
  ASSERT_TRUE(Native->HasShape);
  ASSERT_EQ(Native->Shape.size(), 1u);
  EXPECT_EQ(Native->Shape[0], Rect(0, 0, 300, 200));
  // The caption area of the top image is (12, 2) - (308, 18): the close button ends at its right.
  const TRect Close = Engine->Objects(Engine->GetIndex("closebutton"))->ObjectRect;
  EXPECT_EQ(Close, Rect(308 - 16, 2, 308, 18));
  const TRect Max = Engine->Objects(Engine->GetIndex("maxbutton"))->ObjectRect;
  EXPECT_EQ(Max.Right, Close.Left - Skin->ButtonsOffset);
  const TRect Caption = Engine->Objects(Engine->GetIndex("caption"))->ObjectRect;
  EXPECT_GT(Caption.Width(), 0);
  EXPECT_LE(Caption.Right, Max.Left);
  // Hovering the close button in the top window makes it the active object.
  Form->SetFocus();
  Pump();
  MouseMove(Point(90 + (Close.Left + Close.Right) / 2, 80 + 10));
  ASSERT_NE(Border->ActiveObject, -1);
  EXPECT_EQ(Border->ActiveObject, Engine->GetIndex("closebutton"));
  EXPECT_EQ(Border->TopBorder->FHitMode, bsflObject);
  EXPECT_TRUE(Engine->Objects(Border->ActiveObject)->FMouseIn);
  // The cursor leaves without the window hearing of it: the 500 ms watchdog lets the button go.
  ASSERT_TRUE(Border->MouseTimer->Enabled());
  SetCursorPosition(Point(700, 700));
  AdvanceTime(Clock(), 500);
  Pump();
  EXPECT_EQ(Border->ActiveObject, -1);
  EXPECT_FALSE(Engine->Objects(Engine->GetIndex("closebutton"))->FMouseIn);
  EXPECT_FALSE(Border->MouseTimer->Enabled());
  // A new caption redraws the top window, not the form's frame.
  Env.Backend().ClearRecords();
  Form->SetCaption("Nerivo");
  EXPECT_FALSE(TopAlphas().empty());
}

TEST_F(FullLayeredBorderTest, DraggingTheCaptionMovesTheFormAndADoubleClickMaximizesIt) {
  Form->SetFocus();
  Pump();
  const TRect Caption = Engine->Objects(Engine->GetIndex("caption"))->ObjectRect;
  const TPoint P = Point(90 + Caption.Left + 20, 80 + 10);
  MouseMove(P);
  ASSERT_EQ(Border->TopBorder->FHitMode, bsflCaption);
  MouseDown(P);
  for (Integer i = 1; i <= 10; ++i) MouseMove(Point(P.X + 3 * i, P.Y + 2 * i));
  MouseUp(Point(P.X + 30, P.Y + 20));
  Pump();
  EXPECT_EQ(Form->BoundsRect(), Rect(130, 120, 430, 320));
  ExpectFrameAround(130, 120, 300, 200);

  const TPoint Q = Point(130 - 10 + Caption.Left + 20, 100 + 10);
  MouseMove(Q);
  ASSERT_EQ(Border->TopBorder->FHitMode, bsflCaption);
  SendMessage(Border->TopBorder->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON,
              MAKELPARAM(Q.X - Border->TopBorder->Left(), Q.Y - Border->TopBorder->Top()));
  Pump();
  ASSERT_EQ(Engine->Mode().WindowState, wsMaximized);
  // Maximized, the frame stays and the form leaves room in the work area for the part of it that
  // takes the mouse (the work area may be shrunk by a pixel for an auto-hiding task bar).
  TRect Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  const TRect F = Form->BoundsRect();
  EXPECT_NEAR(F.Left - Border->LeftSize, Work.Left, 1);
  EXPECT_NEAR(F.Top - Border->TopSize, Work.Top, 1);
  EXPECT_NEAR(F.Right + Border->RightSize, Work.Right, 1);
  EXPECT_NEAR(F.Bottom + Border->BottomSize, Work.Bottom, 1);
  ExpectFrameAround(F.Left, F.Top, F.Width(), F.Height());
  // A maximized form is not dragged by its caption.
  const TRect Now = Form->BoundsRect();
  const TPoint R = Point(Border->TopBorder->Left() + Caption.Left + 20, Border->TopBorder->Top() + 10);
  MouseMove(R);
  MouseDown(R);
  MouseMove(Point(R.X + 40, R.Y + 40));
  MouseUp(Point(R.X + 40, R.Y + 40));
  Pump();
  EXPECT_EQ(Form->BoundsRect(), Now);
}

// Snapping takes the layered border for the window's edge: it is the border's outer edge that meets
// the work area's edge, not the form inside it.
TEST_F(LayeredBorderTest, SnappingPutsTheBorderOnTheWorkAreaEdge) {
  ASSERT_TRUE(Border->FVisible);
  const Integer LS = Border->LeftSize, TS = Border->TopSize, RS = Border->RightSize, BS = Border->BottomSize;
  ASSERT_GT(LS, 0);
  ASSERT_GT(BS, 0);
  Engine->SetMagnetic(true);
  const TRect W = Screen->WorkAreaRect();
  // Where a drag would put the 300 x 200 form and where it goes.
  const struct {
    const char* Edge;
    TPoint Proposed, Placed;
  } Cases[] = {
      {"left", {W.Left + LS + 3, 300}, {W.Left + LS, 300}},
      {"top", {300, W.Top + TS + 2}, {300, W.Top + TS}},
      {"right", {W.Right - 300 - RS + 3, 300}, {W.Right - 300 - RS, 300}},
      {"bottom", {300, W.Bottom - 200 - BS - 4}, {300, W.Bottom - 200 - BS}},
      // The form itself by the edge, its border beyond it: the border comes back onto the area.
      {"form by the left edge", {W.Left + 2, 300}, {W.Left + LS, 300}},
      // Well inside: nothing snaps.
      {"inside", {W.Left + LS + 20, 300}, {W.Left + LS + 20, 300}},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Edge);
    TbsSkinFormTestAccess::ClearSnap(Engine);
    SetCursorPosition({K.Proposed.X + 50, K.Proposed.Y + 10});
    TRect R = Bounds(K.Proposed.X, K.Proposed.Y, 300, 200);
    SendMessage(Form->Handle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
    EXPECT_EQ(R, Bounds(K.Placed.X, K.Placed.Y, 300, 200));
  }
}

}  // namespace

TEST_F(LayeredBorderTest, RestoringTheApplicationShowsTheFramedFormsAgainAndOutlivesTheEngine) {
  ASSERT_EQ(Application->MainForm(), Form);
  ASSERT_TRUE(Application->OnRestore != nullptr);  // taken at the main form's first show
  TForm* Other = NewForm(Rect(150, 150, 350, 300));
  auto* OtherEngine = new TbsSkinForm(Other);
  OtherEngine->SetSkinData(Skin.get());
  Other->Show();
  Pump();
  // A window that is no form lies above the other form.
  WNDCLASS wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "PlainTestWnd";
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND Plain = CreateWindowEx(0, "PlainTestWnd", "", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50, nullptr,
                              nullptr, nullptr, nullptr);
  auto ZIndex = [](HWND W) {
    Integer I = 0;
    for (HWND H = GetTopWindow(nullptr); H != nullptr; H = GetWindow(H, GW_HWNDNEXT), ++I)
      if (H == W) return I;
    return -1;
  };
  ASSERT_LT(ZIndex(Plain), ZIndex(Other->Handle()));

  Application->Minimize();
  Pump();
  Application->Restore();
  Pump();
  // Every framed form comes back above what is not one, the main form last and on top.
  EXPECT_LT(ZIndex(Form->Handle()), ZIndex(Other->Handle()));
  EXPECT_LT(ZIndex(Other->Handle()), ZIndex(Plain));

  // The engine goes before the application: the restore hook goes with it.
  delete Engine;
  Engine = nullptr;
  EXPECT_TRUE(Application->OnRestore == nullptr);
  Application->Restore();
  DestroyWindow(Plain);
  UnregisterClass("PlainTestWnd", nullptr);
  delete OtherEngine;
}
