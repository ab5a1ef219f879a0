// How the dialogs above the main window meet it: each names only what it uses of the main window,
// which answers; and what the main window needs of the preset dialog, which answers that.
#pragma once

#include "app/formats/jobparameters.h"
#include "app/formats/jobrow.h"
#include "app/formats/skinchoosers.h"

class TbsSkinData;
class TbsSkinOfficeItems;
class TComponent;
class TCustomImageList;

// The settings dialog: the JobParameters its routines fill and the output naming they follow.
class IJobParametersHost {
 public:
  virtual ~IJobParametersHost() = default;
  virtual TJobParameters& JobParameters() = 0;
  virtual TbsSkinData* SkinData() const = 0;
  // The folder output names are made in (the folder box's text).
  virtual String OutputFolder() const = 0;
  virtual bool OverwriteOutput() const = 0;
};

// The preset dialog: its choices go to the selected job through the main window's one format step.
class IPresetDialogHost {
 public:
  virtual ~IPresetDialogHost() = default;
  virtual TbsSkinData* SkinData() const = 0;
  virtual TCustomImageList* CategoryImages() const = 0;
  virtual TCustomImageList* FormatImages() const = 0;
  // The items the main window's format chooser holds now.
  virtual TbsSkinOfficeItems* FormatItems() const = 0;
  virtual TJobParameters& JobParameters() = 0;
  virtual bool HasSelectedJob() const = 0;
  // The format and presets chosen applied to the selected job (row, name and option slot).
  virtual void ApplyFormatToSelectedJob(const TJobFormatChoice& Choice) = 0;
  // One preset chooser's change on the selected job; EConvertError (nothing changed) when its text
  // does not read.
  virtual void ApplyPresetToSelectedJob(TPresetSlot Slot, const IPresetChooser& Chooser) = 0;
  virtual TChooserPositions ChooserPositions() const = 0;
  // OK: the main window's choosers take these positions and the selected job takes their format once.
  virtual void TakeChooserPositions(const TChooserPositions& Positions) = 0;
  // Cancel: the main window's choosers show the selected job again (what the dialog wrote stays).
  virtual void ShowSelectedJobChoices() = 0;
  virtual void FocusJobList() = 0;
};

// What the main window needs of the preset dialog.
class IPresetDialog {
 public:
  virtual ~IPresetDialog() = default;
  // The dialog's choosers set to these positions, its handlers changing no job.
  virtual void TakeChoices(const TChooserPositions& Positions) = 0;
  virtual void ShowPresetDialog() = 0;
  // The dialog as a component, so that the main window hears of its destruction.
  virtual TComponent* PresetDialogComponent() = 0;
};
