#include "platform/rtl/environment.h"

#include <cstdlib>
#include <mutex>

namespace {

// getenv hands out pointers into storage that setenv may replace; copy under the same lock.
std::mutex& environmentLock() {
  static std::mutex lock;
  return lock;
}

bool validName(const String& Name) {
  return !Name.empty() && Name.find('=') == String::npos;
}

}  // namespace

String GetEnvironmentVariable(const String& Name) {
  if (!validName(Name)) return String();
  std::lock_guard<std::mutex> guard(environmentLock());
  const char* value = std::getenv(Name.c_str());
  return value ? String(value) : String();
}

bool EnvironmentVariableExists(const String& Name) {
  if (!validName(Name)) return false;
  std::lock_guard<std::mutex> guard(environmentLock());
  return std::getenv(Name.c_str()) != nullptr;
}

bool SetEnvironmentVariable(const String& Name, const String& Value) {
  if (!validName(Name)) return false;
  std::lock_guard<std::mutex> guard(environmentLock());
  return setenv(Name.c_str(), Value.c_str(), 1) == 0;
}

bool DeleteEnvironmentVariable(const String& Name) {
  if (!validName(Name)) return false;
  std::lock_guard<std::mutex> guard(environmentLock());
  return unsetenv(Name.c_str()) == 0;
}
