// The skinned list box on a real display: a captioned list box under the generated skin with a selected,
// focused item and its vertical skinned scroll bar, mapped on a private X server; what the screen shows
// is read back. The screenshot is written beside the test program as skinlistbox_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/boxes/lists/liststestskin.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinListBoxDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  bool Shows(TControl* C, Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return ScreenAt(C, X, Y) == Want; });
  }
};

TEST_F(SkinListBoxDisplay, CaptionedListShowsSelectionAndScrollBar) {
  UseThreeSliceScrollBars(Skin.get());
  TbsDataSkinListBox* R = UseCaptionedListElement(Skin.get());
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 300, 220);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* L = new TbsSkinListBox(F);
  L->SetBounds(10, 10, 240, 160);
  L->SetParent(F);
  L->SetCaptionMode(true);
  L->SetCaption("输出 Files");
  L->SetSkinData(Skin.get());
  for (Integer i = 0; i < 12; ++i) L->Items()->Add("Item " + std::to_string(i));
  F->Show();
  L->ListBox->SetFocus();
  L->SetItemIndex(1);
  L->ListBox->Invalidate();

  ASSERT_NE(L->ScrollBar, nullptr);
  ASSERT_TRUE(L->ScrollBar->Visible());
  TbsListBox* In = L->ListBox;
  // The selected and focused item shows the focused item picture, the others the normal one.
  // X lies in the middle slice of both the tiled and the stretched item picture.
  const Integer X = 110;
  ASSERT_EQ(In->Width(), 180);
  EXPECT_TRUE(Shows(In, X, 24 + 12, SliceColor("listbox", 4, 4))) << std::hex << ScreenAt(In, X, 24 + 12);
  EXPECT_EQ(ScreenAt(In, X, 12), SliceColor("listbox", 1, 4));
  // The skinned bar stands right of the list, inside the element's client part.
  EXPECT_EQ(L->ScrollBar->Left(), In->Left() + In->Width());
  EXPECT_EQ(L->ScrollBar->Top(), R->ClRect.Top);
  EXPECT_NE(ScreenAt(L->ScrollBar, L->ScrollBar->Width() / 2, L->ScrollBar->Height() / 2), 0xFFFFFFu);
  // The caption text in the element's caption colour.
  bool Red = false;
  for (Integer x = 4; x < 60 && !Red; ++x)
    for (Integer y = 2; y < 22 && !Red; ++y) Red = ScreenAt(L, x, y) == COLORREF(ColorToRGB(clRed));
  EXPECT_TRUE(Red);
  // The up button's normal picture at its place moved with the width.
  const TRect& Up = L->Buttons[0].R;
  EXPECT_EQ(ScreenAt(L, Up.Left + 3, Up.Top + 5),
            COLORREF(L->Picture->Canvas()->Pixels(R->SkinRect.Left + R->UpButtonRect.Left + 3,
                                                  R->SkinRect.Top + R->UpButtonRect.Top + 5)));

  TRect WR;
  GetWindowRect(F->Handle(), &WR);
  TRawImage Shot = Reader->Capture(WR);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "skinlistbox_display.png");
}

}  // namespace

#endif
