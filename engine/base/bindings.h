// Binding one entry of a loaded library by name.
#pragma once

#include "engine/base/engineutils.h"
#include "platform/rtl/dynlib.h"

// Fills AEntry with the exported function AName; when it is missing and not AOptional, raises
// Exception "Load function %s@%s error: %s" (name, library file, the system's text).
void BindFunction(const TPathFileName& ALibName, HMODULE AHandle, const char* AName, bool AOptional,
                  void*& AEntry);
// The same for exported data: AEntry gets its address; "Load variable %s@%s error: %s".
void BindVariable(const TPathFileName& ALibName, HMODULE AHandle, const char* AName, bool AOptional,
                  void*& AEntry);

template <typename F>
void BindFunction(const TPathFileName& ALibName, HMODULE AHandle, const char* AName, bool AOptional,
                  F& AEntry) {
  void* p = nullptr;
  BindFunction(ALibName, AHandle, AName, AOptional, p);
  AEntry = reinterpret_cast<F>(p);
}

template <typename V>
void BindVariable(const TPathFileName& ALibName, HMODULE AHandle, const char* AName, bool AOptional,
                  V& AEntry) {
  void* p = nullptr;
  BindVariable(ALibName, AHandle, AName, AOptional, p);
  AEntry = static_cast<V>(p);
}

// A library whose major version (the version function's result >> 16) is not AExpected fails like
// a missing entry, naming the version function.
void CheckMajorVersion(const TPathFileName& ALibName, const char* AVersionFunction, unsigned AVersion,
                       Integer AExpected);
