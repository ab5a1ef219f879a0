#include "engine/transcoder/codecthreads.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

std::atomic<Integer> Running{0};

}  // namespace

TRunningConversion::TRunningConversion() {
  ++Running;
}

TRunningConversion::~TRunningConversion() {
  --Running;
}

Integer RunningConversions() {
  return Running;
}

Integer CodecThreadCount(Integer ACores, Integer ARunning) {
  if (ACores <= 1) return 1;
  if (ARunning <= 1) return 0;
  return std::max<Integer>(1, ACores / ARunning);
}

Integer CodecThreadCount() {
  return CodecThreadCount(Integer(std::thread::hardware_concurrency()), RunningConversions());
}

Integer EncoderThreadCount(Integer ACores) {
  return ACores <= 1 ? 1 : 0;
}

Integer EncoderThreadCount() {
  return EncoderThreadCount(Integer(std::thread::hardware_concurrency()));
}
