#include "platform/ui/comctrls/listview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/rtl/sysutils.h"
#include "platform/ui/core/screen.h"
#include "platform/ui/stdctrls/edit.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/stdcontrolstest.h"
#include "platform/ui/testkit/typeaheadscript.h"

namespace {

// The job list's columns: caption and width; hidden ones are 0 wide with a maximum of 1.
struct TJobColumn {
  const char* Caption;
  Integer Width;
};
const TJobColumn JobColumns[25] = {
    {"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70},  {"输出文件", 80},  {"转换进度", 70},
    {"", 0},           {"当前时间", 80},  {"转换大小", 80},  {"视频序号", 0},   {"视频类别", 0},
    {"视频选项", 0},   {"视频编码", 0},   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},
    {"FileExt", 0},    {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},   {"音频比特率", 0},
    {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},   {"TargetType", 0}, {"NormType", 0},
};

struct TSelectEvent {
  Integer Index;
  bool Selected;
  bool operator==(const TSelectEvent& O) const { return Index == O.Index && Selected == O.Selected; }
};
std::ostream& operator<<(std::ostream& S, const TSelectEvent& E) {
  return S << "{" << E.Index << (E.Selected ? ", on}" : ", off}");
}
using TEvents = std::vector<TSelectEvent>;

class ListViewTest : public TStdControlsTest {
 protected:
  void SetUp() override;

 public:
  void setUpList() {
    Form = NewForm(Rect(100, 100, 700, 500));
    LV = NewControl<TListView>(Form, Bounds(10, 10, 420, 250));
    LV->SetBorderVisible(false);
    LV->SetViewStyle(vsReport);
    LV->SetRowSelect(true);
    LV->SetGridLines(true);
    LV->SetReadOnly(true);
    LV->SetHideSelection(false);
    for (const TJobColumn& J : JobColumns) {
      TListColumn* C = LV->Columns()->Add();
      C->SetCaption(J.Caption);
      C->SetWidth(J.Width);
      if (J.Width == 0) C->SetMaxWidth(1);
    }
    LV->OnSelectItem = [this](TObject*, TListItem* Item, bool Selected) {
      Events.push_back({Item->Index(), Selected});
    };
  }

  // A row as the job list adds it: the path and all 24 sub-items.
  TListItem* AddRow(const String& Path) {
    TListItem* Item = LV->Items()->Add();
    Item->SetCaption(Path);
    for (Integer k = 0; k < 24; ++k) Item->SubItems()->Add(k == 0 ? "00:01:00" : "");
    return Item;
  }
  void AddRows(Integer N) {
    LV->Items()->BeginUpdate();
    for (Integer i = 0; i < N; ++i) AddRow(Format("/media/clip%d.avi", {i}));
    LV->Items()->EndUpdate();
  }
  // A point inside row Index (client coordinates), in the caption column.
  TPoint RowPoint(Integer Index) {
    TRect R = LV->Items()->Item(Index)->DisplayRect(drBounds);
    return At(LV, R.Left + 20, (R.Top + R.Bottom) / 2);
  }
  COLORREF Pixel(Integer X, Integer Y) { return PixelOf(LV, X, Y); }

  TForm* Form = nullptr;
  TListView* LV = nullptr;
  TEvents Events;
};

void ListViewTest::SetUp() {
  TStdControlsTest::SetUp();
  setUpList();
}

// ---- the job list's operations ----
struct TOperation {
  const char* Name;
  std::function<void(ListViewTest&)> Run;
  Integer Count;
  Integer ItemIndex;
  const char* SelectedCaption;  // nullptr: Selected is nil
};

TEST_F(ListViewTest, JobListOperationsKeepCountSelectionAndIndexInStep) {
  const TOperation Ops[] = {
      {"empty list", [](ListViewTest&) {}, 0, -1, nullptr},
      {"add three", [](ListViewTest& T) { T.AddRows(3); }, 3, -1, nullptr},
      {"select by ItemIndex", [](ListViewTest& T) { T.LV->SetItemIndex(1); }, 3, 1, "/media/clip1.avi"},
      {"select by item", [](ListViewTest& T) { T.LV->Items()->Item(2)->SetSelected(true); }, 3, 2,
       "/media/clip2.avi"},
      {"delete before the selection", [](ListViewTest& T) { T.LV->Items()->Delete(0); }, 2, 1,
       "/media/clip2.avi"},
      {"delete the selected row", [](ListViewTest& T) { T.LV->Items()->Delete(1); }, 1, -1, nullptr},
      {"add inside an update",
       [](ListViewTest& T) {
         T.LV->Items()->BeginUpdate();
         T.AddRow("/media/新文件.mkv");
         T.LV->SetItemIndex(1);
         T.LV->Items()->EndUpdate();
       },
       2, 1, "/media/新文件.mkv"},
      {"deselect with -1", [](ListViewTest& T) { T.LV->SetItemIndex(-1); }, 2, -1, nullptr},
      {"select again and clear",
       [](ListViewTest& T) {
         T.LV->SetItemIndex(0);
         T.LV->Items()->Clear();
       },
       0, -1, nullptr},
  };
  for (const TOperation& Op : Ops) {
    Op.Run(*this);
    EXPECT_EQ(LV->Items()->Count(), Op.Count) << Op.Name;
    EXPECT_EQ(LV->ItemIndex(), Op.ItemIndex) << Op.Name;
    if (Op.SelectedCaption == nullptr) {
      EXPECT_EQ(LV->Selected(), nullptr) << Op.Name;
    } else {
      ASSERT_NE(LV->Selected(), nullptr) << Op.Name;
      EXPECT_EQ(LV->Selected()->Caption(), Op.SelectedCaption) << Op.Name;
      EXPECT_TRUE(LV->Selected()->Selected()) << Op.Name;
    }
    for (Integer i = 0; i < LV->Items()->Count(); ++i) {
      EXPECT_EQ(LV->Items()->Item(i)->Index(), i) << Op.Name;
      EXPECT_EQ(LV->Items()->Item(i)->SubItems()->Count(), 24) << Op.Name;
    }
  }
}

TEST_F(ListViewTest, ItemsCopyWithAssignAndColumnWidthsReadByIndex) {
  TListItem* A = AddRow("/a.avi");
  A->SubItems()->SetStrings(3, "50%");
  TListItem* B = LV->Items()->Add();
  B->Assign(A);
  EXPECT_EQ(B->Caption(), "/a.avi");
  EXPECT_EQ(B->SubItems()->Strings(3), "50%");
  EXPECT_EQ(B->SubItems()->Count(), 24);
  EXPECT_EQ(LV->Column(3)->Width(), 80);
  EXPECT_EQ(SendMessage(LV->Handle(), LVM_GETCOLUMNWIDTH, 1, 0), 70);
  EXPECT_EQ(LV->ColumnsWidth(), 80 + 70 + 70 + 80 + 70 + 80 + 80);
  // Top follows the rows: the second row starts one row height below the first.
  EXPECT_EQ(B->Top() - A->Top(), LV->ItemHeight());
}

TEST_F(ListViewTest, IndexesOutOfRangeRaiseTheListError) {
  AddRows(3);
  const std::pair<const char*, std::function<void()>> Cases[] = {
      {"Items[-1]", [&] { LV->Items()->Item(-1); }},
      {"Items[Count]", [&] { LV->Items()->Item(3); }},
      {"Delete(Count)", [&] { LV->Items()->Delete(3); }},
      {"Insert(Count + 1)", [&] { LV->Items()->Insert(4); }},
      {"ItemIndex := Count", [&] { LV->SetItemIndex(3); }},
      {"Columns[25]", [&] { LV->Column(25); }},
      {"SubItemImages[24]", [&] { LV->Items()->Item(0)->SubItemImages(24); }},
  };
  for (const auto& [Name, Run] : Cases) {
    try {
      Run();
      ADD_FAILURE() << Name << " did not raise";
    } catch (const EListError& E) {
      EXPECT_NE(E.Message().find("List index out of bounds"), String::npos) << Name << ": " << E.Message();
    }
  }
  EXPECT_EQ(LV->Items()->Count(), 3);
  EXPECT_EQ(LV->ItemIndex(), -1);
}

// ---- selection events ----
TEST_F(ListViewTest, SelectingByCodeReportsTheDeselectBeforeTheSelect) {
  AddRows(4);
  LV->SetItemIndex(1);
  EXPECT_EQ(Events, (TEvents{{1, true}}));
  Events.clear();
  LV->Items()->Item(3)->SetSelected(true);  // single selection: 1 goes first
  EXPECT_EQ(Events, (TEvents{{1, false}, {3, true}}));
  Events.clear();
  LV->SetItemIndex(3);  // already selected: nothing to report
  EXPECT_EQ(Events, TEvents{});
  LV->SetSelected(nullptr);
  EXPECT_EQ(Events, (TEvents{{3, false}}));
  EXPECT_EQ(LV->SelCount(), 0);
}

TEST_F(ListViewTest, TheUserSelectsByClickAndByKeys) {
  AddRows(30);
  LV->SetFocus();
  wintest::Click(RowPoint(2));
  EXPECT_EQ(LV->ItemIndex(), 2);
  EXPECT_EQ(Events, (TEvents{{2, true}}));
  Events.clear();
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(Events, (TEvents{{2, false}, {3, true}}));
  EXPECT_EQ(LV->ItemFocused()->Index(), 3);
  wintest::KeyPress(VK_END);
  EXPECT_EQ(LV->ItemIndex(), 29);
  // The last row was brought into view.
  EXPECT_EQ(LV->TopIndex(), 30 - LV->VisibleRowCount());
  wintest::KeyPress(VK_HOME);
  EXPECT_EQ(LV->ItemIndex(), 0);
  EXPECT_EQ(LV->TopIndex(), 0);
  Events.clear();
  // A click below the last row clears the selection.
  LV->Items()->Clear();
  AddRows(2);
  LV->SetItemIndex(1);
  Events.clear();
  wintest::Click(At(LV, 30, LV->Height() / 2));
  EXPECT_EQ(LV->ItemIndex(), -1);
  EXPECT_EQ(Events, (TEvents{{1, false}}));
}

// Typing selects as in a desktop list: the letters typed within the pause make one prefix, a pause
// starts a new one, one letter typed again steps through the items beginning with it.
TEST_F(ListViewTest, TypedLettersSelectTheNextItemWithThatPrefixAndAPauseStartsAgain) {
  for (const char* C : typeahead::Names) AddRow(C);
  LV->SetFocus();
  typeahead::RunScript(Clock(), [&] {
    EXPECT_EQ(LV->ItemFocused()->Index(), LV->ItemIndex());
    return LV->ItemIndex();
  });
  // Only one item stays selected in a multi-select list.
  LV->SetMultiSelect(true);
  LV->SelectAll();
  wintest::AdvanceTime(Clock(), TCustomListView::IncrementalSearchPause + 1);
  wintest::KeyPress('X', DWORD(U'视'));
  EXPECT_EQ(LV->ItemIndex(), 5);
  EXPECT_EQ(LV->SelCount(), 1);
  // FindCaption: exact or partial, from the item after the start unless inclusive, wrapping.
  EXPECT_EQ(LV->FindCaption(0, "BETA", false, true, false), LV->Items()->Item(0));
  EXPECT_EQ(LV->FindCaption(0, "BETA", false, false, false), nullptr);
  EXPECT_EQ(LV->FindCaption(0, "BETA", false, false, true), LV->Items()->Item(0));
  EXPECT_EQ(LV->FindCaption(4, "al", true, false, true), LV->Items()->Item(1));
  EXPECT_EQ(LV->FindCaption(4, "al", true, false, false), nullptr);
}

// An owner-data list hands the typed prefix to its find request, asking for a wrapping search.
TEST_F(ListViewTest, TypedLettersInAnOwnerDataListAskTheFindRequest) {
  LV->SetOwnerData(true);
  LV->OnData = [](TObject*, TListItem* Item) { Item->SetCaption(Format("row %d", {Item->Index()})); };
  LV->Items()->SetCount(50);
  LV->SetItemIndex(10);
  struct Asked {
    TItemFind Find;
    String Text;
    Integer Start;
    bool Wrap;
  };
  std::vector<Asked> Log;
  Integer Answer = 42;
  LV->OnDataFind = [&](TObject*, TItemFind Find, const String& Text, const TPoint&, void*, Integer Start,
                       TSearchDirection, bool Wrap, Integer& Index) {
    Log.push_back({Find, Text, Start, Wrap});
    Index = Answer;
  };
  LV->SetFocus();
  wintest::KeyPress('R', 'r');
  wintest::KeyPress('O', 'o');
  ASSERT_EQ(Log.size(), 2u);
  EXPECT_EQ(Log[0].Find, ifPartialString);
  EXPECT_EQ(Log[0].Text, "r");
  EXPECT_EQ(Log[0].Start, 11);
  EXPECT_TRUE(Log[0].Wrap);
  EXPECT_EQ(Log[1].Text, "ro");
  EXPECT_EQ(Log[1].Start, 42);
  EXPECT_EQ(LV->ItemIndex(), 42);
  // An answer outside the list selects nothing.
  Answer = 50;
  wintest::KeyPress('W', 'w');
  EXPECT_EQ(LV->ItemIndex(), 42);
  EXPECT_EQ(LV->FindCaption(3, "row 7", false, true, true), nullptr);
  EXPECT_EQ(Log.back().Find, ifExactString);
  EXPECT_EQ(Log.back().Start, 3);
}

TEST_F(ListViewTest, ClicksAndDoubleClicksReachTheEvents) {
  AddRows(3);
  Integer Clicks = 0, DoubleClicks = 0;
  LV->OnClick = [&](TObject*) { ++Clicks; };
  LV->OnDblClick = [&](TObject*) {
    ++DoubleClicks;
    EXPECT_EQ(LV->ItemIndex(), 1);  // the row is selected before the handler runs
  };
  wintest::Click(RowPoint(1));
  EXPECT_EQ(Clicks, 1);
  wintest::Click(RowPoint(1));
  EXPECT_EQ(DoubleClicks, 1);
}

// The job list starts its in-place rename from a double click: the handler puts the focus into an
// edit over the row, and the rest of the double click must leave it there.
TEST_F(ListViewTest, ADoubleClickHandlerThatMovesTheFocusKeepsIt) {
  AddRows(3);
  auto* Editor = NewControl<TEdit>(Form, Bounds(10, 300, 100, 24));
  Integer Exits = 0;
  Editor->OnExit = [&](TObject*) { ++Exits; };
  LV->OnDblClick = [&](TObject*) { Editor->SetFocus(); };
  wintest::Click(RowPoint(2));
  ASSERT_TRUE(LV->Focused());
  wintest::Click(RowPoint(2));
  EXPECT_TRUE(Editor->Focused());
  EXPECT_EQ(Exits, 0);
  EXPECT_EQ(LV->ItemIndex(), 2);
}

TEST_F(ListViewTest, MultiSelectExtendsWithShiftAndTogglesWithCtrl) {
  AddRows(6);
  LV->SetMultiSelect(true);
  LV->SetFocus();
  wintest::Click(RowPoint(1));
  wintest::KeyDown(VK_SHIFT);
  wintest::Click(RowPoint(3));
  wintest::KeyUp(VK_SHIFT);
  EXPECT_EQ(LV->SelCount(), 3);
  EXPECT_EQ(LV->ItemIndex(), 1);
  wintest::KeyDown(VK_CONTROL);
  wintest::Click(RowPoint(2));
  wintest::Click(RowPoint(5));
  wintest::KeyUp(VK_CONTROL);
  std::vector<Integer> Selected;
  for (TListItem* I = LV->GetNextItem(nullptr, LVNI_SELECTED); I; I = LV->GetNextItem(I, LVNI_SELECTED))
    Selected.push_back(I->Index());
  EXPECT_EQ(Selected, (std::vector<Integer>{1, 3, 5}));
  // Back to single selection: only one stays.
  LV->SetMultiSelect(false);
  EXPECT_EQ(LV->SelCount(), 1);
}

// ---- hidden columns ----
TEST_F(ListViewTest, HiddenColumnsCannotBeWidenedByCodeOrByTheHeader) {
  LV->Column(9)->SetWidth(120);
  EXPECT_EQ(LV->Column(9)->Width(), 1);
  LV->Column(9)->SetWidth(0);
  // The header answers a drag of the hidden column's divider with the column's limit.
  HDITEM Item;
  Item.mask = HDI_WIDTH;
  Item.cxy = 200;
  SendMessage(LV->HeaderHandle(), HDM_SETITEM, 9, reinterpret_cast<LPARAM>(&Item));
  EXPECT_EQ(LV->Column(9)->Width(), 1);
  Item.mask = HDI_WIDTH;
  SendMessage(LV->HeaderHandle(), HDM_GETITEM, 9, reinterpret_cast<LPARAM>(&Item));
  EXPECT_EQ(Item.cxy, 1);
  // A visible column keeps its own width through the header.
  Item.cxy = 150;
  SendMessage(LV->HeaderHandle(), HDM_SETITEM, 0, reinterpret_cast<LPARAM>(&Item));
  EXPECT_EQ(LV->Column(0)->Width(), 150);
}

// ---- scrolling ----
TEST_F(ListViewTest, ReportScrollInfoCountsRowsAndPixels) {
  AddRows(100);
  const Integer Rows = LV->VisibleRowCount();
  ASSERT_GT(Rows, 3);
  ASSERT_LT(Rows, 100);
  SCROLLINFO V;
  V.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(LV->Handle(), SB_VERT, &V));
  EXPECT_EQ(V.nMin, 0);
  EXPECT_EQ(V.nMax, 99);
  EXPECT_EQ(Integer(V.nPage), Rows);
  EXPECT_EQ(V.nPos, 0);
  EXPECT_EQ(SendMessage(LV->Handle(), LVM_GETCOUNTPERPAGE, 0, 0), Rows);
  SCROLLINFO H;
  H.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(LV->Handle(), SB_HORZ, &H));
  EXPECT_EQ(H.nMax, LV->ColumnsWidth() - 1);
  RECT Client;
  GetClientRect(LV->Handle(), &Client);
  EXPECT_EQ(Integer(H.nPage), Client.Right);

  // Scroll by three rows of pixels, by a partial row (rounded up), by a page and past the end.
  LV->Scroll(0, 3 * LV->ItemHeight());
  EXPECT_EQ(LV->TopIndex(), 3);
  EXPECT_EQ(GetScrollPos(LV->Handle(), SB_VERT), 3);
  LV->Scroll(0, 1);
  EXPECT_EQ(LV->TopIndex(), 4);
  SendMessage(LV->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(LV->TopIndex(), 4 + Rows);
  EXPECT_EQ(LV->TopItem()->Index(), 4 + Rows);
  LV->Scroll(0, 1000 * LV->ItemHeight());
  EXPECT_EQ(LV->TopIndex(), 100 - Rows);
  // Rows move with the scroll position.
  EXPECT_EQ(LV->Items()->Item(100 - Rows)->Top(), LV->HeaderHeight());
  // Horizontal scrolling moves the header with the columns.
  LV->Scroll(40, 0);
  EXPECT_EQ(GetScrollPos(LV->Handle(), SB_HORZ), 40);
  RECT HR;
  GetWindowRect(LV->HeaderHandle(), &HR);
  POINT Origin{0, 0};
  ClientToScreen(LV->Handle(), &Origin);
  EXPECT_EQ(HR.Left - Origin.X, -40);
}

TEST_F(ListViewTest, ListViewScrollsByColumnsOfItems) {
  AddRows(100);
  LV->SetViewStyle(vsList);
  const Integer Rows = LV->ClientHeight() / LV->ItemHeight();
  SCROLLINFO H;
  H.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(LV->Handle(), SB_HORZ, &H));
  EXPECT_EQ(H.nMax, (100 + Rows - 1) / Rows - 1);
  SendMessage(LV->Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(LV->TopIndex(), Rows);
  EXPECT_EQ(LV->Items()->Item(Rows)->DisplayRect(drBounds).Left, 0);
  EXPECT_EQ(LV->HeaderHandle(), nullptr);  // no header outside report view
}

// A double click on the divider at a column's right edge sizes the column to what it shows: its
// widest cell, or its heading when that is wider.
TEST_F(ListViewTest, ADoubleClickOnAHeaderDividerFitsTheColumnToItsContent) {
  AddRow("/media/a.avi");
  AddRow("/media/a rather longer name of a holiday clip.avi");
  LV->Items()->Item(0)->SubItems()->SetStrings(0, "1:00");
  LV->Items()->Item(1)->SubItems()->SetStrings(0, "00:00:01.5");
  LV->Canvas()->Font()->Assign(LV->Font());
  auto textWidth = [&](const String& S) { return LV->Canvas()->TextWidth(S); };
  const struct {
    Integer Column;
    Integer StartWidth;
    String Widest;  // the longest text the column shows
  } Cases[] = {
      {0, 40, "/media/a rather longer name of a holiday clip.avi"},  // cut: it grows
      {1, 250, "00:00:01.5"},                                        // far too wide: it shrinks
      {2, 30, "文件大小"},  // no cell text at all: the heading stays readable
  };
  for (const auto& Case : Cases) {
    for (Integer C = 0; C < 3; ++C) LV->Column(C)->SetWidth(60);
    LV->Column(Case.Column)->SetWidth(Case.StartWidth);
    const Integer Right = LV->ColumnLeft(Case.Column) + Case.StartWidth;
    const TPoint Divider = wintest::ScreenPoint(LV->HeaderHandle(), Right, LV->HeaderHeight() / 2);
    wintest::Click(Divider);
    wintest::Click(Divider);
    const Integer W = LV->Column(Case.Column)->Width();
    EXPECT_GE(W, textWidth(Case.Widest) + 4) << Case.Column;  // the text and a margin at each side
    EXPECT_LE(W, textWidth(Case.Widest) + 40) << Case.Column;
    SCROLLINFO H;
    H.fMask = SIF_RANGE;
    GetScrollInfo(LV->Handle(), SB_HORZ, &H);
    EXPECT_EQ(H.nMax, LV->ColumnsWidth() - 1) << "the scroll range follows the new width";
  }
}

TEST_F(ListViewTest, AClickOnAColumnHeadingReportsTheColumn) {
  std::vector<Integer> Clicked;
  LV->OnColumnClick = [&](TObject*, TListColumn* C) { Clicked.push_back(C->Index()); };
  const TPoint Heading = wintest::ScreenPoint(LV->HeaderHandle(), 80 + 30, 8);
  wintest::Click(Heading);
  EXPECT_EQ(Clicked, std::vector<Integer>{1});
  // Without ColumnClick the headings are no buttons.
  LV->SetColumnClick(false);
  wintest::AdvanceTime(Clock(), 1000);
  wintest::Click(Heading);
  EXPECT_EQ(Clicked, std::vector<Integer>{1});
}

TEST_F(ListViewTest, WithFullDragTheUserMovesAColumnAndItsCellsFollow) {
  AddRows(2);
  LV->Items()->Item(0)->SubItems()->SetStrings(1, "12MB");  // column 2
  LV->SetFullDrag(true);
  const Integer Top = LV->HeaderHeight(), H = LV->ItemHeight();
  // Column 2 (70 wide at 150) dragged onto column 0's place.
  wintest::MouseDown(wintest::ScreenPoint(LV->HeaderHandle(), 180, 8));
  wintest::MouseMove(wintest::ScreenPoint(LV->HeaderHandle(), 120, 8));
  wintest::MouseMove(wintest::ScreenPoint(LV->HeaderHandle(), 20, 8));
  wintest::MouseUp(wintest::ScreenPoint(LV->HeaderHandle(), 20, 8));
  EXPECT_EQ(LV->ColumnOrder()[0], 2);
  EXPECT_EQ(LV->ColumnLeft(2), 0);
  EXPECT_EQ(LV->ColumnLeft(0), 70);
  // The caption moved right with column 0; the size now starts the row.
  EXPECT_EQ(LV->Items()->Item(0)->DisplayRect(drLabel).Left, 72);
  EXPECT_EQ(PixelOf(LV, 6 + 2, Top + H / 2), Rgb(clWindowText));
  EXPECT_EQ(PixelOf(LV, 70 + 4 + 2, Top + H / 2), Rgb(clWindowText));
  Integer Col = -1;
  EXPECT_EQ(LV->HitTest(Point(10, Top + 2), &Col), 0);
  EXPECT_EQ(Col, 2);
}

TEST_F(ListViewTest, IconViewsLayItemsOutInRowsAndScrollByPixels) {
  AddRows(100);
  for (TViewStyle View : {vsSmallIcon, vsIcon}) {
    LV->SetViewStyle(View);
    const TRect First = LV->Items()->Item(0)->DisplayRect(drBounds);
    const Integer PerRow = LV->ClientWidth() / First.Width();
    ASSERT_GT(PerRow, 1) << View;
    // Left to right, then the next row.
    EXPECT_EQ(LV->Items()->Item(1)->DisplayRect(drBounds).Left, First.Right) << View;
    EXPECT_EQ(LV->Items()->Item(PerRow)->DisplayRect(drBounds).Top, First.Bottom) << View;
    EXPECT_EQ(LV->GetItemAt(First.Right + 3, First.Top + First.Height() / 2), LV->Items()->Item(1)) << View;
    // The arrows move along a row and down a column.
    LV->SetFocus();
    LV->SetItemIndex(0);
    wintest::KeyPress(VK_RIGHT);
    EXPECT_EQ(LV->ItemIndex(), 1) << View;
    wintest::KeyPress(VK_DOWN);
    EXPECT_EQ(LV->ItemIndex(), 1 + PerRow) << View;
    // The vertical range is the rows' pixels; a wheel notch or a scroll moves by pixels.
    const Integer RowsOfCells = (100 + PerRow - 1) / PerRow;
    SCROLLINFO V;
    V.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(LV->Handle(), SB_VERT, &V));
    EXPECT_EQ(V.nMax, RowsOfCells * First.Height() - 1) << View;
    EXPECT_EQ(Integer(V.nPage), LV->ClientHeight()) << View;
    LV->Scroll(0, 5);
    EXPECT_EQ(GetScrollPos(LV->Handle(), SB_VERT), 5) << View;
    EXPECT_EQ(LV->Items()->Item(0)->DisplayRect(drBounds).Top, First.Top - 5) << View;
    LV->Scroll(0, -5);
  }
}

// ---- sorting and owner data ----
TEST_F(ListViewTest, AlphaSortUsesOnCompareAndKeepsTheSelectionWithItsItem) {
  for (const char* S : {"b", "c", "a"}) LV->Items()->Add()->SetCaption(S);
  LV->SetItemIndex(0);  // "b"
  LV->AlphaSort();
  EXPECT_EQ(LV->Items()->Item(0)->Caption(), "a");
  EXPECT_EQ(LV->Selected()->Caption(), "b");
  EXPECT_EQ(LV->ItemIndex(), 1);
  LV->OnCompare = [](TObject*, TListItem* A, TListItem* B, Integer, Integer& Compare) {
    Compare = -CompareText(A->Caption(), B->Caption());
  };
  LV->AlphaSort();
  EXPECT_EQ(LV->Items()->Item(0)->Caption(), "c");
  EXPECT_EQ(LV->ItemIndex(), 1);
}

TEST_F(ListViewTest, OwnerDataAsksOnlyForTheRowsItShows) {
  std::vector<Integer> Asked;
  LV->SetOwnerData(true);
  LV->OnData = [&](TObject*, TListItem* Item) {
    Asked.push_back(Item->Index());
    Item->SetCaption(Format("row %d", {Item->Index()}));
    Item->SubItems()->Add("x");
  };
  LV->Items()->SetCount(100000);
  EXPECT_EQ(LV->Items()->Count(), 100000);
  EXPECT_THROW(LV->Items()->Add(), EInvalidOperation);
  EXPECT_EQ(LV->Items()->Item(76543)->Caption(), "row 76543");
  Asked.clear();
  LV->Scroll(0, 50000 * LV->ItemHeight());
  PixelOf(LV, 5, 30);  // paints
  ASSERT_FALSE(Asked.empty());
  EXPECT_LE(Integer(Asked.size()), 2 * (LV->VisibleRowCount() + 2));
  EXPECT_GE(*std::min_element(Asked.begin(), Asked.end()), 50000);
  LV->SetItemIndex(99999);
  EXPECT_EQ(Events.back(), (TSelectEvent{99999, true}));
  EXPECT_EQ(LV->Selected()->Caption(), "row 99999");
  LV->Items()->SetCount(10);  // the selection went with its row
  EXPECT_EQ(LV->ItemIndex(), -1);
}

// ---- label editing hook ----
class TFakeEditor : public ILabelEditor {
 public:
  static inline std::function<void(bool, const String&)> Finish;
  static inline TRect Where;
  void Start(TCustomListView*, const TRect& Bounds, const String& Text,
             std::function<void(bool, const String&)> F) override {
    Where = Bounds;
    StartedWith = Text;
    Finish = std::move(F);
  }
  void Cancel() override {}
  static inline String StartedWith;
};

TEST_F(ListViewTest, ReadOnlyListsNeverEditAndEditableOnesRenameThroughTheEditor) {
  const auto RealFactory = TCustomListView::LabelEditorFactory;
  TCustomListView::LabelEditorFactory = [] { return std::make_unique<TFakeEditor>(); };
  AddRows(2);
  LV->SetItemIndex(1);
  LV->SetFocus();
  wintest::KeyPress(VK_F2);
  EXPECT_FALSE(LV->IsEditing());
  LV->SetReadOnly(false);
  String Edited;
  LV->OnEdited = [&](TObject*, TListItem*, String& S) {
    Edited = S;
    S += ".mp4";
  };
  wintest::KeyPress(VK_F2);
  ASSERT_TRUE(LV->IsEditing());
  EXPECT_EQ(TFakeEditor::StartedWith, "/media/clip1.avi");
  EXPECT_EQ(TFakeEditor::Where, LV->Items()->Item(1)->DisplayRect(drLabel));
  TFakeEditor::Finish(true, "新名字");
  EXPECT_EQ(Edited, "新名字");
  EXPECT_EQ(LV->Items()->Item(1)->Caption(), "新名字.mp4");
  EXPECT_FALSE(LV->IsEditing());
  TCustomListView::LabelEditorFactory = RealFactory;
}

// The real editor: typed text lands on Enter, Escape keeps the old caption, and leaving the edit
// accepts what was typed.
TEST_F(ListViewTest, TheInPlaceEditAcceptsOnEnterOrLeavingAndGivesUpOnEscape) {
  AddRows(3);
  LV->SetReadOnly(false);
  LV->SetFocus();
  struct TCase {
    Word EndKey;  // 0: focus moves elsewhere
    const char* Expected;
  };
  const TCase Cases[] = {{VK_RETURN, "片段x"}, {VK_ESCAPE, "/media/clip1.avi"}, {0, "片段x"}};
  for (const TCase& C : Cases) {
    LV->Items()->Item(1)->SetCaption("/media/clip1.avi");
    LV->SetItemIndex(1);
    LV->SetFocus();
    wintest::KeyPress(VK_F2);
    ASSERT_TRUE(LV->IsEditing());
    auto* Edit = dynamic_cast<TCustomEdit*>(Screen->ActiveControl());
    ASSERT_NE(Edit, nullptr);
    EXPECT_EQ(Edit->Parent(), LV);
    EXPECT_EQ(Edit->SelLength(), 16);  // the whole caption selected, ready to be typed over
    Edit->SetSelText("片段x");
    if (C.EndKey != 0)
      wintest::KeyPress(C.EndKey);
    else
      LV->SetFocus();
    WinRunDeferredActions();
    EXPECT_FALSE(LV->IsEditing());
    EXPECT_EQ(LV->Items()->Item(1)->Caption(), C.Expected) << C.EndKey;
  }
  // A list freed while its ended editor still waits to be freed takes the edit with it, once.
  LV->SetItemIndex(0);
  LV->SetFocus();
  wintest::KeyPress(VK_F2);
  ASSERT_TRUE(LV->IsEditing());
  wintest::KeyPress(VK_RETURN);
  delete LV;
  LV = nullptr;
  WinRunDeferredActions();
}

// An owner-data list edits in place too: the edit starts with the text the owner gives for the row,
// the typed name reaches OnEdited with the owner's item, and the row shows what the owner keeps.
TEST_F(ListViewTest, AnOwnerDataListEditsTheOwnersTextInPlace) {
  std::vector<String> Names{"a.avi", "b.avi", "c.avi"};
  LV->SetOwnerData(true);
  LV->OnData = [&](TObject*, TListItem* Item) { Item->SetCaption(Names[size_t(Item->Index())]); };
  LV->Items()->SetCount(3);
  LV->SetReadOnly(false);
  Integer EditedIndex = -1;
  LV->OnEdited = [&](TObject*, TListItem* Item, String& S) {
    EditedIndex = Item->Index();
    Names[size_t(Item->Index())] = S;
  };
  LV->SetItemIndex(1);
  LV->SetFocus();
  ASSERT_TRUE(LV->Items()->Item(1)->EditCaption());
  auto* Edit = dynamic_cast<TCustomEdit*>(Screen->ActiveControl());
  ASSERT_NE(Edit, nullptr);
  EXPECT_EQ(Edit->Text(), "b.avi");
  Edit->SetSelText("片段.avi");
  wintest::KeyPress(VK_RETURN);
  WinRunDeferredActions();
  EXPECT_FALSE(LV->IsEditing());
  EXPECT_EQ(EditedIndex, 1);
  EXPECT_EQ(Names, (std::vector<String>{"a.avi", "片段.avi", "c.avi"}));
  EXPECT_EQ(LV->Items()->Item(1)->Caption(), "片段.avi");
  // Escape leaves the owner's text alone; a read-only owner-data list never edits.
  LV->SetFocus();
  wintest::KeyPress(VK_F2);
  ASSERT_TRUE(LV->IsEditing());
  wintest::KeyPress(VK_ESCAPE);
  WinRunDeferredActions();
  EXPECT_EQ(Names[1], "片段.avi");
  LV->SetReadOnly(true);
  EXPECT_FALSE(LV->Items()->Item(1)->EditCaption());
}

// ---- the default painter ----
TEST_F(ListViewTest, DefaultPainterShowsSelectionGridFocusAndEllipsis) {
  AddRows(5);
  LV->Items()->Item(0)->SetCaption("WWWWWWWWWWWWWWWWWWWW");  // much wider than its 80-pixel column
  LV->Items()->Item(1)->SetCaption(
      "a\xFF"
      "b");  // invalid UTF-8 in the middle
  const Integer H = LV->ItemHeight();
  const Integer Top = LV->HeaderHeight();
  LV->SetFocus();
  LV->SetItemIndex(2);
  const COLORREF Back = Rgb(clWindow);
  const COLORREF Grid = Rgb(stdlook::SurfaceBorder);
  // Selected row: the accent across the whole row (row select), in the hidden columns' place too.
  EXPECT_EQ(Pixel(300, Top + 2 * H + H / 2), Rgb(stdlook::Accent));
  // Focus frame on the selected row's edge.
  EXPECT_EQ(Pixel(0, Top + 2 * H), Rgb(stdlook::AccentPressed));
  // Grid: the last pixel row of each item, and each visible column's right edge.
  EXPECT_EQ(Pixel(40, Top + H - 1), Grid);
  EXPECT_EQ(Pixel(79, Top + 4 * H + 3), Grid);
  EXPECT_EQ(Pixel(80 + 70 - 1, Top + 3), Grid);
  EXPECT_EQ(Pixel(180, Top + 3 * H + H / 2), Back);
  // Ellipsis: the caption's text area runs from 4 to 78 (74 wide); "..." takes 21, so 7 letters and
  // "..." end at 4 + 70 and the columns after it stay blank (a clipped text would run on to 78).
  const Integer Mid = Top + H / 2;
  const COLORREF Ink = Rgb(clWindowText);
  EXPECT_EQ(Pixel(4 + 1, Mid), Ink);
  EXPECT_EQ(Pixel(4 + 69 - 2, Mid), Ink);
  EXPECT_EQ(Pixel(4 + 70 + 1, Mid), Back);
  // An invalid byte shows as one replacement character: three boxes, the middle one drawn.
  const Integer Mid1 = Top + H + H / 2;
  EXPECT_EQ(Pixel(4 + 7 + 2, Mid1), Ink);
  EXPECT_EQ(Pixel(4 + 14 + 2, Mid1), Ink);
  EXPECT_EQ(Pixel(4 + 21 + 2, Mid1), Back);
  // Unfocused, the selection turns pale.
  SetFocus(nullptr);
  EXPECT_EQ(Pixel(300, Top + 2 * H + H / 2), Rgb(stdlook::SelectionUnfocused));
}

TEST_F(ListViewTest, CustomDrawHooksReplaceTheDefaultDrawing) {
  AddRows(3);
  std::vector<std::pair<Integer, Integer>> SubCalls;
  LV->OnCustomDrawItem = [](TCustomListView* Sender, TListItem* Item, TCustomDrawState, bool& DefaultDraw) {
    if (Item->Index() != 1) return;
    TRect R = Item->DisplayRect(drBounds);
    Sender->Canvas()->Brush()->SetColor(clRed);
    Sender->Canvas()->FillRect(R);
    DefaultDraw = false;
  };
  LV->OnCustomDrawSubItem = [&](TCustomListView*, TListItem* Item, Integer Sub, TCustomDrawState,
                                bool& DefaultDraw) {
    SubCalls.push_back({Item->Index(), Sub});
    DefaultDraw = !(Item->Index() == 0 && Sub == 1);
  };
  const Integer H = LV->ItemHeight(), Top = LV->HeaderHeight();
  EXPECT_EQ(Pixel(100, Top + H + H / 2), Rgb(clRed));
  // Sub-item hooks run for the rows drawn by default, for the visible sub-items that hold text.
  EXPECT_NE(std::find(SubCalls.begin(), SubCalls.end(), std::pair<Integer, Integer>{0, 1}), SubCalls.end());
  EXPECT_EQ(std::find(SubCalls.begin(), SubCalls.end(), std::pair<Integer, Integer>{1, 1}), SubCalls.end());
  // Column 1 of row 0 was left to the hook, which drew nothing: its text place stays blank.
  EXPECT_EQ(Pixel(80 + 6 + 2, Top + H / 2), Rgb(clWindow));
  EXPECT_EQ(Pixel(80 + 6 + 2, Top + 2 * H + H / 2), Rgb(clWindowText));
}

TEST_F(ListViewTest, HotTrackingHighlightsTheRowUnderTheMouse) {
  AddRows(3);
  LV->SetHotTrack(true);
  const Integer H = LV->ItemHeight(), Top = LV->HeaderHeight();
  wintest::MouseMove(At(LV, 200, Top + H + H / 2));
  EXPECT_EQ(Pixel(200, Top + H + 3), Rgb(stdlook::FaceHover));
  EXPECT_EQ(Pixel(200, Top + 3), Rgb(clWindow));
}

}  // namespace
