// A skinned form on a real display: mapped undecorated in its shape, its frame and caption buttons
// from the generated skin, dragged by its caption through the in-process move loop (which grabs the
// pointer), and repainted inactive and active as the focus moves. The screenshot is written beside
// the test program as skinforms_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/forms/frame/bsskinobjects.h"

namespace {

class SkinFormDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  // Waits until the screen shows Want at a window point of F (frame included).
  bool Shows(TForm* F, Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return Reader->Pixel(F->Left() + X, F->Top() + Y) == Want; });
  }
  static COLORREF Frame(int Slice) { return COLORREF(GeneratedSkinSliceColor(63, 0, Slice)); }
  static COLORREF CloseButton(int State) { return COLORREF(GeneratedSkinSliceColor(62 - 3, State, 4)); }
};

TEST_F(SkinFormDisplay, SkinnedFrameMovesAndFollowsTheFocus) {
  // A mask that cuts the top-left corner pixel, so the shape shows on the screen.
  auto Mask = std::make_unique<TBitmap>();
  Mask->SetPixelFormat(pf24bit);
  Mask->SetSize(200, 120);
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, 200, 120));
  Mask->Canvas()->Brush()->SetColor(clWhite);
  Mask->Canvas()->FillRect(Rect(0, 0, 3, 3));
  Skin->FMask = std::move(Mask);

  TForm* Back;
  Application->CreateForm(Back);
  Back->SetBounds(600, 500, 120, 80);
  Back->SetColor(clWhite);
  Back->SetBorderStyle(bsNone);
  Back->Show();
  ASSERT_TRUE(PumpUntil([&] { return Reader->Pixel(605, 505) == 0xFFFFFFu; }));
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(60, 50, 320, 200);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo 转换器");
  auto* Engine = new TbsSkinForm(F);
  Engine->SetSkinData(Skin.get());
  F->Show();
  F->SetFocus();

  // The frame picture's slices around the client area, the shape's cut corner showing what is
  // behind, the close button packed at the right of the caption.
  const TRect Close = Engine->Objects(Engine->GetIndex("closebutton"))->ObjectRect;
  const TPoint CloseMid{(Close.Left + Close.Right) / 2, (Close.Top + Close.Bottom) / 2};
  ASSERT_TRUE(Shows(F, 3, 3, Frame(0)));
  EXPECT_EQ(Reader->Pixel(F->Left() + 1, F->Top() + 1), 0u) << "outside the shape: the screen behind";
  EXPECT_EQ(Reader->Pixel(F->Left() + 1, F->Top() + 100), Frame(3));
  EXPECT_EQ(Reader->Pixel(F->Left() + 318, F->Top() + 198), Frame(8));
  EXPECT_TRUE(Shows(F, CloseMid.X, CloseMid.Y, CloseButton(0)));

  // The whole window, for a person to look at.
  TRect W;
  GetWindowRect(F->Handle(), &W);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinforms_display.png");

  // Dragging the caption: the loop holds the capture (the pointer grab) while it runs and lets it go.
  HWND Captured = nullptr;
  wintest::OnNextModalLoop([&] {
    Captured = GetCapture();
    wintest::MouseMove({F->Left() + 140, F->Top() + 50});
    wintest::MouseUp({F->Left() + 140, F->Top() + 50});
  });
  wintest::MouseDown({F->Left() + 100, F->Top() + 12});
  EXPECT_EQ(Captured, F->Handle());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(F->BoundsRect(), Bounds(100, 88, 320, 200));
  EXPECT_TRUE(Shows(F, 3, 3, Frame(0))) << "the frame is drawn at the new place";

  // The focus goes to the other (small, apart) form: the caption buttons turn inactive; back, active again.
  Back->SetFocus();
  EXPECT_TRUE(Shows(F, CloseMid.X, CloseMid.Y, CloseButton(3)));
  F->SetFocus();
  EXPECT_TRUE(Shows(F, CloseMid.X, CloseMid.Y, CloseButton(0)));
}

}  // namespace

#endif
