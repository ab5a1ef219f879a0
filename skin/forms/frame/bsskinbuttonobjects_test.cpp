#include "skin/forms/frame/bsskinbuttonobjects.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/forms/testkit/frameobjecttestkit.h"
#include "skin/forms/testkit/skinformtestaccess.h"

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
  TbsSkinFormTestAccess::Mode(Engine).WindowStateInit = wsMinimized;
  TbsSkinFormTestAccess::Mode(SecondEngine).WindowStateInit = wsMinimized;
  Engine->SetPreviewMode(true);
  SecondEngine->SetPreviewMode(true);  // counted as active while minimized
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
      {cmMaximize, false, wsMaximized, false, 0},    {cmMinimize, false, wsMinimized, false, 0},
      {cmMinimize, true, wsNormal, false, 1},        {cmRollUp, false, wsNormal, true, 0},
      {cmMinimizeToTray, false, wsNormal, false, 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(int(C.Command));
    // A secondary form of its own for each command: the main form minimizes through the platform.
    TForm* F = NewForm(Rect(200, 200, 480, 400));
    auto* E = new TbsSkinForm(F);
    E->SetSkinData(Skin.get());
    TRecordingMenuTracking Tracking;
    TMenuTrackingOverride Override(E, &Tracking);
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

namespace {

class EngineDrivenButtonTest : public TFrameObjectTest {
 protected:
  TbsSkinStdButtonObject* EngineButton(const String& Name) {
    return dynamic_cast<TbsSkinStdButtonObject*>(Engine->Objects(Engine->GetIndex(Name)));
  }
  static TPoint CentreOf(const TbsActiveSkinObject* O) {
    return TPoint{(O->ObjectRect.Left + O->ObjectRect.Right) / 2,
                  (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2};
  }
  // The pointer really over frame point P, so the engine's hover polling keeps the object hovered.
  void PointAt(const TPoint& P) { SetCursorPos(Form->Left() + P.X, Form->Top() + P.Y); }
};

TEST_F(EngineDrivenButtonTest, HoverCrossFadesOnTheMorphTimerInFiveTicksThenTheTimerStops) {
  TbsSkinStdButtonObject* B = EngineButton("closebutton");
  ASSERT_NE(B, nullptr);
  B->Morphing = true;
  const TPoint P = CentreOf(B);
  PointAt(P);
  Engine->TestActive(P.X, P.Y, true);
  ASSERT_TRUE(B->Active);
  ASSERT_TRUE(Engine->MorphTimer()->Enabled());
  std::vector<Double> Kf;
  for (int Tick = 0; Tick < 6; ++Tick) {
    wintest::AdvanceTime(Clock(), 25);
    Kf.push_back(B->MorphKf());
  }
  EXPECT_NEAR(Kf[0], 0.2, 1e-9);
  EXPECT_NEAR(Kf[2], 0.6, 1e-9);
  EXPECT_DOUBLE_EQ(Kf[4], 1.0);
  EXPECT_DOUBLE_EQ(Kf[5], 1.0);
  EXPECT_FALSE(Engine->MorphTimer()->Enabled());

  // Leaving fades back the same way.
  PointAt(TPoint{P.X, P.Y + 60});
  for (int Tick = 0; Tick < 4 && B->Active; ++Tick) wintest::AdvanceTime(Clock(), 25);
  ASSERT_FALSE(B->Active) << "the engine's hover polling saw the pointer leave";
  std::vector<Double> Back;
  for (int Tick = 0; Tick < 6; ++Tick) {
    wintest::AdvanceTime(Clock(), 25);
    Back.push_back(B->MorphKf());
  }
  EXPECT_NEAR(Back[0], 0.8, 1e-9);
  EXPECT_DOUBLE_EQ(Back[4], 0.0);
  EXPECT_FALSE(Engine->MorphTimer()->Enabled());
}

TEST_F(EngineDrivenButtonTest, SystemMenuButtonOpensItsMenuOnThePressAndStaysDown) {
  TRecordingMenuTracking Tracking;
  TPopupMenu SysMenu(nullptr);
  auto* Item = new TMenuItem(&SysMenu);
  Item->SetCaption("Close");
  SysMenu.Items()->Add(Item);
  Tracking.SystemMenuItems = SysMenu.Items();
  TMenuTrackingOverride Override(Engine, &Tracking);
  bool MenuOpened = false;
  Engine->OnSkinMenuOpen = [&](TObject*) { MenuOpened = true; };

  TbsSkinStdButtonObject* B = EngineButton("sysmenubutton");
  ASSERT_NE(B, nullptr);
  const TPoint P = CentreOf(B);
  PointAt(P);
  Engine->TestActive(P.X, P.Y, true);
  Engine->NCMouseDown(mbLeft, P.X, P.Y);
  EXPECT_EQ(Tracking.SystemMenuRequests, 1);
  EXPECT_EQ(B->MenuItem, SysMenu.Items());
  EXPECT_TRUE(MenuOpened);
  EXPECT_TRUE(B->FDown);
  // Pressed look wherever the mouse is while the menu is open.
  B->MouseLeave();
  EXPECT_TRUE(B->FDown);
  EXPECT_EQ(DrawnCentre(*B), ButtonColor(7, 2));
  EXPECT_FALSE(B->CanMorphing());
  // A second press on the down button does not ask again.
  B->MouseDown(P.X, P.Y, mbLeft);
  EXPECT_EQ(Tracking.SystemMenuRequests, 1);
  // The menu is really open, below the button; closing it releases the button.
  ASSERT_EQ(Engine->SkinMenu()->PopupCount(), 1);
  Engine->SkinMenu()->Hide();
  Application->ProcessMessages();  // the closed levels are freed after the call that closed them
  EXPECT_FALSE(B->FDown);
}

TEST_F(EngineDrivenButtonTest, LinkedMenuOfAFrameButtonOpensOnThePress) {
  auto R = std::make_unique<TbsDataSkinButton>("menubutton");
  R->ActivePictureIndex = ButtonPicture;
  R->SkinRectInAPicture = true;
  R->SkinRect = ButtonCell(3, 0);
  R->DownRect = ButtonCell(3, 2);
  TbsSkinButtonObject B(Engine, R.get());
  B.ObjectRect = Bounds(40, 4, ButtonSize, ButtonSize);
  TPopupMenu Menu(nullptr);
  auto* Item = new TMenuItem(&Menu);
  Item->SetCaption("Item");
  Menu.Items()->Add(Item);
  B.MenuItem = Menu.Items();
  B.MouseEnter();
  B.MouseDown(45, 10, mbLeft);
  EXPECT_TRUE(B.FDown);
  EXPECT_EQ(Engine->SkinMenu()->PopupCount(), 1);
  // Its menu open, the button keeps its pressed look when the mouse leaves.
  B.MouseLeave();
  EXPECT_EQ(DrawnCentre(B), ButtonColor(3, 0)) << "pressed look only while the mouse is over it";
  EXPECT_TRUE(B.FDown);
  B.MouseUp(45, 10, mbLeft);
  EXPECT_TRUE(B.FDown) << "a menu button stays down until its menu closes";
  Engine->SkinMenu()->Hide();
  Application->ProcessMessages();  // the closed levels are freed after the call that closed them
}

}  // namespace

namespace {

class StdButtonAlphaTest : public StdButtonObjectTest {
 protected:
  static std::unique_ptr<TbsBitmap> Solid(TbsColor C) {
    auto B = std::make_unique<TbsBitmap>();
    B->SetSize(ButtonSize, ButtonSize);
    B->Clear(C);
    return B;
  }
  TbsColor DrawnAlpha(TbsSkinStdButtonObject& B) {
    TbsBitmap Image;
    Image.SetSize(100, 40);
    Image.Clear(0);
    B.DrawAlpha(Image.Canvas(), &Image);
    return *Image.GetPixelPtr(B.ObjectRect.Left + 8, B.ObjectRect.Top + 8);
  }
};

TEST_F(StdButtonAlphaTest, LayeredImageTakesThePreparedImageOfTheState) {
  Record = StdButtonRecord(4, cmMaximize);
  Record->FAlphaNormalImage = Solid(0xFF000010);
  Record->FAlphaActiveImage = Solid(0xFF000020);
  Record->FAlphaDownImage = Solid(0xFF000030);
  Record->FAlphaInActiveImage = Solid(0xFF000040);
  Record->FAlphaRestoreNormalImage = Solid(0xFF000050);
  TbsSkinStdButtonObject B(Engine, Record.get());
  B.ObjectRect = Bounds(20, 10, ButtonSize, ButtonSize);
  TbsSkinFormTestAccess::Mode(Engine).FormActive = true;
  EXPECT_EQ(DrawnAlpha(B), 0xFF000010u) << "normal";
  B.FMouseIn = true;
  EXPECT_EQ(DrawnAlpha(B), 0xFF000020u) << "hovered";
  B.FDown = true;
  EXPECT_EQ(DrawnAlpha(B), 0xFF000030u) << "pressed";
  B.FDown = B.FMouseIn = false;
  TbsSkinFormTestAccess::Mode(Engine).WindowStateInit = wsMaximized;
  EXPECT_EQ(DrawnAlpha(B), 0xFF000050u) << "restore look";
  B.FMouseIn = true;
  EXPECT_EQ(DrawnAlpha(B), 0xFF000020u) << "no restore hover image: the plain one";
  TbsSkinFormTestAccess::Mode(Engine).FormActive = false;
  EXPECT_EQ(DrawnAlpha(B), 0xFF000040u) << "inactive form";
  Record->FAlphaInActiveImage.reset();
  TbsSkinStdButtonObject Missing(Engine, Record.get());
  Missing.ObjectRect = B.ObjectRect;
  EXPECT_EQ(DrawnAlpha(Missing), 0u) << "a missing image draws nothing";
}

TEST_F(StdButtonObjectTest, HoverShowsTheGlowPictureAndLeavingHidesIt) {
  Record = StdButtonRecord(3, cmClose);
  Record->GlowLayerPictureIndex = ButtonPicture;
  Record->GlowLayerMaskPictureIndex = ButtonPicture;
  TbsSkinStdButtonObject B(Engine, Record.get());
  B.MouseEnter();
  EXPECT_TRUE(Engine->Layers().LayerManager->IsVisible);
  B.MouseLeave();
  EXPECT_FALSE(Engine->Layers().LayerManager->IsVisible);
  Skin->SetShowCaptionButtonGlowFrames(false);
  B.MouseEnter();
  EXPECT_FALSE(Engine->Layers().LayerManager->IsVisible);
}

}  // namespace
