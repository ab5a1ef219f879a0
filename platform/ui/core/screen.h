// The screen object: the forms, the active form and control, cursors, the monitor and its work area.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/rtl/component.h"
#include "platform/ui/core/controlstypes.h"
#include "platform/win/win.h"

class TControl;
class TWinControl;
class TCustomForm;

class TMonitor : public TObject {
 public:
  String ClassName() const override { return "TMonitor"; }
  HMONITOR Handle() const { return FHandle; }
  Integer MonitorNum() const { return FMonitorNum; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  Integer Left() const { return BoundsRect().Left; }
  Integer Top() const { return BoundsRect().Top; }
  Integer Width() const { return BoundsRect().Width(); }
  Integer Height() const { return BoundsRect().Height(); }
  bool Primary() const;

 private:
  friend class TScreen;
  HMONITOR FHandle = nullptr;
  Integer FMonitorNum = 0;
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;
  String ClassName() const override { return "TScreen"; }

  // Forms in creation order.
  Integer FormCount() const { return Integer(FForms.size()); }
  TCustomForm* Forms(Integer Index) const;
  Integer CustomFormCount() const { return FormCount(); }
  TCustomForm* CustomForms(Integer Index) const { return Forms(Index); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TCustomForm* ActiveCustomForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCustomForm* FocusedForm() const { return FFocusedForm; }

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The platform cursor of a cursor number (stock ones, or those set with SetCursors).
  HCURSOR Cursors(TCursor Index) const;
  void SetCursors(TCursor Index, HCURSOR Value);

  Integer Width() const;
  Integer Height() const;
  TRect WorkAreaRect() const;
  Integer WorkAreaLeft() const { return WorkAreaRect().Left; }
  Integer WorkAreaTop() const { return WorkAreaRect().Top; }
  Integer WorkAreaWidth() const { return WorkAreaRect().Width(); }
  Integer WorkAreaHeight() const { return WorkAreaRect().Height(); }
  TRect DesktopRect() const { return Rect(0, 0, Width(), Height()); }
  Integer MonitorCount() const;
  TMonitor* Monitors(Integer Index);
  TMonitor* MonitorFromWindow(HWND Handle);
  Integer PixelsPerInch() const { return ScreenPixelsPerInch; }

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

 private:
  friend class TCustomForm;
  friend class TControl;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void ControlDestroyed(TControl* Control);
  void setActiveForm(TCustomForm* Form);
  void setActiveControl(TWinControl* Control);

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::map<TCursor, HCURSOR> FCursors;
  std::unique_ptr<TMonitor> FMonitor;
};

extern TScreen* Screen;
