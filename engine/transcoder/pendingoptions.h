// The options a task has set so far and that the next input, output or stream takes: plain data
// with its defaults, so that a task's reset is one assignment. The option layer (SetOption and the
// setters, and the component's option mapping) writes it; opening files and streams reads it.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/base/avholders.h"
#include "platform/rtl/types.h"

struct TPendingOptions {
  // Video and format.
  String last_asked_format;
  Integer frame_width = 0, frame_height = 0;
  Single frame_aspect_ratio = 0;
  Integer frame_pix_fmt = AV_PIX_FMT_NONE;
  Integer audio_sample_fmt = AV_SAMPLE_FMT_NONE;
  Integer frame_topBand = 0, frame_bottomBand = 0, frame_leftBand = 0, frame_rightBand = 0;
  std::array<Integer, 4> max_frames{INT_MAX, INT_MAX, INT_MAX, INT_MAX};  // video, audio, data, subtitle
  AVRational frame_rate{0, 0};
  Single video_qscale = 0;
  std::optional<std::array<Word, 64>> intra_matrix, inter_matrix;
  std::optional<String> video_rc_override_string;
  bool video_disable = false;
  Integer video_discard = 0;
  std::optional<String> video_codec_name;
  Cardinal video_codec_tag = 0;
  String video_language;
  bool same_quality = false;
  bool do_deinterlace = false;
  Integer top_field_first = -1;
  Integer me_threshold = 0;
  Integer intra_dc_precision = 8;
  bool loop_input = false;
  Integer loop_output = -1;
  bool qp_hist = false;
  String vfilters;
  bool EnableFilter = false;
  bool intra_only = false;

  // Audio, subtitles and muxing.
  Integer audio_sample_rate = 44100;
  Int64 channel_layout = 0;
  Single audio_qscale = -99999.0f;
  bool audio_disable = false;
  Integer audio_channels = 2;
  std::optional<String> audio_codec_name;
  Cardinal audio_codec_tag = 0;
  String audio_language;
  bool subtitle_disable = false;
  std::optional<String> subtitle_codec_name;
  String subtitle_language;
  Cardinal subtitle_codec_tag = 0;
  Single mux_preload = 0.5f;
  Single mux_max_delay = 0.7f;
  Int64 recording_time = INT64_MAX;
  Int64 start_time = 0;
  Int64 recording_timestamp = 0;
  Int64 input_ts_offset = 0;

  // The run.
  Integer do_benchmark = 0;
  bool do_hex_dump = false, do_pkt_dump = false;
  bool do_psnr = false;
  Integer do_pass = 0;
  String pass_logfilename_prefix;
  Integer audio_stream_copy = 0, video_stream_copy = 0, subtitle_stream_copy = 0;
  Integer video_sync_method = -1;
  Integer audio_sync_method = 0;
  Single audio_drift_threshold = 0.1f;
  bool copy_ts = false;
  bool opt_shortest = false;
  Integer video_global_header = 0;
  std::optional<String> vstats_filename;
  Integer opt_programid = 0;
  Integer copy_initial_nonkeyframes = 0;
  bool rate_emu = false;
  Integer video_channel = 0;
  std::optional<String> video_standard;
  Integer audio_volume = 256;
  bool exit_on_error = false;
  Integer using_stdin = 0;
  Integer verbose = 1;
  Integer thread_count = 1;
  bool input_sync = false;
  Int64 limit_filesize = 0;
  bool force_fps = false;
  Integer pgmyuv_compatibility_hack = 0;
  Single dts_delta_threshold = 10;
  Cardinal sws_flags = SWS_BICUBIC;

  // Options of 5.1 that no generic option holder takes: private options of the encoders (by media
  // kind: video, audio, subtitle), of the muxer and of the demuxer, in dictionaries. Like the
  // generic options they stay pending for every later stream, output or input until the reset.
  TDictionary VideoCodecOptions, AudioCodecOptions, SubtitleCodecOptions;
  TDictionary MuxerOptions, DemuxerOptions;

  // Bitstream filter chains, handed to the next stream of each kind.
  std::vector<const AVBitStreamFilter*> video_bitstream_filters, audio_bitstream_filters,
      subtitle_bitstream_filters;
};
