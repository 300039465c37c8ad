#include "transform/ParallelFileReads.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace nomvarix {
namespace {

/// What the readers share with the calling thread.
struct ReadState {
  std::atomic<std::size_t> next = 0;
  std::atomic<bool> stop = false;
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t finished = 0;  ///< under `mutex`
  std::unique_ptr<std::atomic<bool>[]> done;
};

void ReadItems(ReadState& state, std::size_t count, const std::function<void(std::size_t)>& read) {
  while (!state.stop) {
    const std::size_t i = state.next++;
    if (i >= count) return;
    try {
      read(i);
    } catch (...) {
      // An item that cannot be read is left without a value; the others go on.
    }
    state.done[i] = true;
    {
      const std::lock_guard lock(state.mutex);
      ++state.finished;
    }
    state.changed.notify_one();
  }
}

}  // namespace

std::size_t ReadInParallel(std::size_t count, const std::function<void(std::size_t)>& read, WorkProgress& progress) {
  if (count == 0 || !progress.Advance(0, count)) return 0;
  ReadState state;
  state.done = std::make_unique<std::atomic<bool>[]>(count);
  const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, count);
  // Items are told one by one, as a progress expects; the items told when it cancels are the
  // most that are kept.
  std::size_t told = 0;
  {
    std::vector<std::jthread> readers;
    readers.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t) readers.emplace_back([&] { ReadItems(state, count, read); });
    std::unique_lock lock(state.mutex);
    while (told < count && !state.stop) {
      state.changed.wait(lock, [&] { return state.finished != told; });
      const std::size_t finished = state.finished;
      lock.unlock();
      while (told < finished && !state.stop) {
        if (!progress.Advance(++told, count)) state.stop = true;
      }
      lock.lock();
    }
  }  // the readers end here, each after its current item
  std::size_t reached = 0;
  while (reached < told && state.done[reached]) ++reached;
  return reached;
}

}  // namespace nomvarix
