// A skinned MDI main form on a real display: its client area painted from the skin, a skinned child
// framed inside it, and the client's skinned scroll bar once the child is dragged past the bottom.
// The screenshot is written beside the test program as skinforms_mdi_display.png; the default look
// with a maximized child as skinforms_mdi_default_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/font.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/bars/bsskinscrollbar.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"

namespace {

class SkinFormMDIDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  static COLORREF Frame(int Slice) { return COLORREF(GeneratedSkinSliceColor(63, 0, Slice)); }
};

TEST_F(SkinFormMDIDisplay, MainFormShowsItsSkinnedChildInTheSkinnedClientArea) {
  TForm* Main;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(40, 40, 480, 340);
  Main->SetCaption("Nerivo 主窗口");
  auto* MainEngine = new TbsSkinForm(Main);
  MainEngine->SetSkinData(Skin.get());
  Main->Show();

  auto* Child = new TForm(Application);
  Child->AfterConstruction();
  Child->SetFormStyle(fsMDIChild);
  Child->SetCaption("文件 1");
  Child->SetBounds(30, 20, 220, 150);
  (new TbsSkinForm(Child))->SetSkinData(Skin.get());
  Child->Show();

  // Screen points of the main form's client area and of the child's window.
  const TPoint C0 = Main->ClientToScreen(Point(0, 0));
  auto childPoint = [&](Integer X, Integer Y) {
    RECT R;
    GetWindowRect(Child->Handle(), &R);
    return Point(R.Left + X, R.Top + Y);
  };
  auto shows = [&](TPoint P, COLORREF Want) {
    return PumpUntil([&] { return Reader->Pixel(P.X, P.Y) == Want; });
  };

  // The main form's frame, the client area behind the child painted with the client part of the
  // skin's frame picture (its left-border slice at the top-left), and the child's own skinned frame:
  // corner, left border and caption strip.
  EXPECT_TRUE(shows(Point(Main->Left() + 3, Main->Top() + 3), Frame(0)));
  EXPECT_TRUE(shows(Point(C0.X + 2, C0.Y + 2), Frame(3)));
  EXPECT_TRUE(shows(childPoint(3, 3), Frame(0)));
  EXPECT_TRUE(shows(childPoint(1, 60), Frame(3)));
  EXPECT_TRUE(shows(childPoint(110, 12), Frame(1)));
  // Its client area painted with the skin's background as well (the client part's left border).
  EXPECT_TRUE(shows(childPoint(4 + 2, 24 + 2), Frame(3)));

  // The whole main form, for a person to look at.
  TRect W;
  GetWindowRect(Main->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinforms_mdi_display.png");

  // Dragged past the bottom of the area: the client's skinned vertical bar shows at its right edge.
  Child->SetTop(Main->ClientHeight() - 60);
  TbsSkinScrollBar* V = MainEngine->MDIVScrollBar();
  ASSERT_TRUE(V->Visible());
  const TPoint VMid = V->ClientToScreen(Point(V->Width() / 2, V->Height() / 2));
  EXPECT_TRUE(PumpUntil([&] {
    const COLORREF P = Reader->Pixel(VMid.X, VMid.Y);
    return P != Frame(3) && P != Frame(4);
  })) << "the bar covers the client area's right edge";
}

// Without a skin: a maximized child's caption joins the main form's in the default caption bar.
TEST_F(SkinFormMDIDisplay, TheDefaultCaptionNamesTheMaximizedChild) {
  SetTestFontMode(false);
  TForm* Main;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(40, 40, 480, 300);
  Main->SetCaption("Nerivo");
  auto* MainEngine = new TbsSkinForm(Main);
  Main->Show();
  auto* Child = new TForm(Application);
  Child->AfterConstruction();
  Child->SetFormStyle(fsMDIChild);
  Child->SetCaption("文件 1");
  Child->SetBounds(30, 20, 220, 150);
  auto* ChildEngine = new TbsSkinForm(Child);
  Child->Show();
  ChildEngine->SetWindowState(wsMaximized);

  // The span of dark pixels along the middle of the caption bar, between the buttons.
  auto captionInk = [&] {
    TRect Cap;
    MainEngine->GetDefCaptionRect(Cap);
    const Integer Y = Main->Top() + 3 + MainEngine->GetDefCaptionHeight() / 2;
    Integer First = -1, Last = -1;
    for (Integer X = Main->Left() + Cap.Left; X < Main->Left() + Cap.Right; ++X) {
      const COLORREF P = Reader->Pixel(X, Y);
      if (std::max({GetRValue(P), GetGValue(P), GetBValue(P)}) < 100) {
        if (First < 0) First = X;
        Last = X;
      }
    }
    return Last - First + 1;
  };
  // The same text in the caption font on a plain surface.
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(400, 40);
  B.Canvas()->Brush()->SetColor(clWhite);
  B.Canvas()->FillRect(Rect(0, 0, 400, 40));
  B.Canvas()->Font()->Assign(MainEngine->DefCaptionFont());
  B.Canvas()->Brush()->SetStyle(bsClear);
  const String Want = "Nerivo - [文件 1]";
  B.Canvas()->TextOut(5, 5, Want);
  const Integer WY = 5 + B.Canvas()->TextHeight(Want) / 2;
  Integer First = -1, Last = -1;
  for (Integer X = 0; X < 400; ++X)
    if (GetRValue(ColorToRGB(B.Canvas()->Pixels(X, WY))) < 100) {
      if (First < 0) First = X;
      Last = X;
    }
  ASSERT_GT(Last, First);
  EXPECT_TRUE(PumpUntil([&] { return std::abs(captionInk() - (Last - First + 1)) <= 1; }))
      << captionInk() << " against " << Last - First + 1;
  TRect W;
  GetWindowRect(Main->Handle(), &W);
  x11test::SaveBesideProgram(Reader->Capture(W), "skinforms_mdi_default_display.png");
}

}  // namespace

#endif
