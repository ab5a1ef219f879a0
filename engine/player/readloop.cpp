// The read loop: opens the input, picks and opens the streams, then reads packets into the three
// queues, carrying out seek and pause requests, until the file is closed.
#include <cmath>
#include <cstdarg>

#include "engine/base/avholders.h"
#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/base/sdlstubs.h"
#include "engine/base/unicodeprotocol.h"
#include "engine/player/playerstages.h"

namespace {

constexpr Integer MAX_QUEUE_SIZE = 15 * 1024 * 1024;
constexpr Integer MIN_AUDIOQ_SIZE = 20 * 16 * 1024;
constexpr Integer MIN_FRAMES = 5;

String Printf(const char* AFormat, ...) {
  char buffer[2048];
  va_list args;
  va_start(args, AFormat);
  std::vsnprintf(buffer, sizeof buffer, AFormat, args);
  va_end(args);
  return buffer;
}

// FFmpeg gives up a blocking read of this context once its file is being closed.
int DecodeInterruptCallback(void* AOpaque) {
  auto* is = static_cast<TVideoState*>(AOpaque);
  return is && is->abort_request == 1 ? 1 : 0;
}

bool ShortOfData(const TVideoState& is) {
  return (is.audio_stream >= 0 && is.audioq.size <= MIN_AUDIOQ_SIZE) ||
         (is.video_stream >= 0 && is.videoq.nb_packets <= MIN_FRAMES) ||
         (is.subtitle_stream >= 0 && is.subtitleq.nb_packets <= MIN_FRAMES);
}

Integer QueuedBytes(const TVideoState& is) {
  return is.audioq.size + is.videoq.size + is.subtitleq.size;
}

void PerformSeek(TVideoState* is, bool& AEof) {
  TPlayerCore* owner = is->Owner;
  const Int64 target = is->seek_pos;
  const Int64 minTs = is->seek_rel > 0 ? target - is->seek_rel + 2 : INT64_MIN;
  const Int64 maxTs = is->seek_rel < 0 ? target - is->seek_rel - 2 : INT64_MAX;
  Integer ret = ff::avformat_seek_file(is->ic, -1, minTs, target, maxTs, is->seek_flags);
  if (ret < 0) ret = ff::av_seek_frame(is->ic, -1, target, is->seek_flags);
  if (ret < 0) ret = ff::av_seek_frame(is->ic, -1, target, is->seek_flags ^ AVSEEK_FLAG_BACKWARD);
  AVPacket* flush = nullptr;
  AVPacket flushPacket{};
  flushPacket.data = reinterpret_cast<uint8_t*>(const_cast<char*>(FlushPacketData));
  flush = &flushPacket;
  if (ret < 0) {
    owner->ReportError(Printf("%s: error while seeking", is->filename.c_str()), false);
    if (is->video_stream >= 0) owner->FPictEvent.SetEvent();
  } else {
    if (is->audio_stream >= 0) {
      PacketQueueFlush(is->audioq);
      PacketQueuePut(is->audioq, flush);
    }
    if (is->subtitle_stream >= 0) {
      PacketQueueFlush(is->subtitleq);
      PacketQueuePut(is->subtitleq, flush);
    }
    if (is->video_stream >= 0) {
      is->seek_flushed = 0;
      PacketQueueFlush(is->videoq);
      PacketQueuePut(is->videoq, flush);
      owner->FPictEvent.ResetEvent();
    }
  }
  is->ErrorEOF = 0;
  is->ReachEOF = 0;
  is->seek_req = 0;
  is->seek_done = 1;
  owner->FSeekEvent.SetEvent();
  if (is->video_stream < 0) owner->FSeeking = false;
  AEof = false;
}

// Opening the input and its streams; false on a failure (the reason is in LastErrMsg).
bool OpenInput(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  TDictionary options;
  if (owner->Fframe_width > 0 && owner->Fframe_height > 0)
    options.Set("video_size", Printf("%dx%d", owner->Fframe_width, owner->Fframe_height).c_str());
  if (owner->Fframe_pix_fmt >= 0)
    options.Set("pixel_format", ff::av_get_pix_fmt_name(AVPixelFormat(owner->Fframe_pix_fmt)));
  AVFormatContext* ic = ff::avformat_alloc_context();
  if (!ic) {
    owner->ReportError("avformat_alloc_context() failed.", true);
    return false;
  }
  ic->interrupt_callback.callback = DecodeInterruptCallback;
  ic->interrupt_callback.opaque = is;
  const String url = FileNameToURL(is->filename);
  const Integer err = UnicodeOpenInput(&ic, url.c_str(), is->iformat, options.Ref());
  if (err < 0) {
    std::lock_guard<std::mutex> hold(owner->FErrLock);
    owner->FLastErrMsg = FormatAVError(is->filename, err);
    return false;
  }
  is->ic = ic;
  if (owner->Fgenpts) ic->flags |= AVFMT_FLAG_GENPTS;
  Integer found;
  {
    TCriticalSectionHold hold(CodecLock());
    found = ff::avformat_find_stream_info(ic, nullptr);
  }
  if (found < 0) {
    std::lock_guard<std::mutex> hold(owner->FErrLock);
    owner->FLastErrMsg = Printf("%s: could not find codec parameters", is->filename.c_str());
    return false;
  }
  if (ic->pb) ic->pb->eof_reached = 0;
  if (owner->Fseek_by_bytes < 0) owner->Fseek_by_bytes = (ic->iformat->flags & AVFMT_TS_DISCONT) ? 1 : 0;
  const String name = ic->iformat->name ? ic->iformat->name : "";
  is->IsImage2 = name == "image2" ? 1 : 0;
  is->IsDevice = name == "vfwcap" || name == "vfwcapture" ? 1 : 0;
  if (ic->start_time != AV_NOPTS_VALUE) is->StartTime = ic->start_time;
  is->Duration = ic->duration != AV_NOPTS_VALUE ? ic->duration : -1;
  if (owner->Fstart_time != AV_NOPTS_VALUE) {
    Int64 target = owner->Fstart_time;
    if (ic->start_time != AV_NOPTS_VALUE) target += ic->start_time;
    if (ff::avformat_seek_file(ic, -1, INT64_MIN, target, INT64_MAX, 0) < 0)
      owner->ReportError(
          Printf("%s: could not seek to position %0.3f", is->filename.c_str(), double(target) / 1000000.0),
          false);
  }

  // The library no longer shows how many frames it analysed per stream; its own best stream of a
  // type (which it picks by those counts first) stands in as the one with the most.
  Integer best[AVMEDIA_TYPE_NB];
  for (Integer t = 0; t < AVMEDIA_TYPE_NB; ++t)
    best[t] = t == AVMEDIA_TYPE_VIDEO || t == AVMEDIA_TYPE_AUDIO || t == AVMEDIA_TYPE_SUBTITLE
                  ? ff::av_find_best_stream(ic, AVMediaType(t), -1, -1, nullptr, 0)
                  : -1;
  std::vector<TStreamChoiceInput> streams(ic->nb_streams);
  for (unsigned i = 0; i < ic->nb_streams; ++i) {
    ic->streams[i]->discard = AVDISCARD_ALL;
    const Integer type = ic->streams[i]->codecpar->codec_type;
    const bool isBest = type >= 0 && type < AVMEDIA_TYPE_NB && best[type] == Integer(i);
    streams[i] = TStreamChoiceInput{type, isBest ? 1 : 0};
  }
  Integer chosen[7];
  ChooseStreams(streams.data(), Integer(streams.size()), owner->Fwanted_stream, owner->Fvideo_disable,
                owner->Faudio_disable, chosen);
  const Integer audioIndex = chosen[AVMEDIA_TYPE_AUDIO + 1];
  const Integer videoIndex = chosen[AVMEDIA_TYPE_VIDEO + 1];
  const Integer subtitleIndex = chosen[AVMEDIA_TYPE_SUBTITLE + 1];
  if (audioIndex >= 0) StreamComponentOpen(is, audioIndex);
  Integer ret = -1;
  if (videoIndex >= 0) ret = StreamComponentOpen(is, videoIndex);
  if (ret < 0 && !owner->Fdisplay_disable) is->show_audio = 2;
  if (subtitleIndex >= 0) StreamComponentOpen(is, subtitleIndex);
  if (is->video_stream < 0 && is->audio_stream < 0) {
    std::lock_guard<std::mutex> hold(owner->FErrLock);
    owner->FLastErrMsg = Printf("%s: could not open codecs, no stream to play.", is->filename.c_str());
    return false;
  }
  is->Opened = 1;
  return true;
}

void ReadPackets(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  TPacketHolder holder(ff::av_packet_alloc());
  AVPacket* packet = holder.get();
  bool eof = false;
  while (!is->abort_request) {
    if (is->paused != is->last_paused) {
      is->last_paused = is->paused;
      if (is->paused)
        is->read_pause_return = ff::av_read_pause(is->ic);
      else
        ff::av_read_play(is->ic);
    }
    if (is->seek_req) PerformSeek(is, eof);
    if (QueuedBytes(*is) > MAX_QUEUE_SIZE || !ShortOfData(*is)) {
      PlayerSleep(10);
      continue;
    }
    if ((is->ic->pb && ff::avio_feof(is->ic->pb)) || eof) {
      if (is->video_stream >= 0) {
        ff::av_packet_unref(packet);
        packet->stream_index = is->video_stream;
        PacketQueuePut(is->videoq, packet);
        owner->FPictEvent.SetEvent();
      }
      PlayerSleep(10);
      if (QueuedBytes(*is) == 0) is->ReachEOF = 1;
      continue;
    }
    is->Reading = 1;
    const Integer ret = ff::av_read_frame(is->ic, packet);
    is->Reading = 0;
    if (is->abort_request) break;
    if (ret < 0) {
      if (ret == AVERROR(EAGAIN)) {
        PlayerSleep(10);
        continue;
      }
      if (is->video_stream >= 0) owner->FPictEvent.SetEvent();
      if (!is->IsImage2 && !is->ErrorEOF) {
        is->ErrorEOF = 1;
        if (ret == AVERROR_EOF)
          GetFFLogger()->Log(owner->FPlayer, llInfo, Printf("reach end of file: %s", is->filename.c_str()));
        else
          owner->ReportError(Printf("error #%d while reading file: %s", ret, is->filename.c_str()), false);
      }
      if (ret == AVERROR_EOF) eof = true;
      if (is->ic->pb && is->ic->pb->error) break;
      PlayerSleep(100);
      continue;
    }
    if (packet->stream_index == is->audio_stream)
      PacketQueuePut(is->audioq, packet);
    else if (packet->stream_index == is->video_stream)
      PacketQueuePut(is->videoq, packet);
    else if (packet->stream_index == is->subtitle_stream)
      PacketQueuePut(is->subtitleq, packet);
    ff::av_packet_unref(packet);
  }
  holder.reset();
  while (!is->abort_request) PlayerSleep(100);
}

}  // namespace

void PlayerSleep(Cardinal AMs) {
  if (IsMainThread()) {
    ServeMainThreadWait();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(AMs));
}

void ChooseStreams(const TStreamChoiceInput* AStreams, Integer ACount, const Integer AWanted[7],
                   bool AVideoDisable, bool AAudioDisable, Integer AChosen[7]) {
  Integer counts[7] = {}, best[7];
  for (Integer t = 0; t < 7; ++t) AChosen[t] = best[t] = -1;
  for (Integer i = 0; i < ACount; ++i) {
    const Integer t = AStreams[i].CodecType;
    if (t < -1 || t >= 5) continue;
    const Integer w = AWanted[t + 1];
    if (w >= 0 && w != counts[t + 1]) {
      counts[t + 1]++;
      continue;
    }
    counts[t + 1]++;
    if (AStreams[i].AnalysedFrames > best[t + 1]) {
      best[t + 1] = AStreams[i].AnalysedFrames;
      const bool video = t == AVMEDIA_TYPE_VIDEO || t == AVMEDIA_TYPE_SUBTITLE;
      if ((video && !AVideoDisable) || (t == AVMEDIA_TYPE_AUDIO && !AAudioDisable)) AChosen[t + 1] = i;
    }
  }
}

void ReadThread(TVideoState* is) {
  const bool ok = OpenInput(is);
  if (ok) ReadPackets(is);
  // Exit steps.
  if (is->Opened != 1) is->Opened = -1;
  if (is->audio_stream >= 0) StreamComponentClose(is, is->audio_stream);
  if (is->video_stream >= 0) StreamComponentClose(is, is->video_stream);
  if (is->subtitle_stream >= 0) StreamComponentClose(is, is->subtitle_stream);
  if (is->ic) {
    is->Owner->FAVProbe->SetFileHandle(nullptr);
    UnicodeCloseInput(&is->ic);
  }
  if (!ok) PushQuitEvent(is);
  if (is->Opened == -1) is->Opened = -2;
}

Integer StreamComponentOpen(TVideoState* is, Integer AStreamIndex) {
  AVFormatContext* ic = is->ic;
  TPlayerCore* owner = is->Owner;
  if (AStreamIndex < 0 || AStreamIndex >= Integer(ic->nb_streams)) return -1;
  AVStream* st = ic->streams[AStreamIndex];
  const AVCodec* codec = ff::avcodec_find_decoder(st->codecpar->codec_id);
  TCodecContextHolder holder(ff::avcodec_alloc_context3(codec));
  AVCodecContext* ctx = holder.get();
  if (!ctx) return -1;
  ff::avcodec_parameters_to_context(ctx, st->codecpar);
  ctx->pkt_timebase = st->time_base;
  ctx->debug = owner->Fdebug;
  ctx->workaround_bugs = owner->Fworkaround_bugs;
  ctx->lowres = owner->Flowres;
  ctx->idct_algo = owner->Fidct_algo;
  if (owner->Ffast) ctx->flags2 |= AV_CODEC_FLAG2_FAST;
  ctx->skip_frame = AVDiscard(owner->Fskip_frame);
  ctx->skip_idct = AVDiscard(owner->Fskip_idct);
  ctx->skip_loop_filter = AVDiscard(owner->Fskip_loop_filter);
  ctx->err_recognition = owner->Ferror_recognition;
  ctx->error_concealment = owner->Ferror_concealment;
  ctx->thread_count = 1;
  Integer opened;
  {
    TCriticalSectionHold hold(CodecLock());
    opened = codec ? ff::avcodec_open2(ctx, codec, nullptr) : -1;
  }
  if (opened < 0) {
    holder.reset();
    owner->ReportError("avcodec_open() failed.", false);
    return -1;
  }
  if (ctx->codec_type == AVMEDIA_TYPE_AUDIO) {
    const Integer channels = ctx->ch_layout.nb_channels;
    SDL_AudioSpec wanted{}, obtained{};
    wanted.freq = ctx->sample_rate;
    wanted.format = AUDIO_S16SYS;
    // The device gets at most two channels; more are mixed down by the resampler.
    wanted.channels = Uint8(channels > 2 ? 2 : channels);
    wanted.silence = 0;
    wanted.samples = 1024;
    wanted.callback = SdlAudioCallback;
    wanted.userdata = is;
    if (channels <= 0 || ctx->sample_rate <= 0 || libsdl::SDL_OpenAudio(&wanted, &obtained) < 0) {
      owner->ReportError(String("SDL_OpenAudio() failed: ") + libsdl::SDL_GetError(), false);
      TCriticalSectionHold hold(CodecLock());
      holder.reset();
      return -1;
    }
    // The callback reads what is set from here on once the device runs: SDL's audio lock, which it
    // runs under, orders the two.
    libsdl::SDL_LockAudio();
    is->audio_hw_buf_size = Integer(obtained.size);
    std::lock_guard<std::mutex> hold(is->clock_mutex);
    is->audio_out_channels = obtained.channels;
    is->audio_out_rate = obtained.freq;
  }
  st->discard = AVDISCARD_DEFAULT;
  AVPacket flush{};
  flush.data = reinterpret_cast<uint8_t*>(const_cast<char*>(FlushPacketData));
  switch (ctx->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
      is->audio_ctx = std::move(holder);
      is->audio_st = st;
      is->AudioDuration = st->duration != AV_NOPTS_VALUE
                              ? ff::av_rescale_q(st->duration, st->time_base, AVRational{1, 1000000})
                              : -1;
      {
        std::lock_guard<std::mutex> hold(is->clock_mutex);
        is->audio_buf_size = 0;
        is->audio_buf_index = 0;
      }
      is->audio_diff_avg_coef = std::exp(std::log10(0.01) / AUDIO_DIFF_AVG_NB);
      is->audio_diff_avg_count = 0;
      is->audio_diff_threshold = 2.0 * 1024 / ctx->sample_rate;
      is->audio_pkt.reset(ff::av_packet_alloc());
      is->audio_frame.reset(ff::av_frame_alloc());
      is->audio_pkt_pending = false;
      PacketQueueInit(is->audioq);
      PacketQueuePut(is->audioq, &flush);
      is->audio_stream = AStreamIndex;
      libsdl::SDL_PauseAudio(0);
      libsdl::SDL_UnlockAudio();
      break;
    case AVMEDIA_TYPE_VIDEO:
      is->video_ctx = std::move(holder);
      is->video_st = st;
      PacketQueueInit(is->videoq);
      PacketQueuePut(is->videoq, &flush);
      is->video_stream = AStreamIndex;
      is->video_tid = std::thread(VideoThread, is);
      break;
    case AVMEDIA_TYPE_SUBTITLE:
      is->subtitle_ctx = std::move(holder);
      is->subtitle_st = st;
      PacketQueueInit(is->subtitleq);
      PacketQueuePut(is->subtitleq, &flush);
      is->subtitle_stream = AStreamIndex;
      is->subtitle_tid = std::thread(SubtitleThread, is);
      break;
    default: {
      TCriticalSectionHold hold(CodecLock());
      holder.reset();
    } break;
  }
  return 0;
}

void StreamComponentClose(TVideoState* is, Integer AStreamIndex) {
  AVFormatContext* ic = is->ic;
  if (!ic || AStreamIndex < 0 || AStreamIndex >= Integer(ic->nb_streams)) return;
  TCodecContextHolder ctx;
  if (AStreamIndex == is->video_stream) {
    PacketQueueAbort(is->videoq);
    { std::lock_guard<std::mutex> hold(is->pictq_mutex); }
    is->pictq_cond.notify_all();
    if (is->video_tid.joinable()) is->video_tid.join();
    PacketQueueEnd(is->videoq);
    ctx = std::move(is->video_ctx);
    is->video_st = nullptr;
    is->video_stream = -1;
  } else if (AStreamIndex == is->audio_stream) {
    PacketQueueAbort(is->audioq);
    libsdl::SDL_CloseAudio();
    PacketQueueEnd(is->audioq);
    is->swr_ctx.reset();
    is->swr_src_fmt = -1;
    is->audio_pkt.reset();
    is->audio_frame.reset();
    ctx = std::move(is->audio_ctx);
    is->audio_st = nullptr;
    is->audio_stream = -1;
    is->AudioDuration = -1;
  } else if (AStreamIndex == is->subtitle_stream) {
    PacketQueueAbort(is->subtitleq);
    {
      std::lock_guard<std::mutex> hold(is->subpq_mutex);
      is->subtitle_stream_changed = 1;
    }
    is->subpq_cond.notify_all();
    if (is->subtitle_tid.joinable()) is->subtitle_tid.join();
    PacketQueueEnd(is->subtitleq);
    ctx = std::move(is->subtitle_ctx);
    is->subtitle_st = nullptr;
    is->subtitle_stream = -1;
  } else {
    return;
  }
  ic->streams[AStreamIndex]->discard = AVDISCARD_ALL;
  TCriticalSectionHold hold(CodecLock());
  ctx.reset();
}

bool SwitchStream(TVideoState* is, Integer AMediaType, Integer AStreamIndex) {
  TPlayerCore* owner = is->Owner;
  Integer current = -1;
  if (AMediaType == AVMEDIA_TYPE_VIDEO)
    current = is->video_stream;
  else if (AMediaType == AVMEDIA_TYPE_AUDIO)
    current = is->audio_stream;
  else if (AMediaType == AVMEDIA_TYPE_SUBTITLE)
    current = is->subtitle_stream;
  const Integer lowest = AMediaType == AVMEDIA_TYPE_SUBTITLE ? -1 : 0;
  auto fail = [&](const char* AMsg) {
    owner->ReportError(AMsg, true);
    return false;
  };
  if (current < lowest) return fail("the current stream is not valid.");
  if (AStreamIndex < lowest) return fail("the stream index is not valid.");
  if (AStreamIndex >= Integer(is->ic->nb_streams)) return fail("the stream index is not valid.");
  if (AStreamIndex == current) return true;
  if (AStreamIndex >= 0) {
    const AVCodecParameters* par = is->ic->streams[AStreamIndex]->codecpar;
    if (par->codec_type != AMediaType) return fail("the stream type is not matched.");
    if (AMediaType == AVMEDIA_TYPE_AUDIO && (par->sample_rate == 0 || par->ch_layout.nb_channels == 0))
      return fail("the audio stream is not invalid.");
  }
  if (AMediaType != AVMEDIA_TYPE_VIDEO && AMediaType != AVMEDIA_TYPE_AUDIO &&
      AMediaType != AVMEDIA_TYPE_SUBTITLE)
    return fail("the stream type is invalid.");
  StreamComponentClose(is, current);
  StreamComponentOpen(is, AStreamIndex);
  return true;
}

void StreamSeek(TVideoState* is, TSeekFlags AFlags, bool AWait, Int64 APos, Int64 ARel) {
  TPlayerCore* owner = is->Owner;
  if (is->seek_req) return;
  owner->FSeeking = true;
  is->seek_paused = is->paused.load();
  is->seek_pos = APos;
  is->seek_rel = ARel;
  is->seek_flags = SeekFlagsToAV(AFlags);
  owner->FSeekEvent.ResetEvent();
  is->seek_req = 1;
  if (!AWait) return;
  auto waitFor = [&](TEvent& AEvent) {
    while (AEvent.WaitFor(100) == wrTimeout) {
      if (IsMainThread()) {
        ServeMainThreadWait();
      }
    }
  };
  waitFor(owner->FSeekEvent);
  if (is->video_stream >= 0) waitFor(owner->FPictEvent);
}

void StreamTogglePause(TVideoState* is) {
  TPlayerCore* owner = is->Owner;
  if (owner->FSeekEvent.WaitFor(250) != wrSignaled) owner->FSeekEvent.SetEvent();
  if (!owner->VideoState()) return;
  if (is->paused) {
    std::lock_guard<std::mutex> hold(is->clock_mutex);
    const double now = NowSeconds();
    // The pause's length moves the picture timing on; before the first picture there is no time
    // at which one was shown (pts and drift still 0), and nothing to move.
    if (is->video_current_pts_drift != 0)
      is->frame_timer += now - (is->video_current_pts - is->video_current_pts_drift);
    if (is->read_pause_return != AVERROR(ENOSYS)) is->video_current_pts = is->video_current_pts_drift + now;
    is->video_current_pts_drift = is->video_current_pts - now;
    is->paused = 0;
  } else {
    if (is->video_stream >= 0 && owner->FPictEvent.WaitFor(250) != wrSignaled) owner->FPictEvent.SetEvent();
    if (!owner->VideoState()) return;
    std::lock_guard<std::mutex> hold(is->clock_mutex);
    is->paused = 1;
  }
}
