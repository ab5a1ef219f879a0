#include "skin/boxes/lists/bsskinlistbox.h"

#include <gtest/gtest.h>

#include "platform/win/scrollbar.h"
#include "skin/boxes/lists/liststestskin.h"
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

TEST_F(SkinListBox, DefaultLookPaintsItemsSelectionBackgroundAndFrame) {
  TbsSkinListBox* L = NewList(3);
  L->SetItemIndex(1);
  wintest::Pump();
  const Integer X = L->ListBox->Width() - 10;  // right of the texts
  EXPECT_EQ(ListPixel(L, X, 5), Rgb(clWindow));
  EXPECT_EQ(ListPixel(L, X, 25), Rgb(clHighlight));
  EXPECT_EQ(ListPixel(L, X, 45), Rgb(clWindow));
  EXPECT_EQ(ListPixel(L, X, 90), Rgb(clWindow));  // below the last item
  // A text pixel of the selected item is in the highlight text colour.
  bool Text = false;
  for (Integer x = 2; x < 60 && !Text; ++x)
    for (Integer y = 20; y < 40 && !Text; ++y) Text = ListPixel(L, x, y) == Rgb(clHighlightText);
  EXPECT_TRUE(Text);
  // The frame: shadow outside, the list's colour inside.
  EXPECT_EQ(PixelOf(L, 0, 60), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(L, 1, 60), Rgb(clWindow));
  EXPECT_EQ(PixelOf(L, 119, 119), Rgb(clBtnShadow));
}

TEST_F(SkinListBox, OwnerDrawEventGetsTheComposedItemImage) {
  TbsSkinListBox* L = NewList(3);
  struct TCall {
    Integer Index, W, H;
    TRect TR;
    TOwnerDrawState State;
    COLORREF Back;
  };
  std::vector<TCall> Calls;
  L->OnDrawItem = [&](TCanvas* C, Integer Index, Integer W, Integer H, TRect TR, TOwnerDrawState State) {
    Calls.push_back({Index, W, H, TR, State, COLORREF(C->Pixels(W - 1, 0))});
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(0, 0, 4, H));
  };
  L->ListBox->SetFocus();
  L->SetItemIndex(1);
  Calls.clear();
  L->ListBox->Repaint();
  ASSERT_EQ(Calls.size(), 3u);
  const Integer W = L->ListBox->Width();
  for (Integer i = 0; i < 3; ++i) {
    EXPECT_EQ(Calls[i].Index, i);
    EXPECT_EQ(Calls[i].W, W);
    EXPECT_EQ(Calls[i].H, 20);
    EXPECT_EQ(Calls[i].TR, Rect(2, 0, W - 2, 20));
  }
  EXPECT_EQ(Calls[0].State, TOwnerDrawState());
  EXPECT_EQ(Calls[1].State, TOwnerDrawState({odSelected, odFocused}));
  EXPECT_EQ(Calls[0].Back, Rgb(clWindow));
  EXPECT_EQ(Calls[1].Back, Rgb(clHighlight));
  // What the event drew is what shows; the focus frame goes around it.
  EXPECT_EQ(ListPixel(L, 2, 10), Rgb(clRed));
  EXPECT_EQ(ListPixel(L, 2, 30), Rgb(clRed));
}

TEST_F(SkinListBox, SkinnedLookTakesItemAndBackgroundPicturesFromTheElement) {
  TbsSkinListBox* L = NewList(3);
  L->SetSkinData(Skin.get());
  wintest::Pump();
  EXPECT_EQ(L->ListBox->ItemHeight(), 24);
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(6, 6, 114, 114));
  L->SetItemIndex(1);
  wintest::Pump();
  const Integer X = 80;  // in the middle slice of every item picture, right of the texts
  EXPECT_EQ(ListPixel(L, X, 12), SliceColor("listbox", 1, 4));       // normal item: tiled
  EXPECT_EQ(ListPixel(L, X, 24 + 12), SliceColor("listbox", 2, 4));  // selected: its own picture
  EXPECT_EQ(ListPixel(L, X, 90), SliceColor("listbox", 0, 4));       // background: the client tile
  EXPECT_EQ(PixelOf(L, 2, 60), SliceColor("listbox", 0, 3));         // the element's left border
  L->ListBox->SetFocus();
  wintest::Pump();
  EXPECT_EQ(ListPixel(L, X, 24 + 12), SliceColor("listbox", 4, 4));  // focused and selected
  // Items of a free height are stretched from the same pictures.
  L->SetUseSkinItemHeight(false);
  L->SetDefaultItemHeight(30);
  L->ListBox->Repaint();
  EXPECT_EQ(L->ListBox->ItemHeight(), 30);
  EXPECT_EQ(ListPixel(L, X, 15), SliceColor("listbox", 1, 4));
  EXPECT_EQ(ListPixel(L, X, 45), SliceColor("listbox", 4, 4));
}

TEST_F(SkinListBox, EmptyListPaintsItsBackgroundOnRequest) {
  TbsSkinListBox* L = NewList(0);
  TBitmap B;
  B.SetSize(20, 20);
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(Rect(0, 0, 20, 20));
  EXPECT_EQ(L->ListBox->Perform(CN_PAINTLISTBACKGROUND, reinterpret_cast<WPARAM>(B.Canvas()->Handle()),
                                PaintNCNotifyCode),
            PaintNCNotifyCode);
  EXPECT_EQ(COLORREF(B.Canvas()->Pixels(5, 5)), Rgb(clWindow));
  L->SetSkinData(Skin.get());
  L->ListBox->Perform(CN_PAINTLISTBACKGROUND, reinterpret_cast<WPARAM>(B.Canvas()->Handle()),
                      PaintNCNotifyCode);
  EXPECT_EQ(COLORREF(B.Canvas()->Pixels(5, 5)), SliceColor("listbox", 0, 4));
  // Only an empty list answers, and only to its own code.
  EXPECT_EQ(L->ListBox->Perform(CN_PAINTLISTBACKGROUND, 0, 1), 0);
  L->Items()->Add("one");
  EXPECT_EQ(L->ListBox->Perform(CN_PAINTLISTBACKGROUND, 0, PaintNCNotifyCode), 0);
}

TEST_F(SkinListBox, TabStopsParseDecimalLinesOnly) {
  struct {
    const char* Line;
    Integer Stop;
  } const Cases[] = {{"", 0}, {"40", 40}, {"12a", 0}, {"-5", 0}, {" 7", 0}, {"007", 7}, {"99999999999", 0}};
  for (const auto& C : Cases) EXPECT_EQ(ParseTabStop(C.Line), C.Stop) << C.Line;
}

TEST_F(SkinListBox, TabbedItemsPutTextAtTheStopsFromTheItemsLeftEdge) {
  TbsSkinListBox* L = NewList(0);
  L->Items()->Add("\tX");
  TStringList Tabs;
  Tabs.Add("40");
  L->SetTabWidths(&Tabs);
  wintest::Pump();
  Integer First = -1;
  for (Integer x = 0; x < 100 && First < 0; ++x)
    for (Integer y = 0; y < 20 && First < 0; ++y)
      if (ListPixel(L, x, y) != Rgb(clWindow)) First = x;
  EXPECT_GE(First, 40);
  EXPECT_LT(First, 50);
}

TEST_F(SkinListBox, ImagesFollowTheItemPositionAndKeepTheIndent) {
  TbsSkinListBox* L = NewList(5);
  TCustomImageList Images(nullptr, 8, 8);
  TBitmap Red;
  Red.SetSize(8, 8);
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect(Rect(0, 0, 8, 8));
  for (Integer i = 0; i < 3; ++i) Images.Add(&Red, nullptr);
  L->SetImages(&Images);
  wintest::Pump();
  for (Integer i = 0; i < 5; ++i) EXPECT_EQ(ListPixel(L, 4, i * 20 + 10) == Rgb(clRed), i < 3) << i;
  // The text starts after the image's room on every item.
  auto firstInk = [&](Integer Row) {
    for (Integer x = 0; x < 60; ++x)
      for (Integer y = Row * 20; y < Row * 20 + 20; ++y) {
        const COLORREF P = ListPixel(L, x, y);
        if (P != Rgb(clWindow) && P != Rgb(clRed)) return x;
      }
    return -1;
  };
  EXPECT_EQ(firstInk(4), firstInk(1));
  EXPECT_GE(firstInk(4), 2 + 8 + 2 + 2);
  L->SetImages(nullptr);
}

TEST_F(SkinListBox, AWiderListScrollsBackByWhatItGrew) {
  TbsSkinListBox* L = NewList(1);
  TbsListBox* In = L->ListBox;
  In->SetHorizontalExtentValue(6);
  In->SetBounds(In->Left(), In->Top(), In->Width() + 10, In->Height());
  EXPECT_EQ(In->HorizontalExtentValue(), 0);
  In->SetHorizontalExtentValue(6);
  In->SetBounds(In->Left(), In->Top(), In->Width() - 4, In->Height());
  EXPECT_EQ(In->HorizontalExtentValue(), 10);
  In->SetHorizontalExtentValue(-3);
  EXPECT_EQ(In->HorizontalExtentValue(), 0);
}

// Tells when a component goes.
class TFreeWatcher : public TComponent {
 public:
  explicit TFreeWatcher(TComponent* Watched) : TComponent(nullptr), FWatched(Watched) {
    Watched->FreeNotification(this);
  }
  ~TFreeWatcher() override {
    if (!Freed) FWatched->RemoveFreeNotification(this);
  }
  bool Freed = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (AComponent == FWatched && Operation == opRemove) Freed = true;
  }

 private:
  TComponent* FWatched;
};

TEST_F(SkinListBox, SkinChangeTakesTheItemHeightAndRebuildsTheHorizontalBar) {
  TbsSkinListBox* L = NewList(2);
  L->SetHorizontalExtent(true);
  L->Items()->Add(String(40, 'W'));
  ASSERT_NE(L->HScrollBar, nullptr);
  TFreeWatcher Watcher(L->HScrollBar);
  UseThreeSliceScrollBars(Skin.get());
  L->SetSkinData(Skin.get());
  EXPECT_TRUE(Watcher.Freed);
  ASSERT_NE(L->HScrollBar, nullptr);
  EXPECT_EQ(L->HScrollBar->SkinDataName(), "hscrollbar");
  EXPECT_EQ(L->ListBox->ItemHeight(), 24);
  for (Integer i = 0; i < 10; ++i) L->Items()->Add("More");
  ASSERT_NE(L->ScrollBar, nullptr);
  EXPECT_EQ(L->ScrollBar->SkinDataName(), "vscrollbar");
  EXPECT_EQ(L->HScrollBar->SkinDataName(), "bothhscrollbar");
  EXPECT_TRUE(L->HScrollBar->Both());
  // Back to the default look.
  L->SetSkinData(nullptr);
  L->ChangeSkinData();
  EXPECT_EQ(L->ListBox->ItemHeight(), 20);
  EXPECT_EQ(L->ScrollBar->SkinDataName(), "");
}

TEST_F(SkinListBox, PlatformDrawItemRequestUsesTheSamePainters) {
  TbsSkinListBox* L = NewList(3);
  TBitmap B;
  B.SetSize(60, 20);
  auto drawItem = [&](Integer Item, UINT State) {
    B.Canvas()->Brush()->SetColor(clRed);
    B.Canvas()->FillRect(Rect(0, 0, 60, 20));
    DRAWITEMSTRUCT DIS{};
    DIS.CtlType = ODT_LISTBOX;
    DIS.itemID = UINT(Item);
    DIS.itemState = State;
    DIS.hDC = B.Canvas()->Handle();
    DIS.rcItem = Rect(0, 0, 60, 20);
    return L->ListBox->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&DIS));
  };
  std::vector<TOwnerDrawState> States;
  L->OnDrawItem = [&](TCanvas*, Integer, Integer, Integer, TRect, TOwnerDrawState S) { States.push_back(S); };
  EXPECT_EQ(drawItem(1, ODS_SELECTED), 1);
  EXPECT_EQ(COLORREF(B.Canvas()->Pixels(50, 10)), Rgb(clHighlight));
  ASSERT_EQ(States.size(), 1u);
  EXPECT_EQ(States[0], TOwnerDrawState({odSelected}));
  // Items outside the list draw nothing.
  for (Integer Bad : {-1, 3}) {
    drawItem(Bad, 0);
    EXPECT_EQ(COLORREF(B.Canvas()->Pixels(50, 10)), Rgb(clRed)) << Bad;
  }
  EXPECT_EQ(States.size(), 1u);
}

TEST_F(SkinListBox, MultiSelectedItemsPaintSelected) {
  TbsSkinListBox* L = NewList(4);
  L->SetMultiSelect(true);
  L->ListBox->SetSelected(0, true);
  L->ListBox->SetSelected(2, true);
  std::vector<TOwnerDrawState> States(4);
  L->OnDrawItem = [&](TCanvas*, Integer I, Integer, Integer, TRect, TOwnerDrawState S) {
    States[size_t(I)] = S;
  };
  L->ListBox->Repaint();
  EXPECT_TRUE(States[0].Contains(odSelected));
  EXPECT_FALSE(States[1].Contains(odSelected));
  EXPECT_TRUE(States[2].Contains(odSelected));
  EXPECT_FALSE(States[3].Contains(odSelected));
}

TEST_F(SkinListBox, AFreedImageListIsForgotten) {
  TbsSkinListBox* L = NewList(2);
  auto* Images = new TCustomImageList(nullptr, 8, 8);
  L->SetImages(Images);
  delete Images;
  EXPECT_EQ(L->Images(), nullptr);
  L->ListBox->Repaint();
}

// ---- caption and buttons ----

class SkinListBoxCaption : public SkinListBox {
 protected:
  TbsSkinListBox* NewCaptioned(Integer Count) {
    TbsSkinListBox* L = NewList(Count);
    L->SetCaptionMode(true);
    L->SetCaption("Files");
    wintest::Pump();
    return L;
  }
  TPoint Centre(TbsSkinCustomListBox* L, Integer I, Integer Dx = 0) {
    const TRect& R = L->Buttons[I].R;
    return At(L, (R.Left + R.Right) / 2 + Dx, (R.Top + R.Bottom) / 2);
  }
};

TEST_F(SkinListBoxCaption, DefaultButtonsAreAsWideAsTheBandAllows) {
  TbsSkinListBox* L = NewCaptioned(3);
  EXPECT_EQ(L->Buttons[0].R, Rect(101, 2, 118, 18));
  EXPECT_EQ(L->Buttons[1].R, Rect(84, 2, 101, 18));
  EXPECT_EQ(L->Buttons[2].R, Rect(67, 2, 84, 18));
  L->SetDefaultCaptionHeight(30);
  wintest::Pump();
  EXPECT_EQ(RectWidth(L->Buttons[0].R), 17);
  L->SetDefaultCaptionHeight(12);
  wintest::Pump();
  EXPECT_EQ(RectWidth(L->Buttons[0].R), 9);
  EXPECT_EQ(L->Buttons[0].R, Rect(109, 2, 118, 10));
}

TEST_F(SkinListBoxCaption, DefaultBandShowsCaptionAndButtonStates) {
  TbsSkinListBox* L = NewCaptioned(3);
  EXPECT_EQ(PixelOf(L, 50, 1), Rgb(clBtnShadow));
  EXPECT_EQ(PixelOf(L, 102, 3), Rgb(clBtnShadow));  // resting button
  bool Text = false;
  for (Integer x = 3; x < 50 && !Text; ++x)
    for (Integer y = 2; y < 18 && !Text; ++y) Text = PixelOf(L, x, y) != Rgb(clBtnShadow);
  EXPECT_TRUE(Text);
  // The first move into the control is followed by its enter message, which clears any hover; the
  // next move shows it.
  wintest::MouseMove(Centre(L, 0));
  wintest::MouseMove(Centre(L, 0, 1));
  EXPECT_EQ(L->ActiveButton, 0);
  EXPECT_EQ(PixelOf(L, 101, 2), COLORREF(RGB(59, 107, 183)));
  EXPECT_EQ(PixelOf(L, 102, 3), COLORREF(RGB(193, 212, 243)));
  wintest::MouseDown(Centre(L, 0));
  EXPECT_EQ(PixelOf(L, 102, 3), COLORREF(RGB(162, 188, 228)));
  wintest::MouseUp(Centre(L, 0));
  // Leaving the control takes the hover look away.
  wintest::MouseMove(Centre(L, 2));
  wintest::MouseMove(Centre(L, 2, 1));
  EXPECT_TRUE(L->Buttons[2].MouseIn);
  wintest::MouseMove(At(L, 300, 250));
  EXPECT_FALSE(L->Buttons[2].MouseIn);
  EXPECT_EQ(PixelOf(L, 68, 3), Rgb(clBtnShadow));
}

TEST_F(SkinListBoxCaption, DefaultCaptionPlacesGlyphAndTextByAlignment) {
  TbsSkinListBox* L = NewCaptioned(3);
  TBitmap G;
  G.SetSize(20, 10);  // two frames: blue, then green
  G.Canvas()->Brush()->SetColor(clBlue);
  G.Canvas()->FillRect(Rect(0, 0, 10, 10));
  G.Canvas()->Brush()->SetColor(clLime);
  G.Canvas()->FillRect(Rect(10, 0, 20, 10));
  G.Canvas()->SetPixels(0, 9, clFuchsia);  // each frame's transparent key
  G.Canvas()->SetPixels(10, 9, clFuchsia);
  L->SetGlyph(&G);
  L->SetNumGlyphs(2);
  wintest::Pump();
  // Left: the glyph at the text rectangle's left, centred on the band one pixel up.
  const Integer GY = 2 + (18 - 2 - 2) / 2 - 10 / 2 - 1;
  EXPECT_EQ(PixelOf(L, 3 + 5, GY + 5), Rgb(clBlue));
  TBitmap M;
  M.Canvas()->Font()->Assign(L->DefaultCaptionFont());
  const Integer CW = M.Canvas()->TextWidth("Files") + 10 + 2;
  L->SetAlignment(taRightJustify);
  wintest::Pump();
  const Integer Right = 120 - 3 * 17 - 3;
  EXPECT_EQ(PixelOf(L, Right - CW + 5, GY + 5), Rgb(clBlue));
  EXPECT_NE(PixelOf(L, 3 + 5, GY + 5), Rgb(clBlue));
  // Disabled, a two-frame glyph shows its second frame.
  L->SetEnabled(false);
  L->Repaint();
  EXPECT_EQ(PixelOf(L, Right - CW + 5, GY + 5), Rgb(clLime));
}

TEST_F(SkinListBoxCaption, HoldingDownRepeatsAfterTheWaitAndOnceMoreOnRelease) {
  TbsSkinListBox* L = NewCaptioned(20);
  L->SetItemIndex(0);
  wintest::MouseDown(Centre(L, 1));
  EXPECT_EQ(L->TimerMode, 2);
  EXPECT_TRUE(L->WaitMode);
  wintest::AdvanceTime(Clock(), 599);
  EXPECT_EQ(L->ItemIndex(), 0);
  wintest::AdvanceTime(Clock(), 1);
  EXPECT_EQ(L->ItemIndex(), 1);
  wintest::AdvanceTime(Clock(), 300);
  EXPECT_EQ(L->ItemIndex(), 4);
  // Off the button the repeat pauses; back on it, it runs every 50 ms.
  wintest::MouseMove(At(L, 50, 60));
  wintest::AdvanceTime(Clock(), 300);
  EXPECT_EQ(L->ItemIndex(), 4);
  wintest::MouseMove(Centre(L, 1));
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_EQ(L->ItemIndex(), 6);
  wintest::MouseUp(Centre(L, 1));
  EXPECT_EQ(L->ItemIndex(), 7);
  EXPECT_EQ(L->TimerMode, 0);
  wintest::AdvanceTime(Clock(), 1000);
  EXPECT_EQ(L->ItemIndex(), 7);
}

TEST_F(SkinListBoxCaption, AssignedEventsReplaceTheDefaultActionsOverTheButton) {
  TbsSkinListBox* L = NewCaptioned(5);
  L->SetItemIndex(2);
  Integer Ups = 0;
  TObject* Sender = nullptr;
  L->OnUpButtonClick = [&](TObject* S) {
    ++Ups;
    Sender = S;
  };
  wintest::Click(Centre(L, 0));
  EXPECT_EQ(Ups, 1);
  EXPECT_EQ(Sender, L);
  EXPECT_EQ(L->ItemIndex(), 2);
  EXPECT_EQ(L->TimerMode, 0);
  // Released elsewhere: the default action runs instead of the event.
  wintest::MouseDown(Centre(L, 0));
  wintest::MouseMove(At(L, 30, 60));
  wintest::MouseUp(At(L, 30, 60));
  EXPECT_EQ(Ups, 1);
  EXPECT_EQ(L->ItemIndex(), 1);
  // At the top the up button leaves the selection; a right-button press presses it too.
  L->OnUpButtonClick = nullptr;
  L->SetItemIndex(0);
  wintest::Click(Centre(L, 0), TInputButton::Right);
  EXPECT_EQ(L->ItemIndex(), 0);
  L->SetItemIndex(4);
  wintest::Click(Centre(L, 1), TInputButton::Right);
  EXPECT_EQ(L->ItemIndex(), 4);  // past the last item it stays
  wintest::Click(Centre(L, 0), TInputButton::Right);
  EXPECT_EQ(L->ItemIndex(), 3);
}

TEST_F(SkinListBoxCaption, CheckButtonClicksTheList) {
  TbsSkinListBox* L = NewCaptioned(5);
  Trace(L);
  wintest::Click(Centre(L, 2));
  EXPECT_EQ(Log, (std::vector<String>{"hook click", "list click"}));
}

TEST_F(SkinListBoxCaption, ButtonsAreInertWithoutCaptionModeOrWhenHidden) {
  TbsSkinListBox* L = NewCaptioned(5);
  L->SetItemIndex(2);
  L->SetShowCaptionButtons(false);
  wintest::Pump();
  wintest::Click(At(L, 108, 8));
  EXPECT_EQ(L->ItemIndex(), 2);
  EXPECT_EQ(L->ActiveButton, -1);
  // Without the caption band there is nothing to hover or press.
  L->SetShowCaptionButtons(true);
  L->SetCaptionMode(false);
  wintest::Pump();
  for (const auto& B : L->Buttons) EXPECT_TRUE(IsEmptyRect(B.R));
}

TEST_F(SkinListBoxCaption, SkinnedBandDrawsCaptionAndButtonPicturesMovedWithTheWidth) {
  TbsDataSkinListBox* R = UseCaptionedListElement(Skin.get());
  TForm* F = NewForm();
  auto* L = NewControl<TbsSkinListBox>(F, Rect(10, 10, 210, 150));
  L->SetCaptionMode(true);
  L->SetCaption("WW");
  L->SetSkinData(Skin.get());
  for (Integer i = 0; i < 3; ++i) L->Items()->Add("Item " + std::to_string(i));
  wintest::Pump();
  const Integer dW = 200 - 96;
  EXPECT_EQ(L->Buttons[0].R, Rect(78 + dW, 4, 92 + dW, 20));
  EXPECT_EQ(L->Buttons[1].R, Rect(64 + dW, 4, 78 + dW, 20));
  EXPECT_EQ(L->Buttons[2].R, Rect(52 + dW, 4, 64 + dW, 20));
  // The caption reaches the top-right corner point, so it grows with the width.
  EXPECT_EQ(L->NewCaptionRect, Rect(4, 2, 50 + dW, 22));
  EXPECT_EQ(L->ListBox->BoundsRect(), Rect(6, 24, 200 - 6, 140 - 6));
  TCanvas* Pic = L->Picture->Canvas();
  auto shows = [&](Integer I, TRect Src) {
    const TRect& B = L->Buttons[I].R;
    return PixelOf(L, B.Left + 3, B.Top + 5) == COLORREF(Pic->Pixels(Src.Left + 3, Src.Top + 5));
  };
  auto normal = [&](TRect Src) {
    OffsetRect(&Src, R->SkinRect.Left, R->SkinRect.Top);
    return Src;
  };
  EXPECT_TRUE(shows(0, normal(R->UpButtonRect)));
  EXPECT_TRUE(shows(2, normal(R->CheckButtonRect)));
  // The caption in the element's caption font colour.
  bool Red = false;
  for (Integer x = 4; x < 50 && !Red; ++x)
    for (Integer y = 2; y < 22 && !Red; ++y) Red = PixelOf(L, x, y) == Rgb(clRed);
  EXPECT_TRUE(Red);
  // Hover and press show their pictures; an empty pressed picture shows the hover one.
  wintest::MouseMove(Centre(L, 0));
  wintest::MouseMove(Centre(L, 0, 1));
  EXPECT_TRUE(shows(0, R->ActiveUpButtonRect));
  wintest::MouseDown(Centre(L, 0));
  EXPECT_TRUE(shows(0, R->DownUpButtonRect));
  wintest::MouseUp(Centre(L, 0));
  wintest::MouseMove(Centre(L, 1));
  wintest::MouseDown(Centre(L, 1));
  EXPECT_TRUE(shows(1, R->ActiveDownButtonRect));
  wintest::MouseUp(Centre(L, 1));
  EXPECT_EQ(L->ItemIndex(), 0);
}

TEST_F(SkinListBoxCaption, HiddenSkinButtonsAreCoveredByTheDisabledPicture) {
  TbsDataSkinListBox* R = UseCaptionedListElement(Skin.get());
  const Integer Top = R->SkinRect.Top;
  R->DisabledButtonsRect = Bounds(2 * 48, Top + 4, 40, 16);
  R->ButtonsArea = Rect(52, 4, 92, 20);
  TForm* F = NewForm();
  auto* L = NewControl<TbsSkinListBox>(F, Rect(10, 10, 210, 150));
  L->SetCaptionMode(true);
  L->SetShowCaptionButtons(false);
  L->SetSkinData(Skin.get());
  wintest::Pump();
  TCanvas* Pic = L->Picture->Canvas();
  const Integer dW = 200 - 96;
  for (Integer x : {1, 20, 38})
    EXPECT_EQ(PixelOf(L, 52 + dW + x, 10), COLORREF(Pic->Pixels(2 * 48 + x, Top + 10))) << x;
  for (const auto& B : L->Buttons) EXPECT_TRUE(IsEmptyRect(B.R));
  EXPECT_EQ(L->NewCaptionRect.Right, 200 - R->CaptionRect.Left);
}

}  // namespace
