#pragma once

#include <cstddef>
#include <memory>

namespace nomvarix {

/// What a long piece of work reports as it goes, and how it learns that it should stop.
class WorkProgress {
 public:
  virtual ~WorkProgress() = default;
  /// `done` of `total` items are finished (`total` 0 while not known). False once the work is
  /// cancelled: the caller then stops at its next safe point, leaving a consistent state. Called
  /// once per item, so it must cost next to nothing.
  virtual bool Advance(std::size_t done, std::size_t total) = 0;
  /// Whether Advance has answered false.
  virtual bool Cancelled() const = 0;
};

/// Shows nothing and never cancels.
WorkProgress& NoProgress();

/// The long operations that report their progress.
enum class WorkKind {
  LoadingFolder,        ///< items: the folder's entries read so far, total not known
  /// As LoadingFolder, but never cancelled: the reload after renaming, whose end keeps the skipped
  /// lines' edits and the record of the renames.
  ReloadingAfterApply,
  Renaming,             ///< items: the lines of the list
  InsertingDates,       ///< items: the selected lines
  InsertingImageSizes,  ///< items: the selected lines
  InsertingDatesTaken,  ///< items: the selected lines
  ReadingMetadata,      ///< items: the selected lines (Insert from Metadata and its dialog)
  SortingByDateTaken,   ///< items: the lines of the list
  Searching,            ///< items: the lines searched by Find Next and Replace
  ReplacingAll,         ///< items: the lines of the list
};

/// Gives each long operation a progress of its own, alive from the start of the work to its end.
class WorkProgressFactory {
 public:
  virtual ~WorkProgressFactory() = default;
  virtual std::unique_ptr<WorkProgress> Start(WorkKind kind) = 0;
};

/// Starts NoProgress-like progresses.
WorkProgressFactory& NoProgressFactory();

}  // namespace nomvarix
