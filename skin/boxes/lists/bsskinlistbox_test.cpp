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

TEST_F(SkinListBox, VerticalBarMirrorsTheListAndMovesIt) {
  TbsSkinListBox* L = NewList(3);
  EXPECT_EQ(L->ScrollBar, nullptr);
  for (Integer i = 3; i < 20; ++i) L->Items()->Add("Item " + std::to_string(i));
  ASSERT_NE(L->ScrollBar, nullptr);
  TbsSkinScrollBar* B = L->ScrollBar;
  EXPECT_EQ(B->Kind(), sbVertical);
  EXPECT_TRUE(B->Visible());
  EXPECT_EQ(B->Min(), 0);
  EXPECT_EQ(B->Max(), 19);
  const Integer Page = L->ListBox->Height() / 20;
  EXPECT_EQ(B->PageSize(), Page);
  EXPECT_EQ(B->LargeChange(), Page);
  // The bar stands at the right inside the frame; the list ends at its left.
  EXPECT_EQ(B->BoundsRect(), Rect(100, 1, 119, 119));
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 2, 100, 118));
  // Moving the bar scrolls the list.
  B->SetPosition(5);
  EXPECT_EQ(L->TopIndex(), 5);
  // A wheel notch down: the list's own three rows, then one line more; the bar follows.
  L->ListBox->SetFocus();
  wintest::MouseWheel(-WHEEL_DELTA, At(L->ListBox, 20, 20));
  EXPECT_EQ(L->TopIndex(), 9);
  EXPECT_EQ(B->Position(), 9);
  wintest::MouseWheel(WHEEL_DELTA, At(L->ListBox, 20, 20));
  EXPECT_EQ(L->TopIndex(), 5);
  EXPECT_EQ(B->Position(), 5);
  // Keys scroll the list; the bar reads it back at the next erase.
  wintest::KeyPress(VK_END);
  wintest::Pump();
  EXPECT_EQ(B->Position(), L->TopIndex());
  EXPECT_GT(L->TopIndex(), 5);
  // When everything fits again the bar goes and the list takes its room back.
  while (L->Items()->Count() > 3) L->Items()->Delete(0);
  EXPECT_EQ(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 2, 118, 118));
}

TEST_F(SkinListBox, RowCountSizesTheBoxAndKeepsTheBarAwayForExactlyThatMany) {
  TbsSkinListBox* L = NewList(5);
  L->SetRowCount(5);
  EXPECT_EQ(L->Height(), 5 * 20 + 4);
  L->SetHeight(60);  // the platform list now reports a range
  L->UpDateScrollBar();
  EXPECT_EQ(L->ScrollBar, nullptr);
  L->Items()->Add("Item 5");
  EXPECT_NE(L->ScrollBar, nullptr);
}

TEST_F(SkinListBox, HorizontalExtentBarFollowsTheWidestItem) {
  TbsSkinListBox* L = NewList(2);
  L->SetHorizontalExtent(true);
  EXPECT_EQ(L->HScrollBar, nullptr);
  const String Long(40, 'W');
  L->Items()->Add(Long);
  ASSERT_NE(L->HScrollBar, nullptr);
  TbsSkinScrollBar* H = L->HScrollBar;
  const Integer Widest = L->ListBoxCanvas()->TextWidth(Long);
  EXPECT_EQ(H->Min(), 0);
  EXPECT_EQ(H->Max(), Widest);
  EXPECT_EQ(H->PageSize(), L->ListBox->Width() - 4);
  EXPECT_EQ(H->SmallChange(), L->ListBoxCanvas()->TextWidth("0"));
  // The bar lies along the bottom; the list ends above it.
  EXPECT_EQ(H->BoundsRect(), Rect(1, 100, 119, 119));
  EXPECT_EQ(L->ListBox->Top() + L->ListBox->Height(), 120 - 2 - 18);
  // Right and left keys move the bar and the item drawing, not the selection.
  L->ListBox->SetFocus();
  L->SetItemIndex(0);
  wintest::KeyPress(VK_RIGHT);
  wintest::KeyPress(VK_RIGHT);
  EXPECT_EQ(H->Position(), 2 * H->SmallChange());
  EXPECT_EQ(L->ListBox->HorizontalExtentValue(), H->Position());
  wintest::KeyPress(VK_LEFT);
  EXPECT_EQ(H->Position(), H->SmallChange());
  // A key hook that takes the key stops the scrolling too.
  L->OnListBoxKeyDown = [](TObject*, Word& Key, TShiftState) {
    if (Key == VK_LEFT) Key = 0;
  };
  wintest::KeyPress(VK_LEFT);
  EXPECT_EQ(H->Position(), H->SmallChange());
  // The wheel moves it sideways when there is no vertical bar.
  wintest::MouseWheel(-WHEEL_DELTA, At(L->ListBox, 10, 10));
  EXPECT_EQ(H->Position(), 2 * H->SmallChange());
  wintest::MouseWheel(WHEEL_DELTA, At(L->ListBox, 10, 10));
  EXPECT_EQ(H->Position(), H->SmallChange());
  // Deleting the long item hides the bar and resets the offset.
  L->Items()->Delete(2);
  EXPECT_EQ(L->HScrollBar, nullptr);
  EXPECT_EQ(L->ListBox->HorizontalExtentValue(), 0);
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(2, 2, 118, 118));
}

TEST_F(SkinListBox, CalcHeightCountsTheHorizontalBar) {
  TbsSkinListBox* L = NewList(1);
  L->SetCaptionMode(true);
  L->SetHorizontalExtent(true);
  L->Items()->Add(String(40, 'W'));
  ASSERT_NE(L->HScrollBar, nullptr);
  EXPECT_EQ(L->HScrollBar->Height(), 19);
  EXPECT_EQ(L->CalcHeight(4), 123);
}

TEST_F(SkinListBox, WithBothBarsTheHorizontalOneTakesTheSharedCornerLook) {
  TbsSkinListBox* L = NewList(2);
  L->SetHorizontalExtent(true);
  L->Items()->Add(String(40, 'W'));
  ASSERT_NE(L->HScrollBar, nullptr);
  EXPECT_FALSE(L->HScrollBar->Both());
  for (Integer i = 0; i < 20; ++i) L->Items()->Add("More " + std::to_string(i));
  ASSERT_NE(L->ScrollBar, nullptr);
  EXPECT_TRUE(L->HScrollBar->Both());
  EXPECT_EQ(L->HScrollBar->BothMarkerWidth(), 19);
  // The vertical bar stops above the horizontal one.
  EXPECT_EQ(L->ScrollBar->Top() + L->ScrollBar->Height(), 119 - 18);
}

TEST_F(SkinListBox, MultiColumnListScrollsSidewaysOnTheMainBar) {
  TbsSkinListBox* L = NewList(30);
  L->SetHorizontalExtent(true);
  L->SetColumns(2);
  wintest::Pump();
  ASSERT_NE(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ScrollBar->Kind(), sbHorizontal);
  EXPECT_EQ(L->HScrollBar, nullptr);
  EXPECT_EQ(L->ScrollBar->PageSize(), 2);
  EXPECT_EQ(L->ScrollBar->BoundsRect(), Rect(1, 100, 119, 119));
  L->ScrollBar->SetPosition(1);
  EXPECT_EQ(L->TopIndex(), L->ListBox->Height() / 20);
}

TEST_F(SkinListBox, SortedHidesTheBarUntilTheNextUpdate) {
  TbsSkinListBox* L = NewList(20);
  ASSERT_NE(L->ScrollBar, nullptr);
  L->SetSorted(true);
  EXPECT_EQ(L->ScrollBar, nullptr);
  L->UpDateScrollBar();
  EXPECT_NE(L->ScrollBar, nullptr);
}

TEST_F(SkinListBox, MouseEventsReachTheHooksBeforeTheListsOwn) {
  TbsSkinListBox* L = NewList(5);
  Trace(L);
  TPoint Got{-1, -1};
  TObject* Sender = nullptr;
  L->OnListBoxMouseDown = [&](TObject* S, TMouseButton, TShiftState, Integer X, Integer Y) {
    Sender = S;
    Got = {X, Y};
    Log.push_back("hook down");
  };
  wintest::Click(At(L->ListBox, 15, 45));
  EXPECT_EQ(Sender, L);
  EXPECT_EQ(Got, (TPoint{15, 45}));  // the inner list's coordinates
  EXPECT_EQ(L->ItemIndex(), 2);
  // The platform list reports the new selection when the button comes up.
  EXPECT_EQ(
      Log, (std::vector<String>{"hook down", "list down", "hook click", "list click", "hook up", "list up"}));
  Log.clear();
  wintest::MouseDown(At(L->ListBox, 15, 65));
  wintest::MouseUp(At(L->ListBox, 15, 65));
  wintest::MouseDown(At(L->ListBox, 15, 65));  // within the double-click time
  wintest::MouseUp(At(L->ListBox, 15, 65));
  // The double click: the list's own event first, the hook after the whole message.
  const std::vector<String> Want{"hook down", "list down",     "hook click",    "list click",
                                 "hook up",   "list up",       "list dblclick", "hook down",
                                 "list down", "hook dblclick", "hook up",       "list up"};
  EXPECT_EQ(Log, Want);
}

TEST_F(SkinListBox, KeysReachTheHooksBeforeTheListsOwn) {
  TbsSkinListBox* L = NewList(5);
  L->ListBox->SetFocus();
  L->SetItemIndex(0);
  Trace(L);
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(L->ItemIndex(), 1);
  EXPECT_EQ(Log, (std::vector<String>{"hook keydown", "list keydown", "hook click", "list click",
                                      "hook keyup", "list keyup"}));
  Log.clear();
  wintest::KeyPress('I', 'I');
  EXPECT_EQ(Log, (std::vector<String>{"hook keydown", "list keydown", "hook keypress", "list keypress",
                                      "hook click", "list click", "hook keyup", "list keyup"}));
  EXPECT_EQ(L->ItemIndex(), 2);
}

TEST_F(SkinListBox, SettingItemIndexFiresNoClick) {
  TbsSkinListBox* L = NewList(5);
  Trace(L);
  L->SetItemIndex(3);
  EXPECT_EQ(L->ItemIndex(), 3);
  EXPECT_TRUE(Log.empty());
}

// Drops every message the test names before the list sees it.
class TFilteringList : public TbsSkinListBox {
 public:
  using TbsSkinListBox::TbsSkinListBox;
  UINT Dropped = 0;
  std::vector<String> Calls;
  void ListBoxWProc(TMessage& Message, bool& PassOn) override {
    TbsSkinListBox::ListBoxWProc(Message, PassOn);
    if (Message.Msg == Dropped) PassOn = false;
  }
  void ListBoxEnter() override { Calls.push_back("enter"); }
  void ListBoxExit() override { Calls.push_back("exit"); }
  void ListBoxCreateWnd() override { Calls.push_back("created"); }
};

TEST_F(SkinListBox, WindowProcedureHookCanDropAMessage) {
  auto* L = NewList<TFilteringList>(20);
  EXPECT_EQ(L->Calls, (std::vector<String>{"created"}));
  L->ListBox->SetFocus();
  L->SetItemIndex(0);
  L->Dropped = WM_KEYDOWN;
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(L->ItemIndex(), 0);
  L->Dropped = WM_MOUSEWHEEL;
  wintest::MouseWheel(-WHEEL_DELTA, At(L->ListBox, 10, 10));
  EXPECT_EQ(L->TopIndex(), 0);
  EXPECT_EQ(L->ScrollBar->Position(), 0);
  L->Dropped = 0;
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(L->ItemIndex(), 1);
  L->SetFocus();
  EXPECT_EQ(L->Calls, (std::vector<String>{"created", "enter", "exit"}));
}

}  // namespace
