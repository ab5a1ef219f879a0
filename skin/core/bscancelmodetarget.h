// A skinned control outside the control bases that an MDI main form's engine also tells to leave its
// pressed or dropped state (CM_CANCELMODE) when the form's frame or client takes a press: the edit
// boxes. The engine reaches them through this, never through their headers.
#pragma once

class IbsCancelModeTarget {
 protected:
  IbsCancelModeTarget() = default;
  IbsCancelModeTarget(const IbsCancelModeTarget&) = default;
  IbsCancelModeTarget& operator=(const IbsCancelModeTarget&) = default;
  // Never deleted through the interface: a control is freed by its owner.
  ~IbsCancelModeTarget() = default;
};
