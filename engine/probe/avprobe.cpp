// The probe's single-picture access: seeking, decoding forwards and backwards, and bitmaps.
#include "engine/probe/avprobe.h"

#include "engine/base/avstubs.h"
#include "engine/base/ffmpegloader.h"
#include "engine/base/ffmpeglogger.h"
#include "engine/base/ffutils.h"
#include "platform/rtl/format.h"

namespace {

constexpr AVRational MicrosecondBase = {1, 1000000};

}  // namespace

TAVProbe::TAVProbe(TComponent* AOwner) : TCustomAVProbe(AOwner) {
  ResetRGBContext(FRGBContext);
  // The inherited constructor could only reach its own UpdateFileInfo.
  UpdateFileInfo();
}

TAVProbe::~TAVProbe() {
  // The inherited destructor could only reach its own CloseFile.
  CloseFile();
  FPictureBuffer.reset();
  FPicture.Buffer = nullptr;
  FPicture.Size = 0;
  ResetRGBContext(FRGBContext);
}

void TAVProbe::CloseFile() {
  FSeekIndex = -1;
  FStartTime = -1;
  FDecodeIndex = -1;
  FEOF = false;
  ResetPicture();
  FLastPTS = AV_NOPTS_VALUE;
  FLastPos = -1;
  CloseDecoder();
  ResetRGBContext(FRGBContext);
  TCustomAVProbe::CloseFile();
}

void TAVProbe::UpdateFileInfo() {
  TCustomAVProbe::UpdateFileInfo();
  FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
  if (!HasFile()) return;
  const Int64 start =
      FSeekIndex >= 0 ? FFileHandle->streams[FSeekIndex]->start_time : FFileHandle->start_time;
  FStartTime = start == AV_NOPTS_VALUE ? 0 : start;
}

void TAVProbe::ResetPicture() {
  if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
  if (FPicture.Position != -1) FLastPos = FPicture.Position;
  FPicture.PixFmt = FPicture.Width = FPicture.Height = -1;
  FPicture.IsKeyFrame = false;
  FPicture.PictureType = ptUnknown;
  FPicture.PTS = FPicture.OriginalDTS = FPicture.OriginalPTS = AV_NOPTS_VALUE;
  FPicture.StreamIndex = -1;
  FPicture.Position = -1;
  FPicture.Ready = false;
}

Int64 TAVProbe::InputPosition() const {
  if (!HasFile() || !FFileHandle->pb) return -1;
  return ff::avio_seek(FFileHandle->pb, 0, SEEK_CUR);
}

Int64 TAVProbe::Position() {
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return -1;
  }
  if (!FFileHandle->pb) {
    LogMessage(AV_LOG_WARNING, "cannot get position");
    return -1;
  }
  return InputPosition();
}

bool TAVProbe::CheckOwnHandle() {
  if (!HasFile()) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return false;
  }
  if (!FOwnHandle) {
    const String message = "file cannot be seeked, handle is readonly.";
    LogMessage(AV_LOG_WARNING, message);
    throw Exception(message);
  }
  return true;
}

bool TAVProbe::CheckSeekable() {
  if (!CheckOwnHandle()) return false;
  if (IsImageInput()) {
    LogMessage(AV_LOG_INFO, "\"image2\" format cannot to be seeked.");
    return false;
  }
  return true;
}

bool TAVProbe::Seek(Int64 APTS, TSeekFlags ASeekFlags) {
  if (!CheckSeekable()) return false;
  AVIOContext* pb = FFileHandle->pb;
  if (pb) LogMessage(AV_LOG_DEBUG, Format("currunt position %d bytes", InputPosition()));

  Int64 ts = APTS < 0 ? 0 : APTS;
  if (!ASeekFlags.Contains(sfByte)) {
    if (FSeekIndex >= 0)
      ts = ff::av_rescale_q(ts, MicrosecondBase, FFileHandle->streams[FSeekIndex]->time_base);
    if (FStartTime > 0) ts += FStartTime;
  }

  if (FCodec) ff::avcodec_flush_buffers(FCodec.get());
  FEOF = false;
  ResetPicture();

  int r;
  if (APTS > 0) {
    r = ff::av_seek_frame(FFileHandle, FSeekIndex, ts, SeekFlagsToAV(ASeekFlags));
  } else {
    TSeekFlags backward = ASeekFlags;
    backward.Include(sfBackward);
    r = ff::av_seek_frame(FFileHandle, FSeekIndex, 0, SeekFlagsToAV(backward));
    if (r < 0) {
      TSeekFlags forward = ASeekFlags;
      forward.Exclude(sfBackward);
      r = ff::av_seek_frame(FFileHandle, FSeekIndex, APTS, SeekFlagsToAV(forward));
    }
  }

  bool result = r >= 0;
  if (!result) {
    if (ASeekFlags.Contains(sfByte))
      LogMessage(AV_LOG_ERROR, Format("could not seek to position %d bytes", APTS));
    else
      LogMessage(AV_LOG_ERROR, Format("could not seek to position %0.3f seconds", double(APTS) / 1000000.0));
  }
  if (pb) {
    // After a failure the reason stays in LastErrMsg; the position goes to the log only.
    const String landed = Format("seek to position %d bytes", InputPosition());
    if (result)
      LogMessage(AV_LOG_DEBUG, landed);
    else
      GetFFLogger()->Log(this, llDebug, landed);
  }
  if (pb && pb->eof_reached) {
    if (result) LogMessage(AV_LOG_INFO, "stream eof reached.");
    result = false;
    FEOF = true;
  }
  return result;
}

Integer TAVProbe::SelectDecodeStream(Integer AStreamIndex) {
  if (!CheckOwnHandle()) return -1;
  Integer index;
  if (AStreamIndex < 0) {
    if (FDecodeIndex >= 0)
      index = FDecodeIndex;
    else if (FFirstVideoStreamIndex >= 0)
      index = FFirstVideoStreamIndex;
    else {
      LogMessage(AV_LOG_ERROR, "no video stream.");
      return -1;
    }
  } else {
    if (AStreamIndex >= FStreamCount) {
      LogMessage(AV_LOG_ERROR, Format("stream index #%d is invalid.", AStreamIndex));
      return -1;
    }
    if (FFileHandle->streams[AStreamIndex]->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) {
      LogMessage(AV_LOG_ERROR, Format("stream #%d is not video stream.", AStreamIndex));
      return -1;
    }
    index = AStreamIndex;
  }
  if (index != FDecodeIndex) ResetPicture();
  FDecodeIndex = index;
  return index;
}

void TAVProbe::CloseDecoder() {
  if (!FCodec) return;
  TCriticalSectionHold hold(CodecLock());
  FCodec.reset();
  FCodecIndex = -1;
}

AVCodecContext* TAVProbe::OpenDecoder(Integer AStreamIndex) {
  const AVStream* st = FFileHandle->streams[AStreamIndex];
  const AVCodecParameters* par = st->codecpar;
  if (par->width == 0 || par->height == 0) {
    LogMessage(AV_LOG_ERROR, "frame size of codec is invalid.");
    return nullptr;
  }
  if (FCodec && FCodecIndex == AStreamIndex) return FCodec.get();
  CloseDecoder();

  const AVCodec* codec = ff::avcodec_find_decoder(par->codec_id);
  if (!codec) {
    LogMessage(AV_LOG_ERROR, Format("Unsupported codec (id=%d) for input file stream #%d",
                                    Integer(par->codec_id), AStreamIndex));
    return nullptr;
  }
  TCodecContextHolder c(ff::avcodec_alloc_context3(codec));
  bool opened = c && ff::avcodec_parameters_to_context(c.get(), par) >= 0;
  if (opened) {
    c->pkt_timebase = st->time_base;
    TCriticalSectionHold hold(CodecLock());
    opened = ff::avcodec_open2(c.get(), codec, nullptr) >= 0;
    if (!opened) c.reset();
  }
  if (!opened) {
    LogMessage(AV_LOG_ERROR, Format("Error while opening codec for input file stream #%d", AStreamIndex));
    return nullptr;
  }
  FCodec = std::move(c);
  FCodecIndex = AStreamIndex;
  return FCodec.get();
}

bool TAVProbe::Decode(Integer AStreamIndex) {
  const Integer idx = SelectDecodeStream(AStreamIndex);
  if (idx < 0) return false;
  if (FPicture.Ready && IsImageInput()) return true;
  if (FEOF) {
    LogMessage(AV_LOG_INFO, "stream eof reached.");
    return false;
  }
  AVCodecContext* c = OpenDecoder(idx);
  if (!c) return false;
  if (!FPacket) FPacket.reset(ff::av_packet_alloc());
  if (!FFrame) FFrame.reset(ff::av_frame_alloc());
  if (!FPacket || !FFrame) {
    LogMessage(AV_LOG_ERROR, FormatAVError(FileName(), AVERROR(ENOMEM)));
    return false;
  }
  const Int64 position = InputPosition();

  for (;;) {
    // A packet may carry several pictures: what the decoder holds comes before the next read.
    if (ff::avcodec_receive_frame(c, FFrame.get()) >= 0) {
      GetFFLogger()->Log(this, llDebug, "pkt.st_idx=%d, dts=%d, pts=%d, flags=%d, pict_type=%d", idx,
                         FFrame->pkt_dts, FFrame->pts, FPacketFlags, Integer(FFrame->pict_type));
      const bool stored = StorePicture(FFrame.get(), position);
      ff::av_frame_unref(FFrame.get());
      return stored;
    }
    if (ff::av_read_frame(FFileHandle, FPacket.get()) < 0) {
      LogMessage(AV_LOG_INFO, "stream eof reached.");
      FEOF = true;
      return false;
    }
    if (FPacket->stream_index == idx) {
      FPacketFlags = FPacket->flags;
      // A packet the decoder refuses is skipped, as is any picture it cannot decode.
      ff::avcodec_send_packet(c, FPacket.get());
    }
    ff::av_packet_unref(FPacket.get());
  }
}

bool TAVProbe::StorePicture(const AVFrame* AFrame, Int64 APosition) {
  const AVPixelFormat format = AVPixelFormat(AFrame->format);
  const int size = ff::av_image_get_buffer_size(format, AFrame->width, AFrame->height, 1);
  if (size < 0) return false;
  if (size > FPicture.Size) {
    FPictureBuffer.reset();
    FPicture.Buffer = nullptr;
    FPicture.Size = 0;
    FPictureBuffer.reset(static_cast<Byte*>(ff::av_malloc(size_t(size))));
    if (!FPictureBuffer) {
      LogMessage(AV_LOG_ERROR, FormatAVError(FileName(), AVERROR(ENOMEM)));
      return false;
    }
    FPicture.Buffer = FPictureBuffer.get();
    FPicture.Size = size;
  }

  FPicture.PixFmt = format;
  FPicture.Width = AFrame->width;
  FPicture.Height = AFrame->height;
  FPicture.IsKeyFrame = AFrame->key_frame == 1;
  FPicture.PictureType =
      AFrame->pict_type >= 0 && AFrame->pict_type <= 7 ? TPictureType(AFrame->pict_type) : ptUnknown;

  // The picture's own time: its packet's time carried through the decoder's reordering.
  Int64 pts = AFrame->best_effort_timestamp;
  if (pts == AV_NOPTS_VALUE) pts = AFrame->pkt_dts == AV_NOPTS_VALUE ? AFrame->pts : AFrame->pkt_dts;
  if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
  if (pts == AV_NOPTS_VALUE) {
    FPicture.PTS = AV_NOPTS_VALUE;
  } else {
    const AVStream* st = FFileHandle->streams[FDecodeIndex];
    if (st->start_time != AV_NOPTS_VALUE) pts -= st->start_time;
    FPicture.PTS = ff::av_rescale_q(pts, st->time_base, MicrosecondBase);
    ff::av_log(nullptr, AV_LOG_DEBUG, "decode PTS: %0.3f\n", double(FPicture.PTS) / 1000000.0);
  }

  FPicture.OriginalDTS = AFrame->pkt_dts;
  FPicture.OriginalPTS = AFrame->pts;
  FPicture.StreamIndex = FDecodeIndex;
  if (FPicture.Position != -1) FLastPos = FPicture.Position;
  FPicture.Position = APosition;

  ff::av_image_fill_arrays(FPicture.Picture.data, FPicture.Picture.linesize, FPicture.Buffer, format,
                           AFrame->width, AFrame->height, 1);
  ff::av_image_copy(FPicture.Picture.data, FPicture.Picture.linesize,
                    const_cast<const uint8_t**>(AFrame->data), AFrame->linesize, format, AFrame->width,
                    AFrame->height);
  FPicture.Ready = true;
  return true;
}

Int64 TAVProbe::FrameDurationOf(Integer AStreamIndex) const {
  const Int64 d = GetFrameDuration(FFileHandle->streams[AStreamIndex]->r_frame_rate);
  // Beyond a million frames per second a frame lasts no whole microsecond; the backward searches
  // step by this time and would never get anywhere.
  return d > 0 ? d : GetFrameDuration(AVRational{0, 1});
}

bool TAVProbe::DecodeNextKeyFrame(Integer AStreamIndex) {
  const Integer idx = SelectDecodeStream(AStreamIndex);
  if (idx < 0) return false;
  const Int64 d = FrameDurationOf(idx);
  const Int64 target = FPicture.PTS > 0 ? FPicture.PTS + d : d;
  if (!Seek(target, TSeekFlags())) return false;
  return Decode(idx);
}

bool TAVProbe::DecodePreviousFrame(Integer AStreamIndex) {
  const Integer idx = SelectDecodeStream(AStreamIndex);
  if (idx < 0) return false;
  const Int64 d = FrameDurationOf(idx);
  const Int64 current = FPicture.PTS != AV_NOPTS_VALUE ? FPicture.PTS
                        : FLastPTS != AV_NOPTS_VALUE   ? FLastPTS
                                                       : 0;
  const Int64 target = current - 2 * d;
  if (!DecodePreviousKeyFrame(idx)) return false;
  while (FPicture.PTS <= target)
    if (!Decode(idx)) return false;
  return true;
}

bool TAVProbe::DecodePreviousKeyFrame(Integer AStreamIndex) {
  const Integer idx = SelectDecodeStream(AStreamIndex);
  if (idx < 0) return false;
  const Int64 d = FrameDurationOf(idx);
  Int64 reference = 0;
  if (FPicture.PTS != AV_NOPTS_VALUE)
    reference = FPicture.PTS;
  else if (FLastPTS != AV_NOPTS_VALUE)
    reference = FLastPTS;
  else if (FFileHandle->duration != AV_NOPTS_VALUE)
    reference = FFileHandle->duration;
  const Int64 referencePos = FPicture.Position >= 0 ? FPicture.Position : FLastPos;

  for (Int64 n = 1;; ++n) {
    Seek(reference - n * d, TSeekFlags{sfBackward});
    const bool moreRoom = n * d <= reference;
    if (FFileHandle->pb && InputPosition() >= referencePos && referencePos > 0 && moreRoom) continue;
    if (Decode(idx)) {
      if (FPicture.PTS < reference) return true;
      if (FPicture.PTS <= 0) return true;
      if (moreRoom) continue;
    } else if (moreRoom) {
      continue;
    }
    FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
    return false;
  }
}

bool TAVProbe::CopyToBitmap(TBitmap* ABitmap) {
  if (!FPicture.Ready) {
    LogMessage(AV_LOG_ERROR, "picture not ready, please decode first");
    return false;
  }
  if (PictureToBitmap(FRGBContext, FPicture.Picture, AVPixelFormat(FPicture.PixFmt), FPicture.Width,
                      FPicture.Height)) {
    ABitmap->Assign(FRGBContext.Bitmap.get());
    return true;
  }
  ABitmap->SetSize(FPicture.Width, FPicture.Height);
  TCanvas* canvas = ABitmap->Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBlack);
  canvas->FillRect(canvas->ClipRect());
  ff::av_log(nullptr, AV_LOG_ERROR, "convert picture to bitmap failed\n");
  return false;
}
