// The transcoder: one TCustomFFmpeg converts one task (one or more inputs into one or more outputs).
// It carries a command-line converter's option set as pending fields that the option layer fills
// (SetOption and the setters) and that opening an input, an output or a stream consumes.
//
// On FFmpeg 5.1 each opened input keeps one codec context per stream, filled from its parameters,
// and each output stream keeps the codec context its encoder will be opened on, with the private
// options (an option dictionary) that avcodec_open2 takes; the muxer and demuxer private options
// travel the same way to avformat_write_header and avformat_open_input.
#pragma once

#include <array>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "engine/base/avheaders.h"
#include "engine/base/avholders.h"
#include "engine/base/engineutils.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/base/fileidentity.h"
#include "engine/probe/rgbconvert.h"
#include "engine/transcoder/codecthreads.h"
#include "engine/transcoder/ffmpegexception.h"
#include "engine/transcoder/pendingoptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/threads.h"

// Stream slots per file of the option tables that the options address by stream index.
inline constexpr Integer MAX_STREAMS = 20;
inline constexpr Integer MAX_FILES_LIMIT = 512;

// Media types as the option tables index them (FFmpeg's numbering).
inline constexpr Integer mtVideo = AVMEDIA_TYPE_VIDEO;
inline constexpr Integer mtAudio = AVMEDIA_TYPE_AUDIO;
inline constexpr Integer mtData = AVMEDIA_TYPE_DATA;
inline constexpr Integer mtSubtitle = AVMEDIA_TYPE_SUBTITLE;

struct TAVStreamMap {
  Integer file_index = 0;
  Integer stream_index = 0;
  Integer sync_file_index = 0;
  Integer sync_stream_index = 0;
};

struct TAVMetaDataMap {
  Integer out_file = 0;
  Integer in_file = 0;
};

// One opened input: the demuxer's context and one codec context per stream, filled from the
// stream's parameters (and with the generic decoding options of its kind applied).
struct TOpenedInput {
  TOpenedInput() = default;
  TOpenedInput(const TOpenedInput&) = delete;
  TOpenedInput& operator=(const TOpenedInput&) = delete;
  ~TOpenedInput();  // closes the input after its codecs

  TInputHolder ctx;
  String FileName;                          // as given to OpenInputFile
  std::vector<TCodecContextHolder> codecs;  // by stream index
  // Opened at a start position: reading begins at the key frame before it, and what comes before
  // the position (time 0 after the input's offset) is decoded but not output.
  bool Seeked = false;
};

// One output stream as created by new_video_stream and its kind.
struct TOutputStreamSetup {
  AVStream* st = nullptr;            // owned by the output's format context
  TCodecContextHolder codec;         // the context the encoder is opened on (stream copy: parameters)
  const AVCodec* encoder = nullptr;  // by name or from the format; nullptr for a copy or none
  bool stream_copy = false;
  float quality = 0;                                        // lambda (FF_QP2LAMBDA × qscale); 0 = none
  TDictionary CodecOptions;                                 // private encoder options for avcodec_open2
  std::vector<const AVBitStreamFilter*> bitstream_filters;  // in order, for the packets written
};

// One opened output file. In join mode Foutput_files holds the same record once per input.
//
// A local file is written under a partial name beside its final one (".<name>.part-<pid>-<random>",
// platform/rtl/partialfile.h) and takes the final name only when complete: after its trailer and
// its close succeeded, or after a stop finished the part converted so far. A run that fails, or a
// stop before anything was written, removes only that partial file; a file of the final name is
// replaced only when the task may overwrite (TCustomFFmpeg::OverwriteOutput), else the task fails
// naming it. A device, a pipe or another protocol's name is written as it is.
struct TOpenedOutput {
  TOpenedOutput() = default;
  TOpenedOutput(const TOpenedOutput&) = delete;
  TOpenedOutput& operator=(const TOpenedOutput&) = delete;
  // Closes the file, frees the context and its streams, and removes a partial file that was not
  // put in place.
  ~TOpenedOutput();

  TOutputHolder ctx;
  // As given to OpenOutputFile: the name the user sees, in messages, progress and the checks.
  String FileName;
  // Made only when the run starts writing (OpenOutputFiles), never when the output is added.
  String PartName;           // the partial file being written; empty once in place, or when written as is
  TFileIdentity Part;        // what the run made under PartName
  String Target;             // where it goes: FileName, or the file a link of that name leads to
  TDictionary MuxerOptions;  // private muxer options for avformat_write_header
  std::vector<TOutputStreamSetup> streams;  // by stream index
};

// Entry of the open-codec lists: the stream record (of the run's tables) and its codec context.
struct TCodecItem {
  void* st = nullptr;
  AVCodecContext* codec = nullptr;
  TCodecItem* Prev = nullptr;
  TCodecItem* Next = nullptr;
};
// Puts an item for AStream at the front of the list.
void AddCodecItem(TCodecItem*& AHead, void* AStream, AVCodecContext* ACodec);
// Unlinks and frees the first item of AStream; nothing when absent.
void RemoveCodecItem(TCodecItem*& AHead, void* AStream);
// Close every codec still listed (under the codec lock) and empty the list.
void CloseListedEncoders(TCodecItem*& AHead);
void CloseListedDecoders(TCodecItem*& AHead);

enum TPostHook { phPreview, phBitmap, phHBITMAP };
using TPostHooks = TEnumSet<TPostHook>;

// Orders the preview step of a conversion thread against changes of its post hooks.
TCriticalSection& PostHookLock();

using TCustomHookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber,
                                            Int64 APTS, bool& AUpdate, bool& AStopHook)>;
using TPreviewBitmapEvent =
    std::function<void(TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS)>;
using TProgressEvent = std::function<void(TObject* Sender, Integer AFileIndex, Integer AFrameNumber,
                                          Integer AFPS, Single AQuality, Single ABitRate, Int64 ACurrentSize,
                                          Int64 ACurrentDuration, Int64 ATotalDuration)>;

// The life of one task's run. A stop asked for while converting or paused makes it stopping; a
// conversion that went through to its end is converted until the task terminates, finished after.
enum TRunState {
  rsReady,       // not started (again after a reset)
  rsConverting,  // started, running or about to
  rsPaused,      // halted between two packets
  rsStopping,    // asked to stop: the conversion ends at the next packet
  rsConverted,   // the conversion went through; the run closes its files and codecs
  rsFinished,    // terminated after a conversion that went through
  rsTerminated   // terminated otherwise (failed, stopped or never started)
};

// What a run counts for its reports; zero at the reset.
struct TRunCounters {
  Int64 video_size = 0, audio_size = 0, extra_size = 0;  // bytes written
  Integer nb_frames_dup = 0, nb_frames_drop = 0;
  bool ShowDupOrDrop = false;  // a dup or drop since the last report
  Int64 timer_start = 0;       // µs, when the conversion loop started
};

// The working state of a run (streamtables.h) and the plug-in chain (the preview folder's).
struct TConvertState;
struct TAVInputStream;
struct TAVOutputStream;
struct TFrameHookEntry;

// The preview post hooks' state. The preview window belongs to the preview folder; it is held here
// as the object it is, handed pictures and freed under the post-hook lock (neither waits for the
// main thread).
struct TPostHookContext {
  std::unique_ptr<TRGBConvertContext> Context;
  std::unique_ptr<TObject> Previewer;
  Int64 preview_last_time = 0;
  Int64 preview_cur_time = 0;
};

class TCustomFFmpeg : public TObject {
 public:
  // AMaxFiles slots for inputs and as many for outputs; EAssertionFailed outside 1 … 512.
  explicit TCustomFFmpeg(Integer AMaxFiles);
  ~TCustomFFmpeg() override;
  String ClassName() const override { return "TCustomFFmpeg"; }

  Integer nb_input_files() const { return Integer(Finput_files.size()); }
  Integer nb_output_files() const { return Integer(Foutput_files.size()); }
  // The opened inputs and the registered outputs, in the order they were added (in join mode the
  // one output once per input).
  const std::vector<std::unique_ptr<TOpenedInput>>& input_files() const { return Finput_files; }
  const std::vector<std::shared_ptr<TOpenedOutput>>& output_files() const { return Foutput_files; }
  // The run's state; the Boolean properties below are read from it.
  TRunState RunState() const { return FRunState; }
  // The conversion went through to its end: set when it has, kept after the task terminated.
  bool Finished() const { return FRunState == rsConverted || FRunState == rsFinished; }
  bool FatalException() const { return FFatalException; }
  String FatalMessage() const { return FFatalMessage; }
  String LastErrMsg() const { return FLastErrMsg; }
  Integer MaxFiles() const { return FMaxFiles; }
  // The options set so far, as the next input, output or stream will take them.
  const TPendingOptions& Pending() const { return FPending; }
  TPendingOptions& Pending() { return FPending; }
  const TRunCounters& Counters() const { return FCounters; }
  // Set by the component before a batch when this task may not run (an output another task also
  // writes); the task then ends at its start with this message. Empty: it may run.
  const String& StartRefusal() const { return FStartRefusal; }
  void SetStartRefusal(const String& AValue) { FStartRefusal = AValue; }

  // ---- object (transcoder.cpp) ----
  // Prepares a task: clean-up, defaults, fresh option holders. Nothing while the converter's
  // libraries are not loaded.
  void Reset();
  // Closes and frees every file, buffer and per-run object (not the codecs: the run closes them).
  void Cleanup();
  void ResetDefaults();
  // Frees the preview conversion and window and clears the preview times.
  void ResetPostHookContext();
  // Encoder format choosers for an output codec context.
  void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec);
  void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec);
  void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec);
  // Copies the streams of the feed AFileName into AOutput; 0, or the negative error of opening it.
  Integer ReadFeedStreams(TOpenedOutput& AOutput, const String& AFileName);

  // ---- option dispatcher (optiondispatch.cpp) ----
  // One option by name; unknown names go to SetDefaultOption, whose refusal is not reported.
  void SetOption(const String& AName, const String& AValue);
  // A generic option, a translated old name, or a private option of an encoder, muxer or demuxer.
  bool SetDefaultOption(const char* AName, const char* AValue);
  bool SetDefaultOptionInt(const char* AName, Integer AValue);
  // Resolves a codec name of a media type; on refusal False with FLastErrMsg. An empty name gives
  // AV_CODEC_ID_NONE.
  bool FindCodec(const char* AName, Integer AType, AVCodecID& ACodecId, Integer AStrict, bool AEncoder);
  // The options "newvideo", "newaudio", "newsubtitle": a stream on the last output file.
  void AddStreamToLastOutput(Integer AType);

  // ---- setters (optionsetters.cpp) ----
  void SetFormat(const String& AValue);
  void SetVerbose(Integer AValue) { FPending.verbose = AValue; }
  void SetFrameRate(const String& AValue);
  void SetFrameSize(const String& AValue);
  void SetAspectRatio(const String& AValue);
  void SetCropTop(Integer AValue);
  void SetCropBottom(Integer AValue);
  void SetCropLeft(Integer AValue);
  void SetCropRight(Integer AValue);
  void SetPixelFormat(const char* AValue);
  void SetSampleFormat(const char* AValue);
  void SetTopFieldFirst(Integer AValue) { FPending.top_field_first = AValue; }
  void SetMeThreshold(Integer AValue) { FPending.me_threshold = AValue; }
  void SetVideoChannel(Integer AValue) { FPending.video_channel = AValue; }
  void SetVideoStandard(const char* AValue);
  void SetVideoFilters(const String& AValue);
  bool SetBitrate(const String& AName, const String& AValue);
  void SetVideoQScale(Single AValue);
  void SetRcOverride(const char* AValue);
  void SetPass(Integer AValue);
  void SetIntraMatrix(const char* AValue);
  void SetInterMatrix(const char* AValue);
  void SetVideoCodec(const String& AValue);
  void SetAudioCodec(const String& AValue);
  void SetSubtitleCodec(const String& AValue);
  void SetVideoTag(const String& AValue);
  void SetAudioTag(const String& AValue);
  void SetSubtitleTag(const String& AValue);
  void SetAudioSampleRate(Integer AValue);
  void SetAudioChannels(Integer AValue);
  void SetAudioVolume(Integer AValue);
  void SetAudioSyncMethod(Integer AValue) { FPending.audio_sync_method = AValue; }
  void SetVideoSyncMethod(Integer AValue) { FPending.video_sync_method = AValue; }
  void SetMuxMaxDelay(Single AValue);
  void SetMuxPreload(Single AValue);
  void SetRecordingTime(Int64 ATime);
  void SetStartTime(Int64 ATime);
  void SetRecordingTimeText(const char* AOption, const char* AValue);
  void SetStartTimeText(const char* AOption, const char* AValue);
  void SetInputTsOffsetText(const char* AOption, const char* AValue);
  void SetRecordingTimestampText(const char* AOption, const char* AValue);
  // Microseconds of a duration or a date; a text that is neither raises FFmpegException.
  Int64 ParseTimeOrFail(const char* AOption, const char* AText, bool AIsDuration);
  void SetProgramId(Integer AValue);
  void AddStreamMap(const char* AValue);
  void AddMetadataMap(const char* AValue);
  void AddMetadata(const char* AValue);
  void AddMetadataPair(const String& AKey, const String& AValue);
  void SetInputTsScale(const char* AValue);
  void SetStreamId(const String& AName, const String& AValue);
  void SetVStatsFile(const char* AValue);
  void SetVStats(bool AEnable);
  // The hook library and its arguments: words split at "|" when there is one, else at blanks.
  static std::vector<String> VideoHookWords(const char* AValue);
  void AddVideoHook(const char* AValue);
  void AddBitstreamFilter(const String& AName, const String& AValue);
  // Both take the post-hook lock: the owner thread may change the hooks while the task converts.
  void SetPostHooks(TPostHooks AValue);
  TPostHooks PostHooks() const;
  // Under the post-hook lock.
  void DoSetPostHooks(TPostHooks AValue);

  // ---- targets and presets (targets.cpp, presets.cpp) ----
  void SetTarget(const String& ATarget, const String& ANorm, const String& ADefaultNorm);
  void SetTargetText(const char* AValue);
  void ApplyPreset(const String& AOption, const String& APreset);

  // ---- files and streams (inputfile.cpp, outputfile.cpp, outputstreams.cpp) ----
  bool OpenInputFile(const String& AFileName);
  // The number of registered outputs, or -1 with FLastErrMsg.
  Integer OpenOutputFile(const String& AFileName, bool AJoin);
  void check_audio_video_sub_inputs(bool& HasVideo, bool& HasAudio, bool AFirstOnly, bool& HasSubtitle);
  void new_video_stream(TOpenedOutput& AOutput);
  void new_audio_stream(TOpenedOutput& AOutput);
  void new_subtitle_stream(TOpenedOutput& AOutput);
  // The run's first writing step: makes every output's partial file (or opens a device as it is),
  // refusing one that is an input of the task. FFmpegException with the file and the cause.
  void OpenOutputFiles();
  // Closes the file of AOutput; the error text with the file and the cause, empty on success.
  String CloseOutputFile(TOpenedOutput& AOutput);
  // Puts the complete partial file of AOutput in place under its name; the error text with the file
  // and the cause (the name taken and overwriting off, the folder gone), empty on success.
  String CommitOutputFile(TOpenedOutput& AOutput);
  // Whether a complete output may replace an existing file of its name; off by default (the task
  // then fails). Read when the output is put in place, so it may change while the task runs.
  bool OverwriteOutput() const { return FOverwriteOutput; }
  void SetOverwriteOutput(bool AValue) { FOverwriteOutput = AValue; }
  // The refusal text when AFileName is one of the task's inputs, else empty.
  String OutputIsInput(const String& AFileName) const;
  // AMessage followed by the file and the cause: the library's last error line of this thread when
  // there is one, and the words of ACode (0: none).
  static String WithFileAndCause(const String& AMessage, const String& AFileName, Integer ACode);

  // The per-stream timestamp scale of an input (0 = none), also for streams beyond the option table.
  Double InputTsScale(Integer AFile, Integer AStream) const;
  // The stream id for the k-th stream of the next output (0 = the library's choice).
  Integer StreamIdFor(Integer AStreamIndex) const;

  // ---- run and threads (run.cpp) ----
  // Starts the task once: with AUseThread the conversion thread is returned suspended (the caller
  // starts it); otherwise the whole run happens here and the result is nullptr.
  TThread* StartConvert(bool AUseThread, TThreadPriority APriority = tpNormal);
  // Asks a conversion to end; with AWaitFor returns once the conversion thread is done with this
  // object (serving the main-thread queue while it waits on the main thread).
  void Stop(bool AWaitFor);
  // Stop for a converting task; the terminate notification, from a thread of its own, for a task
  // that never started; nothing for a terminated one.
  void StopOrTerminate(bool AWaitFor);
  // Halt and continue a threaded conversion; the conversion halts between two packets.
  void Pause();
  void Resume();
  bool Paused() const { return FRunState == rsPaused; }
  // From the start until the task terminates.
  bool Converting() const {
    const TRunState s = FRunState;
    return s == rsConverting || s == rsPaused || s == rsStopping || s == rsConverted;
  }
  bool Terminated() const { return FRunState == rsFinished || FRunState == rsTerminated; }
  // A stop was asked for while converting.
  bool Broken() const { return FRunState == rsStopping; }
  // One complete run: the conversion and the closing stages, each guarded; never raises.
  void Run();
  void DoTerminate();
  // AMessage, followed by the task's files when it names none of them.
  String NamingTheFiles(const String& AMessage) const;

  // ---- the conversion (transcodeloop.cpp and the stage files) ----
  void ConvertFiles();
  // Its stages (transcodeloop.cpp): the set-up, the input to read next (-1: none), the limits, a
  // packet's times, the end of a joined input (true for the last), and the end of the conversion
  // (its failure text, empty when it went through).
  void PrepareConversion();
  Integer ChooseInputToRead(const std::vector<bool>& ANoPacket, Integer ACurrent) const;
  bool FrameLimitReached(const TAVOutputStream& AOst) const;
  bool OutputSizeLimitReached() const;
  void AdjustPacketTimes(TAVInputStream& AIst, Integer AFile, AVPacket* APacket);
  bool PastRecordingTime(const TAVInputStream& AIst, const AVPacket* APacket) const;
  bool EndJoinedInput(Integer ACurrent);
  String FinishConversion();
  String NothingWrittenFailure() const;
  // The packets written into each output file (one entry per file of the list; a joined output
  // counts in its first).
  std::vector<Int64> PacketsWritten() const;
  // Every output of a finished or stopped conversion put in place; the first failure's text.
  String CommitOutputFiles();
  // Stream tables and mapping (streammapping.cpp).
  void BuildInputStreamTable();
  void BuildOutputStreamTable();
  void BindOutputStreams();
  void InitInputTimestamps();
  void LogStreamMapping();
  void FreeStreamTables();
  // Codec set-up and headers (codecsetup.cpp).
  void SetupOutputCodecs();
  // Its stages per output stream: a stream copy, or an encoding (video apart) and its pass log.
  void SetupStreamCopy(TAVOutputStream& ost, TAVInputStream& ist);
  void SetupEncoding(TAVOutputStream& ost, TAVInputStream& ist);
  void SetupVideoEncoding(TAVOutputStream& ost, TAVInputStream& ist);
  void OpenPassLog(TAVOutputStream& ost, Integer AIndex);
  void OpenEncoders();
  void OpenDecoders();
  void ApplyMetadataMaps();
  void CopyAllChapters();
  void WriteOutputHeaders();
  void CloseEncoders();
  void CloseDecoders();
  // Output writers (framewriter.cpp, videoout.cpp).
  void WriteFrame(AVFormatContext* AOutput, AVPacket* APacket, TAVOutputStream& AOutStream);
  void DoAudioOut(AVFormatContext* AOutput, TAVOutputStream& AOutStream, TAVInputStream& AInStream,
                  const uint8_t* ABuffer, Integer ASize);
  void DoVideoOut(AVFormatContext* AOutput, TAVOutputStream& AOutStream, TAVInputStream& AInStream,
                  AVFrame* APicture, Integer& AFrameSize);
  void DoVideoStats(TAVOutputStream& AOutStream, Integer AFrameSize);
  void DoSubtitleOut(AVFormatContext* AOutput, TAVOutputStream& AOutStream, TAVInputStream& AInStream,
                     AVSubtitle* ASubtitle, Int64 APTS);
  // Sends the end to the encoder of AOutStream (its pending audio samples first) and writes what
  // it gives back.
  void FlushEncoder(TAVOutputStream& AOutStream);
  // Filters and hooks (videofilters.cpp).
  Integer ConfigureFilters(TAVInputStream& AInStream, TAVOutputStream& AOutStream);
  void PreProcessVideoFrame(TAVInputStream& AInStream, AVFrame* APicture);
  void RunCustomHook(TAVPicture& APicture, AVPixelFormat APixFmt, Integer AWidth, Integer AHeight,
                     Int64 APTS);
  void RunPostHooks(const AVFrame* APicture, const AVCodecContext* ACodecContext, Int64 APTS);
  // Packet decoding (packetdecode.cpp): 0, or -1 for a decoding error.
  Integer ProcessPacket(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket);
  // Progress (progress.cpp). AFileIndex: the input read last, -1 in the final report.
  void ReportProgress(Integer AFileIndex, bool AIsLast);

  // Set directly by the owner: the minimum time between progress reports and previewed frames
  // (microseconds), and the events, which the component wires to its own.
  Int64 ReportInterval = 500000;
  Int64 PreviewInterval = 100000;

  TCustomHookEvent FOnCustomHook;
  TPreviewBitmapEvent FOnPreviewBitmap;
  TProgressEvent FOnProgress;
  TNotifyEvent FOnTerminate;

  // The tests' one way to the state below (testkit/transcoder_peer.h).
  friend struct TCustomFFmpegTestPeer;
  // A stage of the frame writer (framewriter.cpp) that counts what it writes.
  friend void ReceiveEncodedPackets(TCustomFFmpeg& ATask, AVFormatContext* AOutput, TAVOutputStream& AOst,
                                    const AVFrame* APicture, Integer& AFrameSize, const char* AFailure);

 private:
  // The two thread classes of a run (run.cpp).
  class TConvertThread;
  class TDoTerminateThread;

  Integer FMaxFiles = 0;

  // Files and the tables beside them.
  std::vector<std::unique_ptr<TOpenedInput>> Finput_files;
  std::vector<Int64> Finput_files_ts_offset;                           // FMaxFiles entries
  std::vector<std::array<Double, MAX_STREAMS>> Finput_files_ts_scale;  // FMaxFiles entries
  std::vector<const AVCodec*> Finput_codecs;  // forced decoder per input stream over all inputs
  std::vector<std::shared_ptr<TOpenedOutput>> Foutput_files;
  std::vector<const AVCodec*> Foutput_codecs;   // encoder named per created output stream
  std::vector<TAVStreamMap> Fstream_maps;       // at most FMaxFiles × MAX_STREAMS
  std::vector<TAVMetaDataMap> Fmeta_data_maps;  // at most FMaxFiles
  std::array<Integer, MAX_STREAMS> Fstreamid_map{};

  // The options set so far (the option layer writes them; a reset assigns the defaults).
  TPendingOptions FPending;
  // Pending output metadata (key, value), in the order added; the reset leaves it alone.
  std::vector<std::pair<String, String>> Fmetadata;
  // Generic option holders by kind (contexts that only hold option values).
  TFFOptions FOptions;
  TFilterGraphHolder Fgraph;
  FILE* Fvstats_file = nullptr;
  bool Fusing_vhook = false;
  TRunCounters FCounters;

  // Run state.
  std::unique_ptr<TConvertState> FState;  // the tables of the conversion in progress
  TFrameHookEntry* FFirstHook = nullptr;  // the frame-hook plug-in chain
  TCodecItem* FEncoderList = nullptr;
  TCodecItem* FDecoderList = nullptr;
  TThread* FThread = nullptr;
  TEvent FStopEvent{true, true};     // non-signalled while a threaded run is in progress
  TEvent FTermEvent{true, true};     // non-signalled while a terminate notification is in progress
  TEvent FResumeEvent{true, true};   // non-signalled while the conversion is paused
  std::atomic<bool> FHalted{false};  // the loop waits in a pause
  // The conversion thread until its run is over (FThread is cleared earlier, by DoTerminate).
  std::mutex FThreadLock;
  TThread* FRunThread = nullptr;
  // Counts this task among the running conversions from its start until its codecs are closed.
  std::unique_ptr<TRunningConversion> FRunningConversion;
  std::unique_ptr<TRGBConvertContext> FHookContext;  // the custom hook's RGB conversion
  Integer FHookFrameNumber = 0;
  TPostHookContext FPostContext;
  TPostHooks FPostHooks;
  bool FJoinMode = false;
  std::atomic<TRunState> FRunState{rsReady};
  bool FFatalException = false;
  String FFatalMessage;
  Int64 FTotalOutputDuration = -1;
  String FLastErrMsg;
  String FStartRefusal;  // see StartRefusal
  std::atomic<bool> FOverwriteOutput{false};

  // The stages of one packet (packetdecode.cpp).
  struct TDecodedOutput;
  Integer DecodeAudioVideo(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket);
  Integer DecodeSubtitle(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket);
  // Samples' byte count (0: none), or -1.
  Integer OutputDecodedSamples(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket);
  void OutputDecodedPicture(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket);
  // Stream copy: the clock moves on by the packet's duration.
  void AdvanceCopiedStream(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket);
  void OutputDecoded(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket,
                     const TDecodedOutput& AOut);
  void PaceToRealTime(const TAVInputStream& AInStream);
  bool IsBeforeStart(const TAVInputStream& AInStream) const;
  void SendFilteredToOutputs(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket,
                             const TDecodedOutput& AOut);
  void SendToOutputs(TAVInputStream& AInStream, Integer AIstIndex, const AVPacket* APacket,
                     const TDecodedOutput& AOut, AVFrame* APicture);
  void CopyPacketToOutput(TAVOutputStream& AOutStream, TAVInputStream& AInStream, const AVPacket* APacket);
  void FlushStreamEncoders(Integer AIstIndex);
  // The private-option dictionary of a media kind's encoder.
  TDictionary& CodecOptionsOf(Integer AType);
  // Private options: the pending encoders and format first, then every encoder and muxer.
  bool SetPrivateOption(const char* AName, const char* AValue);
  // Resolves an encoder name, standing in the encoders this FFmpeg lacks.
  const AVCodec* FindEncoderByName(const char* AName, String* AUsedName = nullptr);
  void SetCodec(const String& AValue, std::optional<String>& AName, Integer& AStreamCopy);
  void SetCodecTag(const String& AValue, Cardinal& ATag, const char* AKind);
  void SetMatrix(const char* AValue, std::optional<std::array<Word, 64>>& AMatrix);
  // The stages of opening an input (inputfile.cpp).
  const AVInputFormat* ForcedInputFormat();
  TDictionary DemuxerParameters() const;
  bool SetForcedDecoders(AVFormatContext* AContext);
  // Keeps only the streams of the program asked for; False when the input has no such program.
  bool SelectProgram(AVFormatContext* AContext);
  Integer FindStreamInfo(AVFormatContext* AContext);
  // The input's start time plus the pending start position (seeked to when there is one).
  Int64 SeekToStart(TOpenedInput& AInput);
  void SetupInputStreams(TOpenedInput& AInput);
  const AVCodec* SetupInputVideoStream(AVStream* st, AVCodecContext* c, Integer AIndex);
  const AVCodec* SetupInputAudioStream(AVStream* st, AVCodecContext* c);
  // The options that only one input takes are forgotten after it, taken or refused.
  void ForgetPerInputOptions();
  bool RefuseInput(const String& AMessage);
  TOutputStreamSetup& NewOutputStream(TOpenedOutput& AOutput, Integer AType,
                                      std::vector<const AVBitStreamFilter*>& APendingFilters);
  void ApplyRcOverride(AVCodecContext* c);
  void AllocCodecContext(TOutputStreamSetup& AStream, const AVCodec* AEncoder, Integer AType);
  Integer StrictnessAfterOptions(Integer AType, Integer AFlags);
  void SetTargetDirect(const String& ATarget, Integer ANorm);
};

// The built-in presets by name (letter case ignored), empty when there is none.
String FindBuiltinPreset(const String& AName);
struct TOptionsPreset {
  const char* Name;
  String Value;
};
extern const std::array<TOptionsPreset, 36> BuiltinPresets;
// Frame rate texts of the target norms: PAL, NTSC, film.
extern const char* const TargetFrameRates[3];
