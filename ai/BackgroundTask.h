#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace nomvarix {

/// One function run on its own thread, which the caller can wait for with a time limit. A task
/// still running when it is destroyed is left to end on its own, so the function must own (or
/// share) everything it uses.
class BackgroundTask {
 public:
  explicit BackgroundTask(std::function<void()> work);
  ~BackgroundTask();
  BackgroundTask(const BackgroundTask&) = delete;
  BackgroundTask& operator=(const BackgroundTask&) = delete;

  /// Waits until the function has returned or `limit` has passed; true when it has returned.
  bool WaitFor(std::chrono::milliseconds limit);

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
  };
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace nomvarix
