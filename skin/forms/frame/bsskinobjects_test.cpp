#include "skin/forms/frame/bsskinobjects.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/sysutils.h"
#include "skin/forms/frame/bsskinbuttonobjects.h"
#include "skin/forms/testkit/frameobjecttestkit.h"

namespace {

class ActiveSkinObjectTest : public TFrameObjectTest {
 protected:
  // A plain frame button whose images come from caption-button row 3.
  std::unique_ptr<TbsDataSkinButton> ButtonRecord() {
    auto R = std::make_unique<TbsDataSkinButton>("plain");
    R->ActivePictureIndex = ButtonPicture;
    R->SkinRectInAPicture = true;
    R->SkinRect = ButtonCell(3, 0);
    R->ActiveSkinRect = ButtonCell(3, 1);
    R->DownRect = ButtonCell(3, 2);
    R->InActiveSkinRect = ButtonCell(3, 3);
    return R;
  }
};

TEST_F(ActiveSkinObjectTest, ConstructionCopiesTheRecordAndDropsAHoverImageWithoutAPicture) {
  auto R = ButtonRecord();
  R->Morphing = true;
  R->Hint = "frame hint";
  TbsSkinButtonObject WithPicture(Engine, R.get());
  EXPECT_EQ(WithPicture.IDName, "plain");
  EXPECT_EQ(WithPicture.Hint, "frame hint");
  EXPECT_EQ(WithPicture.ObjectRect, R->SkinRect);
  EXPECT_TRUE(WithPicture.Morphing);
  EXPECT_TRUE(WithPicture.Enabled && WithPicture.Visible);
  EXPECT_EQ(WithPicture.ActivePicture, Skin->Picture(ButtonPicture));

  R->ActivePictureIndex = 99;
  R->SkinRectInAPicture = false;
  TbsSkinButtonObject NoPicture(Engine, R.get());
  EXPECT_EQ(NoPicture.ActivePicture, nullptr);
  EXPECT_TRUE(IsEmptyRect(NoPicture.ActiveSkinRect));
  EXPECT_FALSE(NoPicture.Morphing);
  // Hovered, it shows its normal image from the frame picture, never a hover image.
  NoPicture.Active = true;
  ClearSheet();
  NoPicture.Draw(Sheet->Canvas(), true);
  const TRect S = NoPicture.SkinRect;
  EXPECT_EQ(SheetPixel(S.Left + 8, S.Top + 8),
            COLORREF(Skin->FPicture->Canvas()->Pixels(S.Left + 8, S.Top + 8)));
}

TEST_F(ActiveSkinObjectTest, PointInMaskTakesOnlyBlackMaskPixelsInside) {
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetSize(4, 2);
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, 4, 2));
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, 2, 2));
  Skin->AddPicture(std::move(Mask), "mask.bmp");
  auto R = ButtonRecord();
  R->ActiveMaskPictureIndex = Skin->PictureCount() - 1;
  TbsSkinButtonObject O(Engine, R.get());
  struct Case {
    Integer X, Y;
    bool Inside;
  } Cases[] = {{0, 0, true},   {1, 1, true},  {2, 0, false}, {3, 1, false},
               {-1, 0, false}, {0, 2, false}, {4, 0, false}};
  for (const Case& C : Cases) EXPECT_EQ(O.PointInMask(C.X, C.Y), C.Inside) << C.X << "," << C.Y;

  R->ActiveMaskPictureIndex = -1;
  TbsSkinButtonObject NoMask(Engine, R.get());
  EXPECT_TRUE(NoMask.PointInMask(100, 100));
}

TEST_F(ActiveSkinObjectTest, DrawShowsNormalHoverAndInactiveImages) {
  auto R = ButtonRecord();
  TbsSkinButtonObject O(Engine, R.get());
  O.ObjectRect = Bounds(40, 20, ButtonSize, ButtonSize);
  EXPECT_EQ(DrawnCentre(O), ButtonColor(3, 0));
  O.Active = true;
  EXPECT_EQ(DrawnCentre(O), ButtonColor(3, 1));
  O.Active = false;
  DeactivateForm();
  ASSERT_FALSE(Engine->GetFormActive());
  EXPECT_EQ(DrawnCentre(O), ButtonColor(3, 3));
}

TEST_F(ActiveSkinObjectTest, NormalImageInsideTheFramePictureIsLeftToTheFrameWhileComposing) {
  auto R = ButtonRecord();
  R->SkinRectInAPicture = false;
  R->SkinRect = Rect(60, 40, 76, 56);
  TbsSkinButtonObject O(Engine, R.get());
  EXPECT_EQ(DrawnCentre(O, false), COLORREF(SheetColor));
  EXPECT_EQ(DrawnCentre(O, true), COLORREF(Skin->FPicture->Canvas()->Pixels(68, 48)) & 0xFFFFFF);
}

TEST_F(ActiveSkinObjectTest, HoverMorphsInFiveStepsOfTheMorphTimerAndStops) {
  auto R = ButtonRecord();
  R->Morphing = true;
  R->MorphKind = mkDefault;
  TbsSkinButtonObject O(Engine, R.get());
  ASSERT_TRUE(O.EnableMorphing());
  O.Active = true;
  std::vector<Double> Steps;
  while (O.CanMorphing()) {
    O.DoMorphing();
    Steps.push_back(O.MorphKf());
  }
  ASSERT_EQ(Steps.size(), 5u);
  EXPECT_DOUBLE_EQ(Steps.back(), 1.0);
  // Half way the face lies between the two images.
  O.SetMorphKf(0.4);
  const COLORREF Mid = DrawnCentre(O);
  const COLORREF N = ButtonColor(3, 0), A = ButtonColor(3, 1);
  EXPECT_NE(Mid, N);
  EXPECT_NE(Mid, A);
  EXPECT_GE(GetGValue(Mid), std::min(GetGValue(N), GetGValue(A)));
  EXPECT_LE(GetGValue(Mid), std::max(GetGValue(N), GetGValue(A)));
  // Leaving reverses, clamped at 0.
  O.Active = false;
  O.SetMorphKf(0.1);
  O.DoMorphing();
  EXPECT_DOUBLE_EQ(O.MorphKf(), 0.0);
  EXPECT_FALSE(O.CanMorphing());
}

TEST_F(ActiveSkinObjectTest, MorphingNeedsSkinEffects) {
  auto R = ButtonRecord();
  R->Morphing = true;
  TbsSkinButtonObject O(Engine, R.get());
  Skin->SetEnableSkinEffects(false);
  EXPECT_FALSE(O.EnableMorphing());
  O.MouseEnter();
  EXPECT_FALSE(Engine->MorphTimer()->Enabled());
  Skin->SetEnableSkinEffects(true);
  O.MouseLeave();
  O.MouseEnter();
  EXPECT_TRUE(Engine->MorphTimer()->Enabled());
}

TEST_F(ActiveSkinObjectTest, UserObjectLeavesPaintingAndMouseToTheApplication) {
  auto R = std::make_unique<TbsDataUserObject>("area");
  R->SkinRect = Rect(30, 4, 60, 20);
  TbsUserObject O(Engine, R.get());
  O.ObjectRect = Rect(130, 4, 160, 20);
  std::vector<String> Log;
  TRect Painted;
  Engine->OnPaintEvent = [&](const String& Name, TCanvas*, const TRect& ObjRect) {
    Log.push_back("paint " + Name);
    Painted = ObjRect;
  };
  Engine->OnMouseDownEvent = [&](const String& Name, Integer X, Integer, const TRect&, TMouseButton) {
    Log.push_back("down " + Name + " " + IntToStr(X));
  };
  Engine->OnMouseUpEvent = [&](const String& Name, Integer, Integer, const TRect&, TMouseButton) {
    Log.push_back("up " + Name);
  };
  Engine->OnMouseEnterEvent = [&](const String& Name) { Log.push_back("enter " + Name); };
  Engine->OnMouseLeaveEvent = [&](const String& Name) { Log.push_back("leave " + Name); };
  EXPECT_EQ(DrawnCentre(O), COLORREF(SheetColor));
  EXPECT_EQ(Painted, Rect(130, 4, 160, 20));
  O.MouseEnter();
  O.MouseDown(140, 10, mbLeft);
  O.MouseUp(140, 10, mbLeft);
  O.MouseLeave();
  // Released after leaving: no up event.
  O.MouseUp(140, 10, mbLeft);
  EXPECT_EQ(Log, (std::vector<String>{"paint area", "enter area", "down area 140", "up area", "leave area"}));
}

// ---------------------------------------------------------------- animated objects

class AnimateObjectTest : public TFrameObjectTest {
 protected:
  // Four frames: the four state cells of row 5; the down image is row 6's down cell.
  std::unique_ptr<TbsDataSkinAnimate> AnimateRecord(Integer Interval, bool Cycle, TbsStdCommand Command) {
    auto R = std::make_unique<TbsDataSkinAnimate>("anim");
    R->ActivePictureIndex = ButtonPicture;
    R->SkinRect = Bounds(0, 0, ButtonSize, ButtonSize);
    R->ActiveSkinRect = Bounds(0, 5 * ButtonSize, 4 * ButtonSize, ButtonSize);
    R->CountFrames = 4;
    R->TimerInterval = Interval;
    R->Cycle = Cycle;
    R->ButtonStyle = true;
    R->Command = Command;
    return R;
  }
  COLORREF FrameColor(int N) { return ButtonColor(5, N - 1); }
};

TEST_F(AnimateObjectTest, ShortIntervalsCountAsOneTick) {
  for (Integer Interval : {0, 10, 25}) {
    auto R = AnimateRecord(Interval, false, cmDefault);
    TbsSkinAnimateObject O(Engine, R.get());
    EXPECT_EQ(O.TimerInterval, 25) << Interval;
    O.Active = true;
    O.ChangeFrame();
    EXPECT_EQ(O.Frame(), 2) << Interval;
  }
}

TEST_F(AnimateObjectTest, IntervalOfHundredAdvancesOnEveryFourthTick) {
  auto R = AnimateRecord(100, false, cmDefault);
  TbsSkinAnimateObject O(Engine, R.get());
  O.Active = true;
  std::vector<Integer> Frames;
  for (int Tick = 0; Tick < 8; ++Tick) {
    O.ChangeFrame();
    Frames.push_back(O.Frame());
  }
  EXPECT_EQ(Frames, (std::vector<Integer>{1, 1, 1, 2, 2, 2, 2, 3}));
}

TEST_F(AnimateObjectTest, HoverPlaysForwardAndStopsLeavingPlaysBackFromWhereItIs) {
  auto R = AnimateRecord(25, false, cmDefault);
  TbsSkinAnimateObject O(Engine, R.get());
  O.ObjectRect = Bounds(50, 10, ButtonSize, ButtonSize);
  EXPECT_EQ(DrawnCentre(O), FrameColor(1));
  O.MouseEnter();
  EXPECT_TRUE(O.Active);
  EXPECT_TRUE(Engine->AnimateTimer()->Enabled());
  std::vector<COLORREF> Seen;
  while (O.Active) {
    O.ChangeFrame();
    Seen.push_back(DrawnCentre(O));
  }
  EXPECT_EQ(Seen, (std::vector<COLORREF>{FrameColor(2), FrameColor(3), FrameColor(4)}));
  EXPECT_EQ(O.Frame(), 4);

  O.SetFrame(3);
  O.MouseLeave();
  EXPECT_TRUE(O.Active);
  EXPECT_FALSE(O.Increment);
  std::vector<Integer> Back;
  while (O.Active) {
    O.ChangeFrame();
    Back.push_back(O.Frame());
  }
  EXPECT_EQ(Back, (std::vector<Integer>{2, 1}));
}

TEST_F(AnimateObjectTest, CyclingAnimationWrapsAndKeepsRunning) {
  auto R = AnimateRecord(25, true, cmDefault);
  TbsSkinAnimateObject O(Engine, R.get());
  O.Start();
  for (int Tick = 0; Tick < 5; ++Tick) O.ChangeFrame();
  EXPECT_EQ(O.Frame(), 2);
  EXPECT_TRUE(O.Active);
  O.Stop();
  EXPECT_EQ(O.Frame(), 1);
  EXPECT_FALSE(O.Active);
}

TEST_F(AnimateObjectTest, PressedWithADownImageShowsItOnlyWhileTheMouseIsOver) {
  auto R = AnimateRecord(25, false, cmDefault);
  R->DownSkinRect = ButtonCell(6, 2);
  TbsSkinAnimateObject O(Engine, R.get());
  O.ObjectRect = Bounds(50, 10, ButtonSize, ButtonSize);
  O.MouseEnter();
  O.MouseDown(55, 15, mbLeft);
  EXPECT_TRUE(O.FDown);
  EXPECT_EQ(DrawnCentre(O), ButtonColor(6, 2));
  O.MouseLeave();
  EXPECT_EQ(DrawnCentre(O), FrameColor(4));
  O.MouseEnter();
  O.MouseUp(55, 15, mbLeft);
  EXPECT_FALSE(O.FDown);
  EXPECT_EQ(DrawnCentre(O), FrameColor(4));
}

TEST_F(AnimateObjectTest, InactiveFormShowsTheInactiveImage) {
  auto R = AnimateRecord(25, false, cmDefault);
  R->InActiveSkinRect = ButtonCell(7, 3);
  TbsSkinAnimateObject O(Engine, R.get());
  O.ObjectRect = Bounds(50, 10, ButtonSize, ButtonSize);
  DeactivateForm();
  EXPECT_EQ(DrawnCentre(O), ButtonColor(7, 3));
}

TEST_F(AnimateObjectTest, RestoreImagesAndHintWhileMaximized) {
  auto R = AnimateRecord(25, false, cmMaximize);
  R->RestoreRect = Bounds(0, 0, ButtonSize, ButtonSize);
  R->RestoreActiveRect = Bounds(0, 8 * ButtonSize, 4 * ButtonSize, ButtonSize);
  R->Hint = "Maximize";
  R->RestoreHint = "Restore";
  TbsSkinAnimateObject O(Engine, R.get());
  O.ObjectRect = Bounds(50, 10, ButtonSize, ButtonSize);
  O.MouseEnter();
  EXPECT_EQ(O.Hint, "Maximize");
  O.MouseLeave();
  Engine->SetWindowState(wsMaximized);
  ASSERT_EQ(Engine->Mode().WindowStateInit, wsMaximized);
  O.MouseEnter();
  EXPECT_EQ(O.Hint, "Restore");
  O.SetFrame(2);
  EXPECT_EQ(DrawnCentre(O), ButtonColor(8, 1));
}

TEST_F(AnimateObjectTest, CommandsRunOnReleaseOverTheObject) {
  auto R = AnimateRecord(25, false, cmMaximize);
  TbsSkinAnimateObject O(Engine, R.get());
  O.MouseEnter();
  O.MouseDown(1, 1, mbLeft);
  O.MouseLeave();
  O.MouseUp(1, 1, mbLeft);
  EXPECT_EQ(Engine->WindowState(), wsNormal);
  O.MouseEnter();
  O.MouseDown(1, 1, mbLeft);
  O.MouseUp(1, 1, mbLeft);
  EXPECT_EQ(Engine->WindowState(), wsMaximized);
  O.MouseDown(1, 1, mbRight);
  O.MouseUp(1, 1, mbRight);
  EXPECT_EQ(Engine->WindowState(), wsMaximized);
}

TEST_F(AnimateObjectTest, RollUpTogglesWithoutEndingTheHover) {
  auto R = AnimateRecord(25, false, cmRollUp);
  TbsSkinAnimateObject O(Engine, R.get());
  O.MouseEnter();
  O.DoCommand();
  EXPECT_TRUE(Engine->RollUpState());
  EXPECT_TRUE(O.FMouseIn);
  O.DoCommand();
  EXPECT_FALSE(Engine->RollUpState());
}

TEST_F(AnimateObjectTest, DoubleClickOnTheSystemMenuObjectClosesTheForm) {
  auto R = AnimateRecord(25, false, cmSysMenu);
  TbsSkinAnimateObject O(Engine, R.get());
  bool Closed = false;
  Form->OnClose = [&](TObject*, TCloseAction& Action) {
    Closed = true;
    Action = caHide;
  };
  O.DblClick();
  EXPECT_TRUE(Closed);
}

TEST_F(AnimateObjectTest, ConstructionRefusesAnotherRecordClass) {
  TbsDataUserObject User("user");
  EXPECT_THROW(TbsSkinAnimateObject(Engine, &User), EInvalidOperation);
}

}  // namespace
