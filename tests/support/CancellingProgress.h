#pragma once

#include <cstddef>
#include <map>
#include <memory>

#include "editor/WorkProgress.h"

namespace nomvarix::test {

/// Cancels once told that `limit` items are done, as a click on Cancel would.
class CancellingProgress final : public WorkProgress {
 public:
  explicit CancellingProgress(std::size_t limit) : limit_(limit) {}
  bool Advance(std::size_t done, std::size_t) override {
    if (done >= limit_) cancelled_ = true;
    return !cancelled_;
  }
  bool Cancelled() const override { return cancelled_; }

 private:
  const std::size_t limit_;
  bool cancelled_ = false;
};

/// A CancellingProgress for each kind of work given a limit; the other kinds run to their end.
class CancellingFactory final : public WorkProgressFactory {
 public:
  std::map<WorkKind, std::size_t> limits;

  std::unique_ptr<WorkProgress> Start(WorkKind kind) override {
    const auto it = limits.find(kind);
    return std::make_unique<CancellingProgress>(it == limits.end() ? static_cast<std::size_t>(-1) : it->second);
  }
};

}  // namespace nomvarix::test
