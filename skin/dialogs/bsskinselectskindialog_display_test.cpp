// The skin chooser on a real display, as a person sees it while choosing: the dialog in the caller's
// skin, and beside the list the preview window in the skin of the selected name. The screenshots are
// written beside the test program as skindialogs_selectskin_*.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/lists/bsskinlistbox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/panels/bsskinstdlabel.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/dialogs/bsskinselectskindialog.h"
#include "skin/dialogs/testkit/skindialogstestkit.h"

namespace {

class SelectSkinDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  void SetUp() override {
    TDisplayTest<TSkinControlTest>::SetUp();
    if (IsSkipped()) return;
    const std::pair<const char*, TColor> Skins[] = {{"Teal", clTeal}, {"Purple", clPurple}};
    for (const auto& [Name, Color] : Skins) {
      TbsSkinListItem* Item = List.Skins()->Add();
      Item->SetDescription(Name);
      StoreVariantSkin(Item->Skin(), Name, Color);
    }
    StoreDamagedSkin(List.Skins()->Add()->Skin(), TDamage::NotCompressed);
    List.Skins()->GetItem(2)->SetDescription("Damaged");
    Dialog.SetSkinData(Skin.get());
    Dialog.SetCtrlSkinData(Skin.get());
    Dialog.SetSkinList(&List);
  }

  static COLORREF Rgb(TColor C) { return COLORREF(ColorToRGB(C)); }
  // A window's pixel at a point of its frame (window coordinates), as the screen shows it.
  uint32_t FramePixel(TWinControl* W, Integer X, Integer Y) {
    RECT R;
    GetWindowRect(W->Handle(), &R);
    return Reader->Pixel(R.Left + X, R.Top + Y);
  }
  void ClickEntry(TbsSelectSkinDlgForm* F, Integer Index) {
    Clock().Advance(1000);
    TbsListBox* In = F->SkinsListBox->ListBox;
    const TRect R = In->ItemRect(Index);
    wintest::Click(wintest::ScreenPoint(In->Handle(), R.Left + 5, R.Top + 3));
    WinProcessMessages();
  }

  TbsCompressedSkinList List{nullptr};
  TbsSelectSkinDialog Dialog{nullptr};
};

TEST_F(SelectSkinDisplay, ThePreviewWearsTheSecondSkinWhileTheDialogKeepsItsOwn) {
  const COLORREF DialogFrame = COLORREF(GeneratedSkinSliceColor(63, 0, 0));
  bool Painted = false;
  uint32_t PreviewCorner = 0, DialogCorner = 0, SampleFace = 0;
  wintest::OnNextModalLoop([&] {
    TbsSelectSkinDlgForm* F = Dialog.DlgFrm();
    ASSERT_NE(F, nullptr);
    ClickEntry(F, 1);
    Painted = PumpUntil([&] { return FramePixel(F->PreviewForm, 3, 3) == Rgb(clPurple); });
    PreviewCorner = FramePixel(F->PreviewForm, 3, 3);
    DialogCorner = FramePixel(F, 3, 3);
    SampleFace = ScreenAt(F->PreviewButton, 1, F->PreviewButton->Height() / 2);
    EXPECT_TRUE(SaveWindowShot(F->Handle(), "skindialogs_selectskin_preview.png"));
    wintest::KeyPress(VK_RETURN);
  });
  EXPECT_TRUE(Dialog.Execute(0));
  EXPECT_EQ(Dialog.SelectedSkinIndex(), 1);
  EXPECT_TRUE(Painted) << "the preview's frame in the second skin";
  EXPECT_EQ(DialogCorner, DialogFrame) << "the dialog's frame in the caller's skin";
  EXPECT_NE(PreviewCorner, DialogCorner);
  EXPECT_EQ(SampleFace, SliceColor("button", 0, 3)) << "the sample button drawn by the preview skin";
}

TEST_F(SelectSkinDisplay, ADamagedSkinShowsTheDefaultFrameAndItsText) {
  bool Painted = false;
  bool TextDrawn = false;
  uint32_t OkFace = 0, OkFaceBefore = 0;
  wintest::OnNextModalLoop([&] {
    TbsSelectSkinDlgForm* F = Dialog.DlgFrm();
    PumpUntil([&] { return FramePixel(F->PreviewForm, 3, 3) == Rgb(clTeal); });
    OkFaceBefore = ScreenAt(F->OpenButton, 1, F->OpenButton->Height() / 2);
    ClickEntry(F, 2);
    // The preview goes back to the plain frame: neither the last skin's colour nor the dialog's.
    Painted = PumpUntil([&] {
      const uint32_t C = FramePixel(F->PreviewForm, 3, 3);
      return C != Rgb(clTeal) && C != COLORREF(GeneratedSkinSliceColor(63, 0, 0)) &&
             !F->PreviewButton->Visible();
    });
    OkFace = ScreenAt(F->OpenButton, 1, F->OpenButton->Height() / 2);
    TextDrawn = PumpUntil([&] {
      // Somewhere in the first line of text a glyph stands out from the window's face.
      const uint32_t Face = ScreenAt(F->PreviewForm, 2, 2);
      for (Integer Y = 2; Y < 12; ++Y)
        for (Integer X = 0; X < F->PreviewMessage->Width(); ++X)
          if (ScreenAt(F->PreviewMessage, X, Y) != Face) return true;
      return false;
    });
    EXPECT_TRUE(SaveWindowShot(F->Handle(), "skindialogs_selectskin_damaged.png"));
    wintest::KeyPress(VK_ESCAPE);
  });
  EXPECT_FALSE(Dialog.Execute(0));
  EXPECT_TRUE(Painted);
  EXPECT_TRUE(TextDrawn) << "the preview says why it is empty";
  EXPECT_EQ(OkFace, SliceColor("button", 3, 3)) << "OK in the skin's disabled look";
  EXPECT_NE(OkFace, OkFaceBefore);
}

}  // namespace

#endif
