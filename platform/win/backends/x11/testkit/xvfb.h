// Display tests of later folders: a private Xvfb server and a second connection that reads its screen
// back as a person would see it. Names no X11 type, so any test can include it.
#pragma once

#include <memory>

#include "platform/gdi/codecs.h"
#include "platform/rtl/types.h"

namespace x11test {

// A private X server on the first free display number (Xvfb picks it and reports it); stopped with
// the object. Not running when Xvfb is missing or does not start. A server that resets when idle
// drops every client once its last one has left, as xvfb-run's and a display manager's do; the
// others keep going.
class TXvfb {
 public:
  explicit TXvfb(const String& screenSize = "1024x768x24", bool resetWhenIdle = false);
  ~TXvfb();
  TXvfb(const TXvfb&) = delete;
  TXvfb& operator=(const TXvfb&) = delete;
  bool Running() const { return !FName.empty(); }
  const String& Name() const { return FName; }

 private:
  int FPid = -1;
  String FName;
};

// A connection of its own to a display that reads what the screen shows.
class TScreenReader {
 public:
  explicit TScreenReader(const String& displayName);
  ~TScreenReader();
  TScreenReader(const TScreenReader&) = delete;
  TScreenReader& operator=(const TScreenReader&) = delete;
  bool Connected() const { return FDisplay != nullptr; }
  // The screen's pixel as 0x00BBGGRR (a COLORREF); CLR_INVALID when it cannot be read.
  uint32_t Pixel(Integer x, Integer y);
  // The area of the screen as a 24-bit image, top row first; empty when it cannot be read.
  TRawImage Capture(const TRect& area);

 private:
  void* FDisplay = nullptr;
};

// Writes the picture as a PNG beside the running test program, for a person to look at.
void SaveBesideProgram(const TRawImage& shot, const String& fileName);

}  // namespace x11test
