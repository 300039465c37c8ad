#include "editor/WorkProgress.h"

namespace nomvarix {
namespace {

class Silent final : public WorkProgress {
 public:
  bool Advance(std::size_t, std::size_t) override { return true; }
  bool Cancelled() const override { return false; }
};

class SilentFactory final : public WorkProgressFactory {
 public:
  std::unique_ptr<WorkProgress> Start(WorkKind) override { return std::make_unique<Silent>(); }
};

}  // namespace

WorkProgress& NoProgress() {
  static Silent silent;
  return silent;
}

WorkProgressFactory& NoProgressFactory() {
  static SilentFactory factory;
  return factory;
}

}  // namespace nomvarix
