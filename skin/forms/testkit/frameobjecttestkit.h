// Test support for the frame skin objects: a shown form with its skinning engine on the generated
// skin, element records cut from the generated caption-button sheet, and a canvas to draw objects on.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/ui/graphics/bitmap.h"
#include "platform/win/win.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "skin/core/bsskinrecordsobjects.h"
#include "skin/forms/engine/bsskinform.h"
#include "skin/menus/bsskinmenu.h"

class TFrameObjectTest : public TSkinControlTest {
 protected:
  // The generated skin's caption buttons: picture 1, one 16 x 16 row per object element, states side
  // by side (0 normal, 1 active, 2 down, 3 inactive).
  static constexpr int ButtonPicture = 1;
  static constexpr int ButtonSize = 16;

  void SetUp() override {
    TSkinControlTest::SetUp();
    Form = NewForm(Rect(100, 100, 420, 340));
    Engine = new TbsSkinForm(Form);
    Engine->SetSkinData(Skin.get());
    Sheet = std::make_unique<TBitmap>();
    Sheet->SetSize(320, 120);
    ClearSheet();
  }
  void TearDown() override {
    Sheet.reset();
    // Handlers a test bound to its own locals must not run while the form goes (its last frame
    // paint happens during teardown).
    Engine->OnCaptionPaint = nullptr;
    Engine->OnPaintEvent = nullptr;
    Engine->OnMouseDownEvent = nullptr;
    Engine->OnMouseUpEvent = nullptr;
    Engine->OnMouseMoveEvent = nullptr;
    Engine->OnMouseEnterEvent = nullptr;
    Engine->OnMouseLeaveEvent = nullptr;
    // A menu a test opened (the system menu from the icon) closes and its levels are freed now,
    // not left to a message loop that no longer runs.
    Engine->SkinMenu()->Hide();
    WinRunDeferredActions();
    TSkinControlTest::TearDown();
  }

  // The rectangle of State in caption-button row Row of the button picture.
  static TRect ButtonCell(int Row, int State) {
    return Bounds(State * ButtonSize, Row * ButtonSize, ButtonSize, ButtonSize);
  }
  // The colour at the centre of that cell (its middle slice).
  static COLORREF ButtonColor(int Row, int State) {
    return COLORREF(GeneratedSkinSliceColor(62 - Row, State, 4));
  }

  // A standard button record drawn from row Row: normal, active, down, inactive images.
  static std::unique_ptr<TbsDataSkinStdButton> StdButtonRecord(int Row, TbsStdCommand Command) {
    auto R = std::make_unique<TbsDataSkinStdButton>("testbutton");
    R->ActivePictureIndex = ButtonPicture;
    R->SkinRectInAPicture = true;
    R->SkinRect = ButtonCell(Row, 0);
    R->ActiveSkinRect = ButtonCell(Row, 1);
    R->DownRect = ButtonCell(Row, 2);
    R->InActiveSkinRect = ButtonCell(Row, 3);
    R->Command = Command;
    R->Hint = "plain hint";
    return R;
  }

  // A maximized form places its objects far right: the sheet grows to take them.
  void FitSheetTo(const TRect& R) {
    if (R.Right >= Sheet->Width() || R.Bottom >= Sheet->Height())
      Sheet->SetSize(std::max(Sheet->Width(), R.Right + 1), std::max(Sheet->Height(), R.Bottom + 1));
  }
  void ClearSheet() {
    Sheet->Canvas()->Brush()->SetColor(SheetColor);
    Sheet->Canvas()->FillRect(Rect(0, 0, Sheet->Width(), Sheet->Height()));
  }
  // What Draw(Canvas, UpDate) of O leaves at the centre of its ObjectRect on a cleared sheet.
  template <class T>
  COLORREF DrawnCentre(T& O, bool UpDate = true) {
    FitSheetTo(O.ObjectRect);
    ClearSheet();
    O.Draw(Sheet->Canvas(), UpDate);
    return SheetPixel((O.ObjectRect.Left + O.ObjectRect.Right) / 2,
                      (O.ObjectRect.Top + O.ObjectRect.Bottom) / 2);
  }
  COLORREF SheetPixel(Integer X, Integer Y) { return COLORREF(Sheet->Canvas()->Pixels(X, Y)) & 0xFFFFFF; }

  // Another shown form takes the activation away from Form.
  void DeactivateForm() {
    Other = NewForm(Rect(600, 100, 700, 200));
    Other->SetFocus();
  }

  static constexpr TColor SheetColor = TColor(0x010203);
  TForm* Form = nullptr;
  TForm* Other = nullptr;
  TbsSkinForm* Engine = nullptr;
  std::unique_ptr<TBitmap> Sheet;
};

// The form's menu tracking as the frame objects see it: the system menu's items and minimizing to
// the tray, recorded.
class TRecordingMenuTracking : public IbsFormMenuTracking {
 public:
  void SkinMainMenuClose() override {}
  void PopupSystemMenu(const TPoint& P) override { SystemMenuPoints.push_back(P); }
  void PopupSystemMenuAtButton() override {}
  void MenuBarMenuEnter() override {}
  bool MainMenuBarAccel(Word) override { return false; }
  TMenuItem* GetSystemMenuItems() override {
    ++SystemMenuRequests;
    return SystemMenuItems;
  }
  void MinimizeToTray() override { ++TrayCalls; }

  TMenuItem* SystemMenuItems = nullptr;
  int SystemMenuRequests = 0;
  int TrayCalls = 0;
  std::vector<TPoint> SystemMenuPoints;
};

// Puts a recording menu tracking in place of the engine's own for one scope.
class TMenuTrackingOverride {
 public:
  TMenuTrackingOverride(TbsSkinForm* AEngine, IbsFormMenuTracking* Tracking)
      : Engine(AEngine), Own(AEngine->MenuTracking()) {
    Engine->SetMenuTracking(Tracking);
  }
  ~TMenuTrackingOverride() { Engine->SetMenuTracking(Own); }
  TMenuTrackingOverride(const TMenuTrackingOverride&) = delete;
  TMenuTrackingOverride& operator=(const TMenuTrackingOverride&) = delete;

 private:
  TbsSkinForm* Engine;
  IbsFormMenuTracking* Own;
};
