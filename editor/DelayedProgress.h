#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

#include "editor/WorkProgress.h"

namespace nomvarix {

/// A progress that shows itself only once its work has run longer than a delay, and then changes
/// what it shows at most once per interval. The clock is read only every so many items, the more
/// the faster they go, so that an item costs a comparison.
class DelayedProgress : public WorkProgress {
 public:
  using Clock = std::chrono::steady_clock;
  struct Timing {
    Clock::duration showDelay = std::chrono::milliseconds(500);
    Clock::duration updateInterval = std::chrono::milliseconds(100);
  };

  bool Advance(std::size_t done, std::size_t total) final {
    if (done < nextCheck_) return !cancelled_;
    return Check(done, total);
  }
  bool Cancelled() const final { return cancelled_; }

 protected:
  /// The work starts now; `now` reads the clock.
  explicit DelayedProgress(Timing timing, std::function<Clock::time_point()> now = Clock::now);

  /// Shows `done` of `total` (`total` 0 while not known), the first call after the delay; false
  /// when the user asked to stop.
  virtual bool Present(std::size_t done, std::size_t total) = 0;

 private:
  bool Check(std::size_t done, std::size_t total);

  const Timing timing_;
  const std::function<Clock::time_point()> now_;
  const Clock::time_point start_;
  Clock::time_point lastCheck_;
  Clock::time_point lastPresent_;
  bool shown_ = false;
  bool cancelled_ = false;
  std::size_t stride_ = 1;
  std::size_t nextCheck_ = 0;
};

}  // namespace nomvarix
