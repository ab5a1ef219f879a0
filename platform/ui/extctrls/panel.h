// A container with bevels, an optional border and a caption; it can host a native child window of
// the display (the player's surface).
#pragma once

#include "platform/ui/core/customcontrol.h"
#include "platform/ui/stdctrls/looksurface.h"
#include "platform/ui/stdctrls/textalign.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// The panel's own border: none or a single line (the form border styles keep their own names).
enum TPanelBorderStyle { pbsNone, pbsSingle };

class TCustomPanel : public TCustomControl, public ILookSurface {
 public:
  explicit TCustomPanel(TComponent* AOwner);
  String ClassName() const override { return "TCustomPanel"; }
  TColor LookSurfaceColor() const override { return stdlook::Surface; }

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  Integer BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer Value);
  Integer BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(Integer Value);
  TPanelBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TPanelBorderStyle Value);

  // A native child window of the display covering the panel (made with the panel's window and again
  // whenever the window is made anew). NativeWindowId is its id for the display's clients (an X
  // window id), 0 without one or on a display that has none.
  bool HostsNativeWindow() const { return FHostsNativeWindow; }
  void SetHostsNativeWindow(bool Value);
  uintptr_t NativeWindowId() const { return FNativeWindowId; }

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CreateWindowCreated() override;
  void DestroyWnd() override;
  void CMTextChanged(TMessage& Message) override;
  // Width of the bevels, border and border line together on each side.
  Integer frameWidth() const;

 private:
  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  Integer FBevelWidth = 1;
  Integer FBorderWidth = 0;
  TPanelBorderStyle FBorderStyle = pbsNone;
  bool FHostsNativeWindow = false;
  uintptr_t FNativeWindowId = 0;
};

class TPanel : public TCustomPanel {
 public:
  using TCustomPanel::TCustomPanel;
  String ClassName() const override { return "TPanel"; }
};
