// skingen <folder>: writes the generated test skin there in both forms, the folder form (skin.ini and
// its BMP files) and the compressed container nerivo.skn.
// skingen --product <folder>: writes the product skin the same way, with the product's pictures and
// sound beside it.
#include <cstdio>
#include <cstring>

#include "platform/rtl/files.h"
#include "tools/skingen/skingen.h"

int main(int argc, char** argv) {
  const bool Product = argc == 3 && std::strcmp(argv[1], "--product") == 0;
  if (argc != 2 && !Product) {
    std::fprintf(stderr, "usage: skingen [--product] <output folder>\n");
    return 2;
  }
  try {
    const String Folder = IncludeTrailingPathDelimiter(argv[argc - 1]);
    ForceDirectories(Folder);
    if (Product) {
      WriteProductSkinFolder(Folder);
      WriteProductSkinContainer(Folder + "nerivo.skn");
      WriteProductPictures(Folder);
    } else {
      WriteGeneratedSkinFolder(Folder);
      WriteGeneratedSkinContainer(Folder + "nerivo.skn");
    }
  } catch (const std::exception& E) {
    std::fprintf(stderr, "skingen: %s\n", E.what());
    return 1;
  }
  return 0;
}
