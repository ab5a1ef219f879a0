// The stream tables of a conversion and the binding of every output stream to its source.
#include <cmath>

#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "engine/base/unicodeprotocol.h"
#include "engine/transcoder/streamtables.h"
#include "platform/rtl/format.h"

TAVInputStream::~TAVInputStream() {
  ff::av_channel_layout_uninit(&s16_layout);
}

TMuxStream::~TMuxStream() {
  if (logfile) ff::fclose(logfile);
}

TConvertState::TConvertState() : packet(ff::av_packet_alloc()), filtered(ff::av_packet_alloc()) {
  if (!packet || !filtered) throw FFmpegException("av_mallocz fail");
}

TConvertState::~TConvertState() {
  // The output streams point into the input streams and the mux records: they go first.
  ost_table.clear();
  ist_table.clear();
  mux.clear();
}

void TCustomFFmpeg::BuildInputStreamTable() {
  TConvertState& s = *FState;
  s.file_table.assign(Finput_files.size(), TAVInputFile());
  Integer total = 0;
  for (size_t i = 0; i < Finput_files.size(); ++i) {
    s.file_table[i].ist_index = total;
    s.file_table[i].nb_streams = Integer(Finput_files[i]->ctx->nb_streams);
    total += s.file_table[i].nb_streams;
  }
  s.ist_table.clear();
  s.ist_table.reserve(size_t(total));
  for (size_t i = 0; i < Finput_files.size(); ++i) {
    TOpenedInput& input = *Finput_files[i];
    for (Integer k = 0; k < s.file_table[i].nb_streams; ++k) {
      auto ist = std::make_unique<TAVInputStream>();
      ist->st = input.ctx->streams[k];
      ist->dec = size_t(k) < input.codecs.size() ? input.codecs[size_t(k)].get() : nullptr;
      ist->file_index = Integer(i);
      ist->index = k;
      ist->discard = true;
      if (FPending.rate_emu) ist->start = ff::av_gettime();
      s.ist_table.push_back(std::move(ist));
    }
  }
}

void TCustomFFmpeg::BuildOutputStreamTable() {
  TConvertState& s = *FState;
  Integer count = 0;
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    TOpenedOutput& output = *Foutput_files[i];
    if (output.streams.empty()) {
      ff::av_dump_format(output.ctx.get(), Integer(i), FileNameToURL(output.FileName).c_str(), 1);
      throw FFmpegException(Format("Output file #%d does not contain any stream", Integer(i)));
    }
    count += Integer(output.streams.size());
    if (i == 0) s.group_size = count;
  }
  if (!Fstream_maps.empty() && Integer(Fstream_maps.size()) != count)
    throw FFmpegException("Number of stream maps must match number of output streams");
  const Integer files = Integer(s.file_table.size());
  for (const TAVStreamMap& m : Fstream_maps) {
    if (m.file_index < 0 || m.file_index >= files || m.stream_index < 0 ||
        m.stream_index >= s.file_table[size_t(m.file_index)].nb_streams)
      throw FFmpegException(Format("Could not find input stream #%d.%d", m.file_index, m.stream_index));
    if (m.sync_file_index < 0 || m.sync_file_index >= files || m.sync_stream_index < 0 ||
        m.sync_stream_index >= s.file_table[size_t(m.sync_file_index)].nb_streams)
      throw FFmpegException(
          Format("Could not find sync stream #%d.%d", m.sync_file_index, m.sync_stream_index));
  }
  s.ost_table.clear();
  for (Integer i = 0; i < count; ++i) s.ost_table.push_back(std::make_unique<TAVOutputStream>());
  BindOutputStreams();
  SetupOutputCodecs();
}

namespace {

bool InProgram(const AVFormatContext* AContext, Integer AProgramId, Integer AStreamIndex) {
  for (unsigned p = 0; p < AContext->nb_programs; ++p) {
    const AVProgram* program = AContext->programs[p];
    if (program->id != AProgramId) continue;
    for (unsigned k = 0; k < program->nb_stream_indexes; ++k)
      if (Integer(program->stream_index[k]) == AStreamIndex) return true;
  }
  return false;
}

}  // namespace

void TCustomFFmpeg::BindOutputStreams() {
  TConvertState& s = *FState;
  Integer n = 0;
  for (size_t f = 0; f < Foutput_files.size(); ++f) {
    TOpenedOutput& output = *Foutput_files[f];
    for (size_t k = 0; k < output.streams.size(); ++k, ++n) {
      TAVOutputStream& ost = *s.ost_table[size_t(n)];
      ost.file_index = Integer(f);
      ost.index = Integer(k);
      ost.setup = &output.streams[k];
      ost.st = ost.setup->st;
      ost.enc = ost.setup->codec.get();
      auto& mux = s.mux[ost.st];
      if (!mux) mux = std::make_unique<TMuxStream>();
      ost.mux = mux.get();
      const Integer type = ost.enc->codec_type;
      if (!Fstream_maps.empty()) {
        const TAVStreamMap& m = Fstream_maps[size_t(n)];
        ost.source_index = s.file_table[size_t(m.file_index)].ist_index + m.stream_index;
        const Integer itype = s.ist_table[size_t(ost.source_index)]->st->codecpar->codec_type;
        if (itype != type) {
          ff::av_dump_format(output.ctx.get(), Integer(f), FileNameToURL(output.FileName).c_str(), 1);
          throw FFmpegException(Format("Codec type mismatch for mapping #%d.%d (%s) -> #%d.%d (%s)",
                                       m.file_index, m.stream_index, MediaTypeText(itype), ost.file_index,
                                       ost.index, MediaTypeText(type)));
        }
      } else {
        bool found = false;
        Int64 best = -1;
        for (size_t j = 0; j < s.ist_table.size(); ++j) {
          TAVInputStream& ist = *s.ist_table[j];
          if (FPending.opt_programid != 0 &&
              !InProgram(Finput_files[size_t(ist.file_index)]->ctx.get(), FPending.opt_programid, ist.index))
            continue;
          if (!ist.discard || ist.st->discard == AVDISCARD_ALL || ist.st->codecpar->codec_type != type)
            continue;
          if (FJoinMode && ist.file_index != Integer(f)) continue;
          // 5.1 keeps the frames seen while probing to itself; the container's count stands in.
          const Int64 frames = ist.st->nb_frames;
          if (frames > best) {
            best = frames;
            ost.source_index = Integer(j);
            found = true;
          }
        }
        if (!found && FPending.opt_programid == 0 && !FJoinMode) {
          for (size_t j = 0; j < s.ist_table.size(); ++j) {
            TAVInputStream& ist = *s.ist_table[j];
            if (ist.st->codecpar->codec_type == type && ist.st->discard != AVDISCARD_ALL) {
              ost.source_index = Integer(j);
              found = true;
            }
          }
        }
        if (!found) {
          ff::av_dump_format(output.ctx.get(), Integer(f), FileNameToURL(output.FileName).c_str(), 1);
          throw FFmpegException(Format("Could not find input stream matching output stream #%d.%d (%s)",
                                       ost.file_index, ost.index, MediaTypeText(type)));
        }
      }
      TAVInputStream& source = *s.ist_table[size_t(ost.source_index)];
      source.discard = false;
      if (!Fstream_maps.empty()) {
        const TAVStreamMap& m = Fstream_maps[size_t(n)];
        ost.sync_ist =
            s.ist_table[size_t(s.file_table[size_t(m.sync_file_index)].ist_index + m.sync_stream_index)]
                .get();
      } else {
        ost.sync_ist = &source;
      }
      ost.show_fps = true;
    }
  }
}

void TCustomFFmpeg::InitInputTimestamps() {
  for (auto& p : FState->ist_table) {
    TAVInputStream& ist = *p;
    const AVRational rate = ist.st->avg_frame_rate;
    if (rate.num != 0 && rate.den != 0) {
      const Integer delay = ist.dec ? ist.dec->has_b_frames : ist.st->codecpar->video_delay;
      ist.pts = -Int64(std::nearbyint(Double(delay) * 1000000 / av_q2d(rate)));
    } else {
      ist.pts = 0;
    }
    ist.next_pts = AV_NOPTS_VALUE;
    ist.is_start = true;
  }
}

void TCustomFFmpeg::LogStreamMapping() {
  if (!FState) return;
  TConvertState& s = *FState;
  for (size_t i = 0; i < Foutput_files.size(); ++i) {
    if (FJoinMode && i > 0) break;
    // Under the name the user gave, not the partial one being written.
    ff::av_dump_format(Foutput_files[i]->ctx.get(), Integer(i),
                       FileNameToURL(Foutput_files[i]->FileName).c_str(), 1);
  }
  if (FPending.verbose < 0) return;
  TFFLogger* log = GetFFLogger();
  log->Log(this, llVerbose, "Stream mapping:");
  for (auto& p : s.ost_table) {
    const TAVOutputStream& ost = *p;
    if (size_t(ost.source_index) >= s.ist_table.size() || !ost.enc) continue;
    const TAVInputStream& source = *s.ist_table[size_t(ost.source_index)];
    const String type = MediaTypeText(ost.enc->codec_type);
    log->Log(this, llVerbose, "  Stream #%d.%d -> #%d.%d (%s)", source.file_index, source.index,
             FJoinMode ? 0 : ost.file_index, ost.index, type);
    if (ost.sync_ist && ost.sync_ist != &source)
      log->Log(this, llVerbose, " [sync #%d.%d (%s)]", ost.sync_ist->file_index, ost.sync_ist->index, type);
  }
}

void TCustomFFmpeg::FreeStreamTables() {
  if (!FState) return;
  // The records are listed in the open-codec lists by address; what is still listed is closed
  // before the records go.
  CloseListedEncoders(FEncoderList);
  CloseListedDecoders(FDecoderList);
  for (auto& p : FState->ist_table) p->graph.reset();
  FState.reset();
}
