// Small clips from the project's test-media cache, and a scratch folder per process for what a test
// writes, removed at the end.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "engine/base/testkit/testmedia.h"
#include "platform/rtl/files.h"

class TFormatsMedia {
 public:
  static TFormatsMedia& Get() {
    static TFormatsMedia media;
    return media;
  }
  // A scratch folder of this process.
  const String& Dir() const { return FDir; }

  // 1 s of 96×72 MPEG-4 at AFrameRate with mono MP2 at 22050 Hz (a clip no disc standard takes as
  // it is: size, frame rate, sample rate and channels all differ).
  String Clip(const String& AName, const String& AFrameRate) {
    return TestMediaFile(AName, "-f lavfi -i testsrc=size=96x72:rate=" + AFrameRate +
                                    " -f lavfi -i sine=r=22050 -t 1 -ac 1 -c:v mpeg4 -c:a mp2");
  }

 private:
  TFormatsMedia() {
    char pattern[] = "/tmp/nerivo-formats-XXXXXX";
    FDir = mkdtemp(pattern);
  }
  ~TFormatsMedia() { std::system(("rm -rf '" + FDir + "'").c_str()); }
  String FDir;
};
