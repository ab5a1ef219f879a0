#include "platform/ui/testkit/uitestkit.h"

#include <cstdio>
#include <cstdlib>

#include "platform/ui/core/screen.h"

void TUiTest::SetUp() {
  delete Application;
  delete Screen;
  new TScreen(nullptr);
  new TApplication(nullptr);
  SavedHintWindowClass = HintWindowClass;
  SavedMessageBox = GetMessageBoxFunction();
  // No window waits for an answer nobody scripted: the text goes to the error stream, the answer is OK.
  SetMessageBoxFunction([](const String& Text, const String& Caption, UINT) {
    std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
    return Integer(mrOk);
  });
}

void TUiTest::TearDown() {
  // The forms go with the application while the window layer still holds their windows.
  delete Application;
  new TApplication(nullptr);
  HintWindowClass = SavedHintWindowClass;
  SetMessageBoxFunction(SavedMessageBox);
}

COLORREF TUiTest::PaintedPixel(HWND Wnd, Integer X, Integer Y) {
  HBITMAP B = wintest::PaintWindowToBitmap(Wnd);
  if (B == nullptr) return CLR_INVALID;
  COLORREF C = wintest::BitmapPixel(B, X, Y);
  DeleteObject(B);
  return C;
}

bool IsInk(COLORREF C, COLORREF Back) {
  return std::abs(int(GetRValue(C)) - int(GetRValue(Back))) +
             std::abs(int(GetGValue(C)) - int(GetGValue(Back))) +
             std::abs(int(GetBValue(C)) - int(GetBValue(Back))) >
         96;
}
