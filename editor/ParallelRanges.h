#pragma once

#include <cstddef>
#include <exception>
#include <thread>

namespace nomvarix {

/// Lists shorter than this are worked on by one thread: a second costs more than it saves.
inline constexpr std::size_t kParallelLines = 8192;

/// Runs `work(begin, end)` over [0, count): on two threads when `split` (and the machine has two
/// processors), the second half starting at a multiple of `grain` (so that the halves share no
/// block of `grain` items), else on the calling thread alone. Returns when both halves are done;
/// an exception of either is passed on. The work must touch only what belongs to its own items.
template <typename Work>
void ParallelRanges(std::size_t count, std::size_t grain, bool split, Work&& work) {
  const std::size_t middle = (count / 2) / grain * grain;
  if (!split || middle == 0 || std::thread::hardware_concurrency() < 2) {
    work(std::size_t{0}, count);
    return;
  }
  std::exception_ptr failure;
  std::thread helper([&] {
    try {
      work(middle, count);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  try {
    work(std::size_t{0}, middle);
  } catch (...) {
    helper.join();
    throw;
  }
  helper.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace nomvarix
