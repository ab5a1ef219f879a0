// Shared by the component's tests: a converter that lets a test reach its tasks and the gates its
// events pass, and the checks on what its terminate events reported.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "engine/base/engineutils.h"
#include "engine/component/ffmpegconverter.h"
#include "engine/component/ffmpegtask.h"

namespace component_test {

using Clock = std::chrono::steady_clock;

// Until APred holds, serving the main-thread queue when called there; False after ASeconds (a
// guard against a hang, not a time limit).
template <typename P>
bool ServeUntil(P&& APred, int ASeconds = 60) {
  const auto end = Clock::now() + std::chrono::seconds(ASeconds);
  while (!APred()) {
    if (Clock::now() > end) return false;
    if (IsMainThread())
      CheckSynchronize(5);
    else
      std::this_thread::yield();
  }
  return true;
}

class TTestConverter : public TFFmpegConverter {
 public:
  explicit TTestConverter(TComponent* AOwner = nullptr) : TFFmpegConverter(AOwner) {}
  using TCustomFFmpegConverter::PreviewGate;
  using TCustomFFmpegConverter::ProgressGate;
  using TCustomFFmpegConverter::Tasks;
  TFFmpeg& Task(Integer AIndex) { return *Tasks().Items(AIndex); }
};

// The task ends among AEnds by task index, the final event left out; a task that ended twice
// fails the test.
inline std::map<Integer, TTerminateInfo> EndsByTask(const std::vector<TTerminateInfo>& AEnds) {
  std::map<Integer, TTerminateInfo> byTask;
  for (const auto& e : AEnds) {
    if (e.TaskIndex < 0) continue;
    EXPECT_TRUE(byTask.emplace(e.TaskIndex, e).second) << "task ended twice: " << e.TaskIndex;
  }
  return byTask;
}

// The final event came exactly once, last.
inline void ExpectFinalOnceLast(const std::vector<TTerminateInfo>& AEnds) {
  ASSERT_FALSE(AEnds.empty());
  EXPECT_EQ(AEnds.back().TaskIndex, -1);
  EXPECT_EQ(std::count_if(AEnds.begin(), AEnds.end(), [](const auto& e) { return e.TaskIndex == -1; }), 1);
}

}  // namespace component_test
