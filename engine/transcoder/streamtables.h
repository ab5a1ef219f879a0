// The working state of one conversion: the file and stream tables that the run builds over the
// opened inputs and outputs, and what it keeps per muxed stream. Internal to the transcoder.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "engine/base/avholders.h"
#include "engine/base/avstubs.h"
#include "engine/transcoder/transcoder.h"

struct TAVInputFile {
  bool eof_reached = false;
  Integer ist_index = 0;   // first stream of the file in the input stream table
  Integer nb_streams = 0;  // the stream count when the table was built
};

struct TAVInputStream {
  TAVInputStream() = default;
  TAVInputStream(const TAVInputStream&) = delete;
  TAVInputStream& operator=(const TAVInputStream&) = delete;
  ~TAVInputStream();

  Integer file_index = 0;
  Integer index = 0;
  AVStream* st = nullptr;
  AVCodecContext* dec = nullptr;  // the input's codec context of the stream
  bool discard = true;            // no output reads it
  bool decoding_needed = false;
  Int64 start = 0;                            // µs, wall clock at set-up (rate emulation)
  Int64 next_pts = AV_NOPTS_VALUE;            // µs
  Int64 pts = 0;                              // µs
  Int64 last_frame_pkt_dts = AV_NOPTS_VALUE;  // of the last picture a frame-threaded decoder gave
  bool is_start = true;
  bool showed_multi_packet_warning = false;
  bool is_past_recording_time = false;
  bool decoder_flushed = false;
  bool decoder_drained = false;  // the decoder was sent its end; it takes no more packets
  Single quality = 0;            // of the last decoded picture
  // Video filter graph of the stream (buffer source → … → buffer sink).
  TFilterGraphHolder graph;
  AVFilterContext* input_video_filter = nullptr;
  AVFilterContext* out_video_filter = nullptr;
  TFrameHolder frame;     // decoded picture or samples
  TFrameHolder filtered;  // picture taken from the sink
  // Decoded samples to packed 16-bit at the decoder's rate and layout.
  TSwrContextHolder to_s16;
  AVChannelLayout s16_layout{};
  Integer s16_rate = 0;
  Integer s16_format = -1;
};

// What every output stream record that writes into one muxer stream shares (in join mode one per
// input file writes into the same stream).
struct TMuxStream {
  TMuxStream() = default;
  TMuxStream(const TMuxStream&) = delete;
  TMuxStream& operator=(const TMuxStream&) = delete;
  ~TMuxStream();

  std::vector<TBSFContextHolder> bsfs;
  Int64 last_dts = AV_NOPTS_VALUE;  // of the last packet written, stream time base
  Double end_time = 0;              // seconds: end of the last packet written
  TAudioFifoHolder fifo;            // samples waiting for a whole encoder frame, encoder format
  FILE* logfile = nullptr;          // first-pass statistics
  bool flushed = false;             // the encoder was sent its end
  Int64 packets = 0;                // written to the file
  Integer pict_type = 0;            // of the last encoded picture
  Single quality = -1;              // of the last encoded picture (lambda ÷ FF_QP2LAMBDA); -1 none
  Int64 error[3] = {};              // of the last encoded picture (PSNR)
  Int64 error_sum[3] = {};
};

struct TAVOutputStream {
  TAVOutputStream() = default;
  TAVOutputStream(const TAVOutputStream&) = delete;
  TAVOutputStream& operator=(const TAVOutputStream&) = delete;

  Integer file_index = 0;
  Integer index = 0;
  Integer source_index = 0;
  AVStream* st = nullptr;
  TOutputStreamSetup* setup = nullptr;
  AVCodecContext* enc = nullptr;  // the setup's context
  TMuxStream* mux = nullptr;
  bool encoding_needed = false;
  Integer frame_number = 0;
  TAVInputStream* sync_ist = nullptr;
  Int64 sync_opts = 0;
  // video
  bool video_resample = false;
  TFrameHolder pict_tmp;
  TSwsContextHolder img_resample_ctx;
  Integer resample_height = 0, resample_width = 0, resample_pix_fmt = -1;
  Integer original_height = 0, original_width = 0;
  bool video_crop = false;
  Integer topBand = 0, bottomBand = 0, leftBand = 0, rightBand = 0;
  Integer original_topBand = 0, original_bottomBand = 0, original_leftBand = 0, original_rightBand = 0;
  // audio
  bool audio_resample = false;
  TSwrContextHolder resample;  // 16-bit samples of the source to the encoder's format
  TFrameHolder audio_frame;    // one encoder frame
  AVCodecID codec_id = AV_CODEC_ID_NONE;
  bool show_fps = true;
};

// A picture with its own buffers in the encoder's size and pixel format: what the scaler writes.
TFrameHolder NewScaledPicture(const AVCodecContext* AEnc);

// Takes every packet the encoder of AOst has ready and writes it; APicture is the picture sent
// last (for the post hooks), AFrameSize gets the size of the last packet. Raises AFailure on an
// encoder error.
void ReceiveEncodedPackets(TCustomFFmpeg& ATask, AVFormatContext* AOutput, TAVOutputStream& AOst,
                           const AVFrame* APicture, Integer& AFrameSize, const char* AFailure);

struct TConvertState {
  std::vector<TAVInputFile> file_table;
  std::vector<std::unique_ptr<TAVInputStream>> ist_table;
  std::vector<std::unique_ptr<TAVOutputStream>> ost_table;
  std::map<const AVStream*, std::unique_ptr<TMuxStream>> mux;
  Integer group_size = 0;
  bool keep_encoders_open = false;     // join mode between two inputs: the encoders go on
  TPacketHolder packet;                // the packet being written
  TPacketHolder filtered;              // a bitstream filter's output
  TAVMemHolder<uint8_t> subtitle_out;  // this transcoder's subtitle output buffer
  // Working buffers of the run.
  TAVMemHolder<uint8_t> audio_buf;  // the encoder's input samples (av_fast_malloc'ed)
  Cardinal allocated_audio_buf_size = 0;
  TAVMemHolder<uint8_t> input_tmp;  // the source samples with the ones a sync inserts
  TAVMemHolder<int16_t> samples;    // decoded samples as packed 16-bit
  Cardinal samples_size = 0;
  TAVMemHolder<uint8_t> bit_buffer;  // the largest picture an encoder may give
  Integer bit_buffer_size = 262144;
  TConvertState();
  ~TConvertState();
};
