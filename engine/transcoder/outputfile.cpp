#include <cstring>
#include <ctime>

#include "engine/base/avstubs.h"
#include "engine/base/fileidentity.h"
#include "engine/base/librarymessage.h"
#include "engine/base/unicodeprotocol.h"
#include "engine/transcoder/transcoder.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/format.h"
#include "platform/rtl/partialfile.h"

namespace {

bool ClassHasOption(const AVClass* AClass, const char* AName) {
  if (!AClass) return false;
  const AVClass* cls = AClass;
  return ff::av_opt_find(&cls, AName, nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ) != nullptr;
}

// "2024-01-31T12:00:00.000000Z" of seconds since 1970.
String CreationTimeText(Int64 ASeconds) {
  const time_t t = time_t(ASeconds);
  struct tm utc;
  if (!gmtime_r(&t, &utc)) return String();
  char text[40];
  strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
  return text;
}

// Why an output gets no stream: the kinds the format and the options take against those the inputs
// have.
String NoStreamText(const String& AFileName, const AVOutputFormat* AFormat, TCustomFFmpeg& ATask) {
  bool hasVideo = false, hasAudio = false, hasSubtitle = false;
  ATask.check_audio_video_sub_inputs(hasVideo, hasAudio, false, hasSubtitle);
  auto kinds = [](bool AVideo, bool AAudio, bool ASubtitle) {
    String text;
    for (const auto& [on, name] : {std::pair{AVideo, "video"}, {AAudio, "audio"}, {ASubtitle, "subtitle"}})
      if (on) text += (text.empty() ? "" : " or ") + String(name);
    return text.empty() ? String("no stream") : text;
  };
  const bool coverOnly = AFormat->video_codec == AV_CODEC_ID_PNG && AFormat->audio_codec != AV_CODEC_ID_NONE;
  const bool takesVideo = ((AFormat->video_codec != AV_CODEC_ID_NONE && !coverOnly) ||
                           ATask.Pending().video_stream_copy || ATask.Pending().video_codec_name) &&
                          !ATask.Pending().video_disable;
  const bool takesAudio = (AFormat->audio_codec != AV_CODEC_ID_NONE || ATask.Pending().audio_stream_copy ||
                           ATask.Pending().audio_codec_name) &&
                          !ATask.Pending().audio_disable;
  const bool takesSubtitle = (AFormat->subtitle_codec != AV_CODEC_ID_NONE ||
                              ATask.Pending().subtitle_stream_copy || ATask.Pending().subtitle_codec_name) &&
                             !ATask.Pending().subtitle_disable;
  if (!takesVideo && !takesAudio && !takesSubtitle)
    return Format("%s: No stream to write: every kind of stream is disabled", AFileName);
  return Format("%s: No stream to write: the output takes %s, the input has %s", AFileName,
                kinds(takesVideo, takesAudio, takesSubtitle), kinds(hasVideo, hasAudio, hasSubtitle));
}

}  // namespace

String TCustomFFmpeg::OutputIsInput(const String& AFileName) const {
  for (const auto& input : Finput_files)
    if (SameFile(AFileName, input->FileName))
      return Format("%s: Output file is the input file %s; a conversion cannot overwrite its own source",
                    AFileName, input->FileName);
  return String();
}

String TCustomFFmpeg::WithFileAndCause(const String& AMessage, const String& AFileName, Integer ACode) {
  String cause = LastFFmpegErrorLine();
  if (ACode < 0) {
    const String words = SystemErrorText(ACode);
    if (cause.empty())
      cause = FormatAVError(String(), ACode).substr(2);
    else if (cause.find(words) == String::npos)
      cause += " (" + FormatAVError(String(), ACode).substr(2) + ")";
  }
  return AMessage + " [" + AFileName + (cause.empty() ? String() : ": " + cause) + "]";
}

void TCustomFFmpeg::OpenOutputFiles() {
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    if (FJoinMode && i > 0) break;
    TOpenedOutput& output = *Foutput_files[i];
    AVFormatContext* oc = output.ctx.get();
    if ((oc->oformat->flags & AVFMT_NOFILE) || oc->pb) continue;
    // Names may have changed their meaning since the task was built (a link made meanwhile).
    if (const String refusal = OutputIsInput(output.FileName); !refusal.empty())
      throw FFmpegException(refusal);
    ClearFFmpegErrorLine();
    if (!WritesThroughPartialFile(output.FileName)) {
      const int ret = UnicodeOpenOutput(oc, oc->url, nullptr);
      if (ret < 0) throw FFmpegException(FormatAVError(output.FileName, ret));
      continue;
    }
    // A link of the output's name is written through, as opening it would.
    output.Target = LinkTarget(LocalPathOf(output.FileName));
    // What an earlier run of the same output left when it was killed.
    SweepPartialFiles(output.Target);
    const int ret = UnicodeOpenPartialOutput(oc, output.Target, output.PartName);
    if (ret < 0) throw FFmpegException(FormatAVError(output.FileName, ret));
    output.Part = FileIdentityOf(output.PartName);
  }
}

String TCustomFFmpeg::CommitOutputFile(TOpenedOutput& AOutput) {
  if (AOutput.PartName.empty()) return String();
  // Not the partial file this run made (removed or replaced meanwhile): nothing of it is kept.
  if (!IsStillTheFile(AOutput.PartName, AOutput.Part))
    return WithFileAndCause("Could not put output file in place", AOutput.FileName, AVERROR(ENOENT));
  const int err = CommitPartialFile(AOutput.PartName, AOutput.Target, OverwriteOutput());
  if (err != 0) {
    const String cause = err == EEXIST ? String("File exists and overwriting is off") : SystemErrorText(-err);
    return "Could not put output file in place [" + AOutput.FileName + ": " + cause + "]";
  }
  AOutput.PartName.clear();
  return String();
}

String TCustomFFmpeg::CloseOutputFile(TOpenedOutput& AOutput) {
  AVFormatContext* oc = AOutput.ctx.get();
  if (!oc || (oc->oformat->flags & AVFMT_NOFILE) || !oc->pb) return String();
  ClearFFmpegErrorLine();
  // Closing does not report a failed last write of the buffer: flushed and judged here first.
  ff::avio_flush(oc->pb);
  const int flushed = oc->pb->error;
  const int closed = UnicodeCloseOutput(oc);
  const int ret = flushed < 0 ? flushed : closed;
  if (ret >= 0) return String();
  return WithFileAndCause("Could not close output file", AOutput.FileName, ret);
}

void TCustomFFmpeg::check_audio_video_sub_inputs(bool& HasVideo, bool& HasAudio, bool AFirstOnly,
                                                 bool& HasSubtitle) {
  HasVideo = HasAudio = HasSubtitle = false;
  const size_t count = AFirstOnly ? std::min<size_t>(1, Finput_files.size()) : Finput_files.size();
  for (size_t j = 0; j < count; ++j) {
    const AVFormatContext* ic = Finput_files[j]->ctx.get();
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
      switch (ic->streams[i]->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
          HasVideo = true;
          break;
        case AVMEDIA_TYPE_AUDIO:
          HasAudio = true;
          break;
        case AVMEDIA_TYPE_SUBTITLE:
          HasSubtitle = true;
          break;
        case AVMEDIA_TYPE_DATA:
        case AVMEDIA_TYPE_ATTACHMENT:
        case AVMEDIA_TYPE_UNKNOWN:
          break;
        default:
          throw FFmpegException("invalid codec_type of input file");
      }
    }
  }
}

Integer TCustomFFmpeg::OpenOutputFile(const String& AFileName, bool AJoin) {
  if (FJoinMode) {
    FLastErrMsg = "Cannot join more than one output file.";
    return -1;
  }
  // The output list holds FMaxFiles entries; a joined output takes one per input.
  const Integer entries = AJoin && nb_input_files() > 1 ? nb_input_files() : 1;
  if (nb_output_files() + entries > FMaxFiles) {
    FLastErrMsg = AJoin && entries > 1
                      ? Format("Cannot join %d input files: the task holds at most %d output entries",
                               entries, FMaxFiles)
                      : Format("max output files %d reached", FMaxFiles);
    return -1;
  }
  FPending.EnableFilter = !FPending.vfilters.empty();
  auto output = std::make_shared<TOpenedOutput>();
  output->ctx.reset(ff::avformat_alloc_context());
  if (!output->ctx) throw FFmpegException("avformat_alloc_context failed");
  AVFormatContext* oc = output->ctx.get();
  bool registered = false;
  auto refuse = [&](const String& AMessage) {
    FLastErrMsg = AMessage;
    if (registered) Foutput_files.pop_back();
    return -1;
  };

  // Container format
  const String url = FileNameToURL(AFileName);
  const AVOutputFormat* fmt = nullptr;
  if (!FPending.last_asked_format.empty()) {
    String name;
    Utf8ToSystem(FPending.last_asked_format, name);
    fmt = ff::av_guess_format(name.c_str(), nullptr, nullptr);
    if (!fmt)
      return refuse(
          Format("Requested output format '%s' is not a suitable output format", FPending.last_asked_format));
    FPending.last_asked_format.clear();
  } else {
    // The unicode prefix would hide the extension; the name itself decides.
    String name;
    Utf8ToSystem(AFileName, name);
    fmt = ff::av_guess_format(nullptr, name.c_str(), nullptr);
    if (!fmt) return refuse(Format("Unable to find a suitable output format for '%s'", AFileName));
  }

  oc->oformat = fmt;
  oc->url = ff::av_strdup(url.c_str());
  if (!oc->url) throw FFmpegException("avformat_alloc_context failed");

  // A server feed gives its own stream set
  if (std::strcmp(fmt->name, "ffm") == 0 && ff::av_strstart(url.c_str(), "http:", nullptr)) {
    const Integer ret = ReadFeedStreams(*output, AFileName);
    if (ret < 0) return refuse(FormatAVError(AFileName, ret));
  } else {
    // Which streams
    // Audio containers of 5.1 name PNG as their video codec for a cover picture: no video stream.
    const bool coverOnly = fmt->video_codec == AV_CODEC_ID_PNG && fmt->audio_codec != AV_CODEC_ID_NONE;
    bool useVideo = (fmt->video_codec != AV_CODEC_ID_NONE && !coverOnly) || FPending.video_stream_copy ||
                    FPending.video_codec_name;
    bool useAudio =
        fmt->audio_codec != AV_CODEC_ID_NONE || FPending.audio_stream_copy || FPending.audio_codec_name;
    bool useSubtitle = fmt->subtitle_codec != AV_CODEC_ID_NONE || FPending.subtitle_stream_copy ||
                       FPending.subtitle_codec_name;
    if (!Finput_files.empty()) {
      bool hasVideo = false, hasAudio = false, hasSubtitle = false;
      try {
        check_audio_video_sub_inputs(hasVideo, hasAudio, AJoin, hasSubtitle);
      } catch (const Exception& e) {
        return refuse(Format("check_audio_video_sub_inputs fail: %s", e.Message()));
      }
      useVideo = useVideo && hasVideo;
      useAudio = useAudio && hasAudio;
      useSubtitle = useSubtitle && hasSubtitle;
    }
    if (FPending.audio_disable) useAudio = false;
    if (FPending.video_disable) useVideo = false;
    if (FPending.subtitle_disable) useSubtitle = false;
    // An output without a stream would convert nothing and still look like a result.
    if (!Finput_files.empty() && !useVideo && !useAudio && !useSubtitle)
      return refuse(NoStreamText(AFileName, fmt, *this));
    const char* stage = "new_video_stream";
    try {
      if (useVideo) new_video_stream(*output);
      stage = "new_audio_stream";
      if (useAudio) new_audio_stream(*output);
      stage = "new_subtitle_stream";
      if (useSubtitle) new_subtitle_stream(*output);
    } catch (const Exception& e) {
      return refuse(Format("%s fail: %s", stage, e.Message()));
    }
    // File data: the time stamp, then the metadata from the last pair added to the first, so
    // that of a key given twice the first value stays
    if (FPending.recording_timestamp != 0)
      ff::av_dict_set(&oc->metadata, "creation_time", CreationTimeText(FPending.recording_timestamp).c_str(),
                      0);
    while (!Fmetadata.empty()) {
      ff::av_dict_set(&oc->metadata, Fmetadata.back().first.c_str(), Fmetadata.back().second.c_str(), 0);
      Fmetadata.pop_back();
    }
  }

  // Register
  Foutput_files.push_back(output);
  registered = true;

  // Numbered file names
  if ((fmt->flags & AVFMT_NEEDNUMBER) && ff::av_filename_number_test(oc->url) == 0)
    return refuse(FormatAVError(URLToFileName(oc->url), AVERROR(EDOM)));

  // The file: judged now, made only when the run starts writing, so that adding a task destroys
  // nothing (an existing file is replaced only when the run has finished its own).
  output->FileName = AFileName;
  InstallUnicodeIO(oc);
  if (!(fmt->flags & AVFMT_NOFILE)) {
    if (const String refusal = OutputIsInput(AFileName); !refusal.empty()) return refuse(refusal);
    const Integer ret = CheckWritableFileName(AFileName);
    if (ret < 0) return refuse(FormatAVError(AFileName, ret));
  }

  // Muxer parameters are judged when the header is written (avformat_write_header).

  // Muxer settings
  oc->max_delay = Integer(FPending.mux_max_delay * 1000000);
  oc->flags |= AVFMT_FLAG_NONBLOCK;
  output->MuxerOptions = FPending.MuxerOptions;
  if (ClassHasOption(fmt->priv_class, "preload"))
    output->MuxerOptions.Set("preload", IntToStr(Integer(FPending.mux_preload * 1000000)).c_str());
  if (ClassHasOption(fmt->priv_class, "loop") &&
      (FPending.loop_output >= 0 || std::strcmp(fmt->name, "gif") == 0))
    output->MuxerOptions.Set("loop", IntToStr(FPending.loop_output).c_str());
  ApplyFFOptions(FOptions, oc, FOptions.avformat_opts.get(), AV_OPT_FLAG_ENCODING_PARAM);

  // Stream ids apply to one output only
  Fstreamid_map.fill(0);

  // Join: the inputs are concatenated into this output
  if (AJoin && nb_input_files() > 1) {
    FJoinMode = true;
    Int64 total = 0;
    for (const auto& input : Finput_files)
      if (input->ctx->duration != AV_NOPTS_VALUE) total += input->ctx->duration;
    FTotalOutputDuration = total == 0 ? -1 : total;
    for (Integer i = 1; i < nb_input_files(); ++i) Foutput_files.push_back(output);
  }
  return nb_output_files();
}
