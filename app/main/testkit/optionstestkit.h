// Test support for the settings: a fresh program folder and home folder per test, the settings file
// in it as text, and the engine log's lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/main/options/optionfile.h"
#include "engine/base/ffmpeglogger.h"
#include "platform/rtl/testkit/rtl_test_util.h"

namespace optionstest {

// Base lets a user-interface fixture have the folders too.
template <class Base = ::testing::Test>
class TOptionFileTestOf : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    TOptionFile::ForgetUnwrittenValues();
    const char* Home = std::getenv("HOME");
    FSavedHome = Home != nullptr ? Home : "";
    FHadHome = Home != nullptr;
    setenv("HOME", (Temp.Root() + "/home").c_str(), 1);
    TFFLogger* Logger = GetFFLogger();
    FSavedMainThread = Logger->TriggerEventInMainThread();
    Logger->SetTriggerEventInMainThread(false);
    Logger->OnLog = [this](TObject*, Cardinal, TLogLevel, const String& Line) { Log.push_back(Line); };
  }
  void TearDown() override {
    GetFFLogger()->OnLog = nullptr;
    GetFFLogger()->SetTriggerEventInMainThread(FSavedMainThread);
    if (FHadHome)
      setenv("HOME", FSavedHome.c_str(), 1);
    else
      unsetenv("HOME");
    TOptionFile::ForgetUnwrittenValues();
    Base::TearDown();
  }

  String IniName() const { return Temp.Root() + "/option.ini"; }
  TOptionFile File() const { return TOptionFile(IniName()); }
  void WriteIni(const String& Text) const { std::ofstream(IniName(), std::ios::binary) << Text; }
  String IniText() const {
    std::ifstream In(IniName(), std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
  String Home() const { return Temp.Root() + "/home"; }

  TTempFolder Temp{"nerivo-options"};
  std::vector<String> Log;

 private:
  String FSavedHome;
  bool FHadHome = false;
  bool FSavedMainThread = true;
};

using TOptionFileTest = TOptionFileTestOf<>;

}  // namespace optionstest
