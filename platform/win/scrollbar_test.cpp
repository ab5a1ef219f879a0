// Scroll bars as window state: values and their clamping, the standard bars in the frame, and a
// person's presses and drags on them.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/win/testkit/testkit.h"

using namespace wintest;

namespace {

struct TScrollMsg {
  UINT Msg;
  Word Code;
  Integer Pos;
  friend bool operator==(const TScrollMsg&, const TScrollMsg&) = default;
};

std::vector<TScrollMsg>& Scrolls() {
  static std::vector<TScrollMsg> v;
  return v;
}
// Runs inside each WM_VSCROLL / WM_HSCROLL, after it was recorded.
std::function<void(const TScrollMsg&)>& OnScroll() {
  static std::function<void(const TScrollMsg&)> f;
  return f;
}

LRESULT ScrollProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
    TScrollMsg m{msg, LOWORD(wp), Integer(HIWORD(wp))};
    Scrolls().push_back(m);
    if (OnScroll()) OnScroll()(m);
    return 0;
  }
  return DefWindowProc(w, msg, wp, lp);
}

class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Scrolls().clear();
    OnScroll() = nullptr;
    WNDCLASS wc;
    wc.lpfnWndProc = ScrollProc;
    wc.lpszClassName = "ScrollTestWnd";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    OnScroll() = nullptr;
    WinResetForTests();
    UnregisterClass("ScrollTestWnd", nullptr);
  }

  // A popup without a frame at (100, 100), 100 x 217.
  HWND Open(DWORD style) {
    HWND w = CreateWindowEx(0, "ScrollTestWnd", "", WS_POPUP | WS_VISIBLE | style, 100, 100, 100, 217,
                            nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    Pump();
    return w;
  }
  // A press and release on a live part of a bar: the release waits for the bar's loop to take it.
  static void ClickBar(TPoint p) {
    OnNextModalLoop([p] { MouseUp(p); });
    MouseDown(p);
  }
  static TRect Client(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    return r;
  }
  // Range 0..99 and a page of 10 on the vertical bar: a 17-px arrow at each end of the 217-px bar,
  // an 18-px thumb on 183 px of track, 165 px of travel for positions 0..90.
  static void Standard(HWND w) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 0;
    SetScrollInfo(w, SB_VERT, &si, true);
  }

  TWinTestEnvironment Env;
};

}  // namespace

TEST_F(ScrollBarTest, ValuesRoundTripAndClamp) {
  struct TCase {
    const char* Name;
    UINT Mask;
    Integer Min, Max;
    UINT Page;
    Integer Pos;
    Integer WantMin, WantMax;
    UINT WantPage;
    Integer WantPos;
  };
  const TCase cases[] = {
      {"all fields", SIF_ALL, 0, 100, 10, 40, 0, 100, 10, 40},
      {"position past the last page", SIF_ALL, 0, 100, 10, 95, 0, 100, 10, 91},
      {"position below the range", SIF_ALL, 10, 20, 0, 3, 10, 20, 0, 10},
      {"page larger than the range", SIF_ALL, 0, 9, 50, 5, 0, 9, 10, 0},
      {"maximum below the minimum", SIF_ALL, 30, 20, 0, 25, 30, 30, 0, 30},
      {"negative range", SIF_ALL, -50, -10, 5, -12, -50, -10, 5, -14},
      {"position only keeps range and page", SIF_POS, 0, 0, 0, 60, 0, 100, 20, 60},
      {"position only, clamped by the page", SIF_POS, 0, 0, 0, 95, 0, 100, 20, 81},
      {"page only re-clamps the position", SIF_PAGE, 0, 0, 60, 0, 0, 100, 60, 41},
      {"range only keeps the page", SIF_RANGE, 0, 40, 0, 0, 0, 40, 20, 21},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND w = Open(WS_VSCROLL);
    // A known state to change: range 0..100, page 20, position 50.
    SCROLLINFO start;
    start.fMask = SIF_ALL;
    start.nMax = 100;
    start.nPage = 20;
    start.nPos = 50;
    SetScrollInfo(w, SB_VERT, &start, false);
    SCROLLINFO si;
    si.fMask = c.Mask;
    si.nMin = c.Min;
    si.nMax = c.Max;
    si.nPage = c.Page;
    si.nPos = c.Pos;
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, true), c.WantPos);
    SCROLLINFO got;
    got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &got));
    EXPECT_EQ(got.nMin, c.WantMin);
    EXPECT_EQ(got.nMax, c.WantMax);
    EXPECT_EQ(got.nPage, c.WantPage);
    EXPECT_EQ(got.nPos, c.WantPos);
    EXPECT_EQ(got.nTrackPos, c.WantPos);
    Integer lo = -1, hi = -1;
    EXPECT_TRUE(GetScrollRange(w, SB_VERT, &lo, &hi));
    EXPECT_EQ(lo, c.WantMin);
    EXPECT_EQ(hi, c.WantMax);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), c.WantPos);
    DestroyWindow(w);
  }
}

TEST_F(ScrollBarTest, ThePositionCallsAnswerAsThePlatformDoes) {
  HWND w = Open(0);
  // A bar that never existed: no info, an empty range, position 0.
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  EXPECT_FALSE(GetScrollInfo(w, SB_HORZ, &si));
  Integer lo = 5, hi = 5;
  EXPECT_TRUE(GetScrollRange(w, SB_HORZ, &lo, &hi));
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(GetScrollPos(w, SB_HORZ), 0);
  // A window created with the style has the platform's 0..100.
  HWND v = Open(WS_VSCROLL);
  EXPECT_TRUE(GetScrollRange(v, SB_VERT, &lo, &hi));
  EXPECT_EQ(hi, 100);
  EXPECT_EQ(SetScrollPos(v, SB_VERT, 30, true), 0);
  EXPECT_EQ(SetScrollPos(v, SB_VERT, 500, true), 30);  // returns the previous one
  EXPECT_EQ(GetScrollPos(v, SB_VERT), 100);
  // An empty mask, a bad bar and a dead window fail.
  si.fMask = 0;
  EXPECT_FALSE(GetScrollInfo(v, SB_VERT, &si));
  si.fMask = SIF_ALL;
  EXPECT_FALSE(GetScrollInfo(v, 7, &si));
  // A scroll bar control keeps its values without any frame change.
  TRect before = Client(w);
  EXPECT_TRUE(SetScrollRange(w, SB_CTL, 0, 10, true));
  EXPECT_EQ(SetScrollPos(w, SB_CTL, 4, true), 0);
  EXPECT_EQ(GetScrollPos(w, SB_CTL), 4);
  EXPECT_EQ(Client(w), before);
  DestroyWindow(v);
  EXPECT_EQ(SetScrollPos(v, SB_VERT, 1, true), 0);
  EXPECT_FALSE(GetScrollInfo(v, SB_VERT, &si));
}

TEST_F(ScrollBarTest, RangeDecidesWhetherTheBarIsShown) {
  HWND w = Open(0);
  EXPECT_EQ(Client(w), (TRect{0, 0, 100, 217}));
  // A range to scroll adds the bar and takes its width from the client area.
  SetScrollRange(w, SB_VERT, 0, 50, true);
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(Client(w), (TRect{0, 0, 83, 217}));
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(190, 150)), HTVSCROLL);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(180, 150)), HTCLIENT);
  // A page that shows everything hides it again.
  SCROLLINFO si;
  si.fMask = SIF_PAGE;
  si.nPage = 51;
  SetScrollInfo(w, SB_VERT, &si, true);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(Client(w), (TRect{0, 0, 100, 217}));
  // With SIF_DISABLENOSCROLL it stays, disabled; a scrollable range enables it again.
  si.fMask = SIF_PAGE | SIF_DISABLENOSCROLL;
  SetScrollInfo(w, SB_VERT, &si, true);
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  SCROLLBARINFO sbi;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &sbi));
  EXPECT_EQ(sbi.rcScrollBar, (TRect{183, 100, 200, 317}));
  EXPECT_TRUE(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  si.nPage = 10;
  SetScrollInfo(w, SB_VERT, &si, true);
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &sbi));
  EXPECT_EQ(sbi.rgstate[0], 0u);
  // The horizontal bar sits under the client area; both leave the corner between them.
  ShowScrollBar(w, SB_HORZ, true);
  EXPECT_EQ(Client(w), (TRect{0, 0, 83, 200}));
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(150, 310)), HTHSCROLL);
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_HSCROLL, &sbi));
  EXPECT_EQ(sbi.rcScrollBar, (TRect{100, 300, 183, 317}));
  ShowScrollBar(w, SB_BOTH, false);
  EXPECT_EQ(Client(w), (TRect{0, 0, 100, 217}));
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &sbi));
  EXPECT_TRUE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
  EXPECT_FALSE(GetScrollBarInfo(w, OBJID_CLIENT, &sbi));
}

TEST_F(ScrollBarTest, DraggingTheThumbReportsTrackPositionsThenTheFinalOne) {
  HWND w = Open(WS_VSCROLL);
  Standard(w);
  SCROLLBARINFO sbi;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &sbi));
  EXPECT_EQ(sbi.xyThumbTop, 17);
  EXPECT_EQ(sbi.xyThumbBottom, 35);
  std::vector<std::pair<Integer, Integer>> seen;  // (track position, position) inside each message
  OnScroll() = [&](const TScrollMsg&) {
    SCROLLINFO si;
    si.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(w, SB_VERT, &si);
    seen.push_back({si.nTrackPos, si.nPos});
  };
  OnNextModalLoop([] {
    MouseMove({190, 122 + 55});      // 55 px of 165: position 30
    MouseMove({189, 122 + 55});      // sideways: still 30, nothing new
    MouseUp({190, 122 + 165 + 20});  // past the end: the last position, 90
  });
  MouseDown({190, 122});  // 5 px into the thumb
  EXPECT_EQ(Scrolls(), (std::vector<TScrollMsg>{{WM_VSCROLL, SB_THUMBTRACK, 30},
                                                {WM_VSCROLL, SB_THUMBTRACK, 90},
                                                {WM_VSCROLL, SB_THUMBPOSITION, 90},
                                                {WM_VSCROLL, SB_ENDSCROLL, 0}}));
  // The layer moves only the thumb; the window sets the position.
  EXPECT_EQ(seen, (std::vector<std::pair<Integer, Integer>>{{30, 0}, {90, 0}, {90, 0}, {0, 0}}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);
}

TEST_F(ScrollBarTest, ArrowsAndPageAreasRepeatWhileHeld) {
  HWND w = Open(WS_VSCROLL | WS_HSCROLL);
  Standard(w);
  // The down arrow: once at the press, after 400 ms, then every 50 ms; released on the third.
  UInt64 start = Env.Clock().TickCount64();
  UInt64 third = 0;
  OnScroll() = [&](const TScrollMsg& m) {
    if (m.Code == SB_LINEDOWN && Scrolls().size() == 3) {
      third = Env.Clock().TickCount64();
      WinInputMouseButton(TInputButton::Left, false, {190, 300});
    }
  };
  MouseDown({190, 300 - 5});  // the vertical bar ends at 200 + 100: its down arrow is 283..300
  EXPECT_EQ(Scrolls(), (std::vector<TScrollMsg>{{WM_VSCROLL, SB_LINEDOWN, 0},
                                                {WM_VSCROLL, SB_LINEDOWN, 0},
                                                {WM_VSCROLL, SB_LINEDOWN, 0},
                                                {WM_VSCROLL, SB_ENDSCROLL, 0}}));
  EXPECT_EQ(third - start, 450u);
  // A page area below the thumb, and the left arrow of the horizontal bar.
  Scrolls().clear();
  OnScroll() = nullptr;
  ClickBar({190, 250});
  ClickBar({105, 308});
  EXPECT_EQ(Scrolls(), (std::vector<TScrollMsg>{{WM_VSCROLL, SB_PAGEDOWN, 0},
                                                {WM_VSCROLL, SB_ENDSCROLL, 0},
                                                {WM_HSCROLL, SB_LINELEFT, 0},
                                                {WM_HSCROLL, SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarTest, DisabledPartsTakeNoPresses) {
  HWND w = Open(WS_VSCROLL);
  Standard(w);
  EXPECT_TRUE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_DOWN));
  EXPECT_FALSE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_DOWN));  // no change
  Click({190, 310});                                            // the down arrow starts no loop
  ClickBar({190, 105});                                         // the up arrow still works
  EXPECT_EQ(Scrolls(), (std::vector<TScrollMsg>{{WM_VSCROLL, SB_LINEUP, 0}, {WM_VSCROLL, SB_ENDSCROLL, 0}}));
  Scrolls().clear();
  EnableScrollBar(w, SB_VERT, ESB_DISABLE_BOTH);
  Click({190, 105});
  Click({190, 250});
  EXPECT_TRUE(Scrolls().empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarTest, TheBarShowsItsThumbWhereThePositionIs) {
  HWND w = Open(WS_VSCROLL);
  Standard(w);
  const COLORREF thumb = RGB(0xC4, 0xC9, 0xD1), track = RGB(0xF3, 0xF4, 0xF6);
  HBITMAP shot = PaintWindowToBitmap(w);
  ASSERT_NE(shot, nullptr);
  EXPECT_EQ(BitmapPixel(shot, 91, 25), thumb);   // thumb at 17..35
  EXPECT_EQ(BitmapPixel(shot, 91, 120), track);  // track below it
  EXPECT_EQ(BitmapPixel(shot, 40, 120), GetSysColor(COLOR_WINDOW));
  DeleteObject(shot);
  // Position 45 of 90: the thumb halfway along its 165 px of travel.
  SetScrollPos(w, SB_VERT, 45, true);
  shot = PaintWindowToBitmap(w);
  EXPECT_EQ(BitmapPixel(shot, 91, 25), track);
  EXPECT_EQ(BitmapPixel(shot, 91, 17 + 82 + 9), thumb);
  DeleteObject(shot);
}

TEST_F(ScrollBarTest, AWindowFreedByItsOwnScrollHandlerEndsTheDrag) {
  HWND w = Open(WS_VSCROLL);
  Standard(w);
  OnScroll() = [&](const TScrollMsg& m) {
    if (m.Code == SB_THUMBTRACK) DestroyWindow(w);
  };
  OnNextModalLoop([] {
    MouseMove({190, 122 + 55});
    MouseUp({190, 122 + 100});  // the window is gone by now
  });
  MouseDown({190, 122});
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(Scrolls(), (std::vector<TScrollMsg>{{WM_VSCROLL, SB_THUMBTRACK, 30}}));
  EXPECT_EQ(GetCapture(), nullptr);
  Pump();  // the rest of the input finds no window
}
