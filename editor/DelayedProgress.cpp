#include "editor/DelayedProgress.h"

#include <utility>

namespace nomvarix {
namespace {

// The clock is read about this often, whatever an item costs: often enough that the delay and
// a cancel are noticed in time, rarely enough to cost nothing next to the work.
constexpr auto kCheckGap = std::chrono::milliseconds(2);
// Bounded, so that items that turn slow (a folder read in batches from slow media) are soon
// checked again.
constexpr std::size_t kMaxStride = 256;

}  // namespace

DelayedProgress::DelayedProgress(Timing timing, std::function<Clock::time_point()> now)
    : timing_(timing), now_(std::move(now)), start_(now_()), lastCheck_(start_), lastPresent_(start_) {}

bool DelayedProgress::Check(std::size_t done, std::size_t total) {
  const Clock::time_point now = now_();
  const Clock::duration sinceCheck = now - lastCheck_;
  lastCheck_ = now;
  if (sinceCheck < kCheckGap / 2 && stride_ < kMaxStride) {
    stride_ *= 2;
  } else if (sinceCheck > kCheckGap * 2 && stride_ > 1) {
    stride_ /= 2;
  }
  nextCheck_ = done + stride_;
  if (cancelled_ || now - start_ < timing_.showDelay) return !cancelled_;
  if (shown_ && now - lastPresent_ < timing_.updateInterval) return true;
  shown_ = true;
  lastPresent_ = now;
  cancelled_ = !Present(done, total);
  return !cancelled_;
}

}  // namespace nomvarix
