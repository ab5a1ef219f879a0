#include "app/settingsdialog/form6pictures.h"

#include "platform/ui/graphics/bitmap.h"
#include "platform/ui/graphics/canvas.h"
#include "platform/ui/graphics/imagelist.h"
#include "platform/ui/graphics/picture.h"
#include "platform/ui/graphics/pngimage.h"

namespace {

void fill(TCanvas* C, TColor Color, const TRect& R) {
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

void disc(TCanvas* C, Integer CX, Integer CY, Integer Radius, TColor Color) {
  for (Integer Y = -Radius; Y <= Radius; ++Y)
    for (Integer X = -Radius; X <= Radius; ++X)
      if (X * X + Y * Y <= Radius * Radius) C->SetPixels(CX + X, CY + Y, Color);
}

// One hue per category, in category order.
constexpr TColor CategoryColours[] = {0x3A6FD8, 0x2E9E48, 0x1F4FA0, 0x606060, 0x303030, 0x8A2B2B,
                                      0x3B8FB0, 0x909090, 0x2F8F2F, 0x6A3FA0, 0x2070C0, 0x1060E0};

}  // namespace

void AddCategoryIcons(TImageList* List, Integer Count) {
  for (Integer i = 0; i < Count; ++i) {
    TBitmap B;
    B.SetSize(32, 32);
    TCanvas* C = B.Canvas();
    fill(C, clWhite, Rect(0, 0, 32, 32));
    fill(C, CategoryColours[i % 12], Rect(2, 2, 30, 30));
    if (i == 1) {
      // a note: stem, flag and head
      fill(C, clWhite, Rect(18, 7, 21, 23));
      fill(C, clWhite, Rect(18, 7, 25, 10));
      disc(C, 15, 23, 4, clWhite);
    } else {
      // a film strip: a white frame with sprocket holes
      fill(C, clWhite, Rect(7, 9, 25, 23));
      fill(C, CategoryColours[i % 12], Rect(10, 12, 22, 20));
      for (Integer x = 8; x < 24; x += 4) {
        fill(C, clBlack, Rect(x, 10, x + 2, 11));
        fill(C, clBlack, Rect(x, 21, x + 2, 22));
      }
    }
    List->Add(&B, nullptr);
  }
}

void DrawFolderPicture(TPicture* Picture) {
  TBitmap B;
  B.SetSize(128, 128);
  TCanvas* C = B.Canvas();
  // Drawn over a key colour that becomes the transparent part of the picture.
  constexpr TColor Key = 0xFF00FF;
  fill(C, Key, Rect(0, 0, 128, 128));
  // the folder: tab and body
  fill(C, 0x3CB4E8, Rect(8, 28, 52, 40));
  fill(C, 0x4CC8F5, Rect(8, 36, 120, 108));
  fill(C, 0x2A9AD0, Rect(8, 106, 120, 108));
  // the clapperboard: striped top, dark board
  fill(C, 0x303030, Rect(24, 56, 84, 96));
  for (Integer x = 24; x < 84; x += 12) fill(C, clWhite, Rect(x, 48, x + 6, 56));
  fill(C, 0x303030, Rect(24, 46, 84, 48));
  // the disc over the folder's right side
  disc(C, 92, 84, 22, 0xC8C8C8);
  disc(C, 92, 84, 6, 0x4CC8F5);
  disc(C, 92, 84, 2, clWhite);
  TPngImage Png;
  Png.Assign(&B);
  Png.CreateAlpha();
  for (Integer Y = 0; Y < 128; ++Y) {
    Byte* Alpha = Png.AlphaScanline(Y);
    for (Integer X = 0; X < 128; ++X) Alpha[X] = Png.Pixels(X, Y) == Key ? 0 : 255;
  }
  Picture->Assign(&Png);
}
