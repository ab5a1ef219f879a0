// Test support for the skinned controls: a test case with the generated skin loaded, the element
// indexes and slice colours of that skin, and pixel reads of controls as they appear on screen.
#pragma once

#include <memory>

#include "platform/ui/testkit/uitestkit.h"
#include "skin/core/bsskinchangewalk.h"
#include "skin/core/bsskindata.h"
#include "skin/core/bsskinrecordsbuttons.h"
#include "tools/skingen/skingen.h"

class TSkinControlTest : public TUiTest {
 protected:
  void SetUp() override {
    TUiTest::SetUp();
    Skin = std::make_unique<TbsSkinData>(nullptr);
    BuildGeneratedSkin(Skin.get());
  }
  void TearDown() override {
    Skin.reset();
    TUiTest::TearDown();
  }

  // The generated skin's check pictures are one-colour squares, which a picture keyed on its
  // bottom-left pixel would hide entirely. Each state's picture here is its cell's first two slices
  // side by side: the left half (slice 0) is the transparent key, the right half (slice 1) shows.
  void UseTwoColourCheckPictures(const String& Name = "checkbox") {
    auto* R = dynamic_cast<TbsDataSkinCheckRadioControl*>(Skin->Ctrls(Skin->GetControlIndex(Name)));
    ASSERT_NE(R, nullptr);
    const Integer W = RectWidth(R->SkinRect);
    auto pic = [&](int State) { return Bounds(R->SkinRect.Left + State * W, R->SkinRect.Top, 12, 6); };
    R->UnCheckImageRect = pic(0);
    R->ActiveUnCheckImageRect = pic(1);
    R->CheckImageRect = pic(2);
    R->UnEnabledCheckImageRect = pic(3);
    R->UnEnabledUnCheckImageRect = pic(3);
    R->ActiveCheckImageRect = pic(4);
  }

  // Row of an element in the generated skin's control sheet (its colour's element number).
  static int ElementOf(const String& Name) {
    for (int i = 0; i < GeneratedSkinControlCount(); ++i)
      if (Name == GeneratedSkinControlName(i)) return i;
    return -1;
  }
  // The colour of slice Slice (0..8, rows of three) of State (0 normal, 1 active, 2 down, 3 disabled,
  // 4 focused) of the named element.
  static COLORREF SliceColor(const String& Name, int State, int Slice) {
    return COLORREF(GeneratedSkinSliceColor(ElementOf(Name), State, Slice));
  }

  // A control's pixel at its own client point X, Y, as the screen shows it.
  static COLORREF PixelOf(TControl* C, Integer X, Integer Y) {
    auto* W = dynamic_cast<TWinControl*>(C);
    if (W == nullptr) {
      W = C->Parent();
      X += C->Left();
      Y += C->Top();
    }
    TPoint Client = W->ClientOrigin();
    RECT R;
    GetWindowRect(W->Handle(), &R);
    return PaintedPixel(W->Handle(), X + Client.X - R.Left, Y + Client.Y - R.Top);
  }

  std::unique_ptr<TbsSkinData> Skin;
};

inline COLORREF BtnFaceRGB() {
  return COLORREF(ColorToRGB(clBtnFace));
}

// The form engine's skin-change walk over Root's tree: Before tells every control that uses Changed
// (every skinned control when Changed is null) to forget its element, otherwise to take it again.
inline void WalkSkinChange(TWinControl* Root, TbsSkinData* Changed, bool Before) {
  if (Before)
    BeforeChangeSkinDataControls(Changed, Root);
  else
    ChangeSkinDataControls(Changed, Root);
}
