#include "skin/dialogs/bsdialogtoolpictures.h"

#include "platform/ui/graphics/pngimage.h"
#include "skin/core/bspngimagelist.h"

namespace {

// The dialogs' own pictures, drawn here: '#' outline, 'b' accent, 'y' light fill, '.' clear.
constexpr const char* ToolPictures[5][16] = {
    // back: an arrow to the left
    {"................", "................", "......#.........", ".....##.........", "....#b#.........",
     "...#bb#########.", "..#bbbbbbbbbbb#.", ".#bbbbbbbbbbbb#.", "..#bbbbbbbbbbb#.", "...#bb#########.",
     "....#b#.........", ".....##.........", "......#.........", "................", "................",
     "................"},
    // up: an arrow upwards
    {"........#.......", ".......#b#......", "......#bbb#.....", ".....#bbbbb#....", "....#bbbbbbb#...",
     "...#bbbbbbbbb#..", "..#####bbb#####.", "......#bbb#.....", "......#bbb#.....", "......#bbb#.....",
     "......#bbb#.....", "......#bbb#.....", "......#bbb#.....", "......#####.....", "................",
     "................"},
    // new folder: a folder with a spark
    {"............#...", "..........#.#.#.", "...........###..", "..........#####.", "...........###..",
     ".#####....#.#.#.", "#yyyyy#.....#...", "#yyyyyy######...", "#yyyyyyyyyyyy#..", "#yyyyyyyyyyyy#..",
     "#yyyyyyyyyyyy#..", "#yyyyyyyyyyyy#..", "#yyyyyyyyyyyy#..", "##############..", "................",
     "................"},
    // view menu: list lines
    {"................", "................", ".##.##########..", ".##.##########..", "................",
     ".##.##########..", ".##.##########..", "................", ".##.##########..", ".##.##########..",
     "................", ".##.##########..", ".##.##########..", "................", "................",
     "................"},
    // stretch: a frame with arrows to its corners
    {"################", "#bbbb......bbbb#", "#bbb........bbb#", "#bb.b......b.bb#", "#b...b....b...b#",
     "#.....b..b.....#", "#......bb......#", "#......bb......#", "#.....b..b.....#", "#b...b....b...b#",
     "#bb.b......b.bb#", "#bbb........bbb#", "#bbbb......bbbb#", "#..............#", "################",
     "................"},
};

constexpr const char* ToolPictureNames[5] = {"BS_BACK_PNG", "BS_UP_PNG", "BS_NEWFOLDER_PNG", "BS_LVSTYLE_PNG",
                                             "BS_STRETCH_PNG"};

// The product's palette: the text colour draws, the accent marks the action, a light accent fills.
TColor ToolPictureColor(char C) {
  switch (C) {
    case '#':
      return TColor(0x28231F);  // text #1F2328
    case 'b':
      return TColor(0xDE6F2F);  // accent #2F6FDE
    case 'y':
      return TColor(0xF8E6DC);  // light accent #DCE6F8
    default:
      return TColor(0);
  }
}

void AddToolPicture(TbsPngImageList* List, Integer Index) {
  TbsPngImage Png;
  Png.CreateBlank(6 /* true colour with alpha */, 8, 16, 16);
  for (Integer Y = 0; Y < 16; ++Y) {
    Byte* Alpha = Png.AlphaScanline(Y);
    for (Integer X = 0; X < 16; ++X) {
      const char C = ToolPictures[Index][Y][X];
      Png.SetPixels(X, Y, ToolPictureColor(C));
      Alpha[X] = C == '.' ? 0 : 255;
    }
  }
  auto* Item = new TbsPngImageItem(List->PngImages());
  Item->SetName(ToolPictureNames[Index]);
  Item->SetPngImage(&Png);
}

}  // namespace

void AddOpenDlgToolImages(TbsPngImageList* List, bool WithStretch) {
  if (List->Count() == 0) {
    List->SetPngWidth(16);
    List->SetPngHeight(16);
  }
  for (Integer I = List->Count(); I < (WithStretch ? 5 : 4); ++I) AddToolPicture(List, I);
}

void AddNewFolderPicture(TbsPngImageList* List) {
  if (List->Count() == 0) {
    List->SetPngWidth(16);
    List->SetPngHeight(16);
  }
  AddToolPicture(List, 2);
}
