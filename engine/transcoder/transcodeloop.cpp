// The body of a conversion: set-up, then one packet at a time from the input chosen by time until
// the inputs end, a limit is reached or a stop is asked for; then drain, trailers, final report.
#include <cmath>
#include <thread>

#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/base/librarymessage.h"
#include "engine/transcoder/streamtables.h"
#include "platform/rtl/format.h"

void TCustomFFmpeg::ConvertFiles() {
  FState = std::make_unique<TConvertState>();
  PrepareConversion();
  TConvertState& s = *FState;
  const TPacketHolder packetHolder(ff::av_packet_alloc());
  AVPacket* packet = packetHolder.get();
  if (!packet) {
    FreeStreamTables();
    throw FFmpegException("av_mallocz fail");
  }

  std::vector<bool> noPacket(size_t(std::max<Integer>(FMaxFiles, nb_input_files())), false);
  Integer noPacketCount = 0;
  FCounters.timer_start = ff::av_gettime();
  Int64 lastReport = FCounters.timer_start;
  Integer current = 0;
  TFFLogger* log = GetFFLogger();
  while (!Broken()) {
    // A paused task halts here, between two packets, holding no lock.
    if (Paused()) {
      FHalted = true;
      FResumeEvent.WaitFor();
      FHalted = false;
      continue;
    }
    current = ChooseInputToRead(noPacket, current);
    if (current < 0) {
      if (FJoinMode || noPacketCount == 0) break;
      std::fill(noPacket.begin(), noPacket.end(), false);
      noPacketCount = 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    if (OutputSizeLimitReached()) break;
    AVFormatContext* ic = Finput_files[size_t(current)]->ctx.get();
    const Integer ret = ff::av_read_frame(ic, packet);
    if (ret == AVERROR(EAGAIN)) {
      noPacket[size_t(current)] = true;
      ++noPacketCount;
      continue;
    }
    if (ret < 0) {
      s.file_table[size_t(current)].eof_reached = true;
      if (!FJoinMode) {
        if (FPending.opt_shortest) break;
        continue;
      }
      if (EndJoinedInput(current)) break;
      ++current;
      continue;
    }
    std::fill(noPacket.begin(), noPacket.end(), false);
    noPacketCount = 0;
    if (FPending.do_pkt_dump)
      ff::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, packet, FPending.do_hex_dump,
                           ic->streams[packet->stream_index]);
    const TAVInputFile& file = s.file_table[size_t(current)];
    const Integer istIndex = file.ist_index + packet->stream_index;
    if (packet->stream_index < file.nb_streams && !s.ist_table[size_t(istIndex)]->discard) {
      TAVInputStream& ist = *s.ist_table[size_t(istIndex)];
      AdjustPacketTimes(ist, current, packet);
      if (PastRecordingTime(ist, packet)) {
        ist.is_past_recording_time = true;
      } else if (ProcessPacket(ist, istIndex, packet) < 0) {
        const String message = Format("Error while decoding stream #%d.%d (%s)", ist.file_index, ist.index,
                                      MediaTypeText(ist.st->codecpar->codec_type));
        ff::av_packet_unref(packet);
        if (FPending.exit_on_error) {
          FreeStreamTables();
          throw FFmpegException(message);
        }
        if (FPending.verbose >= 0) log->Log(this, llVerbose, message);
        continue;
      }
    }
    ff::av_packet_unref(packet);
    const Int64 now = ff::av_gettime();
    if (now - lastReport > ReportInterval) {
      lastReport = now;
      ReportProgress(current, false);
    }
  }

  const String failure = FinishConversion();
  // A pause asked for as the inputs ended does not hold back the end.
  if (failure.empty())
    for (TRunState state = FRunState; state == rsConverting || state == rsPaused;)
      if (FRunState.compare_exchange_weak(state, rsConverted)) break;
  FreeStreamTables();
  if (!failure.empty()) {
    log->Log(this, llError, failure);
    throw FFmpegException(failure);
  }
}

void TCustomFFmpeg::PrepareConversion() {
  try {
    BuildInputStreamTable();
    BuildOutputStreamTable();
    OpenEncoders();
    OpenDecoders();
    InitInputTimestamps();
    ApplyMetadataMaps();
    CopyAllChapters();
    OpenOutputFiles();
    WriteOutputHeaders();
    LogStreamMapping();
  } catch (...) {
    // The codecs are closed before the records they are listed by go.
    FreeStreamTables();
    throw;
  }
}

bool TCustomFFmpeg::FrameLimitReached(const TAVOutputStream& AOst) const {
  const Integer type = AOst.enc->codec_type;
  return type >= 0 && type < 4 && AOst.frame_number >= FPending.max_frames[size_t(type)];
}

Integer TCustomFFmpeg::ChooseInputToRead(const std::vector<bool>& ANoPacket, Integer ACurrent) const {
  const TConvertState& s = *FState;
  if (FJoinMode) {
    const Integer groupSize = s.group_size;
    const Integer outputs = Integer(s.ost_table.size());
    for (Integer i = ACurrent * groupSize; i < (ACurrent + 1) * groupSize && i < outputs; ++i)
      if (FrameLimitReached(*s.ost_table[size_t(i)])) return -1;
    return ACurrent;
  }
  // The input whose output is furthest behind (with input sync: whose input is).
  Integer current = -1;
  Double outputMin = 1e100, inputMin = 1e100;
  for (auto& p : s.ost_table) {
    const TAVOutputStream& ost = *p;
    const TAVInputStream& ist = *s.ist_table[size_t(ost.source_index)];
    if (ist.is_past_recording_time || ANoPacket[size_t(ist.file_index)]) continue;
    const Double outputTime = ost.mux->end_time;
    const Double inputTime = Double(ist.pts);
    if (!s.file_table[size_t(ist.file_index)].eof_reached) {
      if (inputTime < inputMin) {
        inputMin = inputTime;
        if (FPending.input_sync) current = ist.file_index;
      }
      if (outputTime < outputMin) {
        outputMin = outputTime;
        if (!FPending.input_sync) current = ist.file_index;
      }
    }
    if (FrameLimitReached(ost)) return -1;
  }
  return current;
}

bool TCustomFFmpeg::OutputSizeLimitReached() const {
  // Measured on output file 0.
  return FPending.limit_filesize != 0 && Foutput_files[0]->ctx->pb &&
         ff::avio_seek(Foutput_files[0]->ctx->pb, 0, SEEK_CUR) > FPending.limit_filesize;
}

void TCustomFFmpeg::AdjustPacketTimes(TAVInputStream& AIst, Integer AFile, AVPacket* APacket) {
  // The input's offset and scale, then a discontinuity taken out of the offset.
  const AVRational tb = AIst.st->time_base;
  const Int64 offset = ff::av_rescale_q(Finput_files_ts_offset[size_t(AFile)], AV_TIME_BASE_Q, tb);
  if (APacket->dts != AV_NOPTS_VALUE) APacket->dts += offset;
  if (APacket->pts != AV_NOPTS_VALUE) APacket->pts += offset;
  const Double scale = InputTsScale(AFile, APacket->stream_index);
  if (scale != 0) {
    if (APacket->pts != AV_NOPTS_VALUE) APacket->pts = Int64(std::nearbyint(Double(APacket->pts) * scale));
    if (APacket->dts != AV_NOPTS_VALUE) APacket->dts = Int64(std::nearbyint(Double(APacket->dts) * scale));
  }
  const AVFormatContext* ic = Finput_files[size_t(AFile)]->ctx.get();
  if (APacket->dts == AV_NOPTS_VALUE || AIst.next_pts == AV_NOPTS_VALUE ||
      !(ic->iformat->flags & AVFMT_TS_DISCONT))
    return;
  const Int64 packetTime = ff::av_rescale_q(APacket->dts, tb, AV_TIME_BASE_Q);
  const Int64 delta = packetTime - AIst.next_pts;
  if ((std::llabs(delta) > Int64(FPending.dts_delta_threshold * 1000000) || packetTime + 1 < AIst.pts) &&
      !FPending.copy_ts) {
    Finput_files_ts_offset[size_t(AFile)] -= delta;
    if (FPending.verbose > 2)
      GetFFLogger()->Log(this, llVerbose, "timestamp discontinuity %d, new offset= %d", delta,
                         Finput_files_ts_offset[size_t(AFile)]);
    APacket->dts -= ff::av_rescale_q(delta, AV_TIME_BASE_Q, tb);
    if (APacket->pts != AV_NOPTS_VALUE) APacket->pts -= ff::av_rescale_q(delta, AV_TIME_BASE_Q, tb);
  }
}

bool TCustomFFmpeg::PastRecordingTime(const TAVInputStream& AIst, const AVPacket* APacket) const {
  const Int64 when = APacket->pts != AV_NOPTS_VALUE ? APacket->pts : APacket->dts;
  return FPending.recording_time != INT64_MAX && when != AV_NOPTS_VALUE &&
         ff::av_compare_ts(when, AIst.st->time_base, FPending.recording_time + FPending.start_time,
                           AV_TIME_BASE_Q) >= 0;
}

bool TCustomFFmpeg::EndJoinedInput(Integer ACurrent) {
  TConvertState& s = *FState;
  const Integer groupSize = s.group_size;
  const Integer outputs = Integer(s.ost_table.size());
  const bool lastFile = ACurrent == nb_input_files() - 1;
  s.keep_encoders_open = !lastFile;
  for (auto& p : s.ist_table) {
    TAVInputStream& ist = *p;
    if (ist.file_index != ACurrent || !ist.decoding_needed) continue;
    ProcessPacket(ist, Integer(&p - &s.ist_table[0]), nullptr);
    ist.decoder_flushed = true;
  }
  s.keep_encoders_open = false;
  // The encoders stay open across the inputs and are drained once, at the end.
  for (Integer i = (ACurrent + 1) * groupSize; i < outputs; ++i) {
    s.ost_table[size_t(i)]->sync_opts = s.ost_table[size_t(i - groupSize)]->sync_opts;
    s.ost_table[size_t(i)]->frame_number = s.ost_table[size_t(i - groupSize)]->frame_number;
  }
  Double endTime = 0;
  for (Integer i = ACurrent * groupSize; i < (ACurrent + 1) * groupSize && i + groupSize < outputs; ++i) {
    endTime = std::max(endTime, s.ost_table[size_t(i)]->mux->end_time);
    s.ost_table[size_t(i)]->show_fps = false;
  }
  if (lastFile) return true;
  Finput_files_ts_offset[size_t(ACurrent + 1)] += Int64(std::nearbyint(endTime * 1000000));
  return false;
}

String TCustomFFmpeg::FinishConversion() {
  TConvertState& s = *FState;
  // Drain the decoders.
  for (size_t i = 0; i < s.ist_table.size(); ++i) {
    TAVInputStream& ist = *s.ist_table[i];
    if (ist.decoding_needed && !ist.decoder_flushed) ProcessPacket(ist, Integer(i), nullptr);
  }
  // A file whose end could not be written (a full disk) is no result: the first failure ends the
  // task, after every file has been ended and closed.
  String failure;
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    if (FJoinMode && i > 0) break;
    ClearFFmpegErrorLine();
    const Integer ret = ff::av_write_trailer(Foutput_files[i]->ctx.get());
    if (ret < 0 && failure.empty())
      failure = WithFileAndCause(Format("Could not write the end of output file #%d", Integer(i)),
                                 Foutput_files[i]->FileName, ret);
  }
  ReportProgress(-1, true);
  CloseEncoders();
  CloseDecoders();
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    if (FJoinMode && i > 0) break;
    const String closing = CloseOutputFile(*Foutput_files[i]);
    if (failure.empty()) failure = closing;
  }
  if (failure.empty() && !Broken()) failure = NothingWrittenFailure();
  // Only a whole file takes its name: a failed run leaves its partial files to be removed.
  if (failure.empty()) failure = CommitOutputFiles();
  return failure;
}

std::vector<Int64> TCustomFFmpeg::PacketsWritten() const {
  const TConvertState& s = *FState;
  std::vector<Int64> packets(Foutput_files.size(), 0);
  for (auto& p : s.ost_table) {
    const size_t file = FJoinMode ? 0 : size_t(p->file_index);
    if (file < packets.size()) packets[file] += p->mux->packets;
  }
  return packets;
}

String TCustomFFmpeg::CommitOutputFiles() {
  // A stop before the first packet leaves nothing playable to keep.
  const std::vector<Int64> packets = PacketsWritten();
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    if (FJoinMode && i > 0) break;
    if (packets[i] == 0) continue;
    if (const String failure = CommitOutputFile(*Foutput_files[i]); !failure.empty()) return failure;
  }
  return String();
}

String TCustomFFmpeg::NothingWrittenFailure() const {
  // A run that wrote no frame into a file has converted nothing, though every step succeeded.
  const std::vector<Int64> packets = PacketsWritten();
  for (size_t i = 0; i < packets.size(); ++i) {
    if (FJoinMode && i > 0) break;
    if (packets[i] == 0)
      return Format("%s: No frame was written: nothing could be decoded from the input",
                    Foutput_files[i]->FileName);
  }
  return String();
}
