#include "skin/menus/bsskinmenuitem.h"

#include <gtest/gtest.h>

#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/testkit/ui_test_util.h"
#include "skin/menus/testkit/skinmenustestkit.h"

namespace {

TEST(SkinMenuEntryKind, FollowsCaptionAndEnabledState) {
  struct TCase {
    const char* Caption;
    bool Enabled;
    TbsMenuEntryKind Want;
  };
  const TCase Cases[] = {
      {"-", true, TbsMenuEntryKind::Separator},    {"-", false, TbsMenuEntryKind::Separator},
      {"-Word-", false, TbsMenuEntryKind::Header}, {"-Word-", true, TbsMenuEntryKind::Command},
      {"--", false, TbsMenuEntryKind::Header},     {"-Word", false, TbsMenuEntryKind::Command},
      {"Word", true, TbsMenuEntryKind::Command},   {"", false, TbsMenuEntryKind::Command},
  };
  for (const TCase& C : Cases) {
    TMenuItem Item(nullptr);
    Item.SetCaption(C.Caption);
    Item.SetEnabled(C.Enabled);
    EXPECT_EQ(MenuEntryKindOf(&Item), C.Want) << C.Caption << " enabled " << C.Enabled;
  }
}

class SkinMenuEntryLook : public TSkinMenuTest {
 protected:
  COLORREF At(TbsSkinPopupWindow* W, Integer Entry, Integer X, Integer Y) {
    const TRect& R = W->Item(Entry)->ObjectRect;
    return PaintedPixel(W->Handle(), R.Left + X, R.Top + Y);
  }
  static COLORREF Rgb(TColor C) { return ColorToRGB(C); }
  static COLORREF MenuSlice(int State, int Slice) {
    return COLORREF(GeneratedSkinSliceColor(63, State, Slice));
  }
  // Moves the cursor and lets the clock run a millisecond at a time until Done holds.
  void MoveUntil(TPoint P, const std::function<bool()>& Done) {
    wintest::MouseMove(P);
    for (int i = 0; i < 60 && !Done(); ++i) wintest::AdvanceTime(Clock(), 1);
    ASSERT_TRUE(Done());
  }
  TMenuItem* RootWith3() {
    TMenuItem* Root = NewRoot();
    for (const char* C : {"One", "Two", "Three"}) AddItem(Root, C);
    return Root;
  }
};

TEST_F(SkinMenuEntryLook, DefaultLookHighlightsWholeEntriesAndGreysDisabledOnes) {
  TMenuItem* Root = NewRoot();
  AddItem(Root, "Open");
  AddItem(Root, "Off", false);
  AddItem(Root, "-");
  AddItem(Root, "Tick")->SetChecked(true);
  TMenuItem* Radio = AddItem(Root, "Dot");
  Radio->SetRadioItem(true);
  Radio->SetChecked(true);
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  // The highlighted entry fills its glyph column too.
  EXPECT_EQ(At(W, 0, 1, 10), RGB(193, 212, 243));
  EXPECT_EQ(At(W, 0, 40, 2), RGB(193, 212, 243));
  EXPECT_EQ(At(W, 1, 1, 10), Rgb(clWindow));
  // Captions start after the glyph column; a disabled one is drawn in the shadow colour.
  EXPECT_EQ(At(W, 0, 2 + 19 + 2, 10), Rgb(clWindowText));
  EXPECT_EQ(At(W, 1, 2 + 19 + 2, 10), Rgb(clBtnShadow));
  // The mouse never highlights a disabled entry.
  HoverAt(EntryPoint(W, 1));
  EXPECT_EQ(W->ActiveItem, 1);
  EXPECT_EQ(At(W, 1, 1, 10), Rgb(clWindow));
  // The separator is one shadow line across the middle.
  EXPECT_EQ(At(W, 2, 10, 2), Rgb(clBtnShadow));
  EXPECT_EQ(At(W, 2, 10, 1), Rgb(clWindow));
  // Marks at (5, 6) of an entry 20 high: the tick's lowest stroke, the radio dot's middle.
  EXPECT_EQ(At(W, 3, 5, 6 + 5), Rgb(clWindowText));
  EXPECT_EQ(At(W, 4, 5 + 3, 6 + 3), Rgb(clWindowText));
  EXPECT_EQ(At(W, 4, 5 + 3, 6 + 7), Rgb(clWindow));
}

TEST_F(SkinMenuEntryLook, ACheckedEntryWithAnImageIsFramedAndAGlyphPastTheListIsNone) {
  TPopupMenu PM(nullptr);
  TCustomImageList Images(nullptr, 16, 16);
  auto Red = FilledBitmap(16, 16, pf24bit, clRed);
  Images.Add(Red.get(), nullptr);
  PM.SetImages(&Images);
  TMenuItem* Pic = AddItem(PM.Items(), "Pic");
  Pic->SetImageIndex(0);
  Pic->SetChecked(true);
  TMenuItem* Past = AddItem(PM.Items(), "Past");
  Past->SetImageIndex(7);
  Past->SetChecked(true);
  TbsSkinPopupWindow* W = Open(PM.Items(), Rect(100, 100, 100, 100));
  ASSERT_EQ(W->GlyphWidth, 16 + 5);
  // Image at (4, 2) in the entry, its frame one pixel outside.
  EXPECT_EQ(At(W, 0, 4 + 8, 2 + 8), RGB(255, 0, 0));
  EXPECT_EQ(At(W, 0, 3, 1), Rgb(clWindowText));
  EXPECT_EQ(At(W, 0, 4 + 16, 2 + 16), Rgb(clWindowText));
  // No image: the tick instead.
  EXPECT_EQ(At(W, 1, 5, 6 + 5), Rgb(clWindowText));
  EXPECT_NE(At(W, 1, 4 + 8, 2 + 8), RGB(255, 0, 0));
  Menu->HidePopups(0);
}

TEST_F(SkinMenuEntryLook, SkinLookShowsTheEntryElementsStatesAndFollowsTheHighlight) {
  TMenuItem* Root = NewRoot();
  AddItem(Root, "Open");
  AddItem(Root, "-");
  AddItem(Root, "Save");
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100), Skin.get());
  EXPECT_EQ(PaintedPixel(W->Handle(), 0, 0), MenuSlice(1, 0));
  EXPECT_EQ(At(W, 0, 1, 10), MenuSlice(3, 3));
  EXPECT_EQ(At(W, 2, 1, 10), MenuSlice(2, 3));
  EXPECT_EQ(At(W, 1, 24, 3), MenuSlice(4, 4));
  HoverAt(EntryPoint(W, 2));
  EXPECT_EQ(At(W, 0, 1, 10), MenuSlice(2, 3));
  EXPECT_EQ(At(W, 2, 1, 10), MenuSlice(3, 3));
  // Captions in the element's colours: black normal, white highlighted.
  EXPECT_EQ(At(W, 2, 6 + 16 + 2, 10), RGB(255, 255, 255));
  EXPECT_EQ(At(W, 0, 6 + 16 + 2, 10), RGB(0, 0, 0));
}

TEST_F(SkinMenuEntryLook, ImageColourPaintsMarksAndADrawHandlerReplacesTheEntrysContent) {
  auto* MI = dynamic_cast<TbsDataSkinMenuItem*>(Skin->Objects(Skin->GetIndex("menuitem")));
  ASSERT_NE(MI, nullptr);
  MI->UseImageColor = true;
  MI->ImageColor = clRed;
  MI->ActiveImageColor = clLime;
  TMenuItem* Root = NewRoot();
  AddItem(Root, "First");
  AddItem(Root, "Tick")->SetChecked(true);
  TMenuItem* Own = AddItem(Root, "Own");
  TObject* Sender = nullptr;
  SetSkinMenuItemDrawHandler(Own, [&](TObject* S, TCanvas* C, TRect R, bool) {
    Sender = S;
    C->Brush()->SetColor(clBlue);
    C->FillRect(Rect(R.Left, R.Top + 2, R.Left + 4, R.Top + 6));
  });
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100), Skin.get());
  // The tick at (TextRct.Left + 2, 6) in the image colour, the caption still black.
  EXPECT_EQ(At(W, 1, 8, 6 + 5), RGB(255, 0, 0));
  EXPECT_EQ(At(W, 1, 6 + 16 + 2, 10), RGB(0, 0, 0));
  EXPECT_EQ(At(W, 2, 6 + 1, 3), RGB(0, 0, 255));
  EXPECT_EQ(Sender, W->Item(2));
  // The caption the handler did not draw is not there.
  EXPECT_EQ(At(W, 2, 6 + 16 + 2, 10), MenuSlice(2, 4));
  SetSkinMenuItemDrawHandler(Own, nullptr);
}

TEST_F(SkinMenuEntryLook, TheDefaultLookNeverCallsTheDrawHandler) {
  TMenuItem* Root = NewRoot();
  TMenuItem* Own = AddItem(Root, "Own");
  Integer Calls = 0;
  SetSkinMenuItemDrawHandler(Own, [&](TObject*, TCanvas*, TRect, bool) { ++Calls; });
  TbsSkinPopupWindow* W = Open(Root, Rect(100, 100, 100, 100));
  PaintedPixel(W->Handle(), 5, 5);
  EXPECT_EQ(Calls, 0);
  SetSkinMenuItemDrawHandler(Own, nullptr);
}

TEST_F(SkinMenuEntryLook, MorphingFadesInFiveStepsAndBackFromWhereItWas) {
  auto* MI = dynamic_cast<TbsDataSkinMenuItem*>(Skin->Objects(Skin->GetIndex("menuitem")));
  MI->Morphing = true;
  TbsSkinPopupWindow* W = Open(RootWith3(), Rect(100, 100, 100, 100), Skin.get());
  wintest::AdvanceTime(Clock(), 200);
  EXPECT_DOUBLE_EQ(W->Item(0)->MorphKf(), 1.0);
  // The polling sees the cursor within 50 ms; from then on the fade runs in steps of 0.2.
  MoveUntil(EntryPoint(W, 1), [&] { return W->Item(1)->Active; });
  EXPECT_DOUBLE_EQ(W->Item(1)->MorphKf(), 0.0);
  wintest::AdvanceTime(Clock(), 40);
  EXPECT_NEAR(W->Item(1)->MorphKf(), 0.4, 1e-9);
  EXPECT_NEAR(W->Item(0)->MorphKf(), 0.6, 1e-9);
  // Leaving halfway fades back from the reached factor.
  MoveUntil(EntryPoint(W, 2), [&] { return W->Item(2)->Active; });
  const double Reached = W->Item(1)->MorphKf();
  EXPECT_GE(Reached, 0.4);
  wintest::AdvanceTime(Clock(), 20);
  EXPECT_NEAR(W->Item(1)->MorphKf(), Reached - 0.2, 1e-9);
  wintest::AdvanceTime(Clock(), 200);
  EXPECT_DOUBLE_EQ(W->Item(1)->MorphKf(), 0.0);
  EXPECT_DOUBLE_EQ(W->Item(2)->MorphKf(), 1.0);
  EXPECT_FALSE(W->MorphTimer->Enabled());
}

}  // namespace
