// Painting what lies under a transparent control: the parent's background and the parent's windowless
// controls below it, into the control's canvas.
#include "platform/ui/core/control.h"
#include "platform/ui/core/customcontrol.h"
#include "platform/ui/core/form.h"
#include "platform/ui/core/wincontrol.h"
#include "platform/ui/graphics/canvas.h"
#include "skin/core/bsdraw.h"

namespace {

// PaintWindow is protected; a member pointer taken through a derived class reaches it on any control.
struct PaintWindowAccess : TWinControl {
  static void paint(TWinControl* Control, HDC DC) { (Control->*(&PaintWindowAccess::PaintWindow))(DC); }
};

void setPaintCopy(TControl* Control, bool On) {
  TControlState state = Control->ControlState();
  if (On)
    state.Include(csPaintCopy);
  else
    state.Exclude(csPaintCopy);
  Control->SetControlState(state);
}

// Restores the saved DC state and clears the flag whatever happens while painting.
struct PaintCopyScope {
  TControl* Control;
  HDC DC;
  Integer Saved;
  PaintCopyScope(TControl* C, HDC D) : Control(C), DC(D), Saved(SaveDC(D)) { setPaintCopy(Control, true); }
  ~PaintCopyScope() {
    RestoreDC(DC, Saved);
    setPaintCopy(Control, false);
  }
};

bool intersects(const TRect& A, const TRect& B) {
  TRect r;
  return IntersectRect(&r, &A, &B);
}

void paintParentBackground(TWinControl* Control, const TPoint& Offset, TCanvas* Canvas) {
  if (Control == nullptr || Control->Parent() == nullptr) return;
  TWinControl* parent = Control->Parent();
  const HDC dc = Canvas->Handle();
  {
    PaintCopyScope scope(parent, dc);
    SetViewportOrgEx(dc, -Control->Left() - Offset.X, -Control->Top() - Offset.Y, nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    if (dynamic_cast<TCustomForm*>(parent) == nullptr) PaintWindowAccess::paint(parent, dc);
  }
  const TRect bounds = Control->BoundsRect();
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (child == Control) break;
    if (dynamic_cast<TGraphicControl*>(child) == nullptr || !child->Visible() ||
        !intersects(child->BoundsRect(), bounds))
      continue;
    PaintCopyScope scope(child, dc);
    SetViewportOrgEx(dc, child->Left() - Control->Left() - Offset.X, child->Top() - Control->Top() - Offset.Y,
                     nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    child->Perform(WM_PAINT, WPARAM(dc), 0);
  }
}

}  // namespace

void DrawParentBackground(TWinControl* Control, TCanvas* Canvas) {
  paintParentBackground(Control, Point(0, 0), Canvas);
}

void DrawParentBackgroundAt(TWinControl* Control, const TRect& R, TCanvas* Canvas) {
  paintParentBackground(Control, Point(R.Left, R.Top), Canvas);
}
