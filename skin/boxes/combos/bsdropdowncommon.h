// What the closed combo boxes and their drop-down lists share: where the list opens (under its
// control, or above it when it would pass the bottom of the work area of the control's monitor; the
// horizontal place is the caller's), the opacity steps of the list, and the default look's and the
// skinned element's button and item layout.
#pragma once

#include "platform/ui/core/control.h"
#include "platform/ui/core/wincontrol.h"
#include "skin/boxes/edits/bscbbutton.h"
#include "skin/core/bssystem.h"

class TBitmap;
class TCanvas;

// Sets or clears the layered style of the drop-down window after AlphaBlend and applies the opacity:
// 0 when it is to fade in, Value at once otherwise. The two Old fields remember what was applied; a
// fade leaves the applied value at 0, so every drop-down fades in from nothing.
void ApplyDropDownAlpha(HWND Wnd, bool AlphaBlend, bool Animation, Byte Value, bool& OldAlphaBlend,
                        Byte& OldAlphaBlendValue);
// Raises the window's opacity from 0 to Target in steps of Target div 15 (at least 1), one step
// whenever more than 5 ms of the tick count have passed since Last; ServeQueue keeps the message
// queue running all the while, else the fade is a busy loop.
void FadeInDropDown(HWND Wnd, Integer Target, Cardinal Last, bool ServeQueue);

// A list shown as a drop-down of the combo box TCombo: a top-level pop-up owned by its combo box's
// window, hidden at first, that never activates and takes the combo box's opacity settings.
template <class TList, class TCombo>
class TbsDropDownWindow : public TList {
 public:
  explicit TbsDropDownWindow(TComponent* AOwner) : TList(AOwner) {
    TControlStyle S = this->ControlStyle();
    S.Include(csAcceptsControls);
    S.Include(csNoDesignVisible);
    S.Include(csReplicatable);
    this->SetControlStyle(S);
    this->FVisible = false;
  }

  // Places the list at Origin (screen), on top, shown without activation; fades in when the combo
  // box asks.
  void Show(TPoint Origin) {
    TCombo* Combo = combo();
    HWND Wnd = this->Handle();
    if (Combo != nullptr)
      ApplyDropDownAlpha(Wnd, Combo->AlphaBlend(), Combo->AlphaBlendAnimation(), Combo->AlphaBlendValue(),
                         FOldAlphaBlend, FOldAlphaBlendValue);
    this->FLeft = Origin.X;
    this->FTop = Origin.Y;
    SetWindowPos(Wnd, HWND_TOP, Origin.X, Origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    this->FVisible = true;
    showingChanged();
    this->Invalidate();
    if (Combo != nullptr && Combo->AlphaBlend() && Combo->AlphaBlendAnimation()) fadeIn(Combo);
  }
  void Hide() {
    if (this->HandleAllocated())
      SetWindowPos(this->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    this->FVisible = false;
    showingChanged();
  }

  bool FOldAlphaBlend = false;
  Byte FOldAlphaBlendValue = 0;
  // A window of its own on the screen: it shows when it is made visible, and so do its children.
  bool TopLevelWindow() const override { return true; }

 protected:
  TCombo* combo() const { return dynamic_cast<TCombo*>(this->Owner()); }
  // Visible changed: the showing state follows.
  virtual void showingChanged() = 0;
  // From opacity 0 up to the combo box's AlphaBlendValue.
  virtual void fadeIn(TCombo* Combo) = 0;

  void CreateParams(TCreateParams& Params) override {
    TList::CreateParams(Params);
    Params.Style = WS_POPUP | WS_CLIPCHILDREN;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WindowClass.style |= CS_SAVEBITS;
    if (IsWindowsXPOrLater()) Params.WindowClass.style |= CS_DROPSHADOW;
    auto* Combo = dynamic_cast<TWinControl*>(this->Owner());
    Params.WndParent = Combo != nullptr && Combo->HandleAllocated() ? Combo->Handle() : nullptr;
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_MOUSEACTIVATE) {
      Message.Result = MA_NOACTIVATE;
      return;
    }
    TList::Dispatch(Message);
  }
};

// Left is the list's left edge in the control's parent coordinates.
TPoint DropDownOrigin(TControl* Control, Integer Left, Integer ListHeight);

// Glyph := part Src of Pic, transparent in Key; false (and Glyph untouched) without Pic or Src.
bool LoadMarkerGlyph(TBitmap* Glyph, TBitmap* Pic, const TRect& Src, TColor Key);
// A 1-pixel frame around a fill, the look of the default buttons.
void FrameAndFill(TCanvas* C, const TRect& R, TColor Frame, TColor Fill);
// The default look's drop-down button by its state, with its arrow.
void DrawDefaultDropButton(TCanvas* C, const TbsCBButtonX& Button, bool Enabled);
// The tool-button style's whole-control frame: dropped, hot or normal.
void DrawDefaultToolButtonFrame(TCanvas* C, const TRect& R, bool Dropped, bool Hot);

// The button and item areas of a closed combo box: a 19-pixel button at the right in the default
// look; in the skinned look the element's, moved with the width (the button only when it sits in the
// element's right part) and, without UseSkinSize, with the height.
struct TbsComboLayout {
  bool Default = true;
  bool UseSkinSize = true;
  TRect SkinRect{}, ClRect{}, ButtonRect{};
  Integer RightPartX = 0;
};
void CalcComboRects(const TbsComboLayout& L, Integer Width, Integer Height, TbsCBButtonX& Button,
                    TbsCBItem& Item);
