// The main window's display tests: the window with the product's skin and pictures, and pixel probes.
#pragma once

#include <algorithm>

#include "app/main/mainform/mainform.h"
#include "platform/gdi/codecs.h"
#include "platform/rtl/files.h"
#include "platform/ui/core/application.h"
#include "platform/ui/core/control.h"
#include "platform/win/backends/x11/testkit/xvfb.h"
#include "tools/skingen/skingen.h"

namespace mainformtest {

// The product skin and its pictures written into Folder/skin/, as the program has them beside it: the
// skin file.
inline String WriteProductLook(const String& Folder) {
  const String SkinFolder = Folder + "/skin/";
  ForceDirectories(SkinFolder);
  WriteProductSkinContainer(SkinFolder + "nerivo.skn");
  WriteProductPictures(SkinFolder);
  return SkinFolder + "nerivo.skn";
}

// The main window with the product skin and its pictures written into Folder/skin/, as the program
// creates it (its creation handler run), not yet shown.
inline TForm1* CreateWithProductLook(const String& Folder, const TOptionFile& OptionFile) {
  auto* F = new TForm1(Application, OptionFile, WriteProductLook(Folder));
  F->AfterConstruction();
  return F;
}

// The darkest colour channel on screen inside a client rectangle of a control, Margin pixels at its
// edges left out: text and ink are dark, faces and faded glyphs light.
inline Integer DarkestChannelIn(x11test::TScreenReader& Reader, TControl* C, TRect R, Integer Margin) {
  const TPoint P = C->ClientToScreen({0, 0});
  OffsetRect(&R, P.X, P.Y);
  const TRawImage Face = Reader.Capture(R);
  const Integer Bytes = Face.BitCount / 8;
  Integer Darkest = 255;
  for (Integer Y = Margin; Y < Face.Height - Margin; ++Y)
    for (Integer X = Margin; X < Face.Width - Margin; ++X)
      for (Integer Ch = 0; Ch < 3; ++Ch) Darkest = std::min<Integer>(Darkest, Face.Row(Y)[Bytes * X + Ch]);
  return Darkest;
}

}  // namespace mainformtest
