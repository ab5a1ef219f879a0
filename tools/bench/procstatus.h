// What Linux says of this process in /proc/self/status, for the benchmarks' memory figures.
#pragma once

#include <fstream>
#include <string>

// The field Key ("VmRSS:", "VmHWM:" …) in KiB; -1 when it is not there.
inline long statusKiB(const char* Key) {
  std::ifstream In("/proc/self/status");
  std::string Line;
  while (std::getline(In, Line))
    if (Line.rfind(Key, 0) == 0) return std::stol(Line.substr(std::string(Key).size()));
  return -1;
}
