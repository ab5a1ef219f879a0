// Test support: the engine's private state, for tests that put a form in a state directly rather than
// walking it there through the window (a frame narrower than the skin, a child already maximized) and
// for tests that watch what the engine hands to the form's own window procedure.
#pragma once

#include "skin/forms/engine/bsskinform.h"

struct TbsSkinFormTestAccess {
  static TbsFormMode& Mode(TbsSkinForm* E) { return E->FMode; }
  static TbsFormGeometry& Geometry(TbsSkinForm* E) { return E->FGeometry; }
  // The form's window procedure the engine passes unanswered messages to.
  static TWndMethod& OldWindowProc(TbsSkinForm* E) { return E->OldWindowProc; }
  static bool& MDIChildMaximized(TbsSkinForm* E) { return E->FMDIChildMaximized; }
  // The MDI client's subclass procedure and the procedure it had before.
  static WNDPROC ClientInstance(const TbsSkinForm* E) { return E->FClientInstance; }
  static WNDPROC PrevClientProc(const TbsSkinForm* E) { return E->FPrevClientProc; }
  // Forgets every edge the form snapped to.
  static void ClearSnap(TbsSkinForm* E) {
    E->HMagnetized = E->VMagnetized = E->HMagnetized2 = E->VMagnetized2 = false;
  }
};
