#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

TEST_F(WinTest, CreationSendsItsMessagesInOrder) {
  HWND parent = Popup({0, 0, 200, 200});
  TMessageSpy spy;
  HWND child = CreateWindowEx(0, "TestWnd", "hello", WS_CHILD | WS_VISIBLE, 5, 6, 50, 40, parent,
                              reinterpret_cast<HMENU>(uintptr_t(42)), nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(
      spy.Sequence({WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_PARENTNOTIFY, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}),
      (std::vector<std::pair<HWND, UINT>>{{child, WM_NCCREATE},
                                          {child, WM_NCCALCSIZE},
                                          {child, WM_CREATE},
                                          {parent, WM_PARENTNOTIFY},
                                          {child, WM_SIZE},
                                          {child, WM_MOVE},
                                          {child, WM_SHOWWINDOW}}));
  const TSpiedMessage* notify = spy.First(parent, WM_PARENTNOTIFY);
  EXPECT_EQ(notify->WParam, MAKEWPARAM(WM_CREATE, 42));
  EXPECT_EQ(reinterpret_cast<HWND>(notify->LParam), child);
  EXPECT_EQ(GetWindowTextStr(child), "hello");
  EXPECT_EQ(GetWindowLongPtr(child, GWLP_ID), 42);
  EXPECT_EQ(GetClassNameStr(child), "TestWnd");
}

TEST_F(WinTest, CreationFailsWhenCreateRefuses) {
  NextHandler() = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_CREATE) return -1;
    return std::nullopt;
  };
  TMessageSpy spy;
  EXPECT_EQ(CreateWindowEx(0, "TestWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  ASSERT_FALSE(spy.Messages().empty());
  HWND dead = spy.Messages().front().Wnd;
  EXPECT_FALSE(IsWindow(dead));
  EXPECT_EQ(spy.Count(dead, WM_NCDESTROY), 1);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowEx(0, "TestWnd", "", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(WinTest, DestructionOrderFollowsThePlatform) {
  HWND owner = Popup({0, 0, 200, 200});
  HWND a = Child(owner, {0, 0, 50, 50});
  HWND a1 = Child(a, {0, 0, 10, 10});
  HWND b = Child(owner, {60, 0, 110, 50});
  HWND owned = CreateWindowEx(0, "TestWnd", "", WS_POPUP | WS_VISIBLE, 300, 0, 50, 50, owner, nullptr,
                              nullptr, nullptr);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  TMessageSpy spy;
  ASSERT_TRUE(DestroyWindow(owner));
  // Owned windows go first; WM_DESTROY parent first (children top of z-order first), WM_NCDESTROY
  // children first.
  EXPECT_EQ(spy.Sequence({WM_DESTROY, WM_NCDESTROY}),
            (std::vector<std::pair<HWND, UINT>>{{owned, WM_DESTROY},
                                                {owned, WM_NCDESTROY},
                                                {owner, WM_DESTROY},
                                                {b, WM_DESTROY},
                                                {a, WM_DESTROY},
                                                {a1, WM_DESTROY},
                                                {b, WM_NCDESTROY},
                                                {a1, WM_NCDESTROY},
                                                {a, WM_NCDESTROY},
                                                {owner, WM_NCDESTROY}}));
  for (HWND w : {owner, a, a1, b, owned}) EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_TRUE(Env.Backend().NativeStack().empty());
  // A class is free again once its windows are gone.
  EXPECT_TRUE(UnregisterClass("TestWnd", nullptr));
}

TEST_F(WinTest, DestroyingAWindowInsideItsOwnHandlerIsSafe) {
  HWND w = Popup({0, 0, 100, 100});
  HWND child = Child(w, {0, 0, 10, 10});
  Integer afterDestroy = 0;
  On(child, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) {
      DestroyWindow(w);
      afterDestroy = IsWindow(w) ? 1 : 2;
      return 0;
    }
    return std::nullopt;
  });
  SendMessage(child, WM_USER, 0, 0);
  EXPECT_EQ(afterDestroy, 2);
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(SendMessage(child, WM_USER, 0, 0), 0);
}

TEST_F(WinTest, NcCalcSizeDecidesTheClientArea) {
  NextHandler() = [](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m != WM_NCCALCSIZE) return std::nullopt;
    RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
    r->Left += 3;
    r->Top += 22;
    r->Right -= 3;
    r->Bottom -= 3;
    return 0;
  };
  HWND w = CreateWindowEx(0, "TestWnd", "", WS_POPUP | WS_VISIBLE, 100, 50, 200, 150, nullptr, nullptr,
                          nullptr, nullptr);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client, (TRect{0, 0, 194, 125}));
  SetWindowPos(w, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(w, &client);
  EXPECT_EQ(client, (TRect{0, 0, 294, 175}));
  HWND child = Child(w, {10, 5, 60, 45});
  struct Case {
    HWND from, to;
    TPoint in, out;
  };
  const Case cases[] = {
      {w, nullptr, {0, 0}, {103, 72}},
      {child, nullptr, {1, 2}, {114, 79}},
      {nullptr, child, {114, 79}, {1, 2}},
      {child, w, {0, 0}, {10, 5}},
  };
  for (const Case& c : cases) {
    TPoint p = c.in;
    MapWindowPoints(c.from, c.to, &p, 1);
    EXPECT_EQ(p, c.out);
  }
  RECT wr;
  GetWindowRect(child, &wr);
  EXPECT_EQ(wr, (TRect{113, 77, 163, 117}));
  // The default frame of a sizeable captioned window.
  RECT r{0, 0, 100, 100};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, false, 0);
  EXPECT_EQ(r, (TRect{-4, -27, 104, 104}));
}

TEST_F(WinTest, ZOrderKeepsTopmostWindowsAbove) {
  HWND a = Popup({0, 0, 10, 10});
  HWND b = Popup({0, 0, 10, 10});
  HWND c = Popup({0, 0, 10, 10});
  auto order = [] {
    std::vector<HWND> r;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) r.push_back(w);
    return r;
  };
  EXPECT_EQ(order(), (std::vector<HWND>{c, b, a}));
  SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order(), (std::vector<HWND>{a, c, b}));
  EXPECT_TRUE(GetWindowLongPtr(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Bringing another window to the top leaves it below the topmost one.
  SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order(), (std::vector<HWND>{a, b, c}));
  SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order(), (std::vector<HWND>{a, b, c}));
  EXPECT_FALSE(GetWindowLongPtr(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order(), (std::vector<HWND>{b, c, a}));
  EXPECT_EQ(Env.Backend().NativeStack(), order());
  // Activating an owner keeps its owned window above it.
  HWND owned =
      CreateWindowEx(0, "TestWnd", "", WS_POPUP | WS_VISIBLE, 0, 0, 5, 5, a, nullptr, nullptr, nullptr);
  SetActiveWindow(a);
  EXPECT_EQ(order(), (std::vector<HWND>{owned, a, b, c}));
}

TEST_F(WinTest, WindowPosChangesAreAnnouncedAndCanBeAltered) {
  HWND w = Popup({0, 0, 100, 100});
  On(w, [](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lp)->cx = 77;
    return std::nullopt;
  });
  TMessageSpy spy({w});
  SetWindowPos(w, nullptr, 10, 20, 300, 40, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(spy.MessagesOf(w, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (TRect{10, 20, 87, 60}));
  EXPECT_EQ(spy.Last(w, WM_SIZE)->LParam, MAKELPARAM(77, 40));
  spy.Clear();
  SetWindowPos(w, nullptr, 10, 20, 77, 40, SWP_NOZORDER | SWP_NOACTIVATE);  // no change
  EXPECT_EQ(spy.Count(w, WM_MOVE) + spy.Count(w, WM_SIZE), 0);
}

TEST_F(WinTest, TreeQueries) {
  HWND owner = Popup({0, 0, 100, 100});
  HWND popup = CreateWindowEx(0, "TestWnd", "", WS_POPUP, 0, 0, 5, 5, owner, nullptr, nullptr, nullptr);
  HWND overlapped = CreateWindowEx(0, "TestWnd", "", 0, 0, 0, 5, 5, owner, nullptr, nullptr, nullptr);
  HWND a = Child(owner, {0, 0, 5, 5});
  HWND a1 = Child(a, {0, 0, 5, 5});
  HWND b = Child(owner, {0, 0, 5, 5});
  EXPECT_EQ(GetParent(a1), a);
  EXPECT_EQ(GetParent(popup), owner);         // the owner of a popup
  EXPECT_EQ(GetParent(overlapped), nullptr);  // but not of an overlapped window
  EXPECT_EQ(GetWindow(overlapped, GW_OWNER), owner);
  EXPECT_EQ(GetAncestor(a1, GA_ROOT), owner);
  EXPECT_EQ(GetAncestor(a1, GA_PARENT), a);
  EXPECT_EQ(GetAncestor(owner, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), owner);
  EXPECT_TRUE(IsChild(owner, a1));
  EXPECT_FALSE(IsChild(owner, popup));
  std::vector<HWND> seen;
  EnumChildWindows(
      owner,
      [](HWND w, LPARAM lp) {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
        return true;
      },
      reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{b, a, a1}));
  // Moving a child to another parent.
  EXPECT_EQ(SetParent(a1, b), a);
  EXPECT_EQ(GetWindow(b, GW_CHILD), a1);
  EXPECT_EQ(GetWindow(a, GW_CHILD), nullptr);
  EXPECT_EQ(SetParent(b, a1), nullptr);  // no cycles
}

TEST_F(WinTest, TextRoundTripsAndNeverCutsACharacter) {
  HWND w = Popup({0, 0, 10, 10});
  ASSERT_TRUE(SetWindowText(w, "视频abc"));
  EXPECT_EQ(GetWindowTextLength(w), 9);
  EXPECT_EQ(GetWindowTextStr(w), "视频abc");
  char buf[8];
  struct Case {
    Integer max;
    String expected;
  };
  const Case cases[] = {{8, "视频a"}, {6, "视"}, {5, "视"}, {3, ""}, {1, ""}};
  for (const Case& c : cases) {
    Integer n = GetWindowText(w, buf, c.max);
    EXPECT_EQ(String(buf, size_t(n)), c.expected) << c.max;
    EXPECT_EQ(buf[n], 0);
  }
}

TEST_F(WinTest, StyleChangesAreAnnouncedAndKeepVisibility) {
  HWND w = Popup({0, 0, 10, 10});
  TMessageSpy spy({w});
  LONG_PTR old = SetWindowLongPtr(w, GWL_STYLE, LONG_PTR(WS_POPUP | WS_VISIBLE | WS_BORDER));
  EXPECT_TRUE(old & WS_VISIBLE);
  EXPECT_EQ(spy.MessagesOf(w, {WM_STYLECHANGING, WM_STYLECHANGED}),
            (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  // The frame changes only once SetWindowPos is told so.
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c.Right, 10);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  GetClientRect(w, &c);
  EXPECT_EQ(c.Right, 8);
  // Extra window bytes and properties.
  SetWindowLongPtr(w, GWLP_USERDATA, 1234);
  EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 1234);
  int marker = 0;
  SetProp(w, "Owner", &marker);
  EXPECT_EQ(GetProp(w, "Owner"), &marker);
  EXPECT_EQ(RemoveProp(w, "Owner"), &marker);
  EXPECT_EQ(GetProp(w, "Owner"), nullptr);
}

TEST_F(WinTest, MonitorAndMetricsProfile) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  MONITORINFO mi;
  HWND w = Popup({100, 100, 200, 200});
  ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &mi));
  EXPECT_EQ(mi.rcWork, work);
  EXPECT_EQ(mi.rcMonitor, (TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  SetWindowPos(w, nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(MonitorFromWindow(w, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_NE(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), nullptr);
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
  EXPECT_EQ(RegisterWindowMessage("TaskbarCreated"), RegisterWindowMessage("TaskbarCreated"));
  EXPECT_GE(RegisterWindowMessage("TaskbarCreated"), WM_REGISTERED_FIRST);
}
