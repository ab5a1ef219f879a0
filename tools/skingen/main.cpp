// skingen <folder>: writes the generated skin there in both forms, the folder form (skin.ini and its
// BMP files) and the compressed container nerivo.skn.
#include <cstdio>

#include "platform/rtl/files.h"
#include "tools/skingen/skingen.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skingen <output folder>\n");
    return 2;
  }
  try {
    const String Folder = IncludeTrailingPathDelimiter(argv[1]);
    ForceDirectories(Folder);
    WriteGeneratedSkinFolder(Folder);
    WriteGeneratedSkinContainer(Folder + "nerivo.skn");
  } catch (const std::exception& E) {
    std::fprintf(stderr, "skingen: %s\n", E.what());
    return 1;
  }
  return 0;
}
