// What the format routines need of the window's choosers. The main window and the preset dialog
// plug in their skinned combo boxes; tests plug in doubles that keep the same event contract.
#pragma once

#include <array>

#include "app/formats/formattables.h"
#include "platform/rtl/types.h"

// A fixed-list preset chooser (skinned combo box).
class IPresetChooser {
 public:
  virtual ~IPresetChooser() = default;
  // Items.Clear / Items.Add: no event, and the shown text stays as it was.
  virtual void ClearItems() = 0;
  virtual void AddItem(const String& Text) = 0;
  virtual Integer ItemIndex() const = 0;
  // Selects the entry; a valid entry becomes the shown text, and OnChange runs inside this call only
  // when that text changed; then OnClick and Change run on every assignment.
  virtual void SetItemIndex(Integer Index) = 0;
  virtual String Text() const = 0;
  virtual void SetEnabled(bool Value) = 0;
};

// The format chooser (two-line office combo box).
class IFormatChooser {
 public:
  virtual ~IFormatChooser() = default;
  virtual void ClearItems() = 0;
  virtual void AddItem(const String& Caption, Integer ImageIndex) = 0;
  virtual void Refresh() = 0;
  virtual void Repaint() = 0;
  virtual Integer ItemCount() const = 0;
  // Raises EListError outside the list.
  virtual String ItemCaption(Integer Index) const = 0;
  virtual Integer ItemIndex() const = 0;
  // Selects and repaints, then runs OnClick and OnChange on every assignment, also when the
  // position does not change.
  virtual void SetItemIndex(Integer Index) = 0;
};

// The six preset choosers, indexed by TPresetSlot.
using TPresetChoosers = std::array<IPresetChooser*, PresetSlotCount>;

// Marks a span in which a window's choosers only show a choice: their change handlers, seeing the
// depth above 0, change no job. Spans nest.
class TShowingChoice {
 public:
  explicit TShowingChoice(Integer& Depth) : FDepth(Depth) { ++FDepth; }
  ~TShowingChoice() { --FDepth; }
  TShowingChoice(const TShowingChoice&) = delete;
  TShowingChoice& operator=(const TShowingChoice&) = delete;

 private:
  Integer& FDepth;
};
