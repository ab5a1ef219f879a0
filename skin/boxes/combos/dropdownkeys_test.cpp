// The keys of an open drop-down on a dialog with a default and a cancel button, for each kind of
// combo box: the open list takes Enter and Esc for itself (they close it, committing or not) and the
// arrows, Home and End move its highlight, while the dialog stays open; with the list closed the
// dialog's buttons have Enter and Esc again.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "skin/boxes/combos/bsskincombobox.h"
#include "skin/boxes/office/bsskinofficecombobox.h"
#include "skin/controls/buttons/bsskinbutton.h"
#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

constexpr Integer ItemCount = 15;
constexpr Integer Start = 3;

// One kind of combo box as the test drives it.
struct TComboKind {
  const char* Name;
  std::function<TWinControl*(TForm* Form, Integer& Changes)> Make;
  std::function<void(TWinControl* C)> Open;
  std::function<bool(TWinControl* C)> IsOpen;
  std::function<Integer(TWinControl* C)> Highlighted;  // the list's selection
  std::function<Integer(TWinControl* C)> Shown;        // what the closed control shows
};

template <class TCombo>
TCombo* placeCombo(TForm* Form) {
  auto* C = new TCombo(Form);
  C->SetBounds(20, 20, 160, 24);
  C->SetParent(Form);
  return C;
}

TbsSkinComboBox* skinCombo(TForm* Form, Integer& Changes, TbsSkinCustomComboBoxStyle Style) {
  auto* C = placeCombo<TbsSkinComboBox>(Form);
  C->SetStyle(Style);
  for (Integer I = 0; I < ItemCount; ++I) C->Items()->Add("Preset " + std::to_string(I));
  C->SetItemIndex(Start);
  C->OnChange = [&Changes](TObject*) { ++Changes; };
  return C;
}

template <class TCombo>
TComboKind kindOf(const char* Name, std::function<TWinControl*(TForm*, Integer&)> Make,
                  std::function<Integer(TCombo*)> Shown) {
  return TComboKind{Name,
                    Make,
                    [](TWinControl* C) { static_cast<TCombo*>(C)->DropDown(); },
                    [](TWinControl* C) { return static_cast<TCombo*>(C)->IsPopupVisible(); },
                    [](TWinControl* C) { return static_cast<TCombo*>(C)->ListBox()->ItemIndex(); },
                    [Shown](TWinControl* C) { return Shown(static_cast<TCombo*>(C)); }};
}

std::vector<TComboKind> kinds() {
  return {
      kindOf<TbsSkinComboBox>(
          "skinned combo box",
          [](TForm* F, Integer& Changes) { return skinCombo(F, Changes, bscbFixedStyle); },
          [](TbsSkinComboBox* C) { return C->Items()->IndexOf(C->Text()); }),
      kindOf<TbsSkinComboBox>(
          "skinned combo box with an edit",
          [](TForm* F, Integer& Changes) { return skinCombo(F, Changes, bscbEditStyle); },
          [](TbsSkinComboBox* C) { return C->Items()->IndexOf(C->Text()); }),
      kindOf<TbsSkinOfficeComboBox>(
          "office combo box",
          [](TForm* F, Integer& Changes) -> TWinControl* {
            auto* C = placeCombo<TbsSkinOfficeComboBox>(F);
            for (Integer I = 0; I < ItemCount; ++I)
              C->Items()->Add()->SetCaption("Format " + std::to_string(I));
            C->SetItemIndex(Start);
            C->OnChange = [&Changes](TObject*) { ++Changes; };
            return C;
          },
          // Closed, the control shows the list's index.
          [](TbsSkinOfficeComboBox* C) { return C->IsPopupVisible() ? -2 : C->ItemIndex(); }),
  };
}

struct TKeyCase {
  const char* Name;
  bool OpenFirst;
  std::vector<Word> Keys;
  bool OpenAfter;
  Integer Highlight;  // the list's selection afterwards
  Integer Changes;    // OnChange of the combo box
  Integer DefaultClicks, CancelClicks;
};

const TKeyCase KeyCases[] = {
    {"Down moves the highlight", true, {VK_DOWN}, true, Start + 1, 0, 0, 0},
    {"Up moves the highlight", true, {VK_UP}, true, Start - 1, 0, 0, 0},
    {"Home goes to the first", true, {VK_HOME}, true, 0, 0, 0, 0},
    {"End goes to the last", true, {VK_END}, true, ItemCount - 1, 0, 0, 0},
    {"Enter commits the highlight", true, {VK_DOWN, VK_DOWN, VK_RETURN}, false, Start + 2, 1, 0, 0},
    {"Esc gives up the highlight", true, {VK_DOWN, VK_DOWN, VK_ESCAPE}, false, Start, 0, 0, 0},
    {"End then Enter commits the last", true, {VK_END, VK_RETURN}, false, ItemCount - 1, 1, 0, 0},
    {"closed, Enter is the dialog's", false, {VK_RETURN}, false, Start, 0, 1, 0},
    {"closed, Esc is the dialog's", false, {VK_ESCAPE}, false, Start, 0, 0, 1},
};

class DropDownKeys : public TSkinControlTest {};

TEST_F(DropDownKeys, AnOpenListTakesItsKeysAndTheDialogStays) {
  for (const TComboKind& Kind : kinds()) {
    for (const TKeyCase& Case : KeyCases) {
      SCOPED_TRACE(String(Kind.Name) + ": " + Case.Name);
      TForm* F = NewForm();
      Integer Changes = 0, DefaultClicks = 0, CancelClicks = 0;
      TWinControl* C = Kind.Make(F, Changes);
      auto* Ok = new TbsSkinButton(F);
      Ok->SetBounds(20, 200, 80, 28);
      Ok->SetParent(F);
      Ok->SetDefault(true);
      Ok->OnClick = [&](TObject*) { ++DefaultClicks; };
      auto* Cancel = new TbsSkinButton(F);
      Cancel->SetBounds(110, 200, 80, 28);
      Cancel->SetParent(F);
      Cancel->SetCancel(true);
      Cancel->OnClick = [&](TObject*) { ++CancelClicks; };
      C->SetFocus();
      if (Case.OpenFirst) Kind.Open(C);
      ASSERT_EQ(Kind.IsOpen(C), Case.OpenFirst);
      Changes = 0;
      for (Word Key : Case.Keys) wintest::KeyPress(Key);
      EXPECT_EQ(Kind.IsOpen(C), Case.OpenAfter);
      EXPECT_EQ(Kind.Highlighted(C), Case.Highlight);
      EXPECT_EQ(Changes, Case.Changes);
      EXPECT_EQ(DefaultClicks, Case.DefaultClicks);
      EXPECT_EQ(CancelClicks, Case.CancelClicks);
      // While it is open the closed control keeps showing what was chosen before; after it closed,
      // what was committed.
      if (!Case.OpenAfter) {
        EXPECT_EQ(Kind.Shown(C), Case.Highlight);
      }
      F->Release();
      wintest::Pump();
    }
  }
}

}  // namespace
