// Switching the computer off at the end of a batch. The request is always logged; the machine is
// powered off only when the person opted in through an explicit setting (tests and CI never do).
#pragma once

#include <memory>

#include "platform/rtl/types.h"

class TPowerService {
 public:
  virtual ~TPowerService() = default;
  // Shut down and power off, closing running programs. True when the request was carried out.
  virtual bool PowerOff() = 0;
};

// The real service: logs the request; with the opt-in set it asks the system through
// `systemctl poweroff` (argument vector, no shell) and logs a failure.
class TSystemPowerService : public TPowerService {
 public:
  bool PowerOff() override;
  bool AllowPowerOff() const { return FAllowPowerOff; }
  void SetAllowPowerOff(bool value) { FAllowPowerOff = value; }

 private:
  bool FAllowPowerOff = false;
};

TPowerService& PowerService();
void SetPowerService(std::unique_ptr<TPowerService> service);
