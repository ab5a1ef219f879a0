#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

namespace {

LRESULT TestMDIChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = Handlers().find(w);
  if (it != Handlers().end()) {
    THandler h = it->second;
    if (std::optional<LRESULT> r = h(w, msg, wp, lp)) return *r;
  }
  return DefMDIChildProc(w, msg, wp, lp);
}

class MDITest : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASS wc;
    wc.lpfnWndProc = TestMDIChildProc;
    wc.lpszClassName = "TestMDIChild";
    ASSERT_NE(RegisterClass(&wc), 0);
    Frame = Popup({0, 0, 400, 300});
    CLIENTCREATESTRUCT ccs;
    ccs.idFirstChild = 100;
    Client = CreateWindowEx(0, MDICLIENT_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 200,
                            Frame, nullptr, nullptr, &ccs);
    ASSERT_NE(Client, nullptr);
  }
  HWND NewChild(const char* title, TRect r = {10, 10, 110, 90}, DWORD style = 0) {
    MDICREATESTRUCT cs;
    cs.szClass = "TestMDIChild";
    cs.szTitle = title;
    cs.x = r.Left;
    cs.y = r.Top;
    cs.cx = r.Width();
    cs.cy = r.Height();
    cs.style = style | WS_VISIBLE;
    return reinterpret_cast<HWND>(SendMessage(Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&cs)));
  }
  HWND Active(bool* maximized = nullptr) {
    return reinterpret_cast<HWND>(
        SendMessage(Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }
  std::vector<HWND> ZOrder() {
    std::vector<HWND> r;
    for (HWND c = GetWindow(Client, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) r.push_back(c);
    return r;
  }
  TRect Rect(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    POINT p{r.Left, r.Top};
    ScreenToClient(Client, &p);
    return Bounds(p.X, p.Y, r.Right - r.Left, r.Bottom - r.Top);
  }
  WPARAM W(HWND w) { return reinterpret_cast<WPARAM>(w); }

  HWND Frame = nullptr;
  HWND Client = nullptr;
};

}  // namespace

TEST_F(MDITest, CreatedChildIsActiveOnTopWithItsIdentifier) {
  HWND a = NewChild("a");
  HWND b = NewChild("b");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(GetParent(a), Client);
  EXPECT_TRUE(GetWindowLong(a, GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(GetWindowLongPtr(a, GWLP_ID), 100);
  EXPECT_EQ(GetWindowLongPtr(b, GWLP_ID), 101);
  EXPECT_EQ(Active(), b);
  EXPECT_EQ(ZOrder(), (std::vector<HWND>{b, a}));
  EXPECT_EQ(GetClassNameStr(Client), "MDICLIENT");
}

TEST_F(MDITest, ActivationTellsTheOldChildAndTheNewOne) {
  HWND a = NewChild("a");
  HWND b = NewChild("b");
  TMessageSpy spy;
  SendMessage(Client, WM_MDIACTIVATE, W(a), 0);
  EXPECT_EQ(Active(), a);
  EXPECT_EQ(ZOrder().front(), a);
  EXPECT_EQ(spy.Sequence({WM_MDIACTIVATE}),
            (std::vector<std::pair<HWND, UINT>>{
                {Client, WM_MDIACTIVATE}, {b, WM_MDIACTIVATE}, {a, WM_MDIACTIVATE}}));
  for (HWND w : {a, b}) {
    const TSpiedMessage* m = spy.First(w, WM_MDIACTIVATE);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(m->WParam), b) << "the child losing activation";
    EXPECT_EQ(reinterpret_cast<HWND>(m->LParam), a) << "the child gaining it";
  }
  EXPECT_EQ(spy.First(b, WM_NCACTIVATE)->WParam, 0u);
  EXPECT_EQ(spy.First(a, WM_NCACTIVATE)->WParam, 1u);

  // Activating the active child again tells nobody; a click on another child activates it.
  TMessageSpy again;
  SendMessage(Client, WM_MDIACTIVATE, W(a), 0);
  EXPECT_EQ(again.Count(b, WM_MDIACTIVATE) + again.Count(a, WM_MDIACTIVATE), 0);
  SendMessage(b, WM_MOUSEACTIVATE, W(Frame), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(Active(), b);
  // A window that is not a child of this client is refused.
  HWND stranger = Child(Frame, {0, 0, 10, 10});
  SendMessage(Client, WM_MDIACTIVATE, W(stranger), 0);
  EXPECT_EQ(Active(), b);
}

TEST_F(MDITest, NextAndPreviousCycleThroughTheChildren) {
  HWND a = NewChild("a");
  HWND b = NewChild("b");
  HWND c = NewChild("c");
  ASSERT_EQ(ZOrder(), (std::vector<HWND>{c, b, a}));
  struct Step {
    bool previous;
    HWND active;
    std::vector<HWND> order;
  };
  // Next sends the active child to the back; previous brings the back one to the front.
  const std::vector<Step> steps = {
      {false, b, {b, a, c}}, {false, a, {a, c, b}}, {true, b, {b, a, c}},
      {true, c, {c, b, a}},  {true, a, {a, c, b}},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    SendMessage(Client, WM_MDINEXT, 0, steps[i].previous ? 1 : 0);
    EXPECT_EQ(Active(), steps[i].active) << "step " << i;
    EXPECT_EQ(ZOrder(), steps[i].order) << "step " << i;
  }
  // From the system menu of a child.
  SendMessage(a, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
  EXPECT_EQ(Active(), c);
  // Hidden children are skipped; one child alone stays active.
  ShowWindow(b, SW_HIDE);
  SendMessage(Client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(), a);
  ShowWindow(c, SW_HIDE);
  SendMessage(Client, WM_MDINEXT, 0, 0);
  EXPECT_EQ(Active(), a);
}

TEST_F(MDITest, MaximizedChildFillsTheClientAndHandsItsStateOn) {
  HWND a = NewChild("a");
  HWND b = NewChild("b");
  SendMessage(Client, WM_MDIMAXIMIZE, W(b), 0);
  bool maximized = false;
  EXPECT_EQ(Active(&maximized), b);
  EXPECT_TRUE(maximized);
  RECT cr;
  GetClientRect(b, &cr);
  POINT origin{0, 0};
  ClientToScreen(b, &origin);
  ScreenToClient(Client, &origin);
  // The frame lies outside: the child's client area is exactly the MDI client's.
  EXPECT_EQ(origin.X, 0);
  EXPECT_EQ(origin.Y, 0);
  EXPECT_EQ(cr.Right, 300);
  EXPECT_EQ(cr.Bottom, 200);

  // The client grows: the maximized child follows.
  SetWindowPos(Client, nullptr, 0, 0, 360, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(b, &cr);
  EXPECT_EQ(cr.Right, 360);
  EXPECT_EQ(cr.Bottom, 240);

  // Activating another child maximizes it and restores the old one.
  SendMessage(Client, WM_MDIACTIVATE, W(a), 0);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(Rect(b), Bounds(10, 10, 100, 80));

  // Closing the maximized active child leaves the next one maximized and active.
  DestroyWindow(a);
  EXPECT_EQ(Active(&maximized), b);
  EXPECT_TRUE(maximized);
  SendMessage(b, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(Rect(b), Bounds(10, 10, 100, 80));
}

TEST_F(MDITest, DestroyingOrHidingTheActiveChildActivatesTheNext) {
  HWND a = NewChild("a");
  HWND b = NewChild("b");
  HWND c = NewChild("c");
  SendMessage(Client, WM_MDIDESTROY, W(c), 0);
  EXPECT_FALSE(IsWindow(c));
  EXPECT_EQ(Active(), b);
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(Active(), a);
  // Destroying an inactive child leaves the activation alone.
  ShowWindow(b, SW_SHOW);
  EXPECT_EQ(Active(), b);
  DestroyWindow(a);
  EXPECT_EQ(Active(), b);
  DestroyWindow(b);
  EXPECT_EQ(Active(), nullptr);
}

TEST(MDIGeometry, TileRects) {
  struct Case {
    Integer n;
    bool horizontal;
    std::vector<TRect> rects;
  };
  const std::vector<Case> cases = {
      {1, true, {{0, 0, 300, 200}}},
      {1, false, {{0, 0, 300, 200}}},
      {2, true, {{0, 0, 300, 100}, {0, 100, 300, 200}}},
      {2, false, {{0, 0, 150, 200}, {150, 0, 300, 200}}},
      {3, false, {{0, 0, 100, 200}, {100, 0, 200, 200}, {200, 0, 300, 200}}},
      {4, true, {{0, 0, 150, 100}, {0, 100, 150, 200}, {150, 0, 300, 100}, {150, 100, 300, 200}}},
      // Five in two columns: the later column takes the extra child.
      {5,
       true,
       {{0, 0, 150, 100}, {0, 100, 150, 200}, {150, 0, 300, 66}, {150, 66, 300, 133}, {150, 133, 300, 200}}},
      {5,
       false,
       {{0, 0, 150, 100},
        {150, 0, 300, 100},
        {0, 100, 100, 200},
        {100, 100, 200, 200},
        {200, 100, 300, 200}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MDITileRects(c.n, 300, 200, c.horizontal), c.rects)
        << c.n << (c.horizontal ? " rows" : " columns");
  }
  EXPECT_TRUE(MDITileRects(0, 300, 200, true).empty());
}

TEST(MDIGeometry, CascadeRects) {
  struct Case {
    Integer n, step;
    std::vector<TRect> rects;
  };
  const std::vector<Case> cases = {
      {1, 20, {{0, 0, 300, 200}}},
      {3, 20, {{0, 0, 260, 160}, {20, 20, 280, 180}, {40, 40, 300, 200}}},
      // Five steps keep each child at least half the client; the seventh starts over.
      {7,
       20,
       {{0, 0, 200, 100},
        {20, 20, 220, 120},
        {40, 40, 240, 140},
        {60, 60, 260, 160},
        {80, 80, 280, 180},
        {100, 100, 300, 200},
        {0, 0, 200, 100}}},
      // A step bigger than half the client: all children in the same place.
      {2, 150, {{0, 0, 300, 200}, {0, 0, 300, 200}}},
  };
  for (const Case& c : cases) EXPECT_EQ(MDICascadeRects(c.n, 300, 200, c.step), c.rects) << c.n;
}

TEST_F(MDITest, TileCascadeAndIconArrangePlaceTheChildren) {
  HWND a = NewChild("a");
  HWND b = NewChild("b");
  HWND c = NewChild("c");
  HWND d = NewChild("d");
  ShowWindow(d, SW_MINIMIZE);
  SendMessage(Client, WM_MDIACTIVATE, W(c), 0);
  // The minimized child stays out of the tiling, the active one gets the first place.
  EXPECT_EQ(SendMessage(Client, WM_MDITILE, MDITILE_HORIZONTAL, 0), 1);
  EXPECT_EQ(Rect(c), TRect(0, 0, 300, 66));
  EXPECT_EQ(Rect(b), TRect(0, 66, 300, 133));
  EXPECT_EQ(Rect(a), TRect(0, 133, 300, 200));
  EXPECT_TRUE(IsIconic(d));

  SendMessage(Client, WM_MDICASCADE, 0, 0);
  std::vector<TRect> slots =
      MDICascadeRects(3, 300, 200, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME));
  EXPECT_EQ(Rect(a), slots[0]);
  EXPECT_EQ(Rect(b), slots[1]);
  EXPECT_EQ(Rect(c), slots[2]) << "the active child in front";

  // Minimized children line up along the bottom edge, bottom of the z-order first, wrapping upwards.
  Integer cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
  SetWindowPos(Client, nullptr, 0, 0, 2 * cx + cx / 2, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(b, SW_MINIMIZE);
  ShowWindow(a, SW_MINIMIZE);
  ASSERT_EQ(ZOrder(), (std::vector<HWND>{c, d, b, a}));
  SendMessage(Client, WM_MDIICONARRANGE, 0, 0);
  EXPECT_EQ(Rect(a), Bounds(0, 200 - cy, cx, cy));
  EXPECT_EQ(Rect(b), Bounds(cx, 200 - cy, cx, cy));
  EXPECT_EQ(Rect(d), Bounds(0, 200 - 2 * cy, cx, cy));
  EXPECT_FALSE(IsIconic(c));

  // Nothing to arrange.
  ShowWindow(c, SW_MINIMIZE);
  EXPECT_EQ(SendMessage(Client, WM_MDITILE, MDITILE_VERTICAL, 0), 0);
}

TEST_F(MDITest, SetMenuAnswersThePreviousFrameMenu) {
  HMENU m1 = reinterpret_cast<HMENU>(uintptr_t(0x10)), m2 = reinterpret_cast<HMENU>(uintptr_t(0x20));
  EXPECT_EQ(SendMessage(Client, WM_MDISETMENU, reinterpret_cast<WPARAM>(m1), 0), 0);
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessage(Client, WM_MDISETMENU, reinterpret_cast<WPARAM>(m2), 0)), m1);
  EXPECT_EQ(reinterpret_cast<HMENU>(SendMessage(Client, WM_MDIREFRESHMENU, 0, 0)), m2);
}
