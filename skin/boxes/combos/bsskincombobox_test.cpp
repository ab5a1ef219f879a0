#include "skin/boxes/combos/bsskincombobox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "skin/boxes/combos/combobox_test_util.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bssystem.h"

namespace {

using Events = std::vector<String>;

void typeLetter(char C) {
  wintest::KeyPress(Word(std::toupper(C)), DWORD(C));
}

class SkinCombo : public TComboTest<TbsSkinComboBox> {
 protected:
  // A combo box at Bounds on a form with Count items "Preset i", every event logged.
  TbsSkinComboBox* NewCombo(Integer Count, TRect Bounds = Rect(20, 20, 140, 40)) {
    Form = NewForm();
    auto* C = NewControl<TbsSkinComboBox>(Form, Bounds);
    for (Integer i = 0; i < Count; ++i) C->Items()->Add("Preset " + std::to_string(i));
    bindLog(C);
    return C;
  }
  void bindLog(TbsSkinComboBox* C) {
    C->OnClick = [this](TObject*) { Log.push_back("click"); };
    C->OnChange = [this, C](TObject*) { Log.push_back("change:" + C->Text()); };
    C->OnCloseUp = [this](TObject*) { Log.push_back("closeup"); };
    C->OnDropDown = [this](TObject*) { Log.push_back("dropdown"); };
  }
  // A skinned combo box of Count items on a new form; UseSkinSize off lets it take any height.
  TbsSkinComboBox* SkinnedCombo(Integer Count, bool UseSkinSize, TRect Bounds = Rect(20, 20, 160, 60)) {
    TbsSkinComboBox* C = NewCombo(Count, Bounds);
    C->SetUseSkinSize(UseSkinSize);
    C->SetSkinData(Skin.get());
    wintest::Pump();
    return C;
  }
  // Hides an element from name look-ups, as a skin without it.
  void DropElement(const String& Name) { Skin->Ctrls(Skin->GetControlIndex(Name))->IDName = "-" + Name; }
  // Whether some pixel of R on C (control coordinates) has exactly Color.
  static bool Shows(TControl* C, const TRect& R, TColor Color) {
    for (Integer X = R.Left; X < R.Right; ++X)
      for (Integer Y = R.Top; Y < R.Bottom; ++Y)
        if (PixelOf(C, X, Y) == COLORREF(ColorToRGB(Color))) return true;
    return false;
  }
  // The middle of row I of the open list, in screen coordinates.
  static TPoint Row(TbsSkinComboBox* C, Integer I) {
    TbsListBox* L = C->ListBox()->ListBox;
    const TRect R = L->ItemRect(I);
    return At(L, 20, R.Top + R.Height() / 2);
  }
};

// Records what Change (the descendants' hook) sees, beside the events.
class TChangeRecordingCombo : public TbsSkinComboBox {
 public:
  using TbsSkinComboBox::TbsSkinComboBox;
  void Change() override {
    if (Log) Log->push_back("Change");
  }
  Events* Log = nullptr;
};

TEST_F(SkinCombo, Defaults) {
  TbsSkinComboBox C(nullptr);
  EXPECT_EQ(C.Width(), 120);
  EXPECT_EQ(C.Height(), 20);
  EXPECT_EQ(C.SkinDataName(), "combobox");
  EXPECT_EQ(C.Style(), bscbFixedStyle);
  EXPECT_EQ(C.DropDownCount(), 8);
  EXPECT_TRUE(C.UseSkinSize());
  EXPECT_TRUE(C.HideSelection());
  EXPECT_TRUE(C.AutoComplete());
  EXPECT_FALSE(C.AlphaBlend());
  EXPECT_FALSE(C.AlphaBlendAnimation());
  EXPECT_EQ(C.AlphaBlendValue(), 0);
  EXPECT_FALSE(C.ToolButtonStyle());
  EXPECT_EQ(C.DefaultColor(), clWindow);
  EXPECT_EQ(C.ListBoxWidth(), 0);
  EXPECT_TRUE(C.TabStop());
  EXPECT_EQ(C.Font()->Name(), "Tahoma");
  EXPECT_EQ(C.Font()->Height(), 13);
  EXPECT_EQ(C.ControlStyle(),
            (TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable}));
  EXPECT_EQ(C.ItemIndex(), -1);
  EXPECT_FALSE(C.ListBox()->ListBox->TabStop());
  EXPECT_FALSE(C.IsPopupVisible());
  EXPECT_EQ(C.DropButton().R, Rect(101, 0, 120, 20));
  EXPECT_EQ(C.ItemArea().R, Rect(2, 2, 100, 18));
  C.SetDropDownCount(0);
  EXPECT_EQ(C.DropDownCount(), 8);
}

TEST_F(SkinCombo, ItemIndexEventOrderFiresOnChangeOnlyForANewText) {
  Form = NewForm();
  auto* C = NewControl<TChangeRecordingCombo>(Form, Rect(20, 20, 140, 40));
  C->Log = &Log;
  for (const char* S : {"Fast", "Good", "Fast"}) C->Items()->Add(S);
  bindLog(C);
  const struct {
    Integer Index;
    Events Expected;
    String Text;
  } Cases[] = {
      {0, {"change:Fast", "click", "Change"}, "Fast"},
      {0, {"click", "Change"}, "Fast"},  // same index: no text change
      {2, {"click", "Change"}, "Fast"},  // another item with the same text
      {1, {"change:Good", "click", "Change"}, "Good"},
      {-1, {"click", "Change"}, "Good"},  // no selection, the text stays
      {7, {"click", "Change"}, "Good"},   // rejected by the list: like -1
  };
  for (const auto& Case : Cases) {
    Log.clear();
    C->SetItemIndex(Case.Index);
    EXPECT_EQ(Log, Case.Expected) << Case.Index;
    EXPECT_EQ(C->Text(), Case.Text) << Case.Index;
  }
  EXPECT_EQ(C->ItemIndex(), -1);
}

TEST_F(SkinCombo, ClearingKeepsTheTextSoARefillToTheSameTextIsQuiet) {
  TbsSkinComboBox* C = NewCombo(3);
  C->SetItemIndex(1);
  C->Items()->Clear();
  EXPECT_EQ(C->Text(), "Preset 1");
  EXPECT_EQ(C->ItemIndex(), -1);
  for (Integer i = 0; i < 3; ++i) C->Items()->Add("Preset " + std::to_string(i));
  Log.clear();
  C->SetItemIndex(1);
  EXPECT_EQ(Log, (Events{"click"}));
  C->SetItemIndex(2);
  EXPECT_EQ(Log, (Events{"click", "change:Preset 2", "click"}));
}

TEST_F(SkinCombo, LoadingKeepsOnClickAndChangeSilentButNotOnChange) {
  Form = NewForm();
  auto* C = new TChangeRecordingCombo(Form);
  C->Log = &Log;
  C->BeginLoading();
  C->SetParent(Form);
  C->Items()->Add("A");
  C->Items()->Add("B");
  bindLog(C);
  C->SetItemIndex(1);
  EXPECT_EQ(Log, (Events{"change:B"}));
  C->EndLoading();
}

TEST_F(SkinCombo, DropDownSizeAndPlacementNearTheWorkAreasBottom) {
  TbsSkinComboBox* C = NewCombo(3);
  C->SetItemIndex(1);
  Log.clear();
  C->DropDown();
  ASSERT_TRUE(C->IsPopupVisible());
  EXPECT_EQ(Log, (Events{"dropdown"}));
  TbsPopupListBox* L = C->ListBox();
  EXPECT_EQ(L->RowCount(), 3);  // three items, DropDownCount 8
  const TRect Control = ScreenRectOf(C);
  TRect List = ScreenRectOf(L);
  EXPECT_EQ(List.Left, Control.Left);
  EXPECT_EQ(List.Top, Control.Bottom);
  EXPECT_EQ(List.Width(), Control.Width());
  EXPECT_EQ(List.Height(), L->CalcHeight(3));
  // A pop-up of its own that never activates.
  EXPECT_TRUE(GetWindowLongPtr(L->Handle(), GWL_STYLE) & WS_POPUP);
  EXPECT_EQ(L->Perform(WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
  C->CloseUp(false);
  EXPECT_FALSE(C->IsPopupVisible());

  // Exactly fitting still opens below; one pixel less opens above.
  SetWorkAreaBottom(Control.Bottom + List.Height());
  C->DropDown();
  EXPECT_EQ(ScreenRectOf(L).Top, Control.Bottom);
  C->CloseUp(false);
  SetWorkAreaBottom(Control.Bottom + List.Height() - 1);
  C->SetListBoxWidth(200);
  C->DropDown();
  List = ScreenRectOf(L);
  EXPECT_EQ(List.Bottom, Control.Top);
  EXPECT_EQ(List.Width(), 200);
  C->CloseUp(false);

  for (Integer i = 3; i < 20; ++i) C->Items()->Add("Preset " + std::to_string(i));
  C->DropDown();
  EXPECT_EQ(L->RowCount(), 8);
}

TEST_F(SkinCombo, AnEmptyListNeverDropsDownButPageKeysStillFire) {
  TbsSkinComboBox* C = NewCombo(0);
  C->DropDown();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_TRUE(Log.empty());
  C->SetFocus();
  wintest::KeyPress(VK_DOWN);
  wintest::KeyPress(VK_UP);
  C->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_TRUE(Log.empty());
  wintest::KeyPress(VK_NEXT);
  EXPECT_EQ(Log, (Events{"click"}));
  EXPECT_EQ(C->ItemIndex(), -1);
}

TEST_F(SkinCombo, PressDragReleasePicksAnItem) {
  TbsSkinComboBox* C = NewCombo(5);
  pressToOpen(C, 0);
  ASSERT_TRUE(C->IsPopupVisible());
  wintest::MouseMove(Row(C, 2));
  EXPECT_EQ(C->ItemIndex(), 2);  // the highlight follows the pointer
  wintest::MouseUp(Row(C, 2));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 2);
  EXPECT_EQ(Log, (Events{"dropdown", "change:Preset 2", "click", "closeup"}));
}

TEST_F(SkinCombo, PressOnTheButtonAndReleaseWithoutEnteringTheListLeavesItOpen) {
  TbsSkinComboBox* C = NewCombo(5);
  wintest::MouseMove(At(C, 110, 10));
  EXPECT_TRUE(C->DropButton().MouseIn);
  wintest::Click(At(C, 110, 10));
  EXPECT_TRUE(C->IsPopupVisible());
  // A second press on the button closes it without a pick.
  Log.clear();
  wintest::Click(At(C, 110, 10));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(Log, (Events{"closeup"}));
}

TEST_F(SkinCombo, ClickThenClickPicksAnItem) {
  TbsSkinComboBox* C = NewCombo(5);
  wintest::Click(At(C, 10, 10));
  ASSERT_TRUE(C->IsPopupVisible());
  wintest::MouseMove(Row(C, 3));
  Log.clear();
  wintest::Click(Row(C, 3));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 3);
  EXPECT_EQ(Log, (Events{"change:Preset 3", "click", "closeup"}));
}

TEST_F(SkinCombo, ReleasingOutsideTheListCancels) {
  TbsSkinComboBox* C = NewCombo(5);
  C->SetItemIndex(1);
  wintest::MouseDown(At(C, 10, 10));
  wintest::MouseMove(Row(C, 3));
  Log.clear();
  wintest::MouseUp(At(Form, 390, 250));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(C->Text(), "Preset 1");
  EXPECT_EQ(Log, (Events{"closeup"}));
}

TEST_F(SkinCombo, EscapeRestoresTheIndexOfTheOpeningAndTheClosedControlKeepsShowingIt) {
  TbsSkinComboBox* C = NewCombo(5);
  C->SetItemIndex(1);
  C->SetFocus();
  wintest::Click(At(C, 10, 10));
  wintest::MouseMove(Row(C, 4));
  EXPECT_EQ(C->ItemIndex(), 4);
  EXPECT_EQ(C->Text(), "Preset 1");
  Log.clear();
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(C->Text(), "Preset 1");
  EXPECT_EQ(Log, (Events{"closeup"}));

  // An arrow key while open only moves the list's highlight; Enter accepts it.
  wintest::Click(At(C, 10, 10));
  Log.clear();
  wintest::KeyPress(VK_DOWN);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(C->ItemIndex(), 2);
  EXPECT_EQ(C->Text(), "Preset 1");
  wintest::KeyPress(VK_RETURN);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(Log, (Events{"change:Preset 2", "click", "closeup"}));
}

TEST_F(SkinCombo, KeysOfTheFixedStyle) {
  TbsSkinComboBox* C = NewCombo(30);
  C->SetFocus();
  const std::vector<TComboKeyStep> Steps = {
      {20, VK_PRIOR, 11}, {0, VK_NEXT, 7}, {5, VK_PRIOR, 0}, {27, VK_NEXT, 29}, {3, VK_UP, 2},
      {3, VK_LEFT, 2},    {3, VK_DOWN, 4}, {3, VK_RIGHT, 4}, {0, VK_UP, 0},     {29, VK_DOWN, 29},
  };
  pressKeySteps(C, Steps, [](const TComboKeyStep&) {});
}

TEST_F(SkinCombo, AltWithTheArrowsOpensAndCancels) {
  TbsSkinComboBox* C = NewCombo(3);
  C->SetItemIndex(0);
  C->SetFocus();
  Log.clear();
  openAndCancelWithAlt(C);
  EXPECT_EQ(Log, (Events{"dropdown", "closeup"}));
}

TEST_F(SkinCombo, TheWheelChangesAClosedComboAndOnlyHighlightsInAnOpenOne) {
  TbsSkinComboBox* C = NewCombo(3);
  C->SetItemIndex(1);
  const struct {
    bool Open;
    short Delta;
    Integer To;
    Events Expected;
  } Cases[] = {
      {false, 120, 0, {"change:Preset 0", "click"}},
      {false, -120, 1, {"change:Preset 1", "click"}},
      {true, -120, 2, {}},
      {true, 120, 1, {}},
  };
  for (const auto& Case : Cases) {
    if (Case.Open && !C->IsPopupVisible()) C->DropDown();
    Log.clear();
    C->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(Case.Delta)), 0);
    EXPECT_EQ(C->ItemIndex(), Case.To) << Case.Delta;
    EXPECT_EQ(Log, Case.Expected) << Case.Delta;
  }
  EXPECT_EQ(C->Text(), "Preset 1");
}

TEST_F(SkinCombo, DraggingBeyondTheOpenListScrollsOneItemPerTick) {
  TbsSkinComboBox* C = NewCombo(20);
  C->SetDropDownCount(4);
  TbsPopupListBox* L = pressToOpen(C, 0);
  ASSERT_NE(L->ScrollBar, nullptr);
  wintest::MouseMove(Row(C, 1));
  ASSERT_EQ(C->ItemIndex(), 1);
  Log.clear();
  wintest::MouseMove(At(L->ListBox, 20, L->ListBox->Height() + 20));
  wintest::AdvanceTime(Clock(), 75);
  EXPECT_EQ(C->ItemIndex(), 4);
  EXPECT_TRUE(Log.empty());  // the list's own selection only
  wintest::AdvanceTime(Clock(), 25 * 30);
  EXPECT_EQ(C->ItemIndex(), 19);  // stops at the last item
  wintest::MouseMove(At(L->ListBox, 20, -20));
  wintest::AdvanceTime(Clock(), 25 * 40);
  EXPECT_EQ(C->ItemIndex(), 0);  // and at the first
  wintest::MouseMove(Row(C, 2));
  const Integer Now = C->ItemIndex();
  wintest::AdvanceTime(Clock(), 100);
  EXPECT_EQ(C->ItemIndex(), Now);  // back inside: the timer stopped
  wintest::MouseUp(Row(C, 2));
  EXPECT_EQ(C->ItemIndex(), Now);
  EXPECT_FALSE(C->IsPopupVisible());
}

TEST_F(SkinCombo, AClickOutsideOrFocusLossClosesWithTheOldIndex) {
  TbsSkinComboBox* C = NewCombo(3);
  C->SetItemIndex(0);
  auto* Other = NewControl<TRecordingControl>(Form, Rect(200, 20, 260, 60));
  wintest::Click(At(C, 10, 10));
  ASSERT_TRUE(C->IsPopupVisible());
  wintest::MouseMove(Row(C, 2));
  wintest::Click(At(Form, 300, 200));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 0);
  wintest::Click(At(C, 10, 10));
  ASSERT_TRUE(C->IsPopupVisible());
  Other->SetFocus();
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->Text(), "Preset 0");
}

TEST_F(SkinCombo, TypeAheadCollectsLettersWithinHalfASecond) {
  Form = NewForm();
  auto* C = NewControl<TbsSkinComboBox>(Form, Rect(20, 20, 140, 40));
  for (const char* S : {"apple", "abacus", "banana", "avocado", "abbey"}) C->Items()->Add(S);
  C->SetFocus();
  typeLetter('a');
  typeLetter('b');
  EXPECT_EQ(C->Text(), "abacus");  // "ab" from the top
  wintest::AdvanceTime(Clock(), 500);
  typeLetter('a');
  EXPECT_EQ(C->Text(), "avocado");  // the next item after the current starting with a
  wintest::AdvanceTime(Clock(), 500);
  typeLetter('a');
  EXPECT_EQ(C->Text(), "abbey");
  wintest::AdvanceTime(Clock(), 500);
  typeLetter('a');
  EXPECT_EQ(C->Text(), "apple");  // round from the top
  wintest::AdvanceTime(Clock(), 500);
  typeLetter('z');
  EXPECT_EQ(C->Text(), "apple");  // no match changes nothing
  C->SetAutoComplete(false);
  typeLetter('b');
  EXPECT_EQ(C->Text(), "banana");  // one letter at a time without auto-completion
}

// Also when the 32-bit tick count wraps in the middle of the fade.
TEST_F(SkinCombo, TheDropDownFadesInStepsUpToItsOpacity) {
  for (const bool NearTheWrap : {false, true}) {
    SCOPED_TRACE(NearTheWrap);
    if (NearTheWrap) Clock().SetTicks(0xFFFFFFF0);
    TbsSkinComboBox* C = NewCombo(3);
    EXPECT_EQ(fadeAlphas(C), fadeSteps());
    EXPECT_EQ(fadeAlphas(C), fadeSteps()) << "the next drop-down fades in from nothing again";
  }
}

TEST_F(SkinCombo, DefaultLookShowsTheItemTheFocusAndTheButton) {
  TbsSkinComboBox* C = NewCombo(2);
  C->SetItemIndex(1);
  wintest::Pump();
  EXPECT_EQ(PixelOf(C, 0, 0), COLORREF(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(PixelOf(C, 90, 10), COLORREF(ColorToRGB(clWindow)));
  EXPECT_EQ(PixelOf(C, 110, 2), COLORREF(ColorToRGB(clBtnFace)));
  C->SetFocus();
  wintest::Pump();
  EXPECT_EQ(PixelOf(C, 90, 10), COLORREF(ColorToRGB(clHighlight)));
  wintest::MouseMove(At(C, 110, 10));
  wintest::Pump();
  EXPECT_EQ(PixelOf(C, 110, 2), COLORREF(RGB(193, 212, 243)));

  // The owner-draw event replaces the text and sees the item image and the focus state.
  Integer Seen = -1;
  TOwnerDrawState State;
  C->OnComboBoxDrawItem = [&](TCanvas* Cnvs, Integer Index, Integer W, Integer H, TRect TR,
                              TOwnerDrawState S) {
    Seen = Index;
    State = S;
    EXPECT_EQ(W, 98);
    EXPECT_EQ(H, 16);
    EXPECT_EQ(TR, Rect(2, 0, 96, 16));
    Cnvs->Brush()->SetColor(clRed);
    Cnvs->FillRect(Rect(0, 0, W, H));
  };
  C->Repaint();
  wintest::Pump();
  EXPECT_EQ(Seen, 1);
  EXPECT_EQ(State, TOwnerDrawState{odFocused});
  EXPECT_EQ(PixelOf(C, 50, 10), COLORREF(ColorToRGB(clRed)));
}

TEST_F(SkinCombo, EditStyleTypingCompletesToTheFirstItemAndSelectsTheTail) {
  Form = NewForm();
  auto* C = NewControl<TChangeRecordingCombo>(Form, Rect(20, 20, 140, 40));
  for (const char* S : {"Standard", "High", "Highest"}) C->Items()->Add(S);
  C->SetStyle(bscbEditStyle);
  ASSERT_NE(C->Edit(), nullptr);
  EXPECT_FALSE(C->TabStop());  // the edit takes the tab stop
  EXPECT_TRUE(C->Edit()->TabStop());
  C->SetFocus();
  EXPECT_TRUE(C->Edit()->Focused());
  C->Log = &Log;
  bindLog(C);
  wintest::AdvanceTime(Clock(), 300);
  typeLetter('h');
  EXPECT_EQ(C->Text(), "High");
  EXPECT_EQ(C->Edit()->Text(), "High");
  EXPECT_EQ(C->ItemIndex(), 1);
  EXPECT_EQ(C->SelStart(), 1);
  EXPECT_EQ(C->SelLength(), 3);
  // The typed letter is a change from the edit; the completion an item assignment.
  EXPECT_EQ(Log, (Events{"change:h", "Change", "change:High", "click", "Change"}));

  // Within 200 ms no second completion: the text stays as typed.
  typeLetter('x');
  EXPECT_EQ(C->Text(), "Hx");  // the selected tail was overtyped
  EXPECT_EQ(C->ItemIndex(), 1);
  // A key below 48 completes nothing.
  wintest::AdvanceTime(Clock(), 300);
  wintest::KeyPress(VK_BACK);
  EXPECT_EQ(C->Text(), "H");

  // Up and Down step through the items with OnClick, but no Change.
  C->SetItemIndex(0);
  Log.clear();
  wintest::KeyPress(VK_DOWN);
  EXPECT_EQ(C->Text(), "High");
  EXPECT_EQ(C->Edit()->Text(), "High");
  EXPECT_EQ(Log, (Events{"change:High", "click"}));
  wintest::KeyPress(VK_UP);
  EXPECT_EQ(C->Text(), "Standard");
}

TEST_F(SkinCombo, EditStylePicksGoThroughTheEditAndEscapeKeepsTheTyped) {
  TbsSkinComboBox* C = NewCombo(4);
  C->SetStyle(bscbEditStyle);
  C->SetItemIndex(1);
  C->SetFocus();
  wintest::MouseMove(At(C, 110, 10));
  wintest::Click(At(C, 110, 10));
  ASSERT_TRUE(C->IsPopupVisible());
  EXPECT_TRUE(C->Edit()->Focused());  // the edit keeps the focus
  wintest::MouseMove(Row(C, 3));
  Log.clear();
  wintest::Click(Row(C, 3));
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->Edit()->Text(), "Preset 3");
  EXPECT_EQ(C->Edit()->SelLength(), 8);
  EXPECT_EQ(Log, (Events{"change:Preset 3", "click", "closeup"}));

  C->DropDown();
  wintest::MouseMove(Row(C, 0));
  wintest::KeyPress(VK_ESCAPE);
  EXPECT_FALSE(C->IsPopupVisible());
  EXPECT_EQ(C->ItemIndex(), 3);
  EXPECT_EQ(C->Text(), "Preset 3");

  C->SetStyle(bscbFixedStyle);
  EXPECT_EQ(C->Edit(), nullptr);
  EXPECT_TRUE(C->TabStop());
  EXPECT_EQ(C->Text(), "Preset 3");
}

TEST_F(SkinCombo, TheClosedItemKeepsTheListsTabStops) {
  TbsSkinComboBox* C = NewCombo(0);
  C->Items()->Add("A\tB");
  C->SetItemIndex(0);
  // Whether the text reaches columns 60 to 95 of the control.
  auto inkFarRight = [&] {
    C->Repaint();
    wintest::Pump();
    for (Integer X = 60; X < 95; ++X)
      for (Integer Y = 3; Y < 17; ++Y)
        if (PixelOf(C, X, Y) != COLORREF(ColorToRGB(clWindow))) return true;
    return false;
  };
  EXPECT_FALSE(inkFarRight());
  TStringList Stops;
  Stops.Add("70");
  C->SetTabWidths(&Stops);
  EXPECT_TRUE(inkFarRight());
}

TEST_F(SkinCombo, FreelySizedButtonComesFromTheFirstButtonElementWithItsStateAndArrow) {
  // The item area ends where the button starts, so that the item does not cover the arrow.
  dynamic_cast<TbsDataSkinCustomControl*>(Skin->Ctrls(Skin->GetControlIndex("combobox")))->ClRect =
      Rect(6, 6, 24, 18);
  TbsSkinComboBox* C = SkinnedCombo(2, false);
  const TRect B = C->DropButton().R;
  ASSERT_EQ(B, Rect(116, 0, 140, 40));
  // Top-left corner slice of the element's state picture, then the arrow in the state's font colour.
  auto corner = [&] { return PixelOf(C, B.Left + 1, B.Top + 1); };
  const TRect Middle = Rect(B.Left + 6, B.Top + 6, B.Right - 6, B.Bottom - 6);
  EXPECT_EQ(corner(), SliceColor("combobutton", 0, 0));
  EXPECT_TRUE(Shows(C, Middle, TColor(0x202020)));
  wintest::MouseMove(At(C, B.Left + 12, 20));
  wintest::Pump();
  EXPECT_EQ(corner(), SliceColor("combobutton", 1, 0));
  EXPECT_TRUE(Shows(C, Middle, TColor(0x800000)));
  wintest::MouseMove(At(C, 20, 80));
  wintest::Pump();

  DropElement("combobutton");
  C->Repaint();
  wintest::Pump();
  EXPECT_EQ(corner(), SliceColor("editbutton", 0, 0));
  DropElement("editbutton");
  C->Repaint();
  wintest::Pump();
  EXPECT_EQ(corner(), SliceColor("resizebutton", 0, 0));
  // Disabled: the picture without an arrow.
  C->SetEnabled(false);
  C->Repaint();
  wintest::Pump();
  EXPECT_EQ(corner(), SliceColor("resizebutton", 0, 0));
  EXPECT_FALSE(Shows(C, Middle, TColor(0x202020)));
}

TEST_F(SkinCombo, FreelySizedItemPictureStretchesToTheItemsHeight) {
  TbsSkinComboBox* C = SkinnedCombo(2, false);
  C->SetItemIndex(0);
  C->Repaint();
  wintest::Pump();
  const TRect I = C->ItemArea().R;
  ASSERT_GT(RectHeight(I), 24);  // taller than the element's item picture
  const Integer X = (I.Left + I.Right) / 2;
  EXPECT_EQ(PixelOf(C, X, I.Top), SliceColor("combobox", 2, 1));
  EXPECT_EQ(PixelOf(C, X, I.Bottom - 1), SliceColor("combobox", 2, 7));
}

TEST_F(SkinCombo, SkinnedToolButtonStyleDrawsTheToolButtonElementByState) {
  TbsSkinComboBox* C = SkinnedCombo(2, true);
  // A tool button has no inner edit and takes its own size.
  C->SetStyle(bscbEditStyle);
  ASSERT_NE(C->Edit(), nullptr);
  C->SetToolButtonStyle(true);
  EXPECT_EQ(C->Style(), bscbFixedStyle);
  EXPECT_EQ(C->Edit(), nullptr);
  EXPECT_FALSE(C->UseSkinSize());
  C->SetItemIndex(1);
  wintest::Pump();
  const TRect Arrow = Rect(C->Width() - 15, 0, C->Width(), C->Height());
  EXPECT_EQ(PixelOf(C, 1, 1), SliceColor("resizetoolbutton", 0, 0));
  EXPECT_TRUE(Shows(C, Arrow, TColor(0x202020)));
  C->SetFocus();
  wintest::Pump();
  EXPECT_EQ(PixelOf(C, 1, 1), SliceColor("resizetoolbutton", 1, 0));
  EXPECT_TRUE(Shows(C, Arrow, TColor(0x800000)));
  C->DropDown();
  wintest::Pump();
  EXPECT_EQ(PixelOf(C, 1, 1), SliceColor("resizetoolbutton", 2, 0));
  EXPECT_TRUE(Shows(C, Arrow, TColor(0x000080)));
  C->CloseUp(false);

  DropElement("resizetoolbutton");
  C->Repaint();
  wintest::Pump();
  EXPECT_EQ(PixelOf(C, 1, 1), SliceColor("resizebutton", 1, 0));
}

TEST_F(SkinCombo, PaintSkinToDrawsTheRestingFrameAndTabbedText) {
  TbsSkinComboBox* C = SkinnedCombo(0, false);
  C->SetFocus();  // a focused control still paints its resting picture here
  wintest::Pump();
  TBitmap Out;
  Out.SetSize(C->Width(), C->Height());
  TCanvas* O = Out.Canvas();
  const COLORREF Client = SliceColor("combobox", 0, 4);
  // Whether the text reaches columns 60 to 100 of the picture.
  auto paintInksFarRight = [&] {
    C->PaintSkinTo(O, 0, 0, "A\tB");
    for (Integer X = 60; X < 100; ++X)
      for (Integer Y = 8; Y < C->Height() - 8; ++Y)
        if (COLORREF(O->Pixels(X, Y)) != Client) return true;
    return false;
  };
  EXPECT_FALSE(paintInksFarRight());
  EXPECT_EQ(COLORREF(O->Pixels(1, 1)), SliceColor("combobox", 0, 0));
  // The item area keeps the frame's client picture under the text.
  EXPECT_EQ(COLORREF(O->Pixels(40, C->Height() - 12)), Client);
  TStringList Stops;
  Stops.Add("70");
  C->SetTabWidths(&Stops);
  EXPECT_TRUE(paintInksFarRight());
  EXPECT_EQ(C->Text(), "");
}

}  // namespace
