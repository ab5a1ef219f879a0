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
  return std::max<Integer>(1, std::max<Integer>(ACores, 1) / std::max<Integer>(ARunning, 1));
}

Integer CodecThreadCount() {
  return CodecThreadCount(Integer(std::thread::hardware_concurrency()), RunningConversions());
}
