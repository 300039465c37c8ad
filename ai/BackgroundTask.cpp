#include "ai/BackgroundTask.h"

namespace nomvarix {

BackgroundTask::BackgroundTask(std::function<void()> work) : state_(std::make_shared<State>()) {
  thread_ = std::thread([state = state_, work = std::move(work)]() mutable {
    work();
    work = nullptr;  // what the function held goes before the task counts as done
    const std::lock_guard lock(state->mutex);
    state->done = true;
    state->ended.notify_all();
  });
}

BackgroundTask::~BackgroundTask() {
  if (WaitFor(std::chrono::milliseconds(0))) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

bool BackgroundTask::WaitFor(std::chrono::milliseconds limit) {
  std::unique_lock lock(state_->mutex);
  return state_->ended.wait_for(lock, limit, [this] { return state_->done; });
}

}  // namespace nomvarix
