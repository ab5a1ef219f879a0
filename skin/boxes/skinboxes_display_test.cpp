// The skinned edit boxes on a real display: a form with a focused skinned edit whose text is partly
// selected and an unskinned edit with its edit button, under the generated skin, mapped on a private
// X server; what the screen shows is read back. The screenshot is written beside the test program as
// skinboxes_display.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gdi/font.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/edits/bsskinedit.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SkinBoxesDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  bool Shows(TControl* C, Integer X, Integer Y, COLORREF Want) {
    return PumpUntil([&] { return ScreenAt(C, X, Y) == Want; });
  }
};

TEST_F(SkinBoxesDisplay, SkinnedEditShowsItsFrameBackgroundAndSelection) {
  TForm* F;
  Application->CreateForm(F);
  F->SetBounds(40, 30, 360, 160);
  F->SetColor(clWhite);
  F->SetCaption("Nerivo");
  auto* Edit = NewControl<TbsSkinEdit>(F, Bounds(10, 10, 300, 20));
  Edit->SetSkinData(Skin.get());
  Edit->SetText("输出 folder");
  auto* Plain = NewControl<TbsSkinEdit>(F, Bounds(10, 60, 200, 20));
  Plain->SetButtonMode(true);
  Plain->SetText("plain");
  F->Show();
  Edit->SetFocus();
  Edit->SetSelStart(0);
  Edit->SetSelLength(2);

  const Integer W = Edit->Width();
  // Focused: the element's active picture; its right half of the text area is empty background.
  const TPoint Origin = Edit->ClientToScreen({0, 0});
  RECT WR;
  GetWindowRect(Edit->Handle(), &WR);
  const Integer Dx = WR.Left - Origin.X, Dy = WR.Top - Origin.Y;  // window corner in client terms
  ASSERT_TRUE(Shows(Edit, Edit->ClientWidth() - 3, Edit->ClientHeight() / 2, SliceColor("edit", 1, 4)));
  EXPECT_EQ(ScreenAt(Edit, Dx, Dy), SliceColor("edit", 1, 0));
  EXPECT_EQ(ScreenAt(Edit, Dx + W - 1, Dy), SliceColor("edit", 1, 2));
  // The selected characters show in the highlight colour.
  bool Highlight = false;
  for (Integer X = 0; X < 20 && !Highlight; ++X)
    for (Integer Y = 0; Y < Edit->ClientHeight() && !Highlight; ++Y)
      Highlight = ScreenAt(Edit, X, Y) == COLORREF(ColorToRGB(clHighlight));
  EXPECT_TRUE(Highlight);
  // The unskinned box: shadow ring and the resting edit button.
  const Integer PW = Plain->Width(), PH = Plain->Height();
  EXPECT_EQ(ScreenAt(Plain, -2, 3), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(ScreenAt(Plain, PW - PH / 2 - 2, PH / 2 - 2), COLORREF(ColorToRGB(clBtnFace)));

  TRect R;
  GetWindowRect(F->Handle(), &R);
  TRawImage Shot = Reader->Capture(R);
  ASSERT_FALSE(Shot.Empty());
  std::vector<Byte> Png = EncodePng(Shot);
  const auto Path = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "skinboxes_display.png";
  std::ofstream(Path, std::ios::binary)
      .write(reinterpret_cast<const char*>(Png.data()), std::streamsize(Png.size()));
}

}  // namespace

#endif
