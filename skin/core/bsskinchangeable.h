// What the skin-change walk of the form engine needs of a skinned control. The walk
// (bsskinchangewalk.h) reaches the controls of higher libraries (edits, lists, pages) only through
// this: it never includes their headers.
#pragma once

class TbsSkinData;

class IbsSkinChangeable {
 public:
  // The skin the control draws with; nullptr for none. The walk reloads a control whose skin is the
  // one that changed (or every control, when the walk is given no skin).
  virtual TbsSkinData* SkinData() const = 0;
  // Before the skin is replaced: forget the element taken from it.
  virtual void BeforeChangeSkinData() = 0;
  // After the new skin is in place: take the element again, re-apply the size rules and repaint.
  virtual void ChangeSkinData() = 0;

 protected:
  IbsSkinChangeable() = default;
  IbsSkinChangeable(const IbsSkinChangeable&) = default;
  IbsSkinChangeable& operator=(const IbsSkinChangeable&) = default;
  // Never deleted through the interface: a control is freed by its owner.
  ~IbsSkinChangeable() = default;
};
