// How far a conversion has come: the progress event and the report line.
#include <cmath>
#include <cstdio>
#include <mutex>

#include "engine/base/ffmpeglogger.h"
#include "engine/transcoder/streamtables.h"

namespace {

// The quantizer histogram, one for the process.
std::mutex GHistogramLock;
Integer GQpHistogram[52];

// Appends printf-formatted text to ALine.
template <typename... TArgs>
void Append(String& ALine, const char* AFormat, TArgs... Args) {
  char piece[256];
  const int n = std::snprintf(piece, sizeof piece, AFormat, Args...);
  if (n > 0) ALine.append(piece, size_t(std::min<int>(n, sizeof piece - 1)));
}

Int64 OutputSize(AVFormatContext* AContext) {
  AVIOContext* pb = AContext ? AContext->pb : nullptr;
  if (!pb) return 0;
  Int64 size = ff::avio_size(pb);
  if (size < 0) size = ff::avio_seek(pb, 0, SEEK_CUR);
  return size < 0 ? 0 : size;
}

}  // namespace

void TCustomFFmpeg::ReportProgress(Integer AFileIndex, bool AIsLast) {
  if (!FState || Foutput_files.empty()) return;
  TConvertState& s = *FState;
  Integer frameNumber = -1, fps = -1;
  Single quality = -1.0f;
  const Int64 totalSize = OutputSize(Foutput_files[0]->ctx.get());
  String line;
  Double time = 1e10;
  bool videoSeen = false;
  for (auto& p : s.ost_table) {
    TAVOutputStream& ost = *p;
    const AVCodecContext* enc = ost.enc;
    const bool video = enc->codec_type == AVMEDIA_TYPE_VIDEO;
    const Single q = ost.encoding_needed ? ost.mux->quality : -1.0f;
    if (videoSeen && video) Append(line, "q=%2.1f ", Double(q));
    if (!videoSeen && video && ost.show_fps) {
      const Single elapsed = Single(Double(ff::av_gettime() - FCounters.timer_start) / 1000000);
      frameNumber = ost.frame_number;
      if (frameNumber < 1) return;
      fps = elapsed > 1.0f ? Integer(frameNumber / elapsed + 0.5) : 0;
      quality = q;
      Append(line, "frame=%5d fps=%3d q=%3.1f ", frameNumber, fps, Double(quality));
      if (AIsLast) line += "L";
      if (FPending.qp_hist) {
        std::lock_guard<std::mutex> hold(GHistogramLock);
        const Integer j = Integer(std::lrint(quality));
        if (j >= 0 && j < 52) ++GQpHistogram[j];
        for (Integer k = 0; k < 32; ++k)
          Append(line, "%X", Integer(std::lrint(std::log2(GQpHistogram[k] + 1.0))));
      }
      if (ost.encoding_needed && (enc->flags & AV_CODEC_FLAG_PSNR)) {
        Double errorSum = 0, scaleSum = 0;
        line += "PSNR=";
        static const char letters[3] = {'Y', 'U', 'V'};
        for (Integer j = 0; j < 3; ++j) {
          const Double error = Double(AIsLast ? ost.mux->error_sum[j] : ost.mux->error[j]);
          Double scale = Double(enc->width) * enc->height * 255.0 * 255.0;
          if (AIsLast) scale *= frameNumber;
          if (j > 0) scale /= 4;
          errorSum += error;
          scaleSum += scale;
          Append(line, "%c:%2.2f ", letters[j], -10.0 * std::log10(error / scale));
        }
        Append(line, "*:%2.2f ", -10.0 * std::log10(errorSum / scaleSum));
      }
      videoSeen = true;
    }
    const Double outputTime = ost.mux->end_time;
    if (outputTime < time && outputTime > 0) time = outputTime;
  }
  // No output time yet: the current duration is not known.
  const bool known = time < 1e10;
  if (time < 0.01) time = 0.01;
  TFFLogger* log = GetFFLogger();
  if (FOnProgress || FPending.verbose > 0 || AIsLast) {
    const Double bitrate = known ? Double(totalSize) * 8 / time / 1000 : 0;
    Append(line, "size=%8.0fkB time=%0.2f bitrate=%6.1fkbits/s", Double(totalSize) / 1024, known ? time : 0.0,
           bitrate);
    if (FCounters.nb_frames_dup || FCounters.nb_frames_drop)
      Append(line, " dup=%d drop=%d", FCounters.nb_frames_dup, FCounters.nb_frames_drop);
    if (FCounters.ShowDupOrDrop && FPending.verbose >= 0 && FOnProgress) {
      FCounters.ShowDupOrDrop = false;
      log->Log(this, llVerbose, line);
    }
    if (FOnProgress)
      FOnProgress(this, AFileIndex, frameNumber, fps, quality, Single(bitrate), totalSize,
                  known ? Int64(time * 1000000) : -1, FTotalOutputDuration);
    else if (FPending.verbose >= 0)
      log->Log(this, llVerbose, line);
  }
  if (AIsLast && FPending.verbose >= 0) {
    const Double raw = Double(FCounters.video_size + FCounters.audio_size + FCounters.extra_size);
    const Double overhead = raw > 0 ? (Double(totalSize) - raw) * 100 / raw : 0;
    char summary[256];
    std::snprintf(summary, sizeof summary,
                  "video:%1.0fkB audio:%1.0fkB global headers:%1.0fkB muxing overhead %.2f%%\r\n",
                  Double(FCounters.video_size) / 1024, Double(FCounters.audio_size) / 1024,
                  Double(FCounters.extra_size) / 1024, overhead);
    log->Log(this, llVerbose, String(summary));
  }
}
