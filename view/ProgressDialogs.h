#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "editor/DelayedProgress.h"
#include "editor/WorkProgress.h"

class wxProgressDialog;
class wxWindow;

namespace nomvarix {

/// Shows the editor's long work in an application-modal progress dialog with Cancel, once the
/// work has run longer than a moment; quicker work shows nothing.
class ProgressDialogs final : public WorkProgressFactory {
 public:
  /// What a test may do each time a dialog shows a new state: `done` items of a `kind` of work.
  using PresentHook = std::function<void(WorkKind kind, std::size_t done, wxProgressDialog& dialog)>;

  /// The dialogs belong to `parent`'s top-level window.
  explicit ProgressDialogs(wxWindow& parent) : parent_(parent) {}

  std::unique_ptr<WorkProgress> Start(WorkKind kind) override;

  /// Tests show the dialog at once and act on it through the hook, instead of waiting for time.
  void SetTiming(const DelayedProgress::Timing& timing) { timing_ = timing; }
  void SetPresentHook(PresentHook hook) { hook_ = std::move(hook); }

 private:
  wxWindow& parent_;
  DelayedProgress::Timing timing_;
  PresentHook hook_;
};

}  // namespace nomvarix
