// A disc target's standard against the record's values: what it fixes, what it brings into range.
#include "engine/component/discstandard.h"

#include <gtest/gtest.h>

namespace {

// A record as the preset choosers fill it, with every value a standard could object to.
TOutputOptions Chosen(TOptionTargetType ATarget) {
  TOutputOptions o;
  o.TargetType = ATarget;
  o.NormType = ntPAL;
  o.FrameSize = "704*480";
  o.FrameRate = "29.97";
  o.AudioSampleRate = 22050;
  o.AudioChannels = 1;
  o.GroupPictureSize = 250;
  o.VideoMaxRate = o.VideoMinRate = o.VideoBufSize = 100000;
  o.PacketSize = 4096;
  o.MuxRate = 1;
  o.MuxPreload = 2.0f;
  o.VideoCodec = "mpeg4";  // a codec the caller names still wins
  o.VideoBitrate = 12000000;
  o.AudioBitrate = 150000;
  o.FrameAspectRatio = "47:20";
  o.AudioVolume = 300;
  return o;
}

TEST(WithinDiscStandard, KeepsOnlyTheChoicesTheStandardLeaves) {
  struct Case {
    TOptionTargetType Target;
    Integer VideoBitrate, AudioBitrate, Channels;
    const char* Aspect;
  };
  const Case cases[] = {
      {ttVCD, -1, -1, -1, ""},               // all fixed: the target's 1150 k, 224 k, stereo, 4:3
      {ttSVCD, 2516000, 160000, 2, "16:9"},  // 150 k lies between 128 k and 160 k: the higher
      {ttDVD, 9000000, 160000, 2, "16:9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Target);
    const TOutputOptions r = WithinDiscStandard(Chosen(c.Target));
    EXPECT_EQ(r.FrameSize, "");
    EXPECT_EQ(r.FrameRate, "");
    EXPECT_EQ(r.AudioSampleRate, -1);
    EXPECT_EQ(r.GroupPictureSize, -1);
    EXPECT_EQ(r.VideoMaxRate, -1);
    EXPECT_EQ(r.VideoMinRate, -1);
    EXPECT_EQ(r.VideoBufSize, -1);
    EXPECT_EQ(r.PacketSize, -1);
    EXPECT_EQ(r.MuxRate, -1);
    EXPECT_LT(r.MuxPreload, 0);
    EXPECT_EQ(r.VideoBitrate, c.VideoBitrate);
    EXPECT_EQ(r.AudioBitrate, c.AudioBitrate);
    EXPECT_EQ(r.AudioChannels, c.Channels);
    EXPECT_EQ(r.FrameAspectRatio, c.Aspect);
    EXPECT_EQ(r.VideoCodec, "mpeg4");
    EXPECT_EQ(r.AudioVolume, 300);
    EXPECT_EQ(r.TargetType, c.Target);
  }
}

TEST(WithinDiscStandard, BringsChoicesIntoTheStandardsRange) {
  struct Case {
    TOptionTargetType Target;
    Integer VideoBitrate, AudioBitrate;
    const char* Aspect;
    Integer ExpectedVideo, ExpectedAudio;
    const char* ExpectedAspect;
  };
  const Case cases[] = {
      {ttSVCD, 528000, 16000, "4:3", 528000, 32000, "4:3"},         // below the lowest MP2 rate
      {ttSVCD, 2000000, 128000, "37:20", 2000000, 128000, "16:9"},  // already allowed
      {ttSVCD, -1, 500000, "1.5", -1, 384000, "4:3"},               // above the highest
      {ttDVD, 1200000, 24000, "16:9", 1200000, 64000, "16:9"},
      {ttDVD, -1000, 440000, "", -1000, 448000, ""},  // no aspect: the target's own
      {ttDVD, 8000000, -1, "1.6", 8000000, -1, "16:9"},
  };
  for (const Case& c : cases) {
    TOutputOptions o;
    o.TargetType = c.Target;
    o.VideoBitrate = c.VideoBitrate;
    o.AudioBitrate = c.AudioBitrate;
    o.FrameAspectRatio = c.Aspect;
    const TOutputOptions r = WithinDiscStandard(o);
    EXPECT_EQ(r.VideoBitrate, c.ExpectedVideo) << c.Target << " " << c.VideoBitrate;
    EXPECT_EQ(r.AudioBitrate, c.ExpectedAudio) << c.Target << " " << c.AudioBitrate;
    EXPECT_EQ(r.FrameAspectRatio, c.ExpectedAspect) << c.Target << " " << c.Aspect;
  }
}

TEST(WithinDiscStandard, LeavesARecordWithoutTargetAsItIs) {
  TOutputOptions o = Chosen(ttIgnore);
  const TOutputOptions r = WithinDiscStandard(o);
  EXPECT_EQ(r.FrameSize, o.FrameSize);
  EXPECT_EQ(r.FrameRate, o.FrameRate);
  EXPECT_EQ(r.AudioSampleRate, o.AudioSampleRate);
  EXPECT_EQ(r.VideoBitrate, o.VideoBitrate);
  EXPECT_EQ(r.AudioBitrate, o.AudioBitrate);
  EXPECT_EQ(r.AudioChannels, 1);
  EXPECT_EQ(r.FrameAspectRatio, "47:20");
  EXPECT_EQ(r.PacketSize, 4096);
}

}  // namespace
