// The process environment. Reads and writes through these functions are serialised, so threads
// may use them at the same time (direct getenv/setenv calls elsewhere are not covered).
#pragma once

#include "platform/rtl/types.h"

// "" when the variable is not set.
String GetEnvironmentVariable(const String& Name);
bool EnvironmentVariableExists(const String& Name);
// Sets the variable for the rest of the process; false for an invalid name ("" or with '=').
bool SetEnvironmentVariable(const String& Name, const String& Value);
bool DeleteEnvironmentVariable(const String& Name);
