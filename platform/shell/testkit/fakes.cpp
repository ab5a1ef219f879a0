// Installing the fakes.
#include "platform/shell/testkit/fakes.h"

namespace shelltest {

TShellFakes::TShellFakes() {
  auto open = std::make_unique<TFakeShellOpen>();
  auto power = std::make_unique<TFakePower>();
  auto sound = std::make_unique<TFakeSound>();
  auto tray = std::make_unique<TFakeTray>();
  FOpen = open.get();
  FPower = power.get();
  FSound = sound.get();
  FTray = tray.get();
  SetShellOpenService(std::move(open));
  SetPowerService(std::move(power));
  SetSoundService(std::move(sound));
  SetTrayService(std::move(tray));
}

TShellFakes::~TShellFakes() {
  SetShellOpenService(nullptr);
  SetPowerService(nullptr);
  SetSoundService(nullptr);
  SetTrayService(nullptr);
}

}  // namespace shelltest
