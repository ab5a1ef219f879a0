// A temporary folder for file-system tests, removed with everything in it afterwards; the test
// fails when it leaves the process in another working folder.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/rtl/types.h"

namespace shelltest {

// Base lets a test case that needs more set-up of its own (a user interface, say) have the folder too.
template <class Base = ::testing::Test>
class TTempFolderTestOf : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    FWorkingFolder = cwd;
    char tmpl[] = "/tmp/nerivo-ns-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    Dir = tmpl;
    chmod(Dir.c_str(), 0755);
  }
  void TearDown() override {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(String(cwd), FWorkingFolder) << "the working folder changed";
    String cmd = "chmod -R u+rwx '" + Dir + "' 2>/dev/null; rm -rf '" + Dir + "'";
    EXPECT_EQ(system(cmd.c_str()), 0);
    Base::TearDown();
  }

  String Path(const String& Name) const { return Dir + "/" + Name; }
  void MakeFile(const String& Name, const String& Body = "x") const { std::ofstream(Path(Name)) << Body; }
  void MakeDir(const String& Name) const { ASSERT_EQ(mkdir(Path(Name).c_str(), 0755), 0) << Name; }

  String Dir;

 private:
  String FWorkingFolder;
};

using TTempFolderTest = TTempFolderTestOf<>;

}  // namespace shelltest
