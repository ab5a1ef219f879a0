// The caret: one per thread, drawn by inverting its rectangle on the owner window, blinking on a
// thread timer so that the injectable clock drives it.
#include <algorithm>

#include "platform/win/window_internal.h"

namespace {

struct TCaret {
  HWND Wnd = nullptr;
  Integer Width = 0;
  Integer Height = 0;
  POINT Pos;
  Integer HideLevel = 1;  // created hidden
  bool Drawn = false;
  Integer PaintHidden = 0;  // BeginPaint took it off
  UINT_PTR Timer = 0;
  UINT BlinkTime = 530;
};

TCaret& caret() {
  static TCaret c;
  return c;
}

void invert(TCaret& c) {
  if (!WinIsLive(c.Wnd)) return;
  HDC dc = GetDC(c.Wnd);
  if (!dc) return;
  PatBlt(dc, c.Pos.X, c.Pos.Y, c.Width, c.Height, DSTINVERT);
  ReleaseDC(c.Wnd, dc);
  c.Drawn = !c.Drawn;
}

bool visible(const TCaret& c) {
  return c.Wnd && c.HideLevel == 0 && c.PaintHidden == 0;
}

void undraw(TCaret& c) {
  if (c.Drawn) invert(c);
}

void blink(HWND, UINT, UINT_PTR, DWORD) {
  TCaret& c = caret();
  if (visible(c))
    invert(c);
  else
    undraw(c);
}

// Draws at once and starts a fresh blink period, as a caret does after every move.
void restart(TCaret& c) {
  if (c.Timer) KillTimer(nullptr, c.Timer);
  c.Timer = 0;
  if (!visible(c)) return;
  if (!c.Drawn) invert(c);
  c.Timer = SetTimer(nullptr, 0, c.BlinkTime, blink);
}

}  // namespace

bool CreateCaret(HWND wnd, HBITMAP, Integer width, Integer height) {
  if (!WinIsLive(wnd)) return false;
  DestroyCaret();
  TCaret& c = caret();
  c.Wnd = wnd;
  c.Width = std::max(1, width != 0 ? width : 1);
  c.Height = std::max(1, height);
  c.Pos = POINT{0, 0};
  c.HideLevel = 1;
  c.Drawn = false;
  c.PaintHidden = 0;
  return true;
}

bool DestroyCaret() {
  TCaret& c = caret();
  if (!c.Wnd) return false;
  undraw(c);
  if (c.Timer) KillTimer(nullptr, c.Timer);
  c.Timer = 0;
  c.Wnd = nullptr;
  return true;
}

bool ShowCaret(HWND wnd) {
  TCaret& c = caret();
  if (!c.Wnd || (wnd && wnd != c.Wnd) || c.HideLevel == 0) return false;
  if (--c.HideLevel == 0) restart(c);
  return true;
}

bool HideCaret(HWND wnd) {
  TCaret& c = caret();
  if (!c.Wnd || (wnd && wnd != c.Wnd)) return false;
  ++c.HideLevel;
  undraw(c);
  return true;
}

bool SetCaretPos(Integer x, Integer y) {
  TCaret& c = caret();
  if (!c.Wnd) return false;
  if (c.Pos.X == x && c.Pos.Y == y) return true;
  undraw(c);
  c.Pos = POINT{x, y};
  restart(c);
  return true;
}

bool GetCaretPos(POINT* point) {
  TCaret& c = caret();
  if (!c.Wnd || !point) return false;
  *point = c.Pos;
  return true;
}

UINT GetCaretBlinkTime() {
  return caret().BlinkTime;
}

bool SetCaretBlinkTime(UINT milliseconds) {
  caret().BlinkTime = std::max<UINT>(milliseconds, USER_TIMER_MINIMUM);
  restart(caret());
  return true;
}

HWND WinCaretOwner() {
  return caret().Wnd;
}

bool WinCaretDrawn() {
  return caret().Drawn;
}

TRect WinCaretRect() {
  const TCaret& c = caret();
  return {c.Pos.X, c.Pos.Y, c.Pos.X + c.Width, c.Pos.Y + c.Height};
}

void WinCaretBeforePaint(HWND wnd) {
  TCaret& c = caret();
  if (!c.Wnd || c.Wnd != wnd) return;
  ++c.PaintHidden;
  undraw(c);
}

void WinCaretAfterPaint(HWND wnd) {
  TCaret& c = caret();
  if (!c.Wnd || c.Wnd != wnd || c.PaintHidden == 0) return;
  if (--c.PaintHidden == 0 && visible(c) && !c.Drawn) invert(c);
}

void WinCaretWindowDestroyed(HWND wnd) {
  if (caret().Wnd == wnd) {
    caret().Drawn = false;  // nothing left to invert back
    DestroyCaret();
  }
}
