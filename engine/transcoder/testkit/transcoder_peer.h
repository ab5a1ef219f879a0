// The tests' one way into a transcoder's working state beyond its public properties: the option
// tables the option layer fills, the run's tables and events, and the preview post hooks.
#pragma once

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "engine/transcoder/transcoder.h"

struct TCustomFFmpegTestPeer {
  using F = TCustomFFmpeg;

  // Option tables and holders.
  static TFFOptions& Options(F& A) { return A.FOptions; }
  static const TFFOptions& Options(const F& A) { return A.FOptions; }
  static std::vector<std::pair<String, String>>& metadata(F& A) { return A.Fmetadata; }
  static const std::vector<std::pair<String, String>>& metadata(const F& A) { return A.Fmetadata; }
  static const std::vector<TAVStreamMap>& stream_maps(const F& A) { return A.Fstream_maps; }
  static const std::vector<TAVMetaDataMap>& meta_data_maps(const F& A) { return A.Fmeta_data_maps; }
  static const std::array<Integer, MAX_STREAMS>& streamid_map(const F& A) { return A.Fstreamid_map; }
  static const std::vector<Int64>& input_files_ts_offset(const F& A) { return A.Finput_files_ts_offset; }
  static const std::vector<const AVCodec*>& input_codecs(const F& A) { return A.Finput_codecs; }
  static const std::vector<const AVCodec*>& output_codecs(const F& A) { return A.Foutput_codecs; }
  static Int64 TotalOutputDuration(const F& A) { return A.FTotalOutputDuration; }
  static bool JoinMode(const F& A) { return A.FJoinMode; }
  static bool using_vhook(const F& A) { return A.Fusing_vhook; }

  // The run.
  static std::unique_ptr<TConvertState>& State(F& A) { return A.FState; }
  static TCodecItem* EncoderList(const F& A) { return A.FEncoderList; }
  static TCodecItem* DecoderList(const F& A) { return A.FDecoderList; }
  // Non-signalled while a threaded run is in progress.
  static TEvent& StopEvent(F& A) { return A.FStopEvent; }
  // True while a paused run waits between two packets.
  static bool Halted(const F& A) { return A.FHalted; }
  static void SetFatalMessage(F& A, const String& AValue) { A.FFatalMessage = AValue; }
  static TPostHookContext& PostContext(F& A) { return A.FPostContext; }
};

namespace transcoder_test {
using Peer = TCustomFFmpegTestPeer;
}  // namespace transcoder_test
