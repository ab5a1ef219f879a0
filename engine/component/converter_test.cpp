// Building tasks: adding inputs and outputs, the option records as the task's settings, the
// working guard and the list operations.
#include "engine/component/testkit/component_testkit.h"
#include "engine/transcoder/testkit/transcoder_testkit.h"

using namespace component_test;
using namespace transcoder_test;

namespace {

class ConverterTest : public ::testing::Test {
 protected:
  void SetUp() override { LoadLibraries(); }
  static String Out(const String& AName) { return TMedia::Get().Path(AName); }
  TOpenedOutput& Output(Integer ATask = 0, Integer AIndex = 0) {
    return *C.Task(ATask).output_files()[size_t(AIndex)];
  }
  // The output streams of one kind, in stream order.
  std::vector<TOutputStreamSetup*> Streams(AVMediaType AType, Integer ATask = 0) {
    std::vector<TOutputStreamSetup*> found;
    for (auto& s : Output(ATask).streams)
      if (s.codec->codec_type == AType) found.push_back(&s);
    return found;
  }
  static String EncoderOf(const TOutputStreamSetup* AStream) {
    return AStream->encoder ? AStream->encoder->name : "";
  }
  static String Meta(AVDictionary* ADict, const char* AKey) {
    const AVDictionaryEntry* e = ff::av_dict_get(ADict, AKey, nullptr, 0);
    return e ? e->value : "<none>";
  }
  // A task of the audio-video file, with the output record O.
  bool AddWithOutput(TOutputOptions& O, const String& AName) {
    const Integer task = C.AddTask(TMedia::Get().AudioVideoAvi());
    if (task < 0) return false;
    return C.SetOutputFile(task, Out(AName), &O);
  }
  TTestConverter C;
};

TEST_F(ConverterTest, AddTaskFillsAnEmptyFileNameAndAttachesTheProbe) {
  const String input = TMedia::Get().AudioVideoAvi();
  TInputOptions options;
  EXPECT_EQ(C.AddTask(input, &options), 0);
  EXPECT_EQ(options.FileName, input);

  TInputOptions named;
  named.FileName = "caller's own";
  EXPECT_EQ(C.AddTask(input, &named), 1);
  EXPECT_EQ(named.FileName, "caller's own");
  EXPECT_EQ(C.Task(1).input_files()[0]->FileName, input);

  TAVProbe* probe = C.GetTaskAVProbe(1, 0);
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->VideoStreamCount(), 1);
  EXPECT_EQ(probe->AudioStreamCount(), 1);
  EXPECT_EQ(C.GetTaskAVProbe(1, 1), nullptr);
}

TEST_F(ConverterTest, AFailedAddTaskLeavesNoTask) {
  EXPECT_EQ(C.AddTask(Out("missing.avi")), -1);
  EXPECT_EQ(C.TasksCount(), 0);
  EXPECT_NE(C.LastErrMsg().find("missing.avi"), String::npos) << C.LastErrMsg();
  // A refused option is the failure's message, with the file it concerns.
  TInputOptions options;
  options.ExtOptions = "ss=not a time";
  EXPECT_EQ(C.AddTask(TMedia::Get().AudioVideoAvi(), &options), -1);
  EXPECT_EQ(C.LastErrMsg(),
            "Invalid duration specification for ss: not a time [" + TMedia::Get().AudioVideoAvi() + "]");
  EXPECT_EQ(C.TasksCount(), 0);
}

TEST_F(ConverterTest, CodecNamesOfAnInputRecordForceItsDecoder) {
  ASSERT_EQ(C.AddTask(TMedia::Get().AudioVideoAvi(), "VCodec=mpeg4"), 0) << C.LastErrMsg();
  ASSERT_EQ(C.AddTask(TMedia::Get().AudioVideoAvi()), 1);
  ASSERT_NE(Peer::input_codecs(C.Task(0))[0], nullptr);
  EXPECT_STREQ(Peer::input_codecs(C.Task(0))[0]->name, "mpeg4");
  EXPECT_EQ(Peer::input_codecs(C.Task(1))[0], nullptr);
}

TEST_F(ConverterTest, SlotsPerTaskAreFixedWhenItIsMade) {
  C.SetCustomMaxFiles(2);
  const String input = TMedia::Get().AudioVideoAvi();
  ASSERT_EQ(C.AddTask(input), 0);
  C.SetCustomMaxFiles(20);
  EXPECT_TRUE(C.AddInputFile(0, input));
  EXPECT_FALSE(C.AddInputFile(0, input));
  EXPECT_EQ(C.LastErrMsg(), "max input files 2 reached [" + input + "]");
  ASSERT_NE(C.GetTaskAVProbe(0, 1), nullptr);
  EXPECT_EQ(C.GetTaskAVProbe(0, 1)->FileName(), input);

  EXPECT_TRUE(C.SetOutputFile(0, Out("slots1.avi")));
  EXPECT_TRUE(C.SetOutputFile(0, Out("slots2.avi")));
  EXPECT_FALSE(C.SetOutputFile(0, Out("slots3.avi")));
  EXPECT_EQ(C.LastErrMsg(), "max output files 2 reached [" + Out("slots3.avi") + "]");
}

TEST_F(ConverterTest, FailedInputOrOutputKeepsTheTaskAndResetsThatCopy) {
  ASSERT_EQ(C.AddTask(TMedia::Get().AudioVideoAvi()), 0);
  TInputOptions in;
  in.ProgramID = 5;
  EXPECT_FALSE(C.AddInputFile(0, Out("missing.avi"), &in));
  EXPECT_EQ(C.Task(0).nb_input_files(), 1);
  ASSERT_NE(C.Task(0).InputOptions(1), nullptr);
  EXPECT_EQ(C.Task(0).InputOptions(1)->ProgramID, -1);

  TOutputOptions out;
  out.AudioTag = "abc";  // a tag must be four characters
  EXPECT_FALSE(C.SetOutputFile(0, Out("tag.avi"), &out));
  EXPECT_FALSE(C.LastErrMsg().empty());
  EXPECT_EQ(C.Task(0).nb_output_files(), 0);

  TOutputOptions bad;
  bad.VideoBitrate = 300000;
  EXPECT_FALSE(C.SetOutputFile(0, Out("bad.nosuchext"), &bad));
  EXPECT_EQ(C.LastErrMsg(), "Unable to find a suitable output format for '" + Out("bad.nosuchext") + "'");
  ASSERT_NE(C.Task(0).OutputOptions(0), nullptr);
  EXPECT_EQ(C.Task(0).OutputOptions(0)->VideoBitrate, -1);
  // A success leaves the last failure's text.
  EXPECT_TRUE(C.SetOutputFile(0, Out("good.avi")));
  EXPECT_EQ(C.LastErrMsg(), "Unable to find a suitable output format for '" + Out("bad.nosuchext") + "'");
}

struct BitrateCase {
  Integer AudioBitrate;
  bool SetsAb;
};

TEST_F(ConverterTest, BitratesApplyOnlyAboveZero) {
  TOutputOptions unset;
  unset.AudioCodec = "mp2";
  ASSERT_TRUE(AddWithOutput(unset, "ab-unset.avi")) << C.LastErrMsg();
  const Int64 defaultRate = Streams(AVMEDIA_TYPE_AUDIO)[0]->codec->bit_rate;
  ASSERT_NE(defaultRate, 96000);
  for (const BitrateCase c : {BitrateCase{0, false}, BitrateCase{96000, true}}) {
    TOutputOptions o;
    o.AudioCodec = "mp2";
    o.AudioBitrate = c.AudioBitrate;
    ASSERT_TRUE(AddWithOutput(o, "ab" + std::to_string(c.AudioBitrate) + ".avi")) << C.LastErrMsg();
    const Integer task = C.TasksCount() - 1;
    EXPECT_EQ(Streams(AVMEDIA_TYPE_AUDIO, task)[0]->codec->bit_rate, c.SetsAb ? 96000 : defaultRate)
        << c.AudioBitrate;
  }
}

TEST_F(ConverterTest, RecordFieldsReachTheOutputStreams) {
  TOutputOptions o;
  o.FileFormat = "matroska";
  o.VideoCodec = "mpeg4";
  o.AudioCodec = "mp2";
  o.FrameSize = "80x64";
  o.FrameRate = "10";
  o.VideoBitrate = 250000;
  o.AudioSampleRate = 22050;
  o.AudioChannels = 1;
  o.AudioLanguage = "chi";
  o.VideoLanguage = "eng";
  o.VideoTag = "XVID";
  o.Info.Title = "标题";
  o.Info.Year = 2001;
  o.Info.Track = 0;
  ASSERT_TRUE(AddWithOutput(o, "fields.avi")) << C.LastErrMsg();
  EXPECT_EQ(o.FileName, Out("fields.avi"));
  EXPECT_STREQ(Output().ctx->oformat->name, "matroska");
  const auto video = Streams(AVMEDIA_TYPE_VIDEO);
  const auto audio = Streams(AVMEDIA_TYPE_AUDIO);
  ASSERT_EQ(video.size(), 1u);
  ASSERT_EQ(audio.size(), 1u);
  EXPECT_EQ(EncoderOf(video[0]), "mpeg4");
  EXPECT_EQ(video[0]->codec->width, 80);
  EXPECT_EQ(video[0]->codec->height, 64);
  EXPECT_EQ(video[0]->codec->time_base.den * 1.0 / video[0]->codec->time_base.num, 10.0);
  EXPECT_EQ(video[0]->codec->bit_rate, 250000);
  EXPECT_EQ(video[0]->codec->codec_tag, MKTAG('X', 'V', 'I', 'D'));
  EXPECT_EQ(Meta(video[0]->st->metadata, "language"), "eng");
  EXPECT_EQ(EncoderOf(audio[0]), "mp2");
  EXPECT_EQ(audio[0]->codec->sample_rate, 22050);
  EXPECT_EQ(audio[0]->codec->ch_layout.nb_channels, 1);
  EXPECT_EQ(Meta(audio[0]->st->metadata, "language"), "chi");
  EXPECT_EQ(Meta(Output().ctx->metadata, "title"), "标题");
  EXPECT_EQ(Meta(Output().ctx->metadata, "year"), "2001");
  EXPECT_EQ(Meta(Output().ctx->metadata, "track"), "<none>");
  EXPECT_EQ(Meta(Output().ctx->metadata, "creation_time"), "<none>");
  // The task keeps its own copy of the record.
  ASSERT_NE(C.Task(0).OutputOptions(0), nullptr);
  EXPECT_EQ(C.Task(0).OutputOptions(0)->VideoTag, "XVID");
}

TEST_F(ConverterTest, ATimeStampOfZeroWritesTheCurrentTime) {
  TOutputOptions o;
  o.Info.TimeStamp = 0;
  ASSERT_TRUE(AddWithOutput(o, "stamp.mkv")) << C.LastErrMsg();
  const Int64 now = time(nullptr);
  EXPECT_NEAR(C.Task(0).Pending().recording_timestamp, now, 5);
  EXPECT_NE(Meta(Output().ctx->metadata, "creation_time"), "<none>");
}

TEST_F(ConverterTest, ExtraOptionsOfAnOutputFeedItsDefaultsAndItsNewStreams) {
  // No codec in the record: the text's vcodec serves the output's own stream.
  TOutputOptions own;
  own.ExtOptions = "VCodec=mpeg4\nab=64000";
  ASSERT_TRUE(AddWithOutput(own, "own.flv")) << C.LastErrMsg();
  EXPECT_EQ(EncoderOf(Streams(AVMEDIA_TYPE_VIDEO, 0)[0]), "mpeg4");
  EXPECT_EQ(Streams(AVMEDIA_TYPE_AUDIO, 0)[0]->codec->bit_rate, 64000);

  // A codec in the record: the text's vcodec only serves the new stream.
  TOutputOptions added;
  added.VideoCodec = "libx264";
  added.ExtOptions = "vcodec=mpeg4<CRLF>newvideo=";
  ASSERT_TRUE(AddWithOutput(added, "added.mkv")) << C.LastErrMsg();
  const auto video = Streams(AVMEDIA_TYPE_VIDEO, 1);
  ASSERT_EQ(video.size(), 2u);
  EXPECT_EQ(EncoderOf(video[0]), "libx264");
  EXPECT_EQ(EncoderOf(video[1]), "mpeg4");

  // Without listed values the new streams take the output's defaults.
  TOutputOptions twice;
  twice.AudioCodec = "mp2";
  twice.ExtOptions = "newaudio=\nnewaudio=";
  ASSERT_TRUE(AddWithOutput(twice, "twice.mkv")) << C.LastErrMsg();
  const auto audio = Streams(AVMEDIA_TYPE_AUDIO, 2);
  ASSERT_EQ(audio.size(), 3u);
  for (auto* s : audio) EXPECT_EQ(EncoderOf(s), "mp2");
}

TEST_F(ConverterTest, TargetThenTheRecordsCodecOverridesIt) {
  TOutputOptions o;
  o.TargetType = ttDVD;
  o.NormType = ntNTSC;
  o.VideoCodec = "mpeg4";
  ASSERT_TRUE(AddWithOutput(o, "dvd.mpg")) << C.LastErrMsg();
  const auto video = Streams(AVMEDIA_TYPE_VIDEO);
  ASSERT_EQ(video.size(), 1u);
  EXPECT_EQ(EncoderOf(video[0]), "mpeg4");
  EXPECT_EQ(video[0]->codec->width, 720);
  EXPECT_EQ(video[0]->codec->height, 480);
  EXPECT_STREQ(Output().ctx->oformat->name, "dvd");
}

// The display aspect of a written file's video as a player reads it: its sample aspect over its size.
Double DisplayAspect(const String& AFileName) {
  AVFormatContext* ic = nullptr;
  if (ff::avformat_open_input(&ic, AFileName.c_str(), nullptr, nullptr) < 0) return 0;
  Double aspect = 0;
  if (ff::avformat_find_stream_info(ic, nullptr) >= 0) {
    const Integer video = ff::av_find_best_stream(ic, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0) {
      const AVCodecParameters* p = ic->streams[video]->codecpar;
      aspect = av_q2d(p->sample_aspect_ratio) * p->width / p->height;
    }
  }
  ff::avformat_close_input(&ic);
  return aspect;
}

// Disc rows as the job list makes them (the norm chosen, the rest left to the standard): the
// picture is flagged with a display aspect the standard has, whatever the input's.
TEST_F(ConverterTest, DiscTargetsFlagTheirStandardsDisplayAspect) {
  const String wide = TestMediaFile("wide.mkv", "-f lavfi -i testsrc=size=128x72:rate=25 -t 0.2 -c:v mpeg4");
  const String square =
      TestMediaFile("square.mkv", "-f lavfi -i testsrc=size=64x64:rate=25 -t 0.2 -c:v mpeg4");
  const struct {
    String Input;
    TOptionTargetType Target;
    Double Aspect;
  } cases[] = {{wide, ttVCD, 4.0 / 3},   {wide, ttSVCD, 16.0 / 9},  {wide, ttDVD, 16.0 / 9},
               {square, ttVCD, 4.0 / 3}, {square, ttSVCD, 4.0 / 3}, {square, ttDVD, 4.0 / 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Input << " " << c.Target);
    C.ClearTasks();
    const Integer task = C.AddTask(c.Input);
    ASSERT_GE(task, 0) << C.LastErrMsg();
    TOutputOptions o;
    InitOutputOptions(o);
    o.TargetType = c.Target;
    o.NormType = ntPAL;
    o.AudioVolume = 256;
    const String output = Out("disc-" + std::to_string(&c - cases) + ".mpg");
    ASSERT_TRUE(C.SetOutputFile(task, output, &o)) << C.LastErrMsg();
    C.Start(0);
    EXPECT_TRUE(C.Task(task).Finished()) << C.Task(task).FatalMessage();
    // MPEG-1 flags 4:3 on a 625-line picture as the pel aspect 0.9157 (a display aspect of 1.3347).
    EXPECT_NEAR(DisplayAspect(output), c.Aspect, 0.005);
  }
}

// A DVD row over an input whose audio never told its channels: the failure says so.
TEST_F(ConverterTest, AudioWithoutChannelsFailsNamingTheChannelLayout) {
  const Integer task = C.AddTask(TMedia::Get().AudioWithoutParametersTs());
  ASSERT_GE(task, 0) << C.LastErrMsg();
  TOutputOptions o;
  InitOutputOptions(o);
  o.TargetType = ttDVD;
  o.NormType = ntPAL;
  o.AudioVolume = 256;
  const String output = Out("nochannels.mpg");
  ASSERT_TRUE(C.SetOutputFile(task, output, &o)) << C.LastErrMsg();
  C.Start(0);
  EXPECT_FALSE(C.Task(task).Finished());
  EXPECT_EQ(C.Task(task).FatalMessage(),
            "Error while opening encoder for output stream #0.1 (Audio) - the audio has no channel layout [" +
                output + ": Invalid channel layout: 0 channels]");
}

TEST_F(ConverterTest, TextFormOfTheOutput) {
  ASSERT_EQ(C.AddTask(TMedia::Get().AudioVideoAvi()), 0);
  ASSERT_TRUE(C.SetOutputFile(0, Out("text.avi"), "Hook=0\nTimeLength=400000\nac=1")) << C.LastErrMsg();
  ASSERT_NE(C.Task(0).OutputOptions(0), nullptr);
  EXPECT_TRUE(C.Task(0).OutputOptions(0)->CustomHook);
  EXPECT_TRUE(bool(C.Task(0).FOnCustomHook));
  EXPECT_EQ(Peer::TotalOutputDuration(C.Task(0)), 400000);
  EXPECT_EQ(Streams(AVMEDIA_TYPE_AUDIO)[0]->codec->ch_layout.nb_channels, 1);
}

TEST_F(ConverterTest, ListOperationsMoveTasks) {
  const String av = TMedia::Get().AudioVideoAvi();
  const String wav = TMedia::Get().AudioWav();
  const String mkv = TMedia::Get().NtscVideo();
  for (const String& f : {av, wav, mkv}) ASSERT_GE(C.AddTask(f), 0);
  C.Exchange(0, 2);
  EXPECT_EQ(C.GetTaskAVProbe(0, 0)->FileName(), mkv);
  EXPECT_EQ(C.GetTaskAVProbe(2, 0)->FileName(), av);
  C.RemoveTask(0);
  ASSERT_EQ(C.TasksCount(), 2);
  EXPECT_EQ(C.GetTaskAVProbe(0, 0)->FileName(), wav);
  EXPECT_THROW(C.RemoveTask(2), EListError);
  EXPECT_THROW(C.SetOutputFile(5, Out("x.avi")), EListError);
  C.ClearTasks();
  EXPECT_EQ(C.TasksCount(), 0);
}

TEST_F(ConverterTest, PreviewFlagsReachExistingAndLaterTasks) {
  ASSERT_EQ(C.AddTask(TMedia::Get().AudioVideoAvi()), 0);
  C.SetPreviewBitmap(true);
  EXPECT_TRUE(C.Task(0).PostHooks().Contains(phBitmap));
  EXPECT_FALSE(C.Task(0).PostHooks().Contains(phPreview));
  C.SetPreview(true);
  C.SetPreviewBitmap(false);
  ASSERT_EQ(C.AddTask(TMedia::Get().AudioVideoAvi()), 1);
  for (Integer i : {0, 1}) {
    EXPECT_TRUE(C.Task(i).PostHooks().Contains(phPreview)) << i;
    EXPECT_FALSE(C.Task(i).PostHooks().Contains(phBitmap)) << i;
  }
}

TEST_F(ConverterTest, ProgressIntervalHasAFloorOf100) {
  for (auto [set, read] : {std::pair{50, 100}, {100, 100}, {101, 101}, {-5, 100}}) {
    C.SetProgressInterval(set);
    EXPECT_EQ(C.ProgressInterval(), read) << set;
  }
}

}  // namespace
