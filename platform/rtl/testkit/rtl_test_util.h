// A fresh folder for a test's files, removed with everything in it; the later folders' tests use it too.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/rtl/types.h"

class TTempFolder {
 public:
  explicit TTempFolder(const String& Prefix = "nerivo-test") {
    String Pattern = (std::filesystem::temp_directory_path() / (Prefix + "-XXXXXX")).string();
    if (mkdtemp(Pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder like " + Pattern);
    FRoot = Pattern;
  }
  ~TTempFolder() { Remove(); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const String& Root() const { return FRoot; }
  String Path(const String& Name) const { return FRoot + "/" + Name; }
  String operator/(const String& Name) const { return Path(Name); }

  // False when something could not be removed; a test that leaves such things behind may check it.
  bool Remove() {
    if (FRoot.empty()) return true;
    std::error_code Error;
    std::filesystem::remove_all(FRoot, Error);
    if (!Error) FRoot.clear();
    return !Error;
  }

 private:
  String FRoot;
};
