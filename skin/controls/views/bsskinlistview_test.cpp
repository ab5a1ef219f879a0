#include "skin/controls/views/bsskinlistview.h"

#include <gtest/gtest.h>

#include "platform/gdi/font.h"
#include "platform/ui/stdctrls/stdlook.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsmessages.h"
#include "skin/core/bsskinrecordslists.h"

namespace {

using wintest::ScreenPoint;

const COLORREF PressedFill = RGB(162, 188, 228);
const COLORREF PressedFrame = RGB(59, 107, 183);

class SkinListView : public TSkinControlTest {
 protected:
  void SetUp() override {
    TSkinControlTest::SetUp();
    SetTestFontMode(true);  // 13-pixel lines: rows of 17, a header of 21
    Form = NewForm(Rect(50, 50, 750, 550));
  }
  void TearDown() override {
    SetTestFontMode(false);
    TSkinControlTest::TearDown();
  }
  // A report list like the job list: row select, grid lines, single selection, read-only, the
  // "resizetoolbutton" header; Height leaves room for VisibleRows rows under the header.
  TbsSkinListView* NewList(Integer Width, Integer VisibleRows, bool Skinned, Integer ColumnCount = 3) {
    auto* L = new TbsSkinListView(Form);
    L->SetHeaderSkinDataName("resizetoolbutton");
    L->SetBounds(10, 10, Width, 21 + VisibleRows * 17 + 5);
    L->SetViewStyle(vsReport);
    L->SetRowSelect(true);
    L->SetGridLines(true);
    L->SetReadOnly(true);
    L->SetParent(Form);
    const char* Captions[] = {"输入文件", "视频时间", "文件大小", "输出文件"};
    for (Integer i = 0; i < ColumnCount; ++i) {
      TListColumn* C = L->Columns()->Add();
      C->SetCaption(Captions[i % 4]);
      C->SetWidth(80);
    }
    if (Skinned) L->SetSkinData(Skin.get());
    return L;
  }
  void AddRows(TCustomListView* L, Integer N) {
    L->Items()->BeginUpdate();
    for (Integer i = 0; i < N; ++i) {
      TListItem* Item = L->Items()->Add();
      Item->SetCaption("row");
      Item->SubItems()->Add("a");
      Item->SubItems()->Add("b");
    }
    L->Items()->EndUpdate();
  }
  TbsSkinScrollBar* NewBar(TScrollBarKind Kind) {
    auto* B = new TbsSkinScrollBar(Form);
    B->SetKind(Kind);
    B->SetBounds(0, 400, Kind == sbVertical ? 16 : 300, Kind == sbVertical ? 300 : 16);
    B->SetParent(Form);
    return B;
  }
  // A pixel of the list as painted with its header (the list has no frame: window = client).
  static COLORREF Pixel(TWinControl* L, Integer X, Integer Y) { return PaintedPixel(L->Handle(), X, Y); }

  TForm* Form = nullptr;
};

TEST_F(SkinListView, TakesFontAndColoursFromTheElementOrTheDefaults) {
  auto* R = dynamic_cast<TbsDataSkinListView*>(Skin->Ctrls(Skin->GetControlIndex("listview")));
  ASSERT_NE(R, nullptr);
  R->FontColor = RGB(0, 0, 128);
  R->BGColor = RGB(240, 240, 200);
  R->FontHeight = 15;
  auto* L = NewList(300, 5, false);
  L->SetDefaultColor(RGB(10, 20, 30));
  EXPECT_EQ(L->Color(), TColor(RGB(10, 20, 30)));  // no element yet: the default colour shows
  L->SetSkinData(Skin.get());
  EXPECT_EQ(L->Color(), TColor(RGB(240, 240, 200)));
  EXPECT_EQ(L->Font()->Color(), TColor(RGB(0, 0, 128)));
  EXPECT_EQ(L->Font()->Height(), 15);
  // One eighth of the text colour over the background, channel by channel.
  EXPECT_EQ(ColorToRGB(L->LineColor()), RGB(210, 210, 191));
  L->SetUseSkinFont(false);
  L->ChangeSkinData();
  EXPECT_EQ(L->Font()->Height(), 13);
  EXPECT_EQ(L->Font()->Color(), TColor(RGB(0, 0, 128)));
  // The skin removed: default colour and font again.
  L->SetSkinDataName("nosuchelement");
  L->ChangeSkinData();
  EXPECT_EQ(L->Color(), TColor(RGB(10, 20, 30)));
  EXPECT_EQ(L->Font()->Name(), "Tahoma");
}

TEST_F(SkinListView, TheWholeWindowIsClientAndTheFrameMessagesAreAnswered) {
  auto* L = NewList(300, 5, true);
  AddRows(L, 40);
  EXPECT_EQ(L->ClientWidth(), 300);
  EXPECT_EQ(L->ClientHeight(), L->Height());
  EXPECT_EQ(SendMessage(L->Handle(), WM_NCHITTEST, 0, MAKELPARAM(70, 70)), HTCLIENT);
  EXPECT_EQ(SendMessage(L->Handle(), CM_PAINTNC, 0, 0), PaintNCDone);
}

TEST_F(SkinListView, TheVerticalBarMirrorsRowsAndHidesWhenAllFit) {
  auto* L = NewList(300, 13, true);
  auto* V = NewBar(sbVertical);
  auto* H = NewBar(sbHorizontal);
  L->SetVScrollBar(V);
  L->SetHScrollBar(H);
  AddRows(L, 100);
  ASSERT_EQ(L->VisibleRowCount(), 13);
  EXPECT_TRUE(V->Visible());
  EXPECT_EQ(V->Min(), 0);
  EXPECT_EQ(V->Max(), 99);
  EXPECT_EQ(V->PageSize(), 13);
  EXPECT_EQ(V->LargeChange(), 13);
  EXPECT_EQ(V->SmallChange(), 1);
  EXPECT_TRUE(H->Both());
  // 240 pixels of columns in a 300-pixel list: no horizontal bar.
  EXPECT_FALSE(H->Visible());
  L->Items()->Clear();
  AddRows(L, 10);
  EXPECT_FALSE(V->Visible());
  EXPECT_FALSE(H->Both());
  // Wider columns than the list: the horizontal bar shows over the columns' pixels.
  L->Column(2)->SetWidth(200);
  L->UpDateScrollBars();
  EXPECT_TRUE(H->Visible());
  EXPECT_EQ(H->Max(), 359);
  EXPECT_EQ(H->PageSize(), 300);
}

TEST_F(SkinListView, MovingABarScrollsTheListAndTheListMovesTheBarWithoutFeedback) {
  auto* L = NewList(300, 13, true);
  auto* V = NewBar(sbVertical);
  L->SetVScrollBar(V);
  AddRows(L, 100);
  V->SetPosition(3);
  EXPECT_EQ(L->TopIndex(), 3);
  V->SetPosition(5);  // the old position followed: two more rows, not five
  EXPECT_EQ(L->TopIndex(), 5);
  // Keys scroll the list; the bar follows without scrolling it again.
  L->SetFocus();
  L->SetItemIndex(0);
  wintest::KeyPress(VK_END);
  const Integer Top = L->TopIndex();
  EXPECT_EQ(Top, 100 - 13);
  EXPECT_EQ(V->Position(), Top);
  EXPECT_EQ(L->TopIndex(), Top);
  // The horizontal bar scrolls by pixels.
  auto* H = NewBar(sbHorizontal);
  L->Column(2)->SetWidth(200);
  L->SetHScrollBar(H);
  ASSERT_TRUE(H->Visible());
  H->SetPosition(30);
  EXPECT_EQ(L->HorzScrollPos(), 30);
}

TEST_F(SkinListView, BarsFollowTheListsVisibilityAndDrawSkinChangesTheDragMode) {
  auto* L = NewList(300, 13, true);
  auto* V = NewBar(sbVertical);
  L->SetVScrollBar(V);
  AddRows(L, 100);
  ASSERT_TRUE(V->Visible());
  L->SetVisible(false);
  EXPECT_FALSE(V->Visible());
  L->SetVisible(true);
  EXPECT_TRUE(V->Visible());
  L->SetFullDrag(true);
  L->SetDrawSkin(true);
  EXPECT_FALSE(L->FullDrag());
  auto* D = new TbsSkinListView(Form);
  D->SetDesigning(true);
  D->SetFullDrag(true);
  D->SetDrawSkin(true);
  EXPECT_TRUE(D->DrawSkin());
  EXPECT_TRUE(D->FullDrag());
}

TEST_F(SkinListView, DrawSkinPaintsTheSelectedRowFromTheListBoxElement) {
  auto* L = NewList(300, 5, true);
  AddRows(L, 3);
  L->SetDrawSkin(true);
  std::vector<std::pair<Integer, Integer>> SubItems;
  L->OnDrawSkinSubItem = [&](TCustomListView*, TListItem* Item, Integer Sub, TCustomDrawState, TCanvas*,
                             const TRect& R) {
    SubItems.push_back({Item->Index(), Sub});
    EXPECT_EQ(R.Width(), 80 - 6);
  };
  L->SetFocus();
  L->SetItemIndex(1);
  const Integer Row1 = 21 + 17 + 8, Row2 = 21 + 2 * 17 + 8;
  // The focused selection is the element's focus picture (state 4 of the generated sheet).
  std::vector<COLORREF> Focus;
  for (int Slice = 0; Slice < 9; ++Slice) Focus.push_back(SliceColor("listbox", 4, Slice));
  const COLORREF Sel = Pixel(L, 150, Row1);
  EXPECT_NE(std::find(Focus.begin(), Focus.end(), Sel), Focus.end()) << std::hex << Sel;
  EXPECT_EQ(Pixel(L, 150, Row2), ColorToRGB(L->Color()));
  // Sub-items go to the hook, for every row drawn, each of the two sub-items.
  for (Integer Row = 0; Row < 3; ++Row)
    for (Integer Sub = 0; Sub < 2; ++Sub)
      EXPECT_NE(std::find(SubItems.begin(), SubItems.end(), std::pair<Integer, Integer>{Row, Sub}),
                SubItems.end());
}

// A skinned list keeps showing its selected row when another control has the focus: the pale
// unfocused selection with dark text, as the skin's selected-but-unfocused look does.
TEST_F(SkinListView, TheSelectedRowShowsAlsoWithoutTheFocus) {
  auto* L = NewList(300, 5, true);
  AddRows(L, 3);
  auto* Other = NewControl<TRecordingControl>(Form, Rect(400, 10, 450, 40));
  L->SetFocus();
  L->SetItemIndex(1);
  const Integer Row1 = 21 + 17 + 8;
  EXPECT_EQ(Pixel(L, 150, Row1), ColorToRGB(stdlook::Accent));
  Other->SetFocus();
  EXPECT_EQ(Pixel(L, 150, Row1), ColorToRGB(stdlook::SelectionUnfocused));
  EXPECT_EQ(Pixel(L, 150, Row1 + 17), ColorToRGB(L->Color())) << "the next row is not selected";
}

// ---- the header ----
TEST_F(SkinListView, TheHeaderIsSubclassedAndShowsThePressedSectionFromTheSkin) {
  auto* L = NewList(400, 5, true);
  ASSERT_NE(L->SubclassedHeader(), nullptr);
  EXPECT_EQ(L->SubclassedHeader(), L->HeaderHandle());
  const COLORREF Normal = SliceColor("resizetoolbutton", 0, 4);
  const COLORREF Down = SliceColor("resizetoolbutton", 2, 4);
  EXPECT_EQ(Pixel(L, 60, 8), Normal);
  const TPoint Section = ScreenPoint(L->SubclassedHeader(), 60, 10);
  wintest::MouseDown(Section);
  EXPECT_EQ(L->ActiveSection(), 0);
  EXPECT_TRUE(L->HeaderDown());
  EXPECT_EQ(Pixel(L, 60, 8), Down);
  EXPECT_EQ(Pixel(L, 140, 8), Normal);
  // Released anywhere: no section is pressed.
  wintest::MouseUp(ScreenPoint(L->SubclassedHeader(), 300, 40));
  EXPECT_EQ(L->ActiveSection(), -1);
  EXPECT_FALSE(L->HeaderDown());
  EXPECT_EQ(Pixel(L, 60, 8), Normal);
  // The header is wider than the list by 25 pixels; the strip after the last column is painted too.
  RECT HR;
  GetWindowRect(L->SubclassedHeader(), &HR);
  EXPECT_EQ(HR.Width(), 400 + 25);
  EXPECT_EQ(Pixel(L, 300, 8), SliceColor("resizetoolbutton", 0, 4));
}

TEST_F(SkinListView, APressOnADividerSizesTheColumnAndNeverLooksPressed) {
  auto* L = NewList(400, 5, true);
  std::vector<UINT> Painted;
  const Integer Hook = WinAddCallWndProcHook([&](HWND W, UINT Msg, WPARAM, LPARAM) {
    if (W == L->SubclassedHeader() && Msg == WM_PAINT) Painted.push_back(Msg);
  });
  wintest::MouseDown(ScreenPoint(L->SubclassedHeader(), 80, 10));
  EXPECT_TRUE(L->DevDown());
  EXPECT_FALSE(L->HeaderDown());
  WinProcessMessages();
  Painted.clear();
  wintest::MouseMove(ScreenPoint(L->SubclassedHeader(), 100, 10));
  WinProcessMessages();
  EXPECT_FALSE(Painted.empty());  // every move while sizing repaints the header
  EXPECT_EQ(Pixel(L, 60, 8), SliceColor("resizetoolbutton", 0, 4));
  wintest::MouseUp(ScreenPoint(L->SubclassedHeader(), 100, 10));
  EXPECT_EQ(L->Column(0)->Width(), 100);
  EXPECT_FALSE(L->DevDown());
  WinRemoveCallWndProcHook(Hook);
  // A double click on that divider fits the column to its content through the subclassed header:
  // the short captions leave it much narrower, the heading still whole.
  AddRows(L, 2);
  const TPoint Divider = ScreenPoint(L->SubclassedHeader(), 100, 10);
  wintest::Click(Divider);
  wintest::Click(Divider);
  EXPECT_LT(L->Column(0)->Width(), 100);
  EXPECT_GE(L->Column(0)->Width(), L->Canvas()->TextWidth("输入文件"));
  EXPECT_FALSE(L->DevDown());
}

TEST_F(SkinListView, WithoutASkinSectionsAreFlatButtonsAndTheRestAFramedStrip) {
  auto* L = NewList(400, 5, false);
  ASSERT_NE(L->SubclassedHeader(), nullptr);
  EXPECT_EQ(Pixel(L, 60, 8), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(L, 0, 0), ColorToRGB(clBtnShadow));
  // The strip right of the last column (240 ..).
  EXPECT_EQ(Pixel(L, 300, 8), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(L, 300, 0), ColorToRGB(clBtnShadow));
  wintest::MouseDown(ScreenPoint(L->SubclassedHeader(), 100, 10));
  EXPECT_EQ(Pixel(L, 130, 8), PressedFill);
  EXPECT_EQ(Pixel(L, 80, 0), PressedFrame);
  EXPECT_EQ(Pixel(L, 60, 8), ColorToRGB(clBtnFace));
  wintest::MouseUp(ScreenPoint(L->SubclassedHeader(), 100, 10));
}

TEST_F(SkinListView, AMissingHeaderElementFallsBackToResizeToolButton) {
  auto* L = NewList(400, 5, true);
  L->SetHeaderSkinDataName("nosuchheader");
  L->GetHeaderSkinData();
  EXPECT_EQ(L->HeaderSkinIndex(), Skin->GetControlIndex("resizetoolbutton"));
  L->SetHeaderSkinDataName("header");
  L->GetHeaderSkinData();
  EXPECT_EQ(L->HeaderSkinIndex(), Skin->GetControlIndex("header"));
  EXPECT_EQ(Pixel(L, 60, 8), SliceColor("header", 0, 4));
}

TEST_F(SkinListView, ALongCaptionWithAnImageStartsAtTheLeftEvenWhenRightAligned) {
  auto* L = NewList(400, 5, false);
  TCustomImageList Images(nullptr, 16, 16);
  auto Green = std::make_unique<TBitmap>();
  Green->SetSize(16, 16);
  Green->Canvas()->Brush()->SetColor(clLime);
  Green->Canvas()->FillRect(Rect(0, 0, 16, 16));
  Images.Add(Green.get(), nullptr);
  L->SetSmallImages(&Images);
  L->Column(0)->SetImageIndex(0);
  L->Column(1)->SetImageIndex(0);
  L->Column(1)->SetCaption("ab");
  L->Column(0)->SetAlignment(taRightJustify);
  L->Column(1)->SetAlignment(taRightJustify);
  L->Column(0)->SetCaption("WWWWWWWWWWWWWWWWWWWW");
  // Shortened: the image at the area's left edge (5), the text 10 pixels after it.
  EXPECT_EQ(Pixel(L, 5 + 8, 10), ColorToRGB(clLime));
  EXPECT_EQ(Pixel(L, 5 + 16 + 10 + 1, 10), ColorToRGB(clBtnText));
  // Not shortened: image and text together at the right edge (area right 75, text 14, image 16, gap 10).
  const Integer Left1 = 80 + 75 - 14 - 16 - 10;
  EXPECT_EQ(Pixel(L, Left1 + 8, 10), ColorToRGB(clLime));
  EXPECT_EQ(Pixel(L, Left1 - 2, 10), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(L, Left1 + 26 + 1, 10), ColorToRGB(clBtnText));
  L->SetSmallImages(nullptr);
}

TEST_F(SkinListView, TheSkinChangeWalkReloadsTheList) {
  auto* L = NewList(300, 5, true);
  auto* R = dynamic_cast<TbsDataSkinListView*>(Skin->Ctrls(Skin->GetControlIndex("listview")));
  ASSERT_NE(R, nullptr);
  R->BGColor = RGB(1, 2, 3);
  EXPECT_NE(L->Color(), TColor(RGB(1, 2, 3)));
  WalkSkinChange(Form, Skin.get(), true);
  WalkSkinChange(Form, Skin.get(), false);
  EXPECT_EQ(L->Color(), TColor(RGB(1, 2, 3)));
}

TEST_F(SkinListView, LongCaptionsEndInDotsAndTheHookReplacesCaptions) {
  auto* L = NewList(400, 5, false);
  L->Column(0)->SetCaption("WWWWWWWWWWWWWWWWWWWW");
  L->Column(0)->SetAlignment(taRightJustify);
  // The text area is 80 - 2 * 5 = 70 wide: 7 letters and "..." fill 70 pixels from the left edge.
  const COLORREF Ink = ColorToRGB(clBtnText);
  EXPECT_EQ(Pixel(L, 5 + 1, 10), Ink);
  EXPECT_EQ(Pixel(L, 5 + 63 + 1, 10), Ink);
  std::vector<String> Drawn;
  L->OnDrawHeaderSection = [&](TCanvas* C, TListColumn* Column, bool, const TRect& R) {
    Drawn.push_back(Column->Caption());
    C->Brush()->SetColor(clRed);
    C->FillRect(R);
  };
  EXPECT_EQ(Pixel(L, 20, 10), ColorToRGB(clRed));
  EXPECT_EQ(Drawn.size(), 3u);
  // CM_REPAINTHEADER paints into the given DC.
  Drawn.clear();
  SendMessage(L->Handle(), CM_REPAINTHEADER, reinterpret_cast<WPARAM>(GetDC(L->SubclassedHeader())), 0);
  EXPECT_EQ(Drawn.size(), 3u);
}

TEST_F(SkinListView, MovedColumnsShowTheirOwnCaptionsAndPressedLook) {
  auto* L = NewList(400, 5, true);
  L->SetFullDrag(true);
  Integer Order[3] = {1, 0, 2};
  ASSERT_TRUE(SendMessage(L->SubclassedHeader(), HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(Order)));
  std::vector<String> Drawn;
  std::vector<bool> Pressed;
  L->OnDrawHeaderSection = [&](TCanvas*, TListColumn* Column, bool P, const TRect&) {
    Drawn.push_back(Column->Caption());
    Pressed.push_back(P);
  };
  wintest::MouseDown(ScreenPoint(L->SubclassedHeader(), 20, 10));  // the first place: column 1
  EXPECT_EQ(L->ActiveSection(), 0);
  Drawn.clear();
  Pressed.clear();
  Pixel(L, 5, 5);
  EXPECT_EQ(Drawn, (std::vector<String>{"视频时间", "输入文件", "文件大小"}));
  EXPECT_EQ(Pressed, (std::vector<bool>{true, false, false}));
  wintest::MouseUp(ScreenPoint(L->SubclassedHeader(), 20, 10));
}

TEST_F(SkinListView, JobListOf25ColumnsKeepsHiddenColumnsUnderTheHeader) {
  auto* L = NewList(500, 10, true, 0);
  for (Integer i = 0; i < 25; ++i) {
    TListColumn* C = L->Columns()->Add();
    C->SetCaption(i < 8 ? "列" : "hidden");
    C->SetWidth(i < 8 && i != 5 ? 60 : 0);
    if (C->Width() == 0) C->SetMaxWidth(1);
  }
  EXPECT_EQ(SendMessage(L->SubclassedHeader(), HDM_GETITEMCOUNT, 0, 0), 25);
  AddRows(L, 3);
  L->SetItemIndex(1);
  EXPECT_EQ(L->Selected()->Index(), 1);
  // A drag on the edge after the visible columns cannot open a hidden one past its maximum.
  wintest::MouseDown(ScreenPoint(L->SubclassedHeader(), 420, 10));
  wintest::MouseMove(ScreenPoint(L->SubclassedHeader(), 480, 10));
  wintest::MouseUp(ScreenPoint(L->SubclassedHeader(), 480, 10));
  // The visible column at that edge took the drag; the hidden ones lying there too stay closed.
  EXPECT_EQ(L->Column(7)->Width(), 120);
  for (Integer i = 8; i < 25; ++i) EXPECT_EQ(L->Column(i)->Width(), 0) << i;
}

}  // namespace
