#include "platform/ui/comctrls/header.h"

#include <gtest/gtest.h>

#include "platform/ui/stdctrls/stdlook.h"
#include "platform/ui/testkit/stdcontrolstest.h"

namespace {

struct TNote {
  UINT Code;
  Integer Item;
  Integer Width;  // -1 when the notification carries none
  bool operator==(const TNote& O) const { return Code == O.Code && Item == O.Item && Width == O.Width; }
};
std::ostream& operator<<(std::ostream& S, const TNote& N) {
  return S << "{" << Integer(HDN_FIRST - N.Code) << ", " << N.Item << ", " << N.Width << "}";
}
using TNotes = std::vector<TNote>;

// The header's parent: records every header notification and may limit widths or refuse tracking.
class TNoteParent : public TCustomControl {
 public:
  explicit TNoteParent(TComponent* AOwner) : TCustomControl(AOwner) {}
  TNotes Notes;
  Integer MaxWidth = 0;  // 0: no limit
  bool RefuseTrack = false;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_NOTIFY) {
      auto* N = reinterpret_cast<NMHEADER*>(Message.LParam);
      const bool HasWidth = N->pitem && (N->pitem->mask & HDI_WIDTH);
      if (HasWidth && MaxWidth > 0 && (N->hdr.code == HDN_TRACK || N->hdr.code == HDN_ITEMCHANGING))
        N->pitem->cxy = std::min(N->pitem->cxy, MaxWidth);
      Notes.push_back({N->hdr.code, N->iItem, HasWidth ? N->pitem->cxy : -1});
      Message.Result = RefuseTrack && N->hdr.code == HDN_BEGINTRACK ? 1 : 0;
      return;
    }
    TCustomControl::WndProc(Message);
  }
};

class HeaderTest : public TStdControlsTest {
 protected:
  void SetUp() override {
    TStdControlsTest::SetUp();
    RegisterHeaderClass();
    Form = NewForm();
    Parent = NewControl<TNoteParent>(Form, Bounds(10, 10, 300, 100));
    Header = CreateWindowEx(0, WC_HEADER, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_FULLDRAG, 0, 0, 300,
                            22, Parent->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(Header, nullptr);
    for (auto [Text, Width] : {std::pair{"名称", 100}, std::pair{"", 0}, std::pair{"Size", 60}}) {
      HDITEM Item;
      Item.mask = HDI_TEXT | HDI_WIDTH;
      Item.pszText = const_cast<char*>(Text);
      Item.cxy = Width;
      SendMessage(Header, HDM_INSERTITEM, 99, reinterpret_cast<LPARAM>(&Item));
    }
    Parent->Notes.clear();
  }
  Integer WidthOf(Integer Index) {
    HDITEM Item;
    Item.mask = HDI_WIDTH;
    SendMessage(Header, HDM_GETITEM, WPARAM(Index), reinterpret_cast<LPARAM>(&Item));
    return Item.cxy;
  }
  TPoint At(Integer X, Integer Y) { return wintest::ScreenPoint(Header, X, Y); }

  TForm* Form = nullptr;
  TNoteParent* Parent = nullptr;
  HWND Header = nullptr;
};

TEST_F(HeaderTest, SectionsLieSideBySideInTheirOrder) {
  EXPECT_EQ(SendMessage(Header, HDM_GETITEMCOUNT, 0, 0), 3);
  RECT R;
  ASSERT_TRUE(SendMessage(Header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&R)));
  EXPECT_EQ(R, Rect(100, 0, 160, 22));
  Integer Order[3] = {2, 0, 1};
  ASSERT_TRUE(SendMessage(Header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(Order)));
  SendMessage(Header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, Rect(60, 0, 160, 22));
  Integer Bad[3] = {0, 0, 1};
  EXPECT_FALSE(SendMessage(Header, HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(Bad)));
  Integer Read[3] = {};
  ASSERT_TRUE(SendMessage(Header, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(Read)));
  EXPECT_EQ(std::vector<Integer>(Read, Read + 3), (std::vector<Integer>{2, 0, 1}));
  // Text comes back whole, or cut at a character boundary when the buffer is short.
  char Buf[5];
  HDITEM Item;
  Item.mask = HDI_TEXT;
  Item.pszText = Buf;
  Item.cchTextMax = 5;  // "名" is 3 bytes, "名称" 6
  SendMessage(Header, HDM_GETITEM, 0, reinterpret_cast<LPARAM>(&Item));
  EXPECT_STREQ(Buf, "名");
}

TEST_F(HeaderTest, HitTestFindsSectionsAndDividers) {
  struct TCase {
    Integer X;
    UINT Flags;
    Integer Item;
  };
  const TCase Cases[] = {
      {50, HHT_ONHEADER, 0},   {97, HHT_ONDIVIDER, 0},
      {103, HHT_ONDIVIDER, 0},  // the hidden one lies there too
      {130, HHT_ONHEADER, 2},  {158, HHT_ONDIVIDER, 2},
      {250, HHT_NOWHERE, -1},
  };
  for (const TCase& C : Cases) {
    HDHITTESTINFO Info;
    Info.pt = Point(C.X, 10);
    EXPECT_EQ(SendMessage(Header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info)), C.Item) << C.X;
    EXPECT_EQ(Info.flags, C.Flags) << C.X;
  }
  // With every section before it hidden, the hidden section's divider opens it.
  HDITEM Item;
  Item.mask = HDI_WIDTH;
  Item.cxy = 0;
  SendMessage(Header, HDM_SETITEM, 0, reinterpret_cast<LPARAM>(&Item));
  HDHITTESTINFO Info;
  Info.pt = Point(2, 10);
  EXPECT_EQ(SendMessage(Header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info)), 1);
  EXPECT_EQ(Info.flags, HHT_ONDIVOPEN);
}

TEST_F(HeaderTest, DraggingADividerTracksAndChangesTheWidthWithNotifications) {
  wintest::MouseDown(At(100, 10));
  wintest::MouseMove(At(130, 10));
  wintest::MouseMove(At(140, 10));
  wintest::MouseUp(At(140, 10));
  EXPECT_EQ(WidthOf(0), 140);
  const TNotes Expected = {
      {HDN_BEGINTRACK, 0, 100},  {HDN_TRACK, 0, 130},    {HDN_ITEMCHANGING, 0, 130},
      {HDN_ITEMCHANGED, 0, 130}, {HDN_TRACK, 0, 140},    {HDN_ITEMCHANGING, 0, 140},
      {HDN_ITEMCHANGED, 0, 140}, {HDN_ENDTRACK, 0, 140},
  };
  EXPECT_EQ(Parent->Notes, Expected);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HeaderTest, TheParentLimitsRefusesOrTheUserCancelsADrag) {
  Parent->MaxWidth = 120;
  wintest::MouseDown(At(100, 10));
  wintest::MouseMove(At(180, 10));
  wintest::MouseUp(At(180, 10));
  EXPECT_EQ(WidthOf(0), 120);
  // Escape, or the system cancelling the mouse mode, puts the width back.
  wintest::MouseDown(At(120, 10));
  wintest::MouseMove(At(80, 10));
  EXPECT_EQ(WidthOf(0), 80);
  SendMessage(Header, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(WidthOf(0), 120);
  EXPECT_EQ(GetCapture(), nullptr);
  wintest::MouseUp(At(80, 10));
  wintest::MouseDown(At(120, 10));
  wintest::MouseMove(At(90, 10));
  SendMessage(Header, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(WidthOf(0), 120);
  wintest::MouseUp(At(80, 10));
  EXPECT_EQ(WidthOf(0), 120);
  // A refused begin leaves everything as it was.
  Parent->RefuseTrack = true;
  Parent->Notes.clear();
  wintest::MouseDown(At(120, 10));
  wintest::MouseMove(At(60, 10));
  wintest::MouseUp(At(60, 10));
  EXPECT_EQ(WidthOf(0), 120);
  EXPECT_EQ(Parent->Notes, (TNotes{{HDN_BEGINTRACK, 0, 120}}));
}

TEST_F(HeaderTest, WithoutFullDragTheWidthChangesOnceOnRelease) {
  SetWindowLongPtr(Header, GWL_STYLE, GetWindowLongPtr(Header, GWL_STYLE) & ~LONG_PTR(HDS_FULLDRAG));
  wintest::MouseDown(At(160, 10));
  wintest::MouseMove(At(170, 10));
  EXPECT_EQ(WidthOf(2), 60);
  wintest::MouseUp(At(175, 10));
  EXPECT_EQ(WidthOf(2), 75);
  const TNotes Expected = {{HDN_BEGINTRACK, 2, 60},   {HDN_TRACK, 2, 70},       {HDN_TRACK, 2, 75},
                           {HDN_ITEMCHANGING, 2, 75}, {HDN_ITEMCHANGED, 2, 75}, {HDN_ENDTRACK, 2, 75}};
  EXPECT_EQ(Parent->Notes, Expected);
}

TEST_F(HeaderTest, WithDragDropASectionMovesToWhereItIsDropped) {
  SetWindowLongPtr(Header, GWL_STYLE, GetWindowLongPtr(Header, GWL_STYLE) | HDS_DRAGDROP);
  wintest::MouseDown(At(50, 10));
  wintest::MouseMove(At(52, 10));  // within the drag distance: still a press
  wintest::MouseMove(At(140, 10));
  wintest::MouseUp(At(140, 10));
  const TNotes Expected = {
      {HDN_BEGINDRAG, 0, -1}, {HDN_ENDDRAG, 0, -1}, {HDN_ITEMCHANGING, 0, -1}, {HDN_ITEMCHANGED, 0, -1}};
  EXPECT_EQ(Parent->Notes, Expected);  // and no click
  Integer Order[3] = {};
  SendMessage(Header, HDM_GETORDERARRAY, 3, reinterpret_cast<LPARAM>(Order));
  EXPECT_EQ(std::vector<Integer>(Order, Order + 3), (std::vector<Integer>{1, 2, 0}));
  RECT R;
  SendMessage(Header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, Rect(60, 0, 160, 22));
}

TEST_F(HeaderTest, AClickReportsTheSectionAndPaintsItPressedWhileDown) {
  const COLORREF Face = Rgb(stdlook::Face);
  const COLORREF Pressed = Rgb(stdlook::FacePressed);
  auto Pixel = [&](Integer X, Integer Y) { return PaintedPixel(Parent->Handle(), X, Y); };
  EXPECT_EQ(Pixel(130, 2), Face);
  wintest::MouseDown(At(130, 10));
  EXPECT_EQ(Pixel(130, 2), Pressed);
  EXPECT_EQ(Pixel(50, 2), Face);
  // Leaving the section shows it raised; coming back pressed again; release reports the click.
  wintest::MouseMove(At(50, 10));
  EXPECT_EQ(Pixel(130, 2), Face);
  wintest::MouseMove(At(131, 10));
  wintest::MouseUp(At(131, 10));
  EXPECT_EQ(Pixel(130, 2), Face);
  EXPECT_EQ(Parent->Notes, (TNotes{{HDN_ITEMCLICK, 2, -1}}));
  // A release elsewhere is no click (a while later, so the press is no double click).
  wintest::AdvanceTime(Clock(), 1000);
  Parent->Notes.clear();
  wintest::MouseDown(At(130, 10));
  wintest::MouseUp(At(50, 10));
  EXPECT_EQ(Parent->Notes, TNotes{});
}

}  // namespace
