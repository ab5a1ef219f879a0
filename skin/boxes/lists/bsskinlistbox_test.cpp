#include "skin/boxes/lists/bsskinlistbox.h"

#include <gtest/gtest.h>

#include "platform/win/scrollbar.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

using wintest::ScreenPoint;

class SkinListBox : public TSkinControlTest {
 protected:
  // A list box at Bounds on a shown form, with Count items "Item i".
  template <class T = TbsSkinListBox>
  T* NewList(Integer Count, TRect Bounds = Rect(10, 10, 130, 130)) {
    TForm* F = NewForm();
    auto* L = NewControl<T>(F, Bounds);
    for (Integer i = 0; i < Count; ++i) L->Items()->Add("Item " + std::to_string(i));
    wintest::Pump();
    return L;
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }
  // The list's pixel as painted on screen, in the inner list's client coordinates.
  static COLORREF ListPixel(TbsSkinCustomListBox* L, Integer X, Integer Y) {
    return PixelOf(L->ListBox, X, Y);
  }
  static COLORREF Rgb(TColor C) { return COLORREF(ColorToRGB(C)); }
  TbsDataSkinListBox* Record() {
    return dynamic_cast<TbsDataSkinListBox*>(Skin->Ctrls(Skin->GetControlIndex("listbox")));
  }
  // Records the hook events and the inner list's own events in the order they come.
  void Trace(TbsSkinCustomListBox* L) {
    L->OnListBoxMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back("hook down");
    };
    L->OnListBoxMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back("hook up");
    };
    L->OnListBoxClick = [this](TObject*) { Log.push_back("hook click"); };
    L->OnListBoxDblClick = [this](TObject*) { Log.push_back("hook dblclick"); };
    L->OnListBoxKeyDown = [this](TObject*, Word&, TShiftState) { Log.push_back("hook keydown"); };
    L->OnListBoxKeyUp = [this](TObject*, Word&, TShiftState) { Log.push_back("hook keyup"); };
    L->OnListBoxKeyPress = [this](TObject*, char32_t&) { Log.push_back("hook keypress"); };
    TbsListBox* In = L->ListBox;
    In->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back("list down");
    };
    In->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back("list up");
    };
    In->OnClick = [this](TObject*) { Log.push_back("list click"); };
    In->OnDblClick = [this](TObject*) { Log.push_back("list dblclick"); };
    In->OnKeyDown = [this](TObject*, Word&, TShiftState) { Log.push_back("list keydown"); };
    In->OnKeyUp = [this](TObject*, Word&, TShiftState) { Log.push_back("list keyup"); };
    In->OnKeyPress = [this](TObject*, char32_t&) { Log.push_back("list keypress"); };
  }

  std::vector<String> Log;
};

TEST_F(SkinListBox, DefaultsOfTheBoxAndItsInnerList) {
  TbsSkinListBox L(nullptr);
  EXPECT_EQ(L.Width(), 120);
  EXPECT_EQ(L.Height(), 120);
  EXPECT_EQ(L.SkinDataName(), "listbox");
  EXPECT_TRUE(L.ShowCaptionButtons());
  EXPECT_TRUE(L.UseSkinItemHeight());
  EXPECT_EQ(L.RowCount(), 0);
  EXPECT_EQ(L.ImageIndex(), -1);
  EXPECT_TRUE(L.Glyph()->Empty());
  EXPECT_EQ(L.NumGlyphs(), 1);
  EXPECT_EQ(L.Spacing(), 2);
  EXPECT_EQ(L.DefaultCaptionFont()->Name(), "Tahoma");
  EXPECT_EQ(L.DefaultCaptionFont()->Height(), 13);
  EXPECT_EQ(L.DefaultCaptionHeight(), 20);
  EXPECT_EQ(L.DefaultItemHeight(), 20);
  EXPECT_FALSE(L.CaptionMode());
  EXPECT_EQ(L.Alignment(), taLeftJustify);
  EXPECT_FALSE(L.HorizontalExtent());
  EXPECT_EQ(L.TabWidths()->Count(), 0);
  EXPECT_EQ(L.Font()->Name(), "Tahoma");
  EXPECT_EQ(L.Font()->Height(), 13);
  EXPECT_EQ(L.Font()->Color(), clWindowText);
  EXPECT_EQ(L.ActiveButton, -1);
  EXPECT_EQ(L.OldActiveButton, -1);
  EXPECT_EQ(L.CaptureButton, -1);
  EXPECT_EQ(L.TimerMode, 0);
  EXPECT_EQ(L.ScrollBar, nullptr);
  EXPECT_EQ(L.HScrollBar, nullptr);
  EXPECT_TRUE(L.ForcebackGround());
  EXPECT_FALSE(L.DrawbackGround());
  EXPECT_EQ(L.ControlStyle(), TControlStyle({csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
                                             csReplicatable, csAcceptsControls}));
  TbsListBox* In = L.ListBox;
  ASSERT_NE(In, nullptr);
  EXPECT_EQ(In->Owner(), &L);
  EXPECT_EQ(In->Parent(), &L);
  EXPECT_EQ(In->SkinListBox, &L);
  EXPECT_TRUE(In->Visible());
  EXPECT_EQ(In->Style(), lbOwnerDrawFixed);
  EXPECT_EQ(In->HorizontalExtentValue(), 0);
  EXPECT_EQ(In->ControlStyle(), TControlStyle({csCaptureMouse, csOpaque, csDoubleClicks}));
  TbsListBox Alone(nullptr);
  EXPECT_EQ(Alone.SkinListBox, nullptr);
}

TEST_F(SkinListBox, InnerListHasNoBorderNoNonClientAreaAndAnswersTheFrameQuery) {
  TbsSkinListBox* L = NewList(3);
  HWND H = L->ListBox->Handle();
  EXPECT_EQ(GetWindowLong(H, GWL_STYLE) & WS_BORDER, 0);
  EXPECT_TRUE(GetWindowLong(H, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(GetWindowLong(H, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  RECT W, C;
  GetWindowRect(H, &W);
  GetClientRect(H, &C);
  EXPECT_EQ(C.Right, W.Right - W.Left);  // the platform's bar takes no room
  EXPECT_EQ(C.Bottom, W.Bottom - W.Top);
  EXPECT_EQ(SendMessage(H, WM_NCHITTEST, 0, 0), HTCLIENT);
  EXPECT_EQ(L->ListBox->Perform(CM_PAINTNC, 0, 0), PaintNCDone);
}

TEST_F(SkinListBox, DefaultLayoutAndCalcHeight) {
  TbsSkinListBox* L = NewList(2);
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 2, 118, 118));
  L->SetCaptionMode(true);
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 21, 118, 118));
  EXPECT_EQ(L->CalcHeight(4), 104);
  L->SetDefaultCaptionHeight(30);
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 31, 118, 118));
  L->SetCaptionMode(false);
  EXPECT_EQ(L->CalcHeight(4), 84);
}

}  // namespace
