#include "skin/forms/frame/bsskincaptionobject.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/core/application.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/win/testkit/testkit.h"
#include "skin/controls/hints/bsskinhint.h"
#include "skin/forms/frame/bsquickbuttons.h"
#include "skin/forms/testkit/frameobjecttestkit.h"
#include "skin/forms/testkit/skinformtestaccess.h"
#include "skin/menus/bsskinmenu.h"

namespace {

// The caption is drawn with the deterministic test font: at em 8 every character is a 4-pixel-wide box
// on a 5-pixel advance, rows 2..7 of a 10-pixel line; at em 12 a 7-pixel box on an 8-pixel advance,
// rows 3..11 of a 15-pixel line.
class CaptionObjectTest : public TFrameObjectTest {
 protected:
  static constexpr TColor TextColor = TColor(0x0000F0);
  static constexpr TColor ActiveTextColor = TColor(0x00F000);

  void SetUp() override {
    TFrameObjectTest::SetUp();
    Record = std::make_unique<TbsDataSkinCaption>("caption");
    Record->SkinRect = Rect(8, 0, 120, 24);
    Record->TextRct = Rect(4, 4, 100, 20);
    Record->FontName = "NerivoTest";
    Record->FontHeight = -8;
    Record->FontColor = TextColor;
    Record->ActiveFontColor = ActiveTextColor;
  }
  std::unique_ptr<TbsSkinCaptionObject> Caption() {
    auto C = std::make_unique<TbsSkinCaptionObject>(Engine, Record.get());
    C->ObjectRect = Record->SkinRect;
    return C;
  }
  // Columns of row Y (from 0 to the sheet's width) painted in Colour.
  std::vector<Integer> ColumnsIn(Integer Y, COLORREF Colour) {
    std::vector<Integer> Xs;
    for (Integer X = 0; X < Sheet->Width(); ++X)
      if (SheetPixel(X, Y) == Colour) Xs.push_back(X);
    return Xs;
  }
  // The first row of column X painted in Colour, -1 when none.
  Integer FirstRowIn(Integer X, COLORREF Colour) {
    for (Integer Y = 0; Y < Sheet->Height(); ++Y)
      if (SheetPixel(X, Y) == Colour) return Y;
    return -1;
  }
  void DrawCaption(TbsSkinCaptionObject& C) {
    FitSheetTo(C.ObjectRect);
    ClearSheet();
    C.Draw(Sheet->Canvas(), false);
  }
  std::unique_ptr<TbsDataSkinCaption> Record;
};

TEST_F(CaptionObjectTest, LongCaptionIsCutWithDotsToTheTextArea) {
  Form->SetCaption("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  auto C = Caption();
  DrawCaption(*C);
  // 16 letters and "..." fit the 96-pixel text area (19 x 5 = 95); the text starts at the area's left.
  const auto Xs = ColumnsIn(12, COLORREF(TextColor));
  ASSERT_FALSE(Xs.empty());
  EXPECT_EQ(Xs.front(), 8 + 4);
  EXPECT_EQ(Xs.back(), 8 + 4 + 18 * 5 + 3);
  EXPECT_EQ(Xs.size(), 19u * 4u);
}

TEST_F(CaptionObjectTest, AlignmentPlacesTheTextAndQuickButtonsForceCentring) {
  Form->SetCaption("AB");
  struct Case {
    TAlignment Alignment;
    bool QuickButton;
    Integer FirstColumn;
  } Cases[] = {
      {taLeftJustify, false, 8 + 4},
      {taRightJustify, false, 8 + 100 - 10},
      {taCenter, false, 8 + 4 + 48 - 5},
      // One 10-pixel quick button moves the area's left edge by 10 + 8 + 5: 27 .. 100, centred.
      {taRightJustify, true, 8 + 27 + 36 - 5},
  };
  TCustomImageList Images(nullptr, 10, 10);
  for (const Case& C : Cases) {
    SCOPED_TRACE(int(C.Alignment) * 10 + C.QuickButton);
    Record->Alignment = C.Alignment;
    Engine->QuickButtons()->Clear();
    Engine->SetQuickImageList(C.QuickButton ? &Images : nullptr);
    if (C.QuickButton) Engine->QuickButtons()->Add();
    auto Obj = Caption();
    DrawCaption(*Obj);
    const auto Xs = ColumnsIn(12, COLORREF(TextColor));
    ASSERT_FALSE(Xs.empty());
    EXPECT_EQ(Xs.front(), C.FirstColumn);
  }
  Engine->SetQuickImageList(nullptr);
}

TEST_F(CaptionObjectTest, OddFontHeightDrawsOnePixelHigher) {
  Form->SetCaption("A");
  // em 8: a 10-pixel line centred in rows 4..20 starts at row 7, its box at row 9.
  auto Even = Caption();
  DrawCaption(*Even);
  EXPECT_EQ(FirstRowIn(12, COLORREF(TextColor)), 7 + 2);
  // em 12: a 15-pixel line would start at row 5; odd, it starts at row 4, its box at row 7.
  Record->FontHeight = -12;
  auto Odd = Caption();
  DrawCaption(*Odd);
  EXPECT_EQ(FirstRowIn(12, COLORREF(TextColor)), 4 + 3);
}

TEST_F(CaptionObjectTest, TextAreaKeepsItsRightMarginOnAWiderCaption) {
  Form->SetCaption("ABCDEFGHIJKLMNOPQRSTUVWXYZABCD");
  auto C = Caption();
  // 40 pixels wider than in the skin: the text area grows to 4 .. 140, still 12 from the right edge,
  // so 24 letters and "..." fit (27 x 5 = 135).
  C->ObjectRect = Rect(8, 0, 160, 24);
  DrawCaption(*C);
  const auto Xs = ColumnsIn(12, COLORREF(TextColor));
  ASSERT_FALSE(Xs.empty());
  EXPECT_EQ(Xs.back(), 8 + 4 + 26 * 5 + 3);
  EXPECT_EQ(Xs.size(), 27u * 4u);
}

TEST_F(CaptionObjectTest, ActiveCaptionUsesTheActiveColourAndThePaintEventReplacesTheText) {
  Form->SetCaption("AB");
  auto C = Caption();
  C->Active = true;
  DrawCaption(*C);
  EXPECT_FALSE(ColumnsIn(12, COLORREF(ActiveTextColor)).empty());
  EXPECT_TRUE(ColumnsIn(12, COLORREF(TextColor)).empty());

  std::vector<std::pair<TRect, bool>> Calls;
  Engine->OnCaptionPaint = [&](TCanvas*, const TRect& R, bool AActive) { Calls.push_back({R, AActive}); };
  DrawCaption(*C);
  EXPECT_TRUE(ColumnsIn(12, COLORREF(ActiveTextColor)).empty());
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].first, Rect(8, 0, 120, 24));
  EXPECT_TRUE(Calls[0].second);
}

TEST_F(CaptionObjectTest, ShadowAndLightCopiesSitOnePixelAway) {
  Form->SetCaption("A");
  Record->Shadow = true;
  Record->ShadowColor = TColor(0x303030);
  Record->Light = true;
  Record->LightColor = TColor(0xE0E0E0);
  auto C = Caption();
  DrawCaption(*C);
  // Text box columns 12..15 rows 9..14; the light copy peeks out at (11, 8), the shadow at (16, 15).
  EXPECT_EQ(SheetPixel(12, 9), COLORREF(TextColor));
  EXPECT_EQ(SheetPixel(11, 8), COLORREF(0xE0E0E0));
  EXPECT_EQ(SheetPixel(16, 15), COLORREF(0x303030));
}

TEST_F(CaptionObjectTest, AnimationFrameShowsTheStripWithTheTextOfTheStateBeingLeft) {
  Form->SetCaption("A");
  // Five frames side by side: the four state cells of row 2 and the first of row 3, each 16 wide.
  Record->ActivePictureIndex = ButtonPicture;
  Record->SkinRect = Rect(8, 0, 24, 16);
  Record->ActiveSkinRect = ButtonCell(2, 1);
  Record->TextRct = Rect(0, 0, 16, 16);
  Record->AnimateSkinRect = Bounds(0, 2 * ButtonSize, 4 * ButtonSize, ButtonSize);
  Record->FrameCount = 4;
  auto C = Caption();
  ASSERT_TRUE(C->EnableAnimation());
  C->Active = true;
  for (int Frame = 1; Frame <= 4; ++Frame) {
    C->CurrentFrame = Frame;
    DrawCaption(*C);
    EXPECT_EQ(SheetPixel(8 + 8, 8), ButtonColor(2, Frame - 1)) << Frame;
    // Becoming active, the text still has the inactive colour.
    EXPECT_EQ(SheetPixel(8 + 1, 5), COLORREF(TextColor)) << Frame;
  }
  Skin->SetEnableSkinEffects(false);
  EXPECT_FALSE(C->EnableAnimation());
}

// ---------------------------------------------------------------- quick buttons

class QuickButtonsTest : public CaptionObjectTest {
 protected:
  void SetUp() override {
    CaptionObjectTest::SetUp();
    Images = std::make_unique<TCustomImageList>(nullptr, 10, 10);
    TBitmap Red;
    Red.SetSize(10, 10);
    Red.Canvas()->Brush()->SetColor(clRed);
    Red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    Images->Add(&Red, nullptr);
    Engine->SetQuickImageList(Images.get());
    for (int i = 0; i < 3; ++i) Engine->QuickButtons()->Add()->SetImageIndex(0);
    // The engine's own caption: it lays the shared items out whenever the frame is painted.
    Obj = dynamic_cast<TbsSkinCaptionObject*>(Engine->Objects(Engine->GetIndex("caption")));
    ASSERT_NE(Obj, nullptr);
    L = Obj->ObjectRect.Left;
    T = Obj->ObjectRect.Top + RectHeight(Obj->ObjectRect) / 2 - 5 - 2;
  }
  void TearDown() override {
    Engine->SetQuickImageList(nullptr);
    Images.reset();
    CaptionObjectTest::TearDown();
  }
  TbsQuickButtonItem* Item(int i) { return Engine->QuickButtons()->Items(i); }
  // Centre of item i as last laid out.
  TPoint CentreOf(int i) {
    const TRect& R = Item(i)->ItemRect;
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  std::unique_ptr<TCustomImageList> Images;
  TbsSkinCaptionObject* Obj = nullptr;
  // Where the first button goes: the caption's left edge, its middle less half an image and 2.
  Integer L = 0, T = 0;
};

TEST_F(QuickButtonsTest, VisibleButtonsAreLaidOutLeftToRightWithTheirImages) {
  Item(1)->SetVisible(false);
  DrawCaption(*Obj);
  // Each button 14 x 14, 18 apart, the image centred; the hidden one takes no room.
  EXPECT_EQ(Item(0)->ItemRect, Bounds(L, T, 14, 14));
  EXPECT_EQ(Item(2)->ItemRect, Bounds(L + 18, T, 14, 14));
  EXPECT_EQ(SheetPixel(L + 7, T + 7), COLORREF(clRed));
  EXPECT_EQ(SheetPixel(L + 18 + 2, T + 2), COLORREF(clRed));
  EXPECT_NE(SheetPixel(L, T), COLORREF(clRed));
}

TEST_F(QuickButtonsTest, HoveredAndPressedButtonsGetTheirBackgrounds) {
  DrawCaption(*Obj);
  const TPoint P = CentreOf(0);
  Obj->MouseMove(P.X, P.Y);
  EXPECT_EQ(Obj->ActiveQuickButton, 0);
  EXPECT_TRUE(Item(0)->Active);
  DrawCaption(*Obj);
  EXPECT_EQ(SheetPixel(L, T), SliceColor("resizetoolbutton", 1, 0));
  Obj->MouseDown(P.X, P.Y, mbLeft);
  EXPECT_TRUE(Item(0)->Down);
  DrawCaption(*Obj);
  EXPECT_EQ(SheetPixel(L, T), SliceColor("resizetoolbutton", 2, 0));
  Obj->MouseMove(L - 20, T);
  EXPECT_EQ(Obj->ActiveQuickButton, -1);
  EXPECT_FALSE(Item(0)->Active);
}

TEST_F(QuickButtonsTest, ClickFiresOnReleaseOverThePressedButtonWithTheCaptionAsSender) {
  std::vector<TObject*> Senders;
  Item(1)->OnClick = [&](TObject* Sender) { Senders.push_back(Sender); };
  DrawCaption(*Obj);
  const TPoint P = CentreOf(1);
  Obj->MouseMove(P.X, P.Y);
  Obj->MouseDown(P.X, P.Y, mbLeft);
  Obj->MouseUp(P.X, P.Y, mbLeft);
  ASSERT_EQ(Senders.size(), 1u);
  EXPECT_EQ(Senders[0], Obj);
  EXPECT_FALSE(Item(1)->Down);

  // Released outside: no click, the button comes up.
  Obj->MouseMove(P.X, P.Y);
  Obj->MouseDown(P.X, P.Y, mbLeft);
  Obj->MouseMove(L - 20, T);
  Obj->MouseUp(L - 20, T, mbLeft);
  EXPECT_EQ(Senders.size(), 1u);
  EXPECT_FALSE(Item(1)->Down);
  EXPECT_EQ(Obj->MouseCaptureQuickButton, -1);
}

TEST_F(QuickButtonsTest, ButtonWithAMenuOpensItOnThePressAndStaysDownUntilItCloses) {
  auto* Menu = new TbsSkinPopupMenu(Form);
  auto* Entry = new TMenuItem(Menu);
  Entry->SetCaption("Entry");
  Menu->Items()->Add(Entry);
  Item(1)->PopupMenu = Menu;
  int Clicks = 0;
  Item(1)->OnClick = [&](TObject*) { ++Clicks; };
  DrawCaption(*Obj);
  const TPoint P = CentreOf(1);
  Obj->MouseMove(P.X, P.Y);
  Obj->MouseDown(P.X, P.Y, mbLeft);
  EXPECT_EQ(Obj->PopupMenuQuickButton, 1);
  EXPECT_EQ(Obj->MouseCaptureQuickButton, -1);
  EXPECT_TRUE(Item(1)->Down);
  EXPECT_GT(Engine->SkinMenu()->PopupCount(), 0);
  Obj->MouseUp(P.X, P.Y, mbLeft);
  EXPECT_TRUE(Item(1)->Down) << "the open menu keeps its button pressed";
  EXPECT_EQ(Clicks, 0) << "a menu button opens its menu instead of clicking";
  Engine->SkinMenu()->Hide();
  Application->ProcessMessages();  // the closed levels are freed after the call that closed them
  EXPECT_FALSE(Item(1)->Down);
  EXPECT_EQ(Obj->PopupMenuQuickButton, -1);
}

TEST_F(QuickButtonsTest, DisabledButtonIsNeitherHoveredNorClicked) {
  int Clicks = 0;
  Item(0)->OnClick = [&](TObject*) { ++Clicks; };
  Item(0)->SetEnabled(false);
  DrawCaption(*Obj);
  const TPoint P = CentreOf(0);
  Obj->MouseMove(P.X, P.Y);
  Obj->MouseDown(P.X, P.Y, mbLeft);
  Obj->MouseUp(P.X, P.Y, mbLeft);
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(Item(0)->Active);
}

TEST_F(QuickButtonsTest, LeavingTheCaptionWhilePressedReleasesTheButton) {
  DrawCaption(*Obj);
  const TPoint P = CentreOf(2);
  Obj->MouseEnter();
  Obj->MouseMove(P.X, P.Y);
  Obj->MouseDown(P.X, P.Y, mbLeft);
  TbsSkinFormTestAccess::Mode(Engine).MouseCaptureObject = 0;
  Obj->MouseLeave();
  EXPECT_FALSE(Item(2)->Down);
  EXPECT_FALSE(Item(2)->Active);
  EXPECT_FALSE(Obj->FDown);
  EXPECT_EQ(Engine->Mode().MouseCaptureObject, -1);
  EXPECT_EQ(Obj->MouseCaptureQuickButton, -1);
}

// With QuickButtonsShowHint a hovered button shows its hint after the hint pause, and leaving or
// pressing it takes the hint away; without it no button hint ever shows.
TEST_F(QuickButtonsTest, HoveredButtonsShowTheirHintsOnlyWhenTheEngineSaysSo) {
  ASSERT_EQ(Application->MainForm(), Form);
  auto* Hint = new TbsSkinHint(Form);
  Engine->SetSkinHint(Hint);
  Item(0)->Hint = "上移";
  Item(1)->Hint = "下移";
  for (const bool ShowHint : {true, false}) {
    SCOPED_TRACE(ShowHint);
    Engine->SetQuickButtonsShowHint(ShowHint);
    DrawCaption(*Obj);
    const TPoint First = CentreOf(0), Second = CentreOf(1);
    Obj->MouseMove(First.X, First.Y);
    EXPECT_EQ(Hint->TimerRunning(), ShowHint);
    wintest::AdvanceTime(Clock(), Cardinal(Application->HintPause()));
    EXPECT_EQ(Hint->IsVisible(), ShowHint);
    if (ShowHint) {
      EXPECT_EQ(Hint->HintWindow()->Caption(), "上移");
    }
    // Onto the next button: its own hint.
    Obj->MouseMove(Second.X, Second.Y);
    wintest::AdvanceTime(Clock(), Cardinal(Application->HintPause()));
    if (ShowHint) {
      EXPECT_EQ(Hint->HintWindow()->Caption(), "下移");
    }
    // A press hides it; so does leaving the buttons.
    Obj->MouseDown(Second.X, Second.Y, mbLeft);
    EXPECT_FALSE(Hint->IsVisible());
    Obj->MouseUp(Second.X, Second.Y, mbLeft);
    Obj->MouseMove(First.X, First.Y);
    wintest::AdvanceTime(Clock(), Cardinal(Application->HintPause()));
    EXPECT_EQ(Hint->IsVisible(), ShowHint);
    Obj->MouseMove(L - 20, T);
    EXPECT_FALSE(Hint->IsVisible());
    EXPECT_FALSE(Hint->TimerRunning());
  }
  Engine->SetSkinHint(nullptr);
}

TEST_F(QuickButtonsTest, ItemsRepaintTheFrameOnImageEnabledAndVisibleChangesOnly) {
  Form->HandleNeeded();
  wintest::TMessageSpy Spy({Form->Handle()});
  Item(0)->SetImageIndex(1);
  Item(0)->SetEnabled(false);
  Item(0)->SetVisible(false);
  EXPECT_EQ(Spy.Count(Form->Handle(), WM_NCPAINT), 3);
  Spy.Clear();
  Item(0)->Hint = "changed";
  EXPECT_EQ(Spy.Count(Form->Handle(), WM_NCPAINT), 0);
  // A stored layout being loaded sets its items without repainting.
  Engine->BeginLoading();
  Item(1)->SetImageIndex(2);
  Engine->EndLoading();
  EXPECT_EQ(Spy.Count(Form->Handle(), WM_NCPAINT), 0);
}

TEST_F(QuickButtonsTest, AssignCopiesTheLookButNotTheHandlers) {
  TbsQuickButtonItem* Source = Item(0);
  TbsQuickButtonItem* Target = Item(1);
  Source->SetImageIndex(4);
  Source->Hint = "source";
  Source->SetEnabled(false);
  Source->SetVisible(false);
  bool TargetClicked = false;
  Target->OnClick = [&](TObject*) { TargetClicked = true; };
  Target->Assign(Source);
  EXPECT_EQ(Target->ImageIndex(), 4);
  EXPECT_EQ(Target->Hint, "source");
  EXPECT_FALSE(Target->Enabled());
  EXPECT_FALSE(Target->Visible());
  ASSERT_TRUE(Target->OnClick);
  Target->OnClick(nullptr);
  EXPECT_TRUE(TargetClicked);
}

TEST_F(QuickButtonsTest, NewItemStartsWithNoImageEnabledAndVisible) {
  TbsQuickButtonItem* I = Engine->QuickButtons()->Add();
  EXPECT_EQ(I->ImageIndex(), -1);
  EXPECT_TRUE(I->Enabled());
  EXPECT_TRUE(I->Visible());
  EXPECT_FALSE(I->Active || I->Down);
  EXPECT_EQ(Engine->QuickButtons()->GetOwner(), Engine);
}

}  // namespace

namespace {

TEST_F(CaptionObjectTest, ActivationPlaysFiveFramesTwoTicksEachThenShowsTheActiveCaption) {
  auto* C = dynamic_cast<TbsSkinCaptionObject*>(Engine->Objects(Engine->GetIndex("caption")));
  ASSERT_NE(C, nullptr);
  C->ActivePicture = Skin->Picture(ButtonPicture);
  C->AnimateSkinRect = Bounds(0, 0, 4 * ButtonSize, 5 * ButtonSize);
  C->FrameCount = 5;
  C->AnimateInterval = 50;
  ASSERT_TRUE(C->EnableAnimation());
  ASSERT_TRUE(Engine->GetFormActive());
  C->Active = false;
  Engine->CheckFormActive(true);
  EXPECT_TRUE(C->Active);
  EXPECT_EQ(C->CurrentFrame, 1);
  ASSERT_TRUE(Engine->AnimateTimer()->Enabled());
  std::vector<Integer> Frames{C->CurrentFrame};
  while (Engine->AnimateTimer()->Enabled() && Frames.size() < 20) {
    wintest::AdvanceTime(Clock(), 25);
    Frames.push_back(C->CurrentFrame);
  }
  // Frame 6 is past the end: the normal active look; the timer runs out its interval once more.
  EXPECT_EQ(Frames, (std::vector<Integer>{1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 6}));
  EXPECT_FALSE(Engine->AnimateTimer()->Enabled());
}

}  // namespace

namespace {

// The caption drawn into a layered border's 32-bit image.
class CaptionAlphaTest : public CaptionObjectTest {
 protected:
  void SetUp() override {
    CaptionObjectTest::SetUp();
    Image.SetSize(200, 40);
    Image.Clear(0);
    // A half-transparent band the caption must leave as it is wherever it draws nothing.
    for (Integer X = 0; X < 200; ++X) *Image.GetPixelPtr(X, 30) = 0x80102030;
  }
  TbsColor At(Integer X, Integer Y) { return *Image.GetPixelPtr(X, Y); }
  TbsBitmap Image;
};

TEST_F(CaptionAlphaTest, TextTurnsOpaqueAndEverythingElseKeepsItsAlpha) {
  Form->SetCaption("AB");
  TbsSkinFormTestAccess::Mode(Engine).FormActive = false;
  auto C = Caption();
  C->DrawAlpha(Image.Canvas(), &Image);
  // The whole object is the text area here: "A" at (8, 7), its box columns 8..11, rows 9..14.
  EXPECT_EQ(At(9, 10) >> 24, 0xFFu);
  EXPECT_EQ(At(9, 10) & 0xFFFFFF, ColorToBsColor(TextColor, 0) & 0xFFFFFF);
  EXPECT_EQ(At(12, 10) >> 24, 0u) << "the blank column between the letters";
  EXPECT_EQ(At(60, 10), 0u);
  EXPECT_EQ(At(9, 30), 0x80102030u);
  EXPECT_FALSE(C->Active) << "the caption takes the engine's activation";
}

TEST_F(CaptionAlphaTest, GlowOfAnInactiveFormShowsOnlyInTheLayeredImage) {
  Form->SetCaption("AB");
  Record->VistaGlowEffect = true;
  Record->VistaGlowInActiveEffect = false;
  Record->GlowActiveColor = Record->GlowColor = TColor(0x00FFFF);
  Record->TextRct = Rect(0, 0, 112, 24);
  auto C = Caption();
  DeactivateForm();
  TbsSkinFormTestAccess::Mode(Engine).FormActive = false;
  // In the window frame: plain text, nothing around it.
  DrawCaption(*C);
  const Integer Left = ColumnsIn(12, COLORREF(TextColor)).front();
  EXPECT_EQ(SheetPixel(Left - 3, 12), COLORREF(SheetColor));
  // In the layered image the glow plate lies around the text (narrowed text area: 6 in from the left).
  C->DrawAlpha(Image.Canvas(), &Image);
  const Integer TextLeft = 8 + 6;
  EXPECT_EQ(At(TextLeft + 1, 10) >> 24, 0xFFu);
  EXPECT_GT(At(TextLeft - 3, 12) >> 24, 0u);
}

}  // namespace

namespace {

TEST_F(CaptionObjectTest, FramePictureSitsBehindTheTextInTheFormsState) {
  Form->SetCaption("A");
  Record->ActivePictureIndex = ButtonPicture;
  Record->FrameRect = ButtonCell(2, 0);
  Record->ActiveFrameRect = ButtonCell(2, 1);
  Record->FrameTextRect = Rect(4, 3, 12, 13);
  Record->FrameLeftOffset = Record->FrameRightOffset = 4;
  auto C = Caption();
  // Text at (16, 8) inside the frame's text place; the 13-pixel frame picture at (12, 5).
  DrawCaption(*C);
  EXPECT_EQ(SheetPixel(17, 12), COLORREF(TextColor));
  EXPECT_EQ(SheetPixel(13, 13), COLORREF(GeneratedSkinSliceColor(62 - 2, 0, 3)));
  EXPECT_EQ(SheetPixel(11, 13), COLORREF(SheetColor));
  C->Active = true;
  DrawCaption(*C);
  EXPECT_EQ(SheetPixel(13, 13), COLORREF(GeneratedSkinSliceColor(62 - 2, 1, 3)));
}

TEST_F(CaptionObjectTest, InactiveImageGoesThroughTheSkinsInactiveEffect) {
  Form->SetCaption("");
  Record->ActivePictureIndex = ButtonPicture;
  Record->SkinRect = Rect(8, 0, 24, 16);
  Record->ActiveSkinRect = ButtonCell(2, 1);
  Record->StretchEffect = true;
  auto C = Caption();
  DeactivateForm();
  const COLORREF Frame = COLORREF(Skin->FPicture->Canvas()->Pixels(8 + 12, 8)) & 0xFFFFFF;
  DrawCaption(*C);
  EXPECT_EQ(SheetPixel(8 + 12, 8), Frame);
  Skin->AutoRenderingInActiveImage = true;
  Skin->InActiveEffect = ieInvert;
  DrawCaption(*C);
  EXPECT_EQ(SheetPixel(8 + 12, 8), Frame ^ 0xFFFFFF);
  // The active form shows the active caption image.
  C->Active = true;
  DrawCaption(*C);
  EXPECT_EQ(SheetPixel(8 + 8, 8), ButtonColor(2, 1));
}

}  // namespace

namespace {

TEST_F(CaptionObjectTest, ActivationMorphsFromTheInactiveToTheActiveCaption) {
  Form->SetCaption("");
  Record->ActivePictureIndex = ButtonPicture;
  Record->SkinRect = Rect(8, 0, 24, 16);
  Record->ActiveSkinRect = ButtonCell(2, 1);
  Record->Morphing = true;
  auto C = Caption();
  ASSERT_TRUE(C->EnableMorphing());
  const COLORREF Inactive = COLORREF(Skin->FPicture->Canvas()->Pixels(8 + 8, 8)) & 0xFFFFFF;
  const COLORREF Active = ButtonColor(2, 1);
  C->Active = true;
  C->SetMorphKf(0);
  DrawCaption(*C);
  EXPECT_EQ(SheetPixel(8 + 8, 8), Inactive);
  C->SetMorphKf(0.6);
  DrawCaption(*C);
  const COLORREF Mid = SheetPixel(8 + 8, 8);
  EXPECT_NE(Mid, Inactive);
  EXPECT_NE(Mid, Active);
  EXPECT_GE(GetGValue(Mid), std::min(GetGValue(Inactive), GetGValue(Active)));
  EXPECT_LE(GetGValue(Mid), std::max(GetGValue(Inactive), GetGValue(Active)));
  C->SetMorphKf(1);
  DrawCaption(*C);
  EXPECT_EQ(SheetPixel(8 + 8, 8), Active);
}

}  // namespace
