// The settings dialog on a real display, shown once under the generated skin (the program itself
// never shows it): the skinned frame, the upper panel with the category and format choosers, the
// preset page and the procedure panel. The format chooser's entries read as two lines, a bold title
// over its description, in the closed box and in its dropped-down list. The screenshot (window and
// open list) is written beside the test program as settingsdialog_display.png, the window alone as
// settingsdialog_window.png.
#if NERIVO_X11_TESTS

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/settingsdialog/form6.h"
#include "app/settingsdialog/testkit/settingshost.h"
#include "platform/ui/testkit/displaytest.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/boxes/office/bsskinofficelistbox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

class SettingsDialogDisplay : public TDisplayTest<TSkinControlTest> {
 protected:
  // The window is wider than the kit's usual screen.
  static void SetUpTestSuite() { Server = new x11test::TXvfb("1280x800x24"); }
  // The client pixels of R in a control, row by row.
  std::vector<std::vector<uint32_t>> pixels(TControl* C, const TRect& R) {
    std::vector<std::vector<uint32_t>> Rows;
    for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
      Rows.emplace_back();
      for (Integer X = R.Left; X < R.Right; ++X) Rows.back().push_back(ScreenAt(C, X, Y));
    }
    return Rows;
  }
  // Bands of consecutive rows in which Shown differs from Ground: one band per line of text.
  static std::vector<std::pair<Integer, Integer>> textBands(
      const std::vector<std::vector<uint32_t>>& Shown,
      const std::function<bool(Integer, Integer, uint32_t)>& IsGround) {
    std::vector<std::pair<Integer, Integer>> Bands;
    for (Integer Y = 0; Y < Integer(Shown.size()); ++Y) {
      bool Ink = false;
      for (Integer X = 0; X < Integer(Shown[Y].size()) && !Ink; ++X) Ink = !IsGround(X, Y, Shown[Y][X]);
      if (!Ink) continue;
      if (!Bands.empty() && Bands.back().second == Y - 1)
        Bands.back().second = Y;
      else
        Bands.emplace_back(Y, Y);
    }
    return Bands;
  }
  // Whether the band's rows hold a run of at least two ink pixels side by side (bold strokes).
  static bool tallEnough(const std::pair<Integer, Integer>& Band) { return Band.second - Band.first >= 6; }
};

TEST_F(SettingsDialogDisplay, TheDialogShowsItsChoosersAndTwoLineFormatEntries) {
  TJobParameters P;
  settingstest::TJobParametersHost Host(P, Skin.get(), "/out");
  auto* F = new TForm6(Application, Host);
  F->SetPosition(poDesigned);
  F->SetLeft(10);
  F->SetTop(10);
  F->Show();
  TbsSkinOfficeComboBox* Formats = F->bsSkinOfficeComboBox1;
  ASSERT_TRUE(PumpUntil([&] {
    return ScreenAt(F->bsSkinButton2, 1, F->bsSkinButton2->Height() / 2) == SliceColor("button", 0, 3);
  }));

  {
    TRect W;
    GetWindowRect(F->Handle(), &W);
    TRawImage Shot = Reader->Capture(W);
    ASSERT_FALSE(Shot.Empty());
    x11test::SaveBesideProgram(Shot, "settingsdialog_window.png");
  }
  // The closed chooser: the selected entry's title over its description, left of the arrow.
  // What the entry adds to the box: the box with the entry, against the box without a selection.
  const TRect Area = Rect(2, 2, Formats->Width() - 17, Formats->Height() - 2);
  const auto WithEntry = pixels(Formats, Area);
  Formats->SetItemIndex(-1);
  ASSERT_TRUE(PumpUntil([&] { return pixels(Formats, Area) != WithEntry; }));
  const auto Empty = pixels(Formats, Area);
  Formats->SetItemIndex(0);
  ASSERT_TRUE(PumpUntil([&] { return pixels(Formats, Area) == WithEntry; }));
  auto Lines = textBands(WithEntry, [&](Integer X, Integer Y, uint32_t C) { return Empty[Y][X] == C; });
  ASSERT_GE(Lines.size(), 2u) << "title and description";
  EXPECT_TRUE(tallEnough(Lines[0]));
  EXPECT_TRUE(tallEnough(Lines[1]));
  EXPECT_LT(Lines[0].second, Lines[1].first);

  // The dropped-down list: each entry a bold title and a description in its 60-pixel row.
  Formats->DropDown();
  TbsPopupOfficeListBox* Drop = Formats->ListBox();
  ASSERT_TRUE(
      PumpUntil([&] { return Drop->Visible() && ScreenAt(Drop, 1, 1) == SliceColor("listbox", 0, 0); }));
  const TRect Row = Drop->Items()->Items(1)->ItemRect;
  EXPECT_EQ(Row.Height(), 60);
  const uint32_t RowGround = ScreenAt(Drop, Row.Right - 4, Row.Top + Row.Height() / 2);
  auto RowLines = textBands(pixels(Drop, Rect(Row.Left + 2, Row.Top + 2, Row.Right - 6, Row.Bottom - 3)),
                            [&](Integer, Integer, uint32_t C) { return C == RowGround; });
  ASSERT_GE(RowLines.size(), 2u) << "title and description in the list";
  EXPECT_TRUE(tallEnough(RowLines[0]));
  EXPECT_TRUE(tallEnough(RowLines[1]));

  TRect W, D;
  GetWindowRect(F->Handle(), &W);
  GetWindowRect(Drop->Handle(), &D);
  UnionRect(&W, &W, &D);
  TRawImage Shot = Reader->Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, "settingsdialog_display.png");
  Formats->CloseUp(false);
}

}  // namespace

#endif
