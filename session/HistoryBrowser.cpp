#include "session/HistoryBrowser.h"

#include <ctime>

#include "session/CommandNote.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

std::u16string LocalTimeText(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  // Called on one thread only (the dialog's), so the shared buffer of std::localtime is safe here.
  const std::tm* local = std::localtime(&time);
  char text[32] = "";
  if (local) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
  return FromUtf8(text);
}

std::u16string KindText(HistoryKind kind) {
  switch (kind) {
    case HistoryKind::Undo: return u"Undo";
    case HistoryKind::Recovery: return u"Recovery";
    case HistoryKind::Apply: break;
  }
  return u"Apply";
}

}  // namespace

HistoryBrowser::HistoryBrowser(std::vector<HistoryEntry> oldestFirst, const FileSystem& fileSystem)
    : entries_(std::move(oldestFirst)), fs_(fileSystem) {
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    const std::size_t files = entry->files.size();
    rows_.push_back({LocalTimeText(entry->time), KindText(entry->kind), entry->folder,
                     GroupedCount(files) + (files == 1 ? u" file" : u" files"),
                     std::u16string(HistoryStateText(StateOf(*entry, fs_)))});
  }
}

void HistoryBrowser::Choose(std::size_t row, bool elsewhereToo) {
  fileRows_.clear();
  plan_.clear();
  if (row >= entries_.size()) return;
  chosen_ = row;
  elsewhereToo_ = elsewhereToo;
  const HistoryEntry& entry = Entry(row);
  plan_ = PlanUndo(entry, fs_, {{}, elsewhereToo});
  for (const UndoFile& file : plan_) {
    const HistoryFile& recorded = entry.files[file.index];
    fileRows_.push_back({recorded.oldName, recorded.newName, UndoActionText(recorded, file)});
  }
  // What the whole entry's undo would do now, which may differ from when the list was made.
  rows_[row].state = HistoryStateText(StateOf(plan_));
}

bool HistoryBrowser::AnyFoundElsewhere() const {
  for (const UndoFile& file : plan_) {
    if (file.action == UndoAction::MoveBackFromElsewhere) return true;
  }
  return false;
}

UndoChoice HistoryBrowser::ChoiceOf(const std::vector<std::size_t>& fileRows) const {
  UndoChoice choice{{}, elsewhereToo_};
  if (fileRows.empty()) return choice;
  choice.chosen.assign(plan_.size(), false);
  for (const std::size_t row : fileRows) {
    if (row < plan_.size()) choice.chosen[row] = true;
  }
  return choice;
}

}  // namespace nomvarix
