#include "skin/forms/frame/bsskinbuttonobjects.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/forms/testkit/frameobjecttestkit.h"

namespace {

class StdButtonObjectTest : public TFrameObjectTest {
 protected:
  std::unique_ptr<TbsSkinStdButtonObject> Button(TbsStdCommand Command, int Row = 3) {
    Record = StdButtonRecord(Row, Command);
    auto B = std::make_unique<TbsSkinStdButtonObject>(Engine, Record.get());
    B->ObjectRect = Bounds(60, 8, ButtonSize, ButtonSize);
    return B;
  }
  std::unique_ptr<TbsDataSkinStdButton> Record;
};

TEST_F(StdButtonObjectTest, StatesArePaintedFromTheirImages) {
  auto B = Button(cmClose);
  Record->DisableSkinRect = ButtonCell(9, 0);
  TbsSkinStdButtonObject WithDisabled(Engine, Record.get());
  WithDisabled.ObjectRect = B->ObjectRect;

  EXPECT_EQ(DrawnCentre(*B), ButtonColor(3, 0)) << "normal";
  B->MouseEnter();
  EXPECT_EQ(DrawnCentre(*B), ButtonColor(3, 1)) << "hovered";
  B->MouseDown(65, 12, mbLeft);
  EXPECT_EQ(DrawnCentre(*B), ButtonColor(3, 2)) << "pressed";
  B->MouseLeave();
  EXPECT_EQ(DrawnCentre(*B), ButtonColor(3, 0)) << "pressed, mouse outside";
  WithDisabled.Enabled = false;
  EXPECT_EQ(DrawnCentre(WithDisabled), ButtonColor(9, 0)) << "disabled";
  DeactivateForm();
  EXPECT_EQ(DrawnCentre(*B), ButtonColor(3, 3)) << "form inactive";
}

TEST_F(StdButtonObjectTest, DisabledButtonIgnoresTheMouse) {
  auto B = Button(cmMaximize);
  B->Enabled = false;
  int Events = 0;
  Engine->OnMouseDownEvent = [&](const String&, Integer, Integer, const TRect&, TMouseButton) { ++Events; };
  // The engine never hovers a disabled object, so the press and release come without an enter.
  B->MouseDown(65, 12, mbLeft);
  EXPECT_FALSE(B->FDown);
  EXPECT_EQ(Events, 0);
  B->MouseUp(65, 12, mbLeft);
  EXPECT_EQ(Engine->WindowState(), wsNormal);
  Record->DisableSkinRect = ButtonCell(9, 0);
  TbsSkinStdButtonObject WithImage(Engine, Record.get());
  WithImage.ObjectRect = B->ObjectRect;
  WithImage.Enabled = false;
  WithImage.FMouseIn = WithImage.Active = true;
  EXPECT_EQ(DrawnCentre(WithImage), ButtonColor(9, 0));
}

TEST_F(StdButtonObjectTest, MaximizingShowsTheRestoreLookAndHint) {
  // The engine's own maximize button, hovered and clicked through the engine.
  const Integer Index = Engine->GetIndex("maxbutton");
  ASSERT_NE(Index, -1);
  auto* B = dynamic_cast<TbsSkinStdButtonObject*>(Engine->Objects(Index));
  ASSERT_NE(B, nullptr);
  B->RestoreRect = ButtonCell(10, 0);
  B->RestoreActiveRect = ButtonCell(10, 1);
  B->RestoreDownRect = ButtonCell(10, 2);
  B->RestoreHint = "Restore";
  B->FTempHint = "Maximize";
  Integer X = 0, Y = 0;
  auto aim = [&] {
    X = (B->ObjectRect.Left + B->ObjectRect.Right) / 2;
    Y = (B->ObjectRect.Top + B->ObjectRect.Bottom) / 2;
  };
  aim();
  Engine->TestActive(X, Y, true);
  ASSERT_TRUE(B->FMouseIn);
  EXPECT_EQ(B->Hint, "Maximize");
  Engine->NCMouseDown(mbLeft, X, Y);
  Engine->NCMouseUp(mbLeft, X, Y);
  ASSERT_EQ(Engine->WindowState(), wsMaximized);
  EXPECT_FALSE(B->FMouseIn) << "the command ends the hover";
  const COLORREF Normal = ButtonColor(10, 0);
  EXPECT_EQ(DrawnCentre(*B), Normal);

  aim();
  Engine->TestActive(X, Y, true);
  EXPECT_EQ(B->Hint, "Restore");
  EXPECT_EQ(DrawnCentre(*B), ButtonColor(10, 1));
  Engine->NCMouseDown(mbLeft, X, Y);
  EXPECT_EQ(DrawnCentre(*B), ButtonColor(10, 2));
  Engine->NCMouseUp(mbLeft, X, Y);
  ASSERT_EQ(Engine->WindowState(), wsNormal);
  aim();
  Engine->TestActive(X, Y, true);
  EXPECT_EQ(B->Hint, "Maximize");
  EXPECT_NE(DrawnCentre(*B), ButtonColor(10, 1));
}

TEST_F(StdButtonObjectTest, OnlyASecondaryMinimizedFormShowsTheMinimizeRestoreLook) {
  Record = StdButtonRecord(4, cmMinimize);
  Record->RestoreRect = ButtonCell(11, 0);
  auto* SecondForm = NewForm(Rect(300, 300, 500, 450));
  auto* SecondEngine = new TbsSkinForm(SecondForm);
  SecondEngine->SetSkinData(Skin.get());
  ASSERT_EQ(Application->MainForm(), Form);

  TbsSkinStdButtonObject OnMain(Engine, Record.get()), OnSecond(SecondEngine, Record.get());
  OnMain.ObjectRect = OnSecond.ObjectRect = Bounds(60, 8, ButtonSize, ButtonSize);
  Engine->FWindowStateInit = wsMinimized;
  SecondEngine->FWindowStateInit = wsMinimized;
  Engine->PreviewMode = SecondEngine->PreviewMode = true;  // counted as active while minimized
  EXPECT_EQ(DrawnCentre(OnMain), ButtonColor(4, 0));
  EXPECT_EQ(DrawnCentre(OnSecond), ButtonColor(11, 0));
}

TEST_F(StdButtonObjectTest, CloseRunsOnlyOnReleaseOverTheButtonAfterItsEvent) {
  auto B = Button(cmClose);
  std::vector<String> Order;
  Engine->OnMouseUpEvent = [&](const String& Name, Integer, Integer, const TRect&, TMouseButton) {
    Order.push_back("up " + Name);
  };
  Form->OnClose = [&](TObject*, TCloseAction& Action) {
    Order.push_back("close");
    Action = caNone;
  };
  B->MouseEnter();
  B->MouseDown(65, 12, mbLeft);
  B->MouseLeave();
  B->MouseUp(65, 12, mbLeft);
  EXPECT_TRUE(Order.empty());
  EXPECT_FALSE(B->FDown);

  B->MouseEnter();
  B->MouseDown(65, 12, mbLeft);
  B->MouseUp(65, 12, mbLeft);
  EXPECT_EQ(Order, (std::vector<String>{"up testbutton", "close"}));
  EXPECT_FALSE(B->FDown);
}

TEST_F(StdButtonObjectTest, CommandsOnRelease) {
  struct Case {
    TbsStdCommand Command;
    bool AlwaysMinimizeToTray;
    TWindowState State;
    bool RolledUp;
    int TrayCalls;
  } Cases[] = {
      {cmMaximize, false, wsMaximized, false, 0},
      {cmMinimize, false, wsMinimized, false, 0},
      {cmMinimize, true, wsNormal, false, 1},
      {cmRollUp, false, wsNormal, true, 0},
      {cmMinimizeToTray, false, wsNormal, false, 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(int(C.Command));
    // A secondary form of its own for each command: the main form minimizes through the platform.
    TForm* F = NewForm(Rect(200, 200, 480, 400));
    auto* E = new TbsSkinForm(F);
    E->SetSkinData(Skin.get());
    TRecordingMenuTracking Tracking;
    E->MenuTracking = &Tracking;
    E->SetAlwaysMinimizeToTray(C.AlwaysMinimizeToTray);
    Record = StdButtonRecord(3, C.Command);
    TbsSkinStdButtonObject B(E, Record.get());
    B.ObjectRect = Bounds(60, 8, ButtonSize, ButtonSize);
    B.MouseEnter();
    B.MouseDown(65, 12, mbLeft);
    B.MouseUp(65, 12, mbLeft);
    EXPECT_EQ(E->WindowState(), C.State);
    EXPECT_EQ(E->RollUpState(), C.RolledUp);
    EXPECT_EQ(Tracking.TrayCalls, C.TrayCalls);
    E->MenuTracking = nullptr;
  }
}

TEST_F(StdButtonObjectTest, SystemMenuButtonClosesTheFormOnDoubleClick) {
  auto B = Button(cmSysMenu);
  bool Closed = false;
  Form->OnClose = [&](TObject*, TCloseAction& Action) {
    Closed = true;
    Action = caNone;
  };
  B->DblClick();
  EXPECT_TRUE(Closed);
}

TEST_F(StdButtonObjectTest, IconButtonIsHitEverywhereAndNeverPressed) {
  Engine->SetShowIcon(true);
  auto B = Button(cmSysMenu);
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(ButtonSize, ButtonSize);
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, ButtonSize, ButtonSize));
  Skin->AddPicture(std::move(Mask), "mask.bmp");
  Record->ActiveMaskPictureIndex = Skin->PictureCount() - 1;
  TbsSkinStdButtonObject Icon(Engine, Record.get());
  ASSERT_TRUE(Icon.IsIconButton());
  EXPECT_TRUE(Icon.PointInMask(3, 3));
  Icon.MouseEnter();
  EXPECT_FALSE(Icon.FMouseIn);
  Icon.MouseDown(1, 1, mbLeft);
  EXPECT_FALSE(Icon.FDown);
  Icon.SetMorphKf(1);
  Icon.ObjectRect = Bounds(60, 8, ButtonSize, ButtonSize);
  ClearSheet();
  Icon.Draw(Sheet->Canvas(), true);
  EXPECT_DOUBLE_EQ(Icon.MorphKf(), 0.0);

  Engine->SetShowIcon(false);
  TbsSkinStdButtonObject Masked(Engine, Record.get());
  EXPECT_FALSE(Masked.PointInMask(3, 3));
}

// ---------------------------------------------------------------- default look

class DefaultStdButtonTest : public TFrameObjectTest {
 protected:
  void SetUp() override {
    TFrameObjectTest::SetUp();
    Engine->SetSkinData(nullptr);
  }
  std::unique_ptr<TbsSkinStdButtonObject> DefaultButton(TbsStdCommand Command) {
    auto B = std::make_unique<TbsSkinStdButtonObject>(Engine, nullptr);
    B->Command = Command;
    B->ObjectRect = Bounds(20, 10, 17, 17);
    return B;
  }
};

TEST_F(DefaultStdButtonTest, FlatLookFramesTheHoveredAndPressedButton) {
  auto B = DefaultButton(cmDefault);
  ASSERT_FALSE(B->FSkinSupport);
  struct Case {
    bool MouseIn, Down;
    COLORREF Edge, Inside;
  } Cases[] = {
      {false, false, BtnFaceRGB(), BtnFaceRGB()},
      {true, false, RGB(59, 107, 183), RGB(193, 212, 243)},
      {true, true, RGB(59, 107, 183), RGB(162, 188, 228)},
  };
  for (const Case& C : Cases) {
    B->FMouseIn = C.MouseIn;
    B->FDown = C.Down;
    EXPECT_EQ(DrawnCentre(*B), C.Inside) << C.MouseIn << C.Down;
    EXPECT_EQ(SheetPixel(20, 10), C.Edge) << C.MouseIn << C.Down;
    EXPECT_EQ(SheetPixel(36, 26), C.Edge) << C.MouseIn << C.Down;
  }
}

TEST_F(DefaultStdButtonTest, GlyphColourFollowsEnabled) {
  auto B = DefaultButton(cmClose);
  auto countOf = [&](COLORREF Colour) {
    int N = 0;
    for (Integer Y = 10; Y < 27; ++Y)
      for (Integer X = 20; X < 37; ++X) N += SheetPixel(X, Y) == Colour;
    return N;
  };
  const COLORREF Text = COLORREF(ColorToRGB(clBtnText)), Shadow = COLORREF(ColorToRGB(clBtnShadow));
  ClearSheet();
  B->Draw(Sheet->Canvas(), true);
  EXPECT_GT(countOf(Text), 8);
  EXPECT_EQ(countOf(Shadow), 0);
  B->Enabled = false;
  ClearSheet();
  B->Draw(Sheet->Canvas(), true);
  EXPECT_EQ(countOf(Text), 0);
  EXPECT_GT(countOf(Shadow), 8);
}

TEST_F(DefaultStdButtonTest, MaximizeGlyphTurnsIntoRestoreWhileMaximized) {
  auto B = DefaultButton(cmMaximize);
  auto glyph = [&] {
    ClearSheet();
    B->Draw(Sheet->Canvas(), true);
    std::vector<COLORREF> Pixels;
    for (Integer Y = 10; Y < 27; ++Y)
      for (Integer X = 20; X < 37; ++X) Pixels.push_back(SheetPixel(X, Y));
    return Pixels;
  };
  const auto Maximize = glyph();
  Engine->SetWindowState(wsMaximized);
  EXPECT_NE(glyph(), Maximize);
  Engine->SetWindowState(wsNormal);
  EXPECT_EQ(glyph(), Maximize);
}

}  // namespace
