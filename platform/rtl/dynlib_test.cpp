#include "platform/rtl/dynlib.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(DynamicLibrary, LoadFindCallAndFree) {
  HMODULE lib = LoadLibrary("libm.so.6");
  ASSERT_NE(lib, nullptr) << LastLibraryError();
  using TCos = double (*)(double);
  auto cosine = reinterpret_cast<TCos>(GetProcAddress(lib, "cos"));
  ASSERT_NE(cosine, nullptr) << LastLibraryError();
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);

  EXPECT_EQ(GetProcAddress(lib, "no_such_function_here"), nullptr);
  EXPECT_NE(LastLibraryError().find("no_such_function_here"), String::npos) << LastLibraryError();
  EXPECT_TRUE(FreeLibrary(lib));
}

// A library loaded only by this test: mapped after a KeepMapped free, gone after a plain one.
TEST(DynamicLibrary, KeepMappedSurvivesItsFree) {
  const char* name = "libpng16.so.16";
  for (bool keep : {false, true}) {
    if (dlopen(name, RTLD_NOW | RTLD_NOLOAD)) GTEST_SKIP() << name << " is already mapped";
    HMODULE lib = LoadLibrary(name, keep);
    ASSERT_NE(lib, nullptr) << LastLibraryError();
    EXPECT_TRUE(FreeLibrary(lib));
    void* again = dlopen(name, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(again != nullptr, keep);
    if (again) return;  // stays mapped for the rest of the process
  }
}

TEST(DynamicLibrary, FailuresGiveTheirText) {
  EXPECT_EQ(LoadLibrary("/nonexistent/libnothing.so"), nullptr);
  EXPECT_NE(LastLibraryError().find("libnothing.so"), String::npos) << LastLibraryError();
  EXPECT_EQ(LoadLibrary(""), nullptr);  // never the program itself
  EXPECT_FALSE(LastLibraryError().empty());
  EXPECT_EQ(GetProcAddress(nullptr, "cos"), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(SysErrorMessage, GivesTheSystemText) {
  EXPECT_EQ(SysErrorMessage(ENOENT), "No such file or directory");
  EXPECT_EQ(SysErrorMessage(EACCES), "Permission denied");
  EXPECT_FALSE(SysErrorMessage(99999).empty());
}

}  // namespace
