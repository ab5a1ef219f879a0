#include "skin/controls/bars/bsskinscrollbar.h"

#include <gtest/gtest.h>

#include "platform/win/scrollbar.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

using wintest::ScreenPoint;

const COLORREF HotFrame = RGB(59, 107, 183);
const COLORREF HotFill = RGB(193, 212, 243);
const COLORREF DownFill = RGB(162, 188, 228);

class SkinScrollBar : public TSkinControlTest {
 protected:
  // A bar on a form whose events are logged; skinned with the generated skin when Skinned.
  TbsSkinScrollBar* NewBar(TRect Bounds, bool Skinned, TScrollBarKind Kind = sbHorizontal) {
    TForm* F = NewForm();
    auto* B = new TbsSkinScrollBar(F);
    B->SetKind(Kind);
    if (Kind == sbVertical) B->SetSkinDataName("vscrollbar");
    B->SetBoundsRect(Bounds);
    B->SetParent(F);
    if (Skinned) B->SetSkinData(Skin.get());
    B->OnChange = [this](TObject*) { Log.push_back("change"); };
    B->OnLastChange = [this](TObject*) { Log.push_back("last"); };
    B->OnPageUp = [this](TObject*) { Log.push_back("pageup"); };
    B->OnPageDown = [this](TObject*) { Log.push_back("pagedown"); };
    B->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Log.push_back("down"); };
    B->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) { Log.push_back("up"); };
    return B;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }
  Integer Count(const String& What) const { return Integer(std::count(Log.begin(), Log.end(), What)); }
  TbsDataSkinScrollBarControl* Record(const String& Name) {
    return dynamic_cast<TbsDataSkinScrollBarControl*>(Skin->Ctrls(Skin->GetControlIndex(Name)));
  }
  static void ExpectRect(const TRect& Got, const TRect& Want, const char* What) {
    EXPECT_EQ(Got.Left, Want.Left) << What;
    EXPECT_EQ(Got.Top, Want.Top) << What;
    EXPECT_EQ(Got.Right, Want.Right) << What;
    EXPECT_EQ(Got.Bottom, Want.Bottom) << What;
  }

  std::vector<String> Log;
};

// ---- value model ----

TEST_F(SkinScrollBar, DefaultsOfANewBar) {
  TbsSkinScrollBar B(nullptr);
  EXPECT_EQ(B.Width(), 200);
  EXPECT_EQ(B.Height(), 19);
  EXPECT_EQ(B.DefaultHeight(), 19);
  EXPECT_EQ(B.SkinDataName(), "hscrollbar");
  EXPECT_EQ(B.BothSkinDataName(), "bothhscrollbar");
  EXPECT_EQ(B.Kind(), sbHorizontal);
  EXPECT_EQ(B.Min(), 0);
  EXPECT_EQ(B.Max(), 100);
  EXPECT_EQ(B.Position(), 0);
  EXPECT_EQ(B.PageSize(), 0);
  EXPECT_EQ(B.SmallChange(), 1);
  EXPECT_EQ(B.LargeChange(), 1);
  EXPECT_EQ(B.BothMarkerWidth(), 19);
  EXPECT_FALSE(B.Both());
  EXPECT_FALSE(B.CanFocused());
  EXPECT_FALSE(B.TabStop());
  B.SetCanFocused(true);
  EXPECT_TRUE(B.TabStop());
  B.SetBothMarkerWidth(-1);
  EXPECT_EQ(B.BothMarkerWidth(), 19);
}

TEST_F(SkinScrollBar, PositionIsClampedToMinAndToMaxLessThePage) {
  const struct {
    Integer Min, Max, PageSize, Start, Set, Want, Changes;
  } Cases[] = {
      {0, 100, 10, 0, 105, 91, 1},   // Max - PageSize + 1
      {0, 100, 0, 0, 105, 100, 1},   // classic bar: Max itself
      {0, 100, 10, 0, 91, 91, 1},    // the largest position is reachable
      {10, 100, 0, 50, -5, 10, 1},   // below Min
      {0, 100, 0, 40, 40, 40, 0},    // same value: no event
      {0, 100, 10, 91, 200, 91, 0},  // clamped onto the value it has
  };
  for (const auto& C : Cases) {
    TbsSkinScrollBar B(nullptr);
    B.SetRange(C.Min, C.Max, C.Start, C.PageSize);
    Integer Changes = 0;
    B.OnChange = [&](TObject*) { ++Changes; };
    B.SetPosition(C.Set);
    EXPECT_EQ(B.Position(), C.Want) << "set " << C.Set << " page " << C.PageSize;
    EXPECT_EQ(Changes, C.Changes) << "set " << C.Set << " page " << C.PageSize;
  }
}

// A view hides its window's own bar and mirrors that bar's scroll info onto a skinned one: what the
// window keeps, read back, goes through SetRange; the bar clamps as the window does.
TEST_F(SkinScrollBar, MirrorsTheScrollInfoOfAHostWindow) {
  const struct {
    Integer Min, Max, Page, Pos, WantPos, WantTop;
  } Cases[] = {
      {0, 99, 10, 95, 90, 90},     // Max - PageSize + 1 holds the position
      {0, 99, 0, 150, 99, 99},     // without a page, Max
      {5, 40, 1, 2, 5, 40},        // below Min; a page of one reaches Max
      {-20, 20, 41, 7, -20, -20},  // a page of the whole range leaves one position
  };
  for (const auto& C : Cases) {
    const String What =
        std::to_string(C.Min) + ".." + std::to_string(C.Max) + " page " + std::to_string(C.Page);
    auto* B = NewBar(Bounds(10, 10, 200, 19), true);
    HWND Host = B->Parent()->Handle();
    SCROLLINFO Set;
    Set.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Set.nMin = C.Min;
    Set.nMax = C.Max;
    Set.nPage = UINT(C.Page);
    Set.nPos = C.Pos;
    SetScrollInfo(Host, SB_VERT, &Set, false);
    SCROLLINFO Got;
    Got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Host, SB_VERT, &Got)) << What;
    B->SetRange(Got.nMin, Got.nMax, Got.nPos, Integer(Got.nPage));
    EXPECT_EQ(B->Min(), C.Min) << What;
    EXPECT_EQ(B->Max(), C.Max) << What;
    EXPECT_EQ(B->PageSize(), C.Page) << What;
    EXPECT_EQ(B->Position(), C.WantPos) << What;
    // Past the end on both: the same top position, and the bar only reports it when it moved.
    const Integer Before = B->Position();
    Log.clear();
    B->SetPosition(C.Max + 1000);
    Set.fMask = SIF_POS;
    Set.nPos = C.Max + 1000;
    EXPECT_EQ(SetScrollInfo(Host, SB_VERT, &Set, false), C.WantTop) << What;
    EXPECT_EQ(B->Position(), C.WantTop) << What;
    EXPECT_EQ(Count("change"), C.WantTop != Before ? 1 : 0) << What;
    // Raw values straight from the window, unclamped, meet the same bound.
    B->SetRange(C.Min, C.Max, C.Max, C.Page);
    EXPECT_EQ(B->Position(), C.WantTop) << What;
  }
}

TEST_F(SkinScrollBar, RangeSettersMoveThePositionWithoutAnEvent) {
  TbsSkinScrollBar B(nullptr);
  Integer Changes = 0;
  B.OnChange = [&](TObject*) { ++Changes; };
  // SetRange mirrors a host: clamped, never an event, also when the position moves.
  B.SetRange(0, 50, 80, 11);
  EXPECT_EQ(B.Position(), 40);
  EXPECT_EQ(B.PageSize(), 11);
  B.SimplySetPosition(-3);
  EXPECT_EQ(B.Position(), 0);
  B.SimplySetPosition(30);
  EXPECT_EQ(B.Position(), 30);
  // Max lowers the position to the largest one the page leaves, then never below Min.
  B.SetMax(35);
  EXPECT_EQ(B.Position(), 25);
  B.SetMin(28);
  EXPECT_EQ(B.Position(), 28);
  B.SetMax(30);
  EXPECT_EQ(B.Position(), 28);
  // Without a page the position is lowered to Max itself.
  B.SetRange(0, 100, 90, 0);
  B.SetMax(60);
  EXPECT_EQ(B.Position(), 60);
  // A page that would reach past the range from the position is refused.
  B.SimplySetPosition(20);
  B.SetPageSize(42);
  EXPECT_EQ(B.PageSize(), 0);
  B.SetPageSize(41);
  EXPECT_EQ(B.PageSize(), 41);
  EXPECT_EQ(Changes, 0);
}

TEST_F(SkinScrollBar, KindAtDesignTimeTurnsTheBarAndItsElement) {
  TbsSkinScrollBar B(nullptr);
  // At run time only the orientation changes.
  B.SetKind(sbVertical);
  EXPECT_EQ(B.SkinDataName(), "hscrollbar");
  EXPECT_EQ(B.Width(), 200);
  B.SetKind(sbHorizontal);
  B.SetDesigning(true);
  B.SetKind(sbVertical);
  EXPECT_EQ(B.SkinDataName(), "vscrollbar");
  EXPECT_EQ(B.Width(), 19);
  EXPECT_EQ(B.Height(), 200);
  EXPECT_EQ(B.DefaultWidth(), 19);
  EXPECT_EQ(B.DefaultHeight(), 0);
  B.SetKind(sbHorizontal);
  EXPECT_EQ(B.SkinDataName(), "hscrollbar");
  EXPECT_EQ(B.Width(), 200);
  EXPECT_EQ(B.Height(), 19);
  EXPECT_EQ(B.DefaultWidth(), 0);
  EXPECT_EQ(B.DefaultHeight(), 19);
  // Both keeps its element name at design time.
  B.SetBoth(true);
  EXPECT_EQ(B.SkinDataName(), "hscrollbar");
}

// ---- geometry ----

TEST_F(SkinScrollBar, DefaultGeometry) {
  const struct {
    const char* What;
    TScrollBarKind Kind;
    Integer W, H, Min, Max, Pos, Page;
    bool Both;
    TRect Down, Up, Track, Thumb;
  } Cases[] = {
      {"start", sbHorizontal, 200, 19, 0, 100, 0, 0, false, Rect(1, 1, 17, 18), Rect(183, 1, 199, 18),
       Rect(17, 1, 183, 18), Rect(17, 1, 33, 18)},
      {"middle", sbHorizontal, 200, 19, 0, 100, 50, 0, false, Rect(1, 1, 17, 18), Rect(183, 1, 199, 18),
       Rect(17, 1, 183, 18), Rect(92, 1, 108, 18)},
      {"end", sbHorizontal, 200, 19, 0, 100, 100, 0, false, Rect(1, 1, 17, 18), Rect(183, 1, 199, 18),
       Rect(17, 1, 183, 18), Rect(167, 1, 183, 18)},
      // 149 x 0.5 = 74.5 rounds to the even 74.
      {"ties to even", sbHorizontal, 199, 19, 0, 100, 50, 0, false, Rect(1, 1, 17, 18), Rect(182, 1, 198, 18),
       Rect(17, 1, 182, 18), Rect(91, 1, 107, 18)},
      // Thumb 166 x 50 / 100 = 83 long, placed by 25 of the 50 positions the page leaves.
      {"page", sbHorizontal, 200, 19, 0, 99, 25, 50, false, Rect(1, 1, 17, 18), Rect(183, 1, 199, 18),
       Rect(17, 1, 183, 18), Rect(59, 1, 141, 18)},
      {"small page keeps 16", sbHorizontal, 200, 19, 0, 999, 0, 1, false, Rect(1, 1, 17, 18),
       Rect(183, 1, 199, 18), Rect(17, 1, 183, 18), Rect(17, 1, 33, 18)},
      {"page covers the range", sbHorizontal, 200, 19, 0, 9, 0, 10, false, Rect(1, 1, 17, 18),
       Rect(183, 1, 199, 18), Rect(17, 1, 183, 18), Rect(17, 1, 183, 18)},
      {"Max = Min", sbHorizontal, 200, 19, 5, 5, 5, 0, false, Rect(1, 1, 17, 18), Rect(183, 1, 199, 18),
       Rect(17, 1, 183, 18), Rect(17, 1, 33, 18)},
      {"both", sbHorizontal, 200, 19, 0, 100, 0, 0, true, Rect(1, 1, 17, 18), Rect(164, 1, 180, 18),
       Rect(17, 1, 164, 18), Rect(17, 1, 33, 18)},
      {"vertical", sbVertical, 19, 200, 0, 100, 100, 0, false, Rect(1, 1, 18, 17), Rect(1, 183, 18, 199),
       Rect(1, 17, 18, 183), Rect(1, 167, 18, 183)},
      {"vertical both ignored", sbVertical, 19, 200, 0, 100, 0, 0, true, Rect(1, 1, 18, 17),
       Rect(1, 183, 18, 199), Rect(1, 17, 18, 183), Rect(1, 17, 18, 33)},
  };
  for (const auto& C : Cases) {
    TbsSkinScrollBar B(nullptr);
    B.SetKind(C.Kind);
    B.SetBounds(0, 0, C.W, C.H);
    B.SetRange(C.Min, C.Max, C.Pos, C.Page);
    B.SetBoth(C.Both);
    B.CalcRects();
    ExpectRect(B.Buttons[TbsSkinScrollBar::DownButton].R, C.Down, C.What);
    ExpectRect(B.Buttons[TbsSkinScrollBar::UpButton].R, C.Up, C.What);
    ExpectRect(B.NewTrackArea, C.Track, C.What);
    ExpectRect(B.Buttons[TbsSkinScrollBar::ThumbButton].R, C.Thumb, C.What);
  }
}

TEST_F(SkinScrollBar, SkinnedGeometryFollowsTheElement) {
  // The generated element is 48 x 24: arrows of 6 at both ends, a 6 x 6 thumb centred on the track.
  const struct {
    const char* What;
    TScrollBarKind Kind;
    Integer W, H, Max, Pos, Page;
    TRect Down, Up, Track, Thumb;
  } Cases[] = {
      {"start", sbHorizontal, 200, 19, 100, 0, 0, Rect(0, 0, 6, 24), Rect(194, 0, 200, 24),
       Rect(6, 0, 194, 24), Rect(6, 9, 12, 15)},
      {"end", sbHorizontal, 200, 19, 100, 100, 0, Rect(0, 0, 6, 24), Rect(194, 0, 200, 24),
       Rect(6, 0, 194, 24), Rect(188, 9, 194, 15)},
      // 188 x 50 / 100 = 94 pixels of thumb.
      {"page", sbHorizontal, 200, 19, 99, 0, 50, Rect(0, 0, 6, 24), Rect(194, 0, 200, 24),
       Rect(6, 0, 194, 24), Rect(6, 9, 100, 15)},
      {"vertical", sbVertical, 48, 150, 100, 100, 0, Rect(0, 0, 48, 6), Rect(0, 144, 48, 150),
       Rect(0, 6, 48, 144), Rect(21, 138, 27, 144)},
  };
  for (const auto& C : Cases) {
    auto* B = NewBar(Bounds(10, 10, C.W, C.H), true, C.Kind);
    B->SetRange(0, C.Max, C.Pos, C.Page);
    B->CalcRects();
    ExpectRect(B->Buttons[TbsSkinScrollBar::DownButton].R, C.Down, C.What);
    ExpectRect(B->Buttons[TbsSkinScrollBar::UpButton].R, C.Up, C.What);
    ExpectRect(B->NewTrackArea, C.Track, C.What);
    ExpectRect(B->Buttons[TbsSkinScrollBar::ThumbButton].R, C.Thumb, C.What);
  }
}

TEST_F(SkinScrollBar, SkinMinimumThumbSizes) {
  Record("hscrollbar")->ThumbMinSize = 20;
  auto* B = NewBar(Bounds(10, 10, 200, 19), true);
  B->CalcRects();
  EXPECT_EQ(B->Buttons[0].R.Width(), 20);
  // A page thumb is never shorter than that either.
  B->SetRange(0, 999, 0, 1);
  B->CalcRects();
  EXPECT_EQ(B->Buttons[0].R.Width(), 20);
  // Without a page the minimum page length takes over.
  Record("hscrollbar")->ThumbMinPageSize = 30;
  B->SetRange(0, 100, 0, 0);
  B->CalcRects();
  EXPECT_EQ(B->Buttons[0].R.Width(), 30);
}

// ---- looks ----

TEST_F(SkinScrollBar, SkinnedStatePicturesOfArrowsAndThumb) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), true);
  // Normal: the element itself (its right edge under the up arrow) and the thumb's normal picture.
  EXPECT_EQ(PixelOf(B, 197, 9), SliceColor("hscrollbar", 0, 5));
  EXPECT_EQ(PixelOf(B, 9, 12), SliceColor("hscrollbar", 0, 0));
  EXPECT_EQ(PixelOf(B, 100, 9), SliceColor("hscrollbar", 0, 4));
  wintest::MouseMove(At(B, 197, 3));
  EXPECT_EQ(PixelOf(B, 197, 3), SliceColor("hscrollbar", 1, 0));
  wintest::MouseDown(At(B, 197, 3));
  EXPECT_EQ(PixelOf(B, 197, 3), SliceColor("hscrollbar", 2, 0));
  wintest::MouseUp(At(B, 197, 3));
  EXPECT_EQ(PixelOf(B, 197, 3), SliceColor("hscrollbar", 1, 0));
  wintest::MouseMove(At(B, 100, 3));
  EXPECT_EQ(PixelOf(B, 197, 3), SliceColor("hscrollbar", 0, 2));
  // The thumb moved by one step: hovered, then pressed.
  const TRect T = B->Buttons[0].R;
  const Integer X = (T.Left + T.Right) / 2, Y = (T.Top + T.Bottom) / 2;
  wintest::MouseMove(At(B, X, Y));
  EXPECT_EQ(PixelOf(B, X, Y), SliceColor("hscrollbar", 1, 0));
  wintest::MouseDown(At(B, X, Y));
  EXPECT_EQ(PixelOf(B, X, Y), SliceColor("hscrollbar", 2, 0));
  wintest::MouseUp(At(B, X, Y));
  // A disabled bar shows no thumb.
  B->SetEnabled(false);
  EXPECT_EQ(PixelOf(B, X, Y), SliceColor("hscrollbar", 0, 4));
}

TEST_F(SkinScrollBar, DefaultLookStates) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), false);
  const COLORREF Shadow = COLORREF(ColorToRGB(clBtnShadow));
  // Thumb at 17..33: a shadow frame on the face; the arrows carry black triangles.
  EXPECT_EQ(PixelOf(B, 17, 5), Shadow);
  EXPECT_EQ(PixelOf(B, 25, 5), BtnFaceRGB());
  EXPECT_EQ(PixelOf(B, 191, 9), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(B, 8, 9), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(B, 0, 0), BtnFaceRGB());
  wintest::MouseMove(At(B, 25, 5));
  EXPECT_EQ(PixelOf(B, 17, 5), HotFrame);
  EXPECT_EQ(PixelOf(B, 25, 5), HotFill);
  wintest::MouseDown(At(B, 25, 5));
  EXPECT_EQ(PixelOf(B, 25, 5), DownFill);
  wintest::MouseUp(At(B, 25, 5));
  wintest::MouseMove(At(B, 190, 3));
  EXPECT_EQ(PixelOf(B, 190, 3), HotFill);
  wintest::MouseDown(At(B, 190, 3));
  EXPECT_EQ(PixelOf(B, 190, 3), DownFill);
  wintest::MouseUp(At(B, 190, 3));
  B->SetEnabled(false);
  const TRect T = B->Buttons[0].R;
  EXPECT_EQ(PixelOf(B, T.Left, 5), BtnFaceRGB());
}

TEST_F(SkinScrollBar, FaultyElementsDrawTheDefaultLookForThatPart) {
  // A state picture outside the skin picture is not read: the element's normal arrow stays.
  Record("hscrollbar")->DownUpButtonRect = Rect(1000, 0, 1006, 6);
  // A thumb picture outside it gives the default thumb.
  Record("hscrollbar")->ActiveThumbRect = Rect(0, 5000, 6, 5006);
  auto* B = NewBar(Bounds(10, 10, 200, 19), true);
  wintest::MouseMove(At(B, 197, 3));
  wintest::MouseDown(At(B, 197, 3));
  EXPECT_EQ(PixelOf(B, 197, 3), SliceColor("hscrollbar", 0, 2));
  wintest::MouseUp(At(B, 197, 3));
  const TRect T = B->Buttons[0].R;
  wintest::MouseMove(At(B, T.Left + 2, T.Top + 2));
  EXPECT_EQ(PixelOf(B, T.Left + 2, T.Top + 2), HotFill);
  EXPECT_EQ(PixelOf(B, T.Left, T.Top + 2), HotFrame);

  // No picture at all, or zero rectangles: the whole default look with its geometry.
  const struct {
    const char* What;
    std::function<void(TbsDataSkinScrollBarControl*)> Break;
  } Cases[] = {
      {"picture index past the end", [](TbsDataSkinScrollBarControl* R) { R->PictureIndex = 7; }},
      {"empty track", [](TbsDataSkinScrollBarControl* R) { R->TrackArea = Rect(0, 0, 0, 0); }},
      {"negative element", [](TbsDataSkinScrollBarControl* R) { R->SkinRect = Rect(48, 0, 0, 24); }},
      {"element outside the picture",
       [](TbsDataSkinScrollBarControl* R) { OffsetRect(&R->SkinRect, 0, 9000); }},
  };
  for (const auto& C : Cases) {
    BuildGeneratedSkin(Skin.get());
    C.Break(Record("hscrollbar"));
    auto* Bar = NewBar(Bounds(10, 10, 200, 19), true);
    EXPECT_EQ(PixelOf(Bar, 17, 5), COLORREF(ColorToRGB(clBtnShadow))) << C.What;
    EXPECT_EQ(PixelOf(Bar, 8, 9), RGB(0, 0, 0)) << C.What;
    Bar->CalcRects();
    ExpectRect(Bar->Buttons[TbsSkinScrollBar::UpButton].R, Rect(183, 1, 199, 18), C.What);
  }
}

// ---- mouse ----

TEST_F(SkinScrollBar, HeldArrowRepeatsAfterTheDelayAndPausesOffTheButton) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), true);
  B->SetRange(0, 100, 50, 0);
  wintest::MouseMove(At(B, 3, 9));
  wintest::MouseDown(At(B, 3, 9));
  EXPECT_EQ(B->Position(), 49);
  EXPECT_EQ(Log, (std::vector<String>{"down", "change"}));
  wintest::AdvanceTime(Clock(), 500);  // only switches to the short interval
  EXPECT_EQ(B->Position(), 49);
  wintest::AdvanceTime(Clock(), 49);
  EXPECT_EQ(B->Position(), 49);
  wintest::AdvanceTime(Clock(), 1);  // 550 ms after the press
  EXPECT_EQ(B->Position(), 48);
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_EQ(B->Position(), 46);
  wintest::MouseMove(At(B, 100, 9));
  wintest::AdvanceTime(Clock(), 300);
  EXPECT_EQ(B->Position(), 46);
  wintest::MouseMove(At(B, 3, 9));
  wintest::AdvanceTime(Clock(), 49);
  EXPECT_EQ(B->Position(), 46);
  wintest::AdvanceTime(Clock(), 1);
  EXPECT_EQ(B->Position(), 45);
  wintest::MouseUp(At(B, 3, 9));
  wintest::AdvanceTime(Clock(), 1000);
  EXPECT_EQ(B->Position(), 45);
  EXPECT_EQ(B->TimerMode, 0);
  EXPECT_EQ(Count("last"), 0);
}

TEST_F(SkinScrollBar, ArrowHandlersReplaceTheBuiltInStep) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), false);
  Integer Ups = 0, Downs = 0;
  B->OnUpButtonClick = [&](TObject*) { ++Ups; };
  B->OnDownButtonClick = [&](TObject*) { ++Downs; };
  wintest::MouseMove(At(B, 190, 9));
  wintest::MouseDown(At(B, 190, 9));
  wintest::AdvanceTime(Clock(), 600);  // the switch at 500, steps at 550 and 600
  wintest::MouseUp(At(B, 190, 9));
  EXPECT_EQ(Ups, 3);
  wintest::Click(At(B, 8, 9));
  EXPECT_EQ(Downs, 1);
  EXPECT_EQ(B->Position(), 0);
  EXPECT_EQ(Count("change"), 0);
}

TEST_F(SkinScrollBar, TrackPressPagesUntilTheThumbPassesTheMouse) {
  const struct {
    const char* What;
    Integer Start, X, Final, Pages;
    const char* Event;
  } Cases[] = {
      // From 100 down by 10: at 20 the thumb (47..63) lies under x = 50 and the repeat stops.
      {"before the thumb", 100, 50, 20, 8, "pageup"},
      // From 0 up by 10: at 80 the thumb (137..153) reaches x = 150.
      {"after the thumb", 0, 150, 80, 8, "pagedown"},
  };
  for (const auto& C : Cases) {
    Log.clear();
    auto* B = NewBar(Bounds(10, 10, 200, 19), false);
    B->SetRange(0, 100, C.Start, 0);
    B->SetLargeChange(10);
    wintest::MouseMove(At(B, C.X, 9));
    wintest::MouseDown(At(B, C.X, 9));
    EXPECT_EQ(B->Position(), C.Start + (C.Start == 0 ? 10 : -10)) << C.What;
    wintest::AdvanceTime(Clock(), 2000);
    EXPECT_EQ(B->Position(), C.Final) << C.What;
    EXPECT_EQ(Count(C.Event), C.Pages) << C.What;
    EXPECT_EQ(B->TimerMode, 0) << C.What;
    wintest::MouseUp(At(B, C.X, 9));
  }
}

TEST_F(SkinScrollBar, ThumbDragMapsPixelsToPositionsAndEndsWithLastChange) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), false);
  wintest::MouseMove(At(B, 25, 9));
  wintest::MouseDown(At(B, 25, 9));
  wintest::MouseMove(At(B, 100, 9));  // 75 of 150 pixels
  EXPECT_EQ(B->Position(), 50);
  wintest::MouseMove(At(B, 101, 9));  // 76 / 150 x 100 = 50.67
  EXPECT_EQ(B->Position(), 51);
  wintest::MouseMove(At(B, 900, 9));
  EXPECT_EQ(B->Position(), 100);
  wintest::MouseMove(At(B, -300, 9));
  EXPECT_EQ(B->Position(), 0);
  wintest::MouseUp(At(B, -300, 9));
  EXPECT_EQ(Log, (std::vector<String>{"down", "change", "change", "change", "change", "up", "last"}));
  // A press and release without a move still ends with OnLastChange.
  Log.clear();
  wintest::MouseMove(At(B, 25, 9));
  wintest::Click(At(B, 25, 9));
  EXPECT_EQ(Log, (std::vector<String>{"down", "up", "last"}));
  // With a page the drag ends at the largest position the page leaves.
  B->SetRange(0, 99, 0, 10);
  B->CalcRects();
  const TRect T = B->Buttons[0].R;
  wintest::MouseMove(At(B, T.Left + 2, 9));
  wintest::MouseDown(At(B, T.Left + 2, 9));
  wintest::MouseMove(At(B, 900, 9));
  EXPECT_EQ(B->Position(), 90);
  wintest::MouseUp(At(B, 900, 9));
}

TEST_F(SkinScrollBar, RightClickOnlyReportsTheMouse) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), false);
  B->SetRange(0, 100, 50, 0);
  wintest::MouseMove(At(B, 190, 9));
  wintest::Click(At(B, 190, 9), TInputButton::Right);
  wintest::AdvanceTime(Clock(), 1000);
  EXPECT_EQ(B->Position(), 50);
  EXPECT_EQ(Count("down"), 1);
  EXPECT_EQ(Count("change"), 0);
  EXPECT_EQ(B->CaptureButton, -1);
}

// ---- keys, wheel, focus ----

TEST_F(SkinScrollBar, KeysAndWheelStepOnlyAFocusableBar) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), false);
  B->SetRange(0, 100, 50, 0);
  B->SetSmallChange(5);
  EXPECT_EQ(B->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 0);
  B->SetCanFocused(true);
  EXPECT_EQ(B->Perform(CM_WANTSPECIALKEY, VK_LEFT, 0), 1);
  EXPECT_EQ(B->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 0);
  // A click focuses the bar first and still pages.
  wintest::MouseMove(At(B, 150, 9));
  wintest::Click(At(B, 150, 9));
  EXPECT_EQ(GetFocus(), B->Handle());
  EXPECT_EQ(B->Position(), 51);
  const struct {
    Word Key;
    Integer Want;
  } Keys[] = {{VK_RIGHT, 56}, {VK_DOWN, 61}, {VK_LEFT, 56}, {VK_UP, 51}, {VK_HOME, 51}};
  for (const auto& K : Keys) {
    wintest::KeyPress(K.Key);
    EXPECT_EQ(B->Position(), K.Want) << K.Key;
  }
  wintest::MouseWheel(120, At(B, 100, 9));
  EXPECT_EQ(B->Position(), 46);
  wintest::MouseWheel(-120, At(B, 100, 9));
  EXPECT_EQ(B->Position(), 51);
  B->SetCanFocused(false);
  wintest::KeyPress(VK_RIGHT);
  wintest::MouseWheel(-120, At(B, 100, 9));
  EXPECT_EQ(B->Position(), 51);
}

TEST_F(SkinScrollBar, BothModeSwapsTheElementAndBack) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), true);
  B->SetBoth(true);
  EXPECT_EQ(B->SkinDataName(), "bothhscrollbar");
  EXPECT_EQ(B->SkinIndex(), Skin->GetControlIndex("bothhscrollbar"));
  EXPECT_EQ(PixelOf(B, 100, 9), SliceColor("bothhscrollbar", 0, 4));
  B->SetBoth(false);
  EXPECT_EQ(B->SkinDataName(), "hscrollbar");
  EXPECT_EQ(PixelOf(B, 100, 9), SliceColor("hscrollbar", 0, 4));
}

TEST_F(SkinScrollBar, SkinChangeReachesTheBar) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), false);
  EXPECT_EQ(PixelOf(B, 100, 9), BtnFaceRGB());
  B->SetSkinData(Skin.get());
  EXPECT_EQ(PixelOf(B, 100, 9), SliceColor("hscrollbar", 0, 4));
  WalkSkinChange(B->Parent(), Skin.get(), true);
  EXPECT_EQ(B->SkinIndex(), -1);
  Skin->ClearAll();
  WalkSkinChange(B->Parent(), Skin.get(), false);
  EXPECT_EQ(PixelOf(B, 100, 9), BtnFaceRGB());
  BuildGeneratedSkin(Skin.get());
  WalkSkinChange(B->Parent(), Skin.get(), false);
  EXPECT_EQ(PixelOf(B, 100, 9), SliceColor("hscrollbar", 0, 4));
}

}  // namespace

namespace {

TEST_F(SkinScrollBar, BarFreedFromItsOwnHandler) {
  const struct {
    const char* How;
    std::function<void(TbsSkinScrollBar*, std::function<void(TObject*)>)> Hook;
    Integer X;
  } Cases[] = {
      {"change on the up arrow", [](TbsSkinScrollBar* B, auto H) { B->OnChange = H; }, 190},
      {"up button handler", [](TbsSkinScrollBar* B, auto H) { B->OnUpButtonClick = H; }, 190},
      {"change on a page", [](TbsSkinScrollBar* B, auto H) { B->OnChange = H; }, 100},
      {"page down", [](TbsSkinScrollBar* B, auto H) { B->OnPageDown = H; }, 100},
      {"last change of the thumb", [](TbsSkinScrollBar* B, auto H) { B->OnLastChange = H; }, 25},
  };
  for (const auto& C : Cases) {
    auto* B = NewBar(Bounds(10, 10, 200, 19), false);
    const TPoint P = At(B, C.X, 9);
    bool Freed = false;
    C.Hook(B, [&Freed](TObject* Sender) {
      // The handler goes with the control: nothing of it is touched after the delete.
      Freed = true;
      delete static_cast<TbsSkinScrollBar*>(Sender);
    });
    B->OnMouseUp = nullptr;
    wintest::MouseMove(P);
    wintest::Click(P);
    wintest::AdvanceTime(Clock(), 1000);
    EXPECT_TRUE(Freed) << C.How;
    wintest::Pump();
  }
}

}  // namespace

namespace {

TEST_F(SkinScrollBar, EraseOutsidePaintingDrawsTheWholeBar) {
  auto* B = NewBar(Bounds(10, 10, 200, 19), true);
  TBitmap Target;
  Target.SetPixelFormat(pf24bit);
  Target.SetSize(200, 19);
  Target.Canvas()->Brush()->SetColor(clWhite);
  Target.Canvas()->FillRect(Rect(0, 0, 200, 19));
  EXPECT_EQ(SendMessage(B->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(Target.Canvas()->Handle()), 0),
            1);
  EXPECT_EQ(COLORREF(Target.Canvas()->Pixels(9, 12)), SliceColor("hscrollbar", 0, 0));
  EXPECT_EQ(COLORREF(Target.Canvas()->Pixels(100, 9)), SliceColor("hscrollbar", 0, 4));
}

}  // namespace
