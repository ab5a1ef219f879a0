// The media probe: describes one media file through libavformat, either opened by the probe itself
// (read-only, LoadFile) or adopted from another part of the engine (FileHandle), and, for files it
// opened itself, seeks in a video stream and decodes single pictures into 24-bit bitmaps.
//
// Every message goes to the engine logger and into LastErrMsg; only the library check and seeking
// or decoding on an adopted context raise.
#pragma once

#include <vector>

#include "engine/base/avheaders.h"
#include "engine/base/avholders.h"
#include "engine/base/engineutils.h"
#include "engine/probe/rgbconvert.h"
#include "platform/ui/graphics/bitmap.h"

using TAVRational = AVRational;

// The whole file; file-level times in microseconds, -1 when unknown.
struct TFileStreamInfo {
  Int64 StartTime = -1;
  Int64 Duration = -1;
  Integer BitRate = -1;
  Int64 TimeStamp = -1;  // seconds since 1970
  Integer Year = -1;
  Integer Track = -1;
  String Title, Author, Copyright, Comment, Album, Genre;
};

// Start and duration as stored (stream time base, AV_NOPTS_VALUE kept) and scaled to microseconds
// (-1 when unknown).
struct TAudioStreamInfo {
  String Language;
  String CodecName;
  Int64 StartTime = -1;
  Int64 StartTimeScaled = -1;
  Int64 Duration = -1;
  Int64 DurationScaled = -1;
  Integer BitRate = -1;
  Integer Channels = -1;
  Integer SampleRate = -1;
  Integer SampleFormat = -1;  // AVSampleFormat
};

struct TVideoStreamInfo {
  String Language;
  String CodecName;
  Int64 StartTime = -1;
  Int64 StartTimeScaled = -1;
  Int64 Duration = -1;
  Int64 DurationScaled = -1;
  Integer BitRate = -1;
  Integer Height = -1;
  Integer Width = -1;
  Single AspectRatio = -1.0f;  // display aspect; unguarded, so 0, inf or NaN for odd parameters
  Integer PixFmt = -1;         // AVPixelFormat
  TAVRational FrameRate = {-1, -1};
};

struct TSubtitleStreamInfo {
  String Language;
  String CodecName;
};

// The library's picture type numbers.
enum TPictureType { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

struct TFrameInfo {
  Integer PixFmt = -1;
  Integer Width = -1;
  Integer Height = -1;
  bool IsKeyFrame = false;
  TPictureType PictureType = ptUnknown;
  Int64 PTS = AV_NOPTS_VALUE;  // microseconds from the stream's start
  Int64 OriginalDTS = AV_NOPTS_VALUE;
  Int64 OriginalPTS = AV_NOPTS_VALUE;
  Integer StreamIndex = -1;
  Int64 Position = -1;  // input byte position when the decode call began reading
  bool Ready = false;
  TAVPicture Picture;      // into Buffer
  Byte* Buffer = nullptr;  // the probe's; only grows, kept across files
  Integer Size = 0;
};

class TCustomAVProbe : public TFFBaseComponent {
 public:
  explicit TCustomAVProbe(TComponent* AOwner);
  ~TCustomAVProbe() override;
  String ClassName() const override { return "TCustomAVProbe"; }

  bool AVLibLoaded() const;
  bool LoadAVLib(const TPathFileName& APath);
  void UnloadAVLib();

  // Opens AFileName read-only, with the demuxer AFormatName when it is not empty. False with the
  // reason in LastErrMsg; the probe is then without a file.
  bool LoadFile(const String& AFileName, const String& AFormatName = String());
  virtual void CloseFile();

  AVFormatContext* FileHandle() const { return FFileHandle; }
  // Adopts a context another part of the engine opened and analysed; it stays that part's.
  virtual void SetFileHandle(AVFormatContext* Value);

  String FileName();
  Int64 FileSize() const { return FFileSize; }
  const String& ForceFormat() const { return FForceFormat; }
  String FormatName();
  String FormatLongName();
  Integer StreamCount() const { return FStreamCount; }
  Integer ProgramCount() const { return FProgramCount; }
  Integer AudioStreamCount() const { return FAudioStreamCount; }
  Integer VideoStreamCount() const { return FVideoStreamCount; }
  Integer SubtitleStreamCount() const { return FSubtitleStreamCount; }
  Integer FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
  Integer FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
  Integer FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
  TFileStreamInfo FileStreamInfo();
  TAudioStreamInfo FirstAudioStreamInfo() { return GetAudioStreamInfo(-1); }
  TVideoStreamInfo FirstVideoStreamInfo() { return GetVideoStreamInfo(-1); }
  TSubtitleStreamInfo FirstSubtitleStreamInfo() { return GetSubtitleStreamInfo(-1); }
  // The multi-line report, every line ended by CR LF; empty without a file.
  String FileInfoText();
  const String& LastErrMsg() const { return FLastErrMsg; }

  bool IsAudioStream(Integer AStreamIndex);
  bool IsVideoStream(Integer AStreamIndex);
  bool IsSubtitleStream(Integer AStreamIndex);

  // A negative index means the first stream of the type.
  TAudioStreamInfo GetAudioStreamInfo(Integer AStreamIndex);
  TVideoStreamInfo GetVideoStreamInfo(Integer AStreamIndex);
  TSubtitleStreamInfo GetSubtitleStreamInfo(Integer AStreamIndex);

 protected:
  virtual void UpdateFileInfo();
  // Raises Exception "LibAVCodec not loaded." etc. for the first library of the probe set missing.
  void CheckLibraries();
  // Logs at the library level AAVLevel and keeps the text in LastErrMsg.
  void LogMessage(Integer AAVLevel, const String& AMessage);
  bool HasFile() const { return FFileHandle != nullptr; }
  // Single pictures arrive through the image demuxers, which cannot seek and hold one picture.
  bool IsImageInput() const;

  AVFormatContext* FFileHandle = nullptr;
  bool FOwnHandle = false;
  String FLastErrMsg;
  String FForceFormat;
  Int64 FFileSize = -1;
  Integer FStreamCount = -1;
  Integer FProgramCount = -1;
  Integer FAudioStreamCount = -1;
  Integer FVideoStreamCount = -1;
  Integer FSubtitleStreamCount = -1;
  Integer FFirstAudioStreamIndex = -1;
  Integer FFirstVideoStreamIndex = -1;
  Integer FFirstSubtitleStreamIndex = -1;

 private:
  // Checks the index and the type for a stream-info getter; the stream or null (reported).
  AVStream* StreamForInfo(Integer AStreamIndex, AVMediaType AType, Integer AFirstIndex);
  bool IsStreamOfType(Integer AStreamIndex, AVMediaType AType);

  TInputHolder FOwnedInput;  // FFileHandle when the probe opened it
};

class TAVProbe : public TCustomAVProbe {
 public:
  explicit TAVProbe(TComponent* AOwner);
  ~TAVProbe() override;
  String ClassName() const override { return "TAVProbe"; }

  void CloseFile() override;

  // Seeks by time (microseconds) or, with sfByte, by byte position. False when the library cannot
  // seek there, when the input is a single picture and at the end of the input (EOF set).
  bool Seek(Int64 APTS, TSeekFlags ASeekFlags);
  // Each leaves the wanted picture in FrameInfo and returns True. A negative index means the
  // current decode stream, else the first video stream.
  bool Decode(Integer AStreamIndex = -1);
  bool DecodeNextKeyFrame(Integer AStreamIndex = -1);
  bool DecodePreviousFrame(Integer AStreamIndex = -1);
  bool DecodePreviousKeyFrame(Integer AStreamIndex = -1);
  // ABitmap becomes a 24-bit copy of the current picture; black of its size when the conversion fails.
  bool CopyToBitmap(TBitmap* ABitmap);

  // The EOF property (EOF itself is the C library's macro).
  bool Eof() const { return FEOF; }
  const TFrameInfo& FrameInfo() const { return FPicture; }
  // Byte position of the input; -1 without a file or an I/O context.
  Int64 Position();

 protected:
  void UpdateFileInfo() override;

 private:
  void ResetPicture();
  bool CheckOwnHandle();
  bool CheckSeekable();
  Integer SelectDecodeStream(Integer AStreamIndex);
  AVCodecContext* OpenDecoder(Integer AStreamIndex);
  void CloseDecoder();
  bool StorePicture(const AVFrame* AFrame, Int64 APosition);
  // The position of the input's I/O context; -1 without one.
  Int64 InputPosition() const;
  Int64 FrameDurationOf(Integer AStreamIndex) const;

  TCodecContextHolder FCodec;
  Integer FCodecIndex = -1;  // the stream FCodec decodes
  TRGBConvertContext FRGBContext;
  Integer FSeekIndex = -1;
  Int64 FStartTime = -1;
  Integer FDecodeIndex = -1;
  bool FEOF = false;
  TFrameInfo FPicture;
  Int64 FLastPTS = AV_NOPTS_VALUE;
  Int64 FLastPos = -1;
  TAVMemHolder<Byte> FPictureBuffer;  // FPicture.Buffer
  TPacketHolder FPacket;
  TFrameHolder FFrame;
  Integer FPacketFlags = 0;  // of the last packet sent to the decoder
};
