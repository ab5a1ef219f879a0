// Test support for the main window: a fresh program and home folder, the product skin written into
// it, and the window created as the program's start-up creates it.
#pragma once

#include "app/main/mainform/mainform.h"
#include "app/main/testkit/optionstestkit.h"
#include "platform/ui/core/application.h"
#include "skin/controls/testkit/skincontrolstestkit.h"
#include "tools/skingen/skingen.h"

namespace mainformtest {

class TMainFormTest : public optionstest::TOptionFileTestOf<TSkinControlTest> {
 protected:
  // The window as the program's start-up creates it (its creation handler has run).
  TForm1* Create() {
    WriteProductSkinContainer(Temp.Root() + "/nerivo.skn");
    auto* F = new TForm1(Application, File(), Temp.Root() + "/nerivo.skn");
    F->AfterConstruction();
    return F;
  }
};

}  // namespace mainformtest
