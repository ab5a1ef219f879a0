// Shared by the transcoder's tests: the libraries loaded once, small media files from the shared
// test-media cache, and a log recorder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/base/ffmpegloader.h"
#include "engine/base/testkit/testmedia.h"
#include "engine/transcoder/testkit/transcoder_peer.h"
#include "engine/transcoder/transcoder.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"

namespace transcoder_test {

// The test media, from the project's test-media cache; and a scratch folder per process for the
// files a test writes, removed at the end.
class TMedia {
 public:
  static TMedia& Get() {
    static TMedia media;
    return media;
  }
  const String& Dir() const { return FDir; }
  String Path(const String& AName) const { return FDir + "/" + AName; }

  // 160×120 MPEG-4 at 25 fps with MP2 stereo at 44100 Hz, 1 s.
  String AudioVideoAvi() {
    return Make("av.avi",
                "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=r=44100 "
                "-t 1 -ac 2 -c:v mpeg4 -c:a mp2");
  }
  // 64×48 at 30000/1001 fps, no audio, 0.5 s.
  String NtscVideo() {
    return Make("ntsc.mkv", "-f lavfi -i testsrc=size=64x48:rate=30000/1001 -t 0.5 -c:v mpeg4");
  }
  // 720×576 with sample aspect 16:15, 3 frames.
  String PalSarVideo() {
    return Make("palsar.mkv",
                "-f lavfi -i color=size=720x576:rate=25 -frames:v 3 -vf setsar=16/15 -c:v mpeg2video");
  }
  // Mono 22050 Hz, 2 s.
  String AudioWav() { return Make("audio.wav", "-f lavfi -i sine=r=22050 -t 2 -ac 1 -c:a pcm_s16le"); }
  // Video, subtitle, audio in that stream order.
  String VideoSubtitleAudio() {
    const String srt = TestMediaText("sub.srt", "1\n00:00:00,000 --> 00:00:00,500\nhello\n\n");
    return Make("vsa.mkv", "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine -i '" + srt +
                               "' -map 0:v -map 2:s -map 1:a -t 1 -c:v mpeg4 -c:a mp2 -c:s srt");
  }
  // Video from 0 s and audio (44100 Hz mono, 16-bit) from 0.5 s, both until 1.5 s.
  String LateAudio() {
    return Make("lateaudio.mkv",
                "-f lavfi -i testsrc=size=64x48:rate=25 -itsoffset 0.5 -f lavfi -i sine=r=44100 -t 1.5 "
                "-c:v mpeg4 -c:a pcm_s16le");
  }
  // Video with an audio stream that never gets a packet, so its parameters stay unknown.
  String AudioWithoutParametersTs() {
    return Make("noaudioparams.ts",
                "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i sine -map 0:v -map 1:a -t 1 "
                "-c:v mpeg2video -c:a mp2 -bsf:a noise=drop=1 -f mpegts");
  }
  // An MPEG transport stream whose one program has the number 7.
  String ProgramTs() {
    return Make("prog.ts",
                "-f lavfi -i testsrc=size=64x48:rate=25 -t 0.5 -c:v mpeg2video -mpegts_service_id 7");
  }

 private:
  TMedia() {
    char pattern[] = "/tmp/nerivo-transcoder-XXXXXX";
    FDir = mkdtemp(pattern);
  }
  ~TMedia() { std::system(("rm -rf '" + FDir + "'").c_str()); }

  static String Make(const String& AName, const String& AArguments) {
    return TestMediaFile(AName, AArguments);
  }
  String FDir;
};

// The converter's libraries, loaded from the system before the first test.
inline void LoadLibraries() {
  ASSERT_TRUE(FFLoader()->Load(ConverterLibraries)) << FFLoader()->LastErrMsg();
}

// Records the engine logger's lines while it lives.
class TLogRecorder {
 public:
  TLogRecorder() {
    GetFFLogger()->SetTriggerEventInMainThread(false);
    FSavedLevel = GetFFLogger()->LogLevel();
    GetFFLogger()->SetLogLevel(llVerbose);
    GetFFLogger()->OnLog = [this](TObject*, Cardinal, TLogLevel ALevel, const String& AText) {
      Lines.push_back({ALevel, AText});
    };
  }
  ~TLogRecorder() {
    GetFFLogger()->OnLog = nullptr;
    GetFFLogger()->SetLogLevel(FSavedLevel);
  }
  bool Has(TLogLevel ALevel, const String& AText) const {
    for (const auto& l : Lines)
      if (l.first == ALevel && l.second == AText) return true;
    return false;
  }
  bool Contains(const String& APart) const {
    for (const auto& l : Lines)
      if (l.second.find(APart) != String::npos) return true;
    return false;
  }
  std::vector<std::pair<TLogLevel, String>> Lines;

 private:
  TLogLevel FSavedLevel = llInfo;
};

// A prepared transcoder, as the component makes one per task.
inline std::unique_ptr<TCustomFFmpeg> NewTask() {
  auto task = std::make_unique<TCustomFFmpeg>(8);
  task->Reset();
  return task;
}

// A run's failure as the user reads it: the message, then the task's files when it names none.
inline String WithTaskFiles(const String& AMessage, const String& AInput, const String& AOutput) {
  return AMessage + " [" + AInput + " -> " + AOutput + "]";
}

// The message of the FFmpegException that AStatement raises ("" when it raises none).
template <typename F>
String RaisedMessage(F&& AStatement) {
  try {
    AStatement();
  } catch (const Exception& e) {
    return e.Message();
  }
  return String();
}

// Opens the encoder of an output stream with its private options as the run will; the options
// the encoder did not take are returned in ALeftover.
inline int OpenEncoder(TOutputStreamSetup& AStream, String& ALeftover) {
  TDictionary options(AStream.CodecOptions);
  CodecLock().Enter();
  const int ret = ff::avcodec_open2(AStream.codec.get(), AStream.encoder, options.Ref());
  CodecLock().Leave();
  ALeftover.clear();
  const AVDictionaryEntry* e = nullptr;
  while ((e = ff::av_dict_get(options.Get(), "", e, AV_DICT_IGNORE_SUFFIX)))
    ALeftover += String(e->key) + "=" + e->value + " ";
  return ret;
}

}  // namespace transcoder_test
