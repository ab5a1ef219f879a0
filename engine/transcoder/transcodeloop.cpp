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
  std::vector<bool> noPacket(size_t(std::max<Integer>(FMaxFiles, nb_input_files())), false);
  Integer noPacketCount = 0;
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
  TConvertState& s = *FState;
  const TPacketHolder packetHolder(ff::av_packet_alloc());
  AVPacket* packet = packetHolder.get();
  if (!packet) {
    FreeStreamTables();
    throw FFmpegException("av_mallocz fail");
  }

  FCounters.timer_start = ff::av_gettime();
  Int64 lastReport = FCounters.timer_start;
  Integer current = 0;
  const Integer groupSize = s.group_size;
  const Integer outputs = Integer(s.ost_table.size());
  TFFLogger* log = GetFFLogger();

  auto frameLimitReached = [this](const TAVOutputStream& AOst) {
    const Integer type = AOst.enc->codec_type;
    return type >= 0 && type < 4 && AOst.frame_number >= FPending.max_frames[size_t(type)];
  };

  while (!Broken()) {
    // A paused task halts here, between two packets, holding no lock.
    if (Paused()) {
      FResumeEvent.WaitFor();
      continue;
    }
    // The input to read
    if (!FJoinMode) {
      current = -1;
      Double outputMin = 1e100, inputMin = 1e100;
      for (auto& p : s.ost_table) {
        TAVOutputStream& ost = *p;
        TAVInputStream& ist = *s.ist_table[size_t(ost.source_index)];
        if (ist.is_past_recording_time || noPacket[size_t(ist.file_index)]) continue;
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
        if (frameLimitReached(ost)) {
          current = -1;
          break;
        }
      }
    } else {
      for (Integer i = current * groupSize; i < (current + 1) * groupSize && i < outputs; ++i)
        if (frameLimitReached(*s.ost_table[size_t(i)])) {
          current = -1;
          break;
        }
    }
    if (current < 0) {
      if (FJoinMode || noPacketCount == 0) break;
      std::fill(noPacket.begin(), noPacket.end(), false);
      noPacketCount = 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    // Size limit, on output file 0
    if (FPending.limit_filesize != 0 && Foutput_files[0]->ctx->pb &&
        ff::avio_seek(Foutput_files[0]->ctx->pb, 0, SEEK_CUR) > FPending.limit_filesize)
      break;
    // Read
    AVFormatContext* ic = Finput_files[size_t(current)]->ctx;
    const Integer ret = ff::av_read_frame(ic, packet);
    if (ret == AVERROR(EAGAIN)) {
      noPacket[size_t(current)] = true;
      ++noPacketCount;
      continue;
    }
    bool switchFile = false;
    if (ret < 0) {
      s.file_table[size_t(current)].eof_reached = true;
      if (!FJoinMode) {
        if (FPending.opt_shortest) break;
        continue;
      }
      switchFile = true;
    }
    if (!switchFile) {
      std::fill(noPacket.begin(), noPacket.end(), false);
      noPacketCount = 0;
      if (FPending.do_pkt_dump)
        ff::av_pkt_dump_log2(nullptr, AV_LOG_DEBUG, packet, FPending.do_hex_dump,
                             ic->streams[packet->stream_index]);
      const TAVInputFile& file = s.file_table[size_t(current)];
      const Integer istIndex = file.ist_index + packet->stream_index;
      if (packet->stream_index < file.nb_streams && !s.ist_table[size_t(istIndex)]->discard) {
        TAVInputStream& ist = *s.ist_table[size_t(istIndex)];
        const AVRational tb = ist.st->time_base;
        // Offset, scale, discontinuity
        const Int64 offset = ff::av_rescale_q(Finput_files_ts_offset[size_t(current)], AV_TIME_BASE_Q, tb);
        if (packet->dts != AV_NOPTS_VALUE) packet->dts += offset;
        if (packet->pts != AV_NOPTS_VALUE) packet->pts += offset;
        const Double scale = InputTsScale(current, packet->stream_index);
        if (scale != 0) {
          if (packet->pts != AV_NOPTS_VALUE) packet->pts = Int64(std::nearbyint(Double(packet->pts) * scale));
          if (packet->dts != AV_NOPTS_VALUE) packet->dts = Int64(std::nearbyint(Double(packet->dts) * scale));
        }
        if (packet->dts != AV_NOPTS_VALUE && ist.next_pts != AV_NOPTS_VALUE &&
            (ic->iformat->flags & AVFMT_TS_DISCONT)) {
          const Int64 packetTime = ff::av_rescale_q(packet->dts, tb, AV_TIME_BASE_Q);
          const Int64 delta = packetTime - ist.next_pts;
          if ((std::llabs(delta) > Int64(FPending.dts_delta_threshold * 1000000) ||
               packetTime + 1 < ist.pts) &&
              !FPending.copy_ts) {
            Finput_files_ts_offset[size_t(current)] -= delta;
            if (FPending.verbose > 2)
              log->Log(this, llVerbose, "timestamp discontinuity %d, new offset= %d", delta,
                       Finput_files_ts_offset[size_t(current)]);
            packet->dts -= ff::av_rescale_q(delta, AV_TIME_BASE_Q, tb);
            if (packet->pts != AV_NOPTS_VALUE) packet->pts -= ff::av_rescale_q(delta, AV_TIME_BASE_Q, tb);
          }
        }
        // Recording limit
        const Int64 when = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (FPending.recording_time != INT64_MAX && when != AV_NOPTS_VALUE &&
            ff::av_compare_ts(when, tb, FPending.recording_time + FPending.start_time, AV_TIME_BASE_Q) >= 0) {
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
      continue;
    }

    // Join mode: the current input has ended
    const bool lastFile = current == nb_input_files() - 1;
    s.keep_encoders_open = !lastFile;
    for (auto& p : s.ist_table) {
      TAVInputStream& ist = *p;
      if (ist.file_index != current || !ist.decoding_needed) continue;
      ProcessPacket(ist, Integer(&p - &s.ist_table[0]), nullptr);
      ist.decoder_flushed = true;
    }
    s.keep_encoders_open = false;
    // The encoders stay open across the inputs and are drained once, at the end.
    for (Integer i = (current + 1) * groupSize; i < outputs; ++i) {
      s.ost_table[size_t(i)]->sync_opts = s.ost_table[size_t(i - groupSize)]->sync_opts;
      s.ost_table[size_t(i)]->frame_number = s.ost_table[size_t(i - groupSize)]->frame_number;
    }
    Double endTime = 0;
    for (Integer i = current * groupSize; i < (current + 1) * groupSize && i + groupSize < outputs; ++i) {
      endTime = std::max(endTime, s.ost_table[size_t(i)]->mux->end_time);
      s.ost_table[size_t(i)]->show_fps = false;
    }
    if (lastFile) break;
    Finput_files_ts_offset[size_t(current + 1)] += Int64(std::nearbyint(endTime * 1000000));
    ++current;
  }

  // The end: drain, trailers, the last report.
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
    const Integer ret = ff::av_write_trailer(Foutput_files[i]->ctx);
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
  // A run that wrote no frame into a file has converted nothing, though every step succeeded.
  if (failure.empty() && !Broken()) {
    std::vector<Int64> packets(Foutput_files.size(), 0);
    for (auto& p : s.ost_table) {
      const size_t file = FJoinMode ? 0 : size_t(p->file_index);
      if (file < packets.size()) packets[file] += p->mux->packets;
    }
    for (size_t i = 0; i < packets.size() && failure.empty(); ++i) {
      if (FJoinMode && i > 0) break;
      if (packets[i] == 0)
        failure = Format("%s: No frame was written: nothing could be decoded from the input",
                         Foutput_files[i]->FileName);
    }
  }
  // A pause asked for as the inputs ended does not hold back the end.
  if (failure.empty())
    for (TRunState s = FRunState; s == rsConverting || s == rsPaused;)
      if (FRunState.compare_exchange_weak(s, rsConverted)) break;
  FreeStreamTables();
  if (!failure.empty()) {
    log->Log(this, llError, failure);
    throw FFmpegException(failure);
  }
}
