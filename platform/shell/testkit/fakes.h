// Fakes of the desktop services for tests: they record what was asked and run nothing.
#pragma once

#include <vector>

#include "platform/shell/power.h"
#include "platform/shell/shellopen.h"
#include "platform/shell/sound.h"
#include "platform/shell/tray.h"

namespace shelltest {

class TFakeShellOpen : public TShellOpenService {
 public:
  bool Open(const String& target) override {
    Targets.push_back(target);
    return Result;
  }
  std::vector<String> Targets;
  bool Result = true;
};

class TFakePower : public TPowerService {
 public:
  bool PowerOff() override {
    ++Requests;
    return Result;
  }
  Integer Requests = 0;
  bool Result = true;
};

class TFakeSound : public TSoundService {
 public:
  bool PlayAsync(const String& wavFile) override {
    Played.push_back(wavFile);
    return Result;
  }
  std::vector<String> Played;
  bool Result = true;
};

// The recording tray, which can also play a desktop without a tray (every call fails).
class TFakeTray : public TRecordingTrayService {
 public:
  bool NotifyIcon(DWORD message, const NOTIFYICONDATA& data) override {
    Calls.push_back(message);
    return Available && TRecordingTrayService::NotifyIcon(message, data);
  }
  std::vector<DWORD> Calls;
  bool Available = true;
};

// Installs a fake of every service for its lifetime, then the real ones again.
class TShellFakes {
 public:
  TShellFakes();
  ~TShellFakes();
  TShellFakes(const TShellFakes&) = delete;
  TShellFakes& operator=(const TShellFakes&) = delete;

  TFakeShellOpen& Open() { return *FOpen; }
  TFakePower& Power() { return *FPower; }
  TFakeSound& Sound() { return *FSound; }
  TFakeTray& Tray() { return *FTray; }

 private:
  TFakeShellOpen* FOpen;
  TFakePower* FPower;
  TFakeSound* FSound;
  TFakeTray* FTray;
};

}  // namespace shelltest
