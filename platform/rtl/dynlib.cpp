#include "platform/rtl/dynlib.h"

#include <dlfcn.h>

#include <cstring>

namespace {

thread_local String tLastLibraryError;

void takeDlError(const char* fallback) {
  const char* text = dlerror();
  tLastLibraryError = text ? text : fallback;
}

}  // namespace

HMODULE LoadLibrary(const String& FileName, bool KeepMapped) {
  if (FileName.empty()) {
    // dlopen(nullptr) would hand out the main program instead of failing.
    tLastLibraryError = "empty library name";
    return nullptr;
  }
  dlerror();
  void* handle = dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL | (KeepMapped ? RTLD_NODELETE : 0));
  if (!handle) takeDlError("cannot load library");
  return static_cast<HMODULE>(handle);
}

void* GetProcAddress(HMODULE Module, const String& ProcName) {
  if (!Module) {
    tLastLibraryError = "invalid module handle";
    return nullptr;
  }
  dlerror();
  void* address = dlsym(static_cast<void*>(Module), ProcName.c_str());
  if (!address) takeDlError("undefined symbol");
  return address;
}

bool FreeLibrary(HMODULE Module) {
  if (!Module) {
    tLastLibraryError = "invalid module handle";
    return false;
  }
  dlerror();
  if (dlclose(static_cast<void*>(Module)) == 0) return true;
  takeDlError("cannot unload library");
  return false;
}

String LastLibraryError() {
  return tLastLibraryError;
}

String SysErrorMessage(Integer ErrorCode) {
  char buffer[256] = {0};
  // The GNU strerror_r may return a static text instead of filling the buffer.
  const char* text = strerror_r(ErrorCode, buffer, sizeof buffer);
  return text ? String(text) : String();
}
