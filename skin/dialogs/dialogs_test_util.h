// Test support shared by the dialogs' tests: a skin string table made of given lines, and a window's
// screenshot saved beside the test program.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "platform/rtl/lists.h"
#include "skin/core/bsskindata.h"
#if NERIVO_X11_TESTS
#include "platform/ui/testkit/displaytest.h"
#endif

namespace dialogstest {

// Gives ASkin a string table whose lines are Lines only; Holder keeps it alive.
inline void UseStringTable(TbsSkinData* ASkin, std::unique_ptr<TbsResourceStrData>& Holder,
                           std::initializer_list<const char*> Lines) {
  Holder = std::make_unique<TbsResourceStrData>(nullptr);
  TStringList L;
  for (const char* S : Lines) L.Add(S);
  Holder->SetResStrings(&L);
  ASkin->SetResourceStrData(Holder.get());
}

#if NERIVO_X11_TESTS
// The window as the screen shows it, frame included, saved beside the test program as Name.
inline void SaveWindowShot(x11test::TScreenReader& Reader, HWND Wnd, const char* Name) {
  TRect W;
  GetWindowRect(Wnd, &W);
  TRawImage Shot = Reader.Capture(W);
  ASSERT_FALSE(Shot.Empty());
  x11test::SaveBesideProgram(Shot, Name);
}
#endif

}  // namespace dialogstest
