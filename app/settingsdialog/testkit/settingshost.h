// Test support for the settings dialog: the main window's side as a plain record.
#pragma once

#include <utility>

#include "app/main/mainform/jobhosts.h"

namespace settingstest {

struct TJobParametersHost : IJobParametersHost {
  TJobParametersHost(TJobParameters& AParameters, TbsSkinData* ASkin, String AFolder, bool AOverwrite = false)
      : Parameters(AParameters), Skin(ASkin), Folder(std::move(AFolder)), Overwrite(AOverwrite) {}
  TJobParameters& JobParameters() override { return Parameters; }
  TbsSkinData* SkinData() const override { return Skin; }
  String OutputFolder() const override { return Folder; }
  bool OverwriteOutput() const override { return Overwrite; }

  TJobParameters& Parameters;
  TbsSkinData* Skin;
  String Folder;
  bool Overwrite;
};

}  // namespace settingstest
