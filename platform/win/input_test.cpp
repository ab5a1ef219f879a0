#include "platform/win/testkit/win_test_util.h"

using namespace wintest;

namespace {

using Seq = std::vector<std::pair<HWND, UINT>>;

}  // namespace

TEST_F(WinTest, ParentNotifyReachesEveryAncestorBeforeTheChildsPress) {
  HWND top = Popup({100, 100, 400, 400});
  HWND mid = Child(top, {10, 10, 200, 200});
  HWND leaf = Child(mid, {10, 10, 100, 100});
  Pump();
  TMessageSpy spy;
  Click(ScreenPoint(leaf, 5, 6));
  Seq seq = spy.Sequence({WM_PARENTNOTIFY, WM_LBUTTONDOWN, WM_LBUTTONUP});
  EXPECT_EQ(
      seq,
      (Seq{{mid, WM_PARENTNOTIFY}, {top, WM_PARENTNOTIFY}, {leaf, WM_LBUTTONDOWN}, {leaf, WM_LBUTTONUP}}));
  // The notification names the press and carries the point in each ancestor's client coordinates.
  const TSpiedMessage* toTop = spy.First(top, WM_PARENTNOTIFY);
  ASSERT_NE(toTop, nullptr);
  EXPECT_EQ(LOWORD(toTop->WParam), WM_LBUTTONDOWN);
  EXPECT_EQ(LParamToPoint(toTop->LParam), (TPoint{25, 26}));
  EXPECT_EQ(LParamToPoint(spy.First(leaf, WM_LBUTTONDOWN)->LParam), (TPoint{5, 6}));
}

TEST_F(WinTest, NoParentNotifyStopsTheChainAtThatWindow) {
  HWND top = Popup({100, 100, 400, 400});
  HWND mid = Child(top, {10, 10, 200, 200}, 0, WS_EX_NOPARENTNOTIFY);
  HWND leaf = Child(mid, {10, 10, 100, 100});
  Pump();
  TMessageSpy spy;
  MouseDown(ScreenPoint(leaf, 1, 1));
  EXPECT_EQ(spy.Count(mid, WM_PARENTNOTIFY), 1);
  EXPECT_EQ(spy.Count(top, WM_PARENTNOTIFY), 0);
  MouseUp(ScreenPoint(leaf, 1, 1));
}

TEST_F(WinTest, CaptureTurnsNonClientInputIntoClientMessages) {
  HWND frame = CreateWindowEx(0, "TestWnd", "framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
  HWND other = Popup({600, 100, 700, 200});
  Pump();
  TPoint caption{200, 110};  // on the caption bar
  {
    TMessageSpy spy;
    MouseMove(caption);
    EXPECT_EQ(spy.Count(frame, WM_NCMOUSEMOVE), 1);
    EXPECT_EQ(spy.Count(frame, WM_MOUSEMOVE), 0);
  }
  SetCapture(frame);
  TMessageSpy spy;
  MouseMove(caption);
  MouseMove({650, 150});  // over another window
  EXPECT_EQ(spy.Count(frame, WM_NCHITTEST), 0);
  EXPECT_EQ(spy.Count(frame, WM_NCMOUSEMOVE), 0);
  EXPECT_EQ(spy.Count(other, WM_MOUSEMOVE), 0);
  ASSERT_EQ(spy.Count(frame, WM_MOUSEMOVE), 2);
  TPoint origin = ScreenPoint(frame, 0, 0);
  EXPECT_EQ(LParamToPoint(spy.Last(frame, WM_MOUSEMOVE)->LParam), (TPoint{650 - origin.X, 150 - origin.Y}));
  EXPECT_EQ(LParamToPoint(spy.First(frame, WM_MOUSEMOVE)->LParam).Y,
            110 - origin.Y);  // negative: above client
  EXPECT_LT(110 - origin.Y, 0);

  HWND other2 = Popup({600, 300, 700, 400});
  SetCapture(other2);
  const TSpiedMessage* changed = spy.Last(frame, WM_CAPTURECHANGED);
  ASSERT_NE(changed, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(changed->LParam), other2);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(spy.Last(other2, WM_CAPTURECHANGED)->LParam, 0);
}

TEST_F(WinTest, FocusChangeSendsKillFocusThenSetFocus) {
  HWND top = Popup({100, 100, 400, 400});
  HWND a = Child(top, {0, 0, 50, 50});
  HWND b = Child(top, {60, 0, 110, 50});
  ASSERT_EQ(SetFocus(a), top);  // showing activated the window and gave it the focus
  TMessageSpy spy;
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  Seq seq = spy.Sequence({WM_KILLFOCUS, WM_SETFOCUS});
  EXPECT_EQ(seq, (Seq{{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}}));
  EXPECT_EQ(reinterpret_cast<HWND>(spy.First(a, WM_KILLFOCUS)->WParam), b);
  EXPECT_EQ(reinterpret_cast<HWND>(spy.First(b, WM_SETFOCUS)->WParam), a);
}

// A window that repaints as it loses the focus must draw itself unfocused: while it handles
// WM_KILLFOCUS the focus already belongs to the window that takes it.
TEST_F(WinTest, DuringKillFocusTheFocusIsNoLongerTheLosers) {
  HWND top = Popup({100, 100, 400, 400});
  HWND a = Child(top, {0, 0, 50, 50});
  HWND b = Child(top, {60, 0, 110, 50});
  SetFocus(a);
  HWND SeenByA = a;
  On(a, [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_KILLFOCUS) SeenByA = GetFocus();
    return std::nullopt;
  });
  SetFocus(b);
  EXPECT_EQ(SeenByA, b);
  SetFocus(a);
  SeenByA = a;
  SetFocus(nullptr);
  EXPECT_EQ(SeenByA, nullptr);
}

TEST_F(WinTest, SetFocusFailsForDisabledOrHiddenWindows) {
  HWND top = Popup({100, 100, 400, 400});
  HWND ok = Child(top, {0, 0, 50, 50});
  HWND disabled = Child(top, {60, 0, 110, 50}, WS_DISABLED);
  HWND hidden = CreateWindowEx(0, "TestWnd", "", WS_CHILD, 0, 60, 50, 50, top, nullptr, nullptr, nullptr);
  HWND hiddenParent =
      CreateWindowEx(0, "TestWnd", "", WS_CHILD, 0, 120, 50, 50, top, nullptr, nullptr, nullptr);
  HWND visibleInHidden = Child(hiddenParent, {0, 0, 10, 10});
  SetFocus(ok);
  for (HWND target : {disabled, hidden, visibleInHidden}) {
    TMessageSpy spy;
    EXPECT_EQ(SetFocus(target), nullptr);
    EXPECT_EQ(GetFocus(), ok);
    EXPECT_EQ(spy.Count(ok, WM_KILLFOCUS), 0);
  }
  // Disabling the focused window takes the focus away.
  EnableWindow(ok, false);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WinTest, TransparentHitTestPassesToTheWindowBelow) {
  HWND top = Popup({100, 100, 400, 400});
  HWND below = Child(top, {0, 0, 100, 100});
  HWND above = Child(top, {0, 0, 100, 100});  // created last: on top
  On(above, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCHITTEST) return HTTRANSPARENT;
    return std::nullopt;
  });
  Pump();
  TMessageSpy spy;
  MouseDown(ScreenPoint(above, 10, 10));
  EXPECT_EQ(spy.Count(above, WM_NCHITTEST), 1);
  EXPECT_EQ(spy.Count(above, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(spy.Count(below, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(WindowFromPoint(ScreenPoint(above, 10, 10)), below);
  MouseUp(ScreenPoint(above, 10, 10));
}

TEST_F(WinTest, WindowRegionsDecideHitTesting) {
  HWND top = Popup({100, 100, 400, 400});
  HWND round = Child(top, {0, 0, 100, 100});
  SetWindowRgn(round, CreateEllipticRgn(0, 0, 100, 100), false);
  HWND shapedTop = Popup({500, 100, 600, 200});
  SetWindowRgn(shapedTop, CreateRectRgn(50, 0, 100, 100), true);
  Pump();
  struct Case {
    TPoint pt;
    HWND expected;
  };
  const Case cases[] = {
      {{150, 150}, round},    // centre of the ellipse
      {{101, 101}, top},      // corner cut off by the ellipse: the parent answers
      {{198, 150}, round},    // right edge, middle
      {{510, 150}, nullptr},  // left half of the shaped window is outside its region: desktop
      {{560, 150}, shapedTop},
  };
  for (const Case& c : cases) {
    HWND expected = c.expected ? c.expected : GetDesktopWindow();
    EXPECT_EQ(WindowFromPoint(c.pt), expected) << c.pt.X << "," << c.pt.Y;
  }
  TMessageSpy spy;
  Click({101, 101});
  EXPECT_EQ(spy.Count(top, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(spy.Count(round, WM_LBUTTONDOWN), 0);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(shapedTop, copy), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(copy, 60, 10));
  EXPECT_FALSE(PtInRegion(copy, 40, 10));
  DeleteObject(copy);
}

TEST_F(WinTest, DoubleClicksAreSynthesisedOnTheFakeClock) {
  struct Case {
    const char* cls;
    UInt64 gap;
    Integer dx;
    bool expectDouble;
  };
  const Case cases[] = {
      {"TestDblWnd", 100, 0, true},  {"TestDblWnd", 500, 0, true}, {"TestDblWnd", 501, 0, false},
      {"TestDblWnd", 100, 3, false}, {"TestDblWnd", 100, 2, true}, {"TestWnd", 100, 0, false},
  };
  for (const Case& c : cases) {
    HWND w = Popup({100, 100, 300, 300}, 0, 0, c.cls);
    Pump();
    TMessageSpy spy({w});
    Click({150, 150});
    Env.Clock().Advance(c.gap);
    Click({150 + c.dx, 150});
    EXPECT_EQ(spy.Count(w, WM_LBUTTONDBLCLK), c.expectDouble ? 1 : 0) << c.cls << " " << c.gap << " " << c.dx;
    EXPECT_EQ(spy.Count(w, WM_LBUTTONDOWN), c.expectDouble ? 1 : 2);
    if (c.expectDouble) {
      // A third press right after a double click starts over.
      Click({150, 150});
      EXPECT_EQ(spy.Count(w, WM_LBUTTONDBLCLK), 1);
    }
    DestroyWindow(w);
    Env.Clock().Advance(1000);
  }
}

TEST_F(WinTest, NonClientDoubleClicksNeedNoClassStyle) {
  HWND frame = CreateWindowEx(0, "TestWnd", "f", WS_CAPTION | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);
  Pump();
  On(frame, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_NCLBUTTONDOWN) return 0;  // no move loop
    return std::nullopt;
  });
  TMessageSpy spy({frame});
  Click({200, 110});
  Click({200, 110});
  EXPECT_EQ(spy.Count(frame, WM_NCLBUTTONDBLCLK), 1);
  EXPECT_EQ(spy.First(frame, WM_NCLBUTTONDBLCLK)->WParam, WPARAM(HTCAPTION));
}

TEST_F(WinTest, MouseActivateAnswersDecideActivationAndEating) {
  struct Case {
    LRESULT answer;
    bool activates;
    bool delivered;
  };
  const Case cases[] = {
      {MA_ACTIVATE, true, true},
      {MA_ACTIVATEANDEAT, true, false},
      {MA_NOACTIVATE, false, true},
      {MA_NOACTIVATEANDEAT, false, false},
  };
  for (const Case& c : cases) {
    HWND first = Popup({100, 100, 200, 200});
    HWND second = Popup({300, 100, 400, 200});
    ASSERT_EQ(GetActiveWindow(), second);
    LRESULT answer = c.answer;
    On(first, [answer](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (m == WM_MOUSEACTIVATE) return answer;
      return std::nullopt;
    });
    TMessageSpy spy({first});
    Click({150, 150});
    EXPECT_EQ(GetActiveWindow() == first, c.activates) << answer;
    EXPECT_EQ(spy.Count(first, WM_LBUTTONDOWN), c.delivered ? 1 : 0) << answer;
    if (c.activates) {
      // Activation comes before the press.
      EXPECT_LT(spy.IndexOf(first, WM_ACTIVATE), spy.IndexOf(first, WM_LBUTTONUP));
      EXPECT_EQ(LOWORD(spy.First(first, WM_ACTIVATE)->WParam), WA_CLICKACTIVE);
    }
    DestroyWindow(first);
    DestroyWindow(second);
  }
}

TEST_F(WinTest, ClicksOnADisabledWindowAreRefused) {
  HWND owner = Popup({100, 100, 300, 300});
  EnableWindow(owner, false);
  TMessageSpy spy({owner});
  Click({150, 150});
  EXPECT_EQ(spy.Count(owner, WM_LBUTTONDOWN), 0);
  ASSERT_EQ(spy.Count(owner, WM_SETCURSOR), 2);
  EXPECT_EQ(SHORT(LOWORD(uintptr_t(spy.First(owner, WM_SETCURSOR)->LParam))), HTERROR);
  EXPECT_EQ(WinBeepCount(), 1);
}

TEST_F(WinTest, ActivationOrderBetweenTwoWindows) {
  HWND a = Popup({100, 100, 200, 200});
  HWND b = CreateWindowEx(0, "TestWnd", "", WS_POPUP, 300, 100, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(GetActiveWindow(), a);
  TMessageSpy spy;
  ShowWindow(b, SW_SHOW);
  Seq seq = spy.Sequence({WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS});
  EXPECT_EQ(seq, (Seq{{a, WM_NCACTIVATE},
                      {a, WM_ACTIVATE},
                      {a, WM_KILLFOCUS},
                      {b, WM_NCACTIVATE},
                      {b, WM_ACTIVATE},
                      {b, WM_SETFOCUS}}));
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetFocus(), b);
  // Hiding the active window activates the next one.
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(WinTest, KeysGoToTheFocusWindowAndTranslateIntoCharacters) {
  HWND top = Popup({100, 100, 300, 300});
  HWND edit = Child(top, {0, 0, 50, 50});
  SetFocus(edit);
  TMessageSpy spy({top, edit});
  KeyPress('A');
  KeyDown(VK_SHIFT);
  KeyPress('B');
  KeyUp(VK_SHIFT);
  KeyPress('X', 0x4E2D);  // a character given by the input method
  std::vector<WPARAM> chars;
  for (const auto& m : spy.Messages()) {
    if (m.Msg == WM_CHAR) {
      EXPECT_EQ(m.Wnd, edit);
      chars.push_back(m.WParam);
    }
  }
  EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 'B', 0x4E2D}));
  EXPECT_EQ(spy.MessagesOf(edit, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}).front(), WM_KEYDOWN);
  EXPECT_EQ(spy.Count(top, WM_KEYDOWN), 0);
  // Key state follows the messages.
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(WinTest, AltAndF10OpenTheMenuThroughSysCommand) {
  HWND top = Popup({100, 100, 300, 300});
  HWND edit = Child(top, {0, 0, 50, 50});
  SetFocus(edit);
  struct Case {
    std::vector<std::pair<Word, bool>> keys;
    std::vector<LPARAM> keyMenus;  // lParam of each SC_KEYMENU
  };
  const Case cases[] = {
      {{{VK_MENU, true}, {VK_MENU, false}}, {0}},
      {{{VK_F10, true}, {VK_F10, false}}, {0}},
      {{{VK_MENU, true}, {'F', true}, {'F', false}, {VK_MENU, false}}, {'f'}},  // Alt+F: menu accelerator
      {{{VK_CONTROL, true}, {VK_CONTROL, false}}, {}},
  };
  for (const Case& c : cases) {
    TMessageSpy spy({top});
    for (auto [vk, down] : c.keys) {
      if (down) {
        KeyDown(vk);
      } else {
        KeyUp(vk);
      }
    }
    std::vector<LPARAM> got;
    for (const auto& m : spy.Messages()) {
      if (m.Msg == WM_SYSCOMMAND && m.WParam == SC_KEYMENU) got.push_back(m.LParam);
    }
    EXPECT_EQ(got, c.keyMenus);
  }
}

// The wheel scrolls what is under the pointer, whatever has the focus (the platform's "scroll
// inactive windows when hovering"): a captured mouse keeps it, a disabled child hands it to its
// parent, a window disabled by a modal loop takes none, and with no window under the pointer the
// focus window has it.
TEST_F(WinTest, WheelGoesToTheWindowUnderThePointer) {
  HWND top = Popup({100, 100, 300, 300});
  HWND a = Child(top, {0, 0, 50, 50});
  HWND b = Child(top, {60, 0, 110, 50});
  HWND off = Child(top, {0, 60, 50, 110});
  EnableWindow(off, false);
  HWND blocked = Popup({400, 100, 500, 200});
  HWND inBlocked = Child(blocked, {0, 0, 50, 50});
  EnableWindow(blocked, false);
  const struct {
    const char* Name;
    TPoint At;
    HWND Capture;
    HWND Expected;  // nullptr: nobody
  } Cases[] = {
      {"over another child", ScreenPoint(b, 5, 5), nullptr, b},
      {"over the focus window", ScreenPoint(a, 5, 5), nullptr, a},
      {"over a disabled child", ScreenPoint(off, 5, 5), nullptr, top},
      {"captured", ScreenPoint(b, 5, 5), a, a},
      {"over a disabled window", ScreenPoint(inBlocked, 5, 5), nullptr, nullptr},
      {"over no window", TPoint{700, 700}, nullptr, a},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    SetFocus(a);
    SetCapture(C.Capture);
    TMessageSpy spy({top, a, b, off, blocked, inBlocked});
    MouseWheel(-WHEEL_DELTA, C.At);
    ReleaseCapture();
    const TSpiedMessage* First = nullptr;
    for (const auto& M : spy.Messages())
      if (M.Msg == WM_MOUSEWHEEL && First == nullptr) First = &M;
    if (C.Expected == nullptr) {
      EXPECT_EQ(First, nullptr);
      continue;
    }
    ASSERT_NE(First, nullptr);
    EXPECT_EQ(First->Wnd, C.Expected);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(First->WParam), -WHEEL_DELTA);
  }
}

TEST_F(WinTest, LayeredTransparentWindowsLetTheMouseThrough) {
  HWND form = Popup({100, 100, 300, 300});
  HWND glow = CreateWindowEx(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "TestWnd",
                             "", WS_POPUP, 150, 150, 50, 50, nullptr, nullptr, nullptr, nullptr);
  SetWindowPos(glow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  EXPECT_EQ(GetActiveWindow(), form);
  EXPECT_EQ(WindowFromPoint({160, 160}), form);
  TMessageSpy spy({form, glow});
  Click({160, 160});
  EXPECT_EQ(spy.Count(form, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(spy.Count(glow, WM_NCHITTEST), 0);
}
