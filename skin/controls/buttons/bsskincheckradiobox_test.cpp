#include "skin/controls/buttons/bsskincheckradiobox.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "skin/controls/testkit/skincontrolstestkit.h"

namespace {

using wintest::ScreenPoint;

class SkinCheckRadioBox : public TSkinControlTest {
 protected:
  TbsSkinCheckRadioBox* NewBox(TWinControl* Parent, TRect Bounds, const String& Name, bool Radio = false,
                               Integer Group = 0) {
    auto* B = NewControl<TbsSkinCheckRadioBox>(Parent, Bounds);
    B->SetRadio(Radio);
    B->SetGroupIndex(Group);
    B->OnClick = [this, Name](TObject*) { Log.push_back(Name + " click"); };
    B->OnMouseDown = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " down");
    };
    B->OnMouseUp = [this, Name](TObject*, TMouseButton, TShiftState, Integer, Integer) {
      Log.push_back(Name + " up");
    };
    return B;
  }
  TbsDataSkinCheckRadioControl* Record(const String& Name = "checkbox") {
    return dynamic_cast<TbsDataSkinCheckRadioControl*>(Skin->Ctrls(Skin->GetControlIndex(Name)));
  }
  static TPoint At(TWinControl* C, Integer X, Integer Y) { return ScreenPoint(C->Handle(), X, Y); }
  Integer Count(const String& Entry) const { return Integer(std::count(Log.begin(), Log.end(), Entry)); }

  std::vector<String> Log;
};

// ---- state and group rules ----

TEST_F(SkinCheckRadioBox, DefaultsOfANewControl) {
  TForm* F = NewForm();
  auto* B = NewControl<TbsSkinCheckRadioBox>(F, Rect(10, 10, 160, 35));
  auto* Fresh = new TbsSkinCheckRadioBox(F);
  EXPECT_EQ(Fresh->Width(), 150);
  EXPECT_EQ(Fresh->Height(), 25);
  EXPECT_EQ(Fresh->SkinDataName(), String("checkbox"));
  EXPECT_TRUE(Fresh->Flat());
  EXPECT_TRUE(Fresh->CanFocused());
  EXPECT_FALSE(Fresh->TabStop());
  EXPECT_EQ(Fresh->State(), cbUnchecked);
  EXPECT_EQ(Fresh->ImageIndex(), 0);
  EXPECT_TRUE(Fresh->UseSkinFontColor());
  delete Fresh;
  B->SetCanFocused(false);
  EXPECT_FALSE(B->TabStop());
  B->SetCanFocused(true);
  EXPECT_TRUE(B->TabStop());
}

TEST_F(SkinCheckRadioBox, CheckingARadioButtonUnchecksItsGroupUnderTheSameParentOnly) {
  TForm* F = NewForm();
  auto* A = NewBox(F, Rect(10, 10, 160, 35), "a", true, 1);
  auto* B = NewBox(F, Rect(10, 40, 160, 65), "b", true, 1);
  auto* OtherGroup = NewBox(F, Rect(10, 70, 160, 95), "g2", true, 2);
  auto* GroupedCheck = NewBox(F, Rect(10, 100, 160, 125), "c", false, 1);
  auto* Panel = NewControl<TRecordingControl>(F, Rect(200, 10, 380, 200));
  auto* Elsewhere = NewBox(Panel, Rect(10, 10, 160, 35), "e", true, 1);
  for (auto* Box : {A, OtherGroup, GroupedCheck, Elsewhere}) Box->SetChecked(true);
  Log.clear();
  B->SetChecked(true);
  EXPECT_TRUE(B->Checked());
  EXPECT_FALSE(A->Checked());
  EXPECT_EQ(A->State(), cbUnchecked);
  // The unchecked check box of the group reports its change, the radio button does not.
  EXPECT_FALSE(GroupedCheck->Checked());
  EXPECT_TRUE(OtherGroup->Checked());
  EXPECT_TRUE(Elsewhere->Checked());
  EXPECT_EQ(Log, (std::vector<String>{"c click", "b click"}));
}

TEST_F(SkinCheckRadioBox, CheckedAndStateSetters) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  B->SetState(cbGrayed);
  EXPECT_FALSE(B->Checked());
  B->SetChecked(false);
  EXPECT_EQ(B->State(), cbGrayed) << "a grayed box set to unchecked stays grayed";
  B->SetChecked(true);
  EXPECT_EQ(B->State(), cbChecked);
  B->SetChecked(false);
  EXPECT_EQ(B->State(), cbUnchecked);
  Log.clear();
  // SetState reports every call, also one that changes nothing; a check box reports every SetChecked.
  B->SetState(cbUnchecked);
  B->SetChecked(false);
  EXPECT_EQ(Count("b click"), 2);
  auto* R = NewBox(F, Rect(10, 40, 160, 65), "r", true, 0);
  Log.clear();
  R->SetChecked(false);
  R->SetChecked(true);
  R->Toggle();  // a checked radio button stays checked
  EXPECT_TRUE(R->Checked());
  EXPECT_EQ(Log, (std::vector<String>{"r click"}));
}

// ---- mouse and keyboard ----

TEST_F(SkinCheckRadioBox, ClickOrderToggleAndReleaseOutside) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  wintest::Click(At(B, 20, 12));
  EXPECT_TRUE(B->Checked());
  EXPECT_EQ(GetFocus(), B->Handle()) << "the press takes the focus";
  EXPECT_EQ(Log, (std::vector<String>{"b down", "b up", "b click"}));
  // A quick second press is a press, not a double click.
  wintest::Click(At(B, 20, 12));
  EXPECT_FALSE(B->Checked());
  Log.clear();
  wintest::MouseDown(At(B, 20, 12));
  wintest::MouseMove(At(B, 200, 12));
  EXPECT_FALSE(B->MouseIn());
  wintest::MouseUp(At(B, 200, 12));
  EXPECT_FALSE(B->Checked());
  EXPECT_EQ(Count("b click"), 0);
}

TEST_F(SkinCheckRadioBox, AllowGrayedCyclesAndACheckedRadioButtonIgnoresClicks) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  B->SetAllowGrayed(true);
  const TCheckBoxState Cycle[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
  for (auto Expected : Cycle) {
    wintest::Click(At(B, 20, 12));
    EXPECT_EQ(B->State(), Expected);
  }
  EXPECT_EQ(Count("b click"), 4);
  auto* R = NewBox(F, Rect(10, 40, 160, 65), "r", true, 1);
  wintest::Click(At(R, 20, 12));
  EXPECT_TRUE(R->Checked());
  Log.clear();
  wintest::Click(At(R, 20, 12));
  EXPECT_TRUE(R->Checked());
  EXPECT_EQ(Count("r click"), 0);
}

TEST_F(SkinCheckRadioBox, SpaceReleaseAndAcceleratorToggle) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  B->SetCaption("&Keep");
  B->SetFocus();
  wintest::KeyDown(VK_SPACE);
  EXPECT_FALSE(B->Checked()) << "the key-down does nothing";
  wintest::KeyUp(VK_SPACE);
  EXPECT_TRUE(B->Checked());
  // Without CanFocused neither the key nor the accelerator toggles.
  B->SetCanFocused(false);
  wintest::KeyPress(VK_SPACE);
  EXPECT_TRUE(B->Checked());
  EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'k', 0), 0);
  B->SetCanFocused(true);
  EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'k', 0), 1);
  EXPECT_FALSE(B->Checked());
  EXPECT_EQ(B->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_FALSE(B->Checked());
}

TEST_F(SkinCheckRadioBox, FreedFromItsOwnClickHandler) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  B->OnClick = [&B](TObject*) {
    delete B;
    B = nullptr;
  };
  wintest::Click(At(B, 20, 12));
  EXPECT_EQ(B, nullptr);
  auto* K = NewBox(F, Rect(10, 40, 160, 65), "k");
  K->SetFocus();
  K->OnClick = [&K](TObject*) {
    delete K;
    K = nullptr;
  };
  wintest::KeyPress(VK_SPACE);
  EXPECT_EQ(K, nullptr);
}

// ---- looks ----

TEST_F(SkinCheckRadioBox, DefaultFlatLookBoxMarkAndCaptionPlace) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  B->SetCaption("Wide caption");
  auto* Other = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  Other->SetFocus();
  const Integer MidY = B->Height() / 2;
  const COLORREF Shadow = COLORREF(ColorToRGB(clBtnShadow)), Window = COLORREF(ColorToRGB(clWindow));
  // The 14 x 14 box at x = 3, centred vertically, white inside, nothing between it and the caption.
  EXPECT_EQ(PixelOf(B, 3, MidY - 7), Shadow);
  EXPECT_EQ(PixelOf(B, 16, MidY + 6), Shadow);
  EXPECT_EQ(PixelOf(B, 2, MidY), BtnFaceRGB());
  EXPECT_EQ(PixelOf(B, 17, MidY), BtnFaceRGB());
  EXPECT_EQ(PixelOf(B, 10, MidY), Window);
  bool CaptionLeftOf22 = false, CaptionAt22 = false;
  for (Integer X = 17; X < 40; ++X)
    for (Integer Y = 0; Y < B->Height(); ++Y)
      if (PixelOf(B, X, Y) != BtnFaceRGB()) (X < 22 ? CaptionLeftOf22 : CaptionAt22) = true;
  EXPECT_FALSE(CaptionLeftOf22);
  EXPECT_TRUE(CaptionAt22);
  // The check mark's middle stroke runs through (9, MidY + 1); hovering colours the frame.
  B->SetChecked(true);
  EXPECT_EQ(PixelOf(B, 9, MidY + 1), COLORREF(0));
  wintest::MouseMove(At(B, 10, MidY));
  EXPECT_EQ(PixelOf(B, 3, MidY - 7), COLORREF(RGB(59, 107, 183)));
  B->SetRadio(true);
  B->SetEnabled(false);
  EXPECT_EQ(PixelOf(B, 9, MidY), Shadow) << "disabled radio dot";
}

TEST_F(SkinCheckRadioBox, SkinnedFlatLookPicksTheCheckPictureByState) {
  UseTwoColourCheckPictures();
  TForm* F = NewForm();
  auto* Other = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  B->SetSkinData(Skin.get());
  Other->SetFocus();
  const Integer MidY = B->Height() / 2;
  const struct {
    const char* What;
    std::function<void()> Do;
    Integer State;
  } Steps[] = {
      {"unchecked", [] {}, 0},
      {"hovered unchecked", [&] { wintest::MouseMove(At(B, 10, MidY)); }, 1},
      {"hovered checked", [&] { B->SetChecked(true); }, 4},
      {"checked", [&] { wintest::MouseMove(At(B, 10, 200)); }, 2},
      {"disabled", [&] { B->SetEnabled(false); }, 3},
  };
  for (const auto& S : Steps) {
    S.Do();
    EXPECT_EQ(PixelOf(B, 3 + 9, MidY), SliceColor("checkbox", S.State, 1)) << S.What;
    // The picture's key colour lets the form show through.
    EXPECT_EQ(PixelOf(B, 3 + 2, MidY), BtnFaceRGB()) << S.What;
  }
}

TEST_F(SkinCheckRadioBox, GrayedPictureAndFaultyPictures) {
  UseTwoColourCheckPictures();
  TForm* F = NewForm();
  auto* Other = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  B->SetSkinData(Skin.get());
  Other->SetFocus();
  const Integer MidY = B->Height() / 2;
  B->SetState(cbGrayed);
  // No grayed picture: the check picture lightened half-way to white.
  const COLORREF Check = SliceColor("checkbox", 2, 1), Grey = PixelOf(B, 12, MidY);
  for (int Shift : {0, 8, 16}) {
    const int C = (Check >> Shift) & 0xFF, G = (Grey >> Shift) & 0xFF;
    EXPECT_NEAR(G, (C + 255) / 2, 1) << "channel at bit " << Shift;
  }
  // A grayed picture of its own is used as it is.
  auto* R = Record();
  R->GrayedCheckImageRect = R->ActiveUnCheckImageRect;
  B->Repaint();
  EXPECT_EQ(PixelOf(B, 12, MidY), SliceColor("checkbox", 1, 1));
  // A picture past the end of the skin picture, or an empty one, draws the default box.
  const TRect Faulty[] = {Rect(10000, 0, 10012, 6), Rect(5, 5, 5, 11), Rect(-6, 0, 6, 6)};
  for (const TRect& Bad : Faulty) {
    R->UnCheckImageRect = Bad;
    B->SetState(cbUnchecked);
    EXPECT_EQ(PixelOf(B, 3, MidY - 7), COLORREF(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(PixelOf(B, 10, MidY), COLORREF(ColorToRGB(clWindow)));
  }
}

TEST_F(SkinCheckRadioBox, FramedLookGeometryAndStatePictures) {
  UseTwoColourCheckPictures();
  auto* R = Record();
  const TRect Cell = R->SkinRect;
  // The check area on the right of the caption follows the right edge.
  R->CheckImageArea = Rect(RectWidth(Cell) - 24, 0, RectWidth(Cell), 24);
  R->TextArea = Rect(6, 0, RectWidth(Cell) - 24, 24);
  TForm* F = NewForm();
  auto* Other = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  auto* B = NewBox(F, Rect(10, 10, 210, 34), "b");
  B->SetFlat(false);
  B->SetSkinData(Skin.get());
  Other->SetFocus();
  const Integer dW = B->Width() - RectWidth(Cell);
  B->Repaint();
  EXPECT_EQ(B->CaptionArea(), Rect(6, 0, RectWidth(Cell) - 24 + dW, 24));
  // 12 x 6 picture centred in a 24 x 24 area.
  EXPECT_EQ(B->CheckPictureRect(), Rect(RectWidth(Cell) - 18 + dW, 9, RectWidth(Cell) - 6 + dW, 15));
  const TRect CI = B->CheckPictureRect();
  const Integer MidY = (CI.Top + CI.Bottom) / 2;
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("checkbox", 0, 4)) << "element's client part, normal";
  EXPECT_EQ(PixelOf(B, CI.Left + 9, MidY), SliceColor("checkbox", 0, 1));
  // Hovering shows the active element picture and the hovered check picture.
  wintest::MouseMove(At(B, 20, 12));
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("checkbox", 1, 4));
  EXPECT_EQ(PixelOf(B, CI.Left + 9, MidY), SliceColor("checkbox", 1, 1));
  // The picture key shows the element beneath, not the form.
  EXPECT_EQ(PixelOf(B, CI.Left + 2, MidY), SliceColor("checkbox", 1, 4));
}

TEST_F(SkinCheckRadioBox, FramedCrossFadeStepsOnTheClock) {
  Record()->Morphing = true;
  TForm* F = NewForm();
  auto* Other = NewControl<TRecordingControl>(F, Rect(300, 10, 340, 40));
  auto* B = NewBox(F, Rect(10, 10, 160, 34), "b");
  B->SetFlat(false);
  B->SetSkinData(Skin.get());
  Other->SetFocus();
  wintest::MouseMove(At(B, 20, 12));
  EXPECT_TRUE(B->MorphRunning());
  const Double Up[] = {0.2, 0.4, 0.6, 0.8, 1.0};
  for (Double Kf : Up) {
    wintest::AdvanceTime(Clock(), 20);
    EXPECT_NEAR(B->MorphKf(), Kf, 1e-9);
  }
  EXPECT_FALSE(B->MorphRunning());
  EXPECT_EQ(PixelOf(B, 20, 12), SliceColor("checkbox", 1, 4));
  wintest::MouseMove(At(B, 20, 200));
  wintest::AdvanceTime(Clock(), 40);
  EXPECT_NEAR(B->MorphKf(), 0.6, 1e-9);
  // Half-way the picture is neither state's.
  const COLORREF Mid = PixelOf(B, 20, 12);
  EXPECT_NE(Mid, SliceColor("checkbox", 0, 4));
  EXPECT_NE(Mid, SliceColor("checkbox", 1, 4));
  wintest::AdvanceTime(Clock(), 60);
  EXPECT_EQ(B->MorphKf(), 0);
  EXPECT_FALSE(B->MorphRunning());
  // The flat look never fades.
  B->SetFlat(true);
  B->ChangeSkinData();
  wintest::MouseMove(At(B, 20, 12));
  EXPECT_FALSE(B->MorphRunning());
}

TEST_F(SkinCheckRadioBox, FramedDefaultLookAndSkinChange) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 34), "b");
  B->SetFlat(false);
  B->SetCaption("Text");
  const Integer MidY = B->Height() / 2;
  EXPECT_EQ(PixelOf(B, 60, 1), BtnFaceRGB());
  EXPECT_EQ(PixelOf(B, 3, MidY - 7), COLORREF(ColorToRGB(clBtnShadow)));
  wintest::MouseMove(At(B, 60, 12));
  EXPECT_EQ(PixelOf(B, 60, 0), COLORREF(ColorToRGB(clBtnShadow))) << "frame while hovered";
  wintest::MouseMove(At(B, 60, 200));
  B->SetSkinData(Skin.get());
  EXPECT_EQ(B->SkinIndex(), Skin->GetControlIndex("checkbox"));
  EXPECT_EQ(PixelOf(B, 60, 12), SliceColor("checkbox", 0, 4));
  B->SetSkinData(nullptr);
  B->ChangeSkinData();
  EXPECT_EQ(B->SkinIndex(), -1);
  EXPECT_EQ(PixelOf(B, 60, 12), BtnFaceRGB());
}

TEST_F(SkinCheckRadioBox, PaintSkinToDrawsTheGivenStateWithoutFill) {
  TForm* F = NewForm();
  auto* B = NewBox(F, Rect(10, 10, 160, 35), "b");
  TBitmap Out;
  Out.SetPixelFormat(pf24bit);
  Out.SetSize(200, 60);
  Out.Canvas()->Brush()->SetColor(clRed);
  Out.Canvas()->FillRect(Rect(0, 0, 200, 60));
  B->PaintSkinTo(Out.Canvas(), 10, 20, true);
  const Integer MidY = 20 + B->Height() / 2;
  EXPECT_EQ(Out.Canvas()->Pixels(10 + 3, MidY - 7), ColorToRGB(clBtnShadow));
  // Not filled: the form's face shows inside the box, and nothing lands outside the control.
  EXPECT_EQ(Out.Canvas()->Pixels(10 + 14, MidY + 5), ColorToRGB(clBtnFace));
  EXPECT_EQ(Out.Canvas()->Pixels(5, 5), ColorToRGB(clRed));
  EXPECT_EQ(Out.Canvas()->Pixels(10 + 9, MidY + 1), TColor(0)) << "the check mark of AChecked";
  EXPECT_FALSE(B->Checked());
}

}  // namespace
