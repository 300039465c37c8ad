#include "apply/RenameOrder.h"

#include <algorithm>

#include "apply/NameRules.h"
#include "apply/RenameBatch.h"
#include "platform/FileSystem.h"
#include "text/AsciiCase.h"
#include "text/FoldedHash.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

bool IsChanged(const NameEntry& entry) { return entry.newName != entry.originalName; }

std::u16string Count(std::size_t n, std::u16string_view one, std::u16string_view many) {
  return FromUtf8(std::to_string(n)) + u" " + std::u16string(n == 1 ? one : many);
}

}  // namespace

NamesRenamedAway::NamesRenamedAway(const NameList& names, std::u16string_view folder, const FileSystem& fileSystem)
    : names_(names), folder_(folder), fileSystem_(fileSystem), away_(names.size(), Away::No) {
  byFoldedName_.reserve(names.size());
  for (std::size_t line = 0; line < names.size(); ++line) {
    const NameEntry& entry = names[line];
    if (IsChanged(entry) && !ApplyRefuses(entry.newName)) {
      byFoldedName_.emplace_back(FoldedHash(entry.originalName), static_cast<std::uint32_t>(line));
      away_[line] = Away::Unknown;
    }
  }
  std::sort(byFoldedName_.begin(), byFoldedName_.end());
}

bool NamesRenamedAway::RenamedAway(std::size_t line) const {
  if (away_[line] == Away::Unknown) {
    const NameEntry& entry = names_[line];
    // A case-insensitive file system finds the file itself under its new spelling: it keeps the name.
    const bool keepsName = MaySpellTheSameName(entry.newName, entry.originalName) &&
                           fileSystem_.IsSameFile(folder_ + entry.newName, folder_ + entry.originalName);
    away_[line] = keepsName ? Away::No : Away::Yes;
  }
  return away_[line] == Away::Yes;
}

std::uint32_t NamesRenamedAway::Candidate(std::u16string_view name) const {
  const std::uint64_t hash = FoldedHash(name);
  std::uint32_t folded = kNoLine;
  for (auto it = std::lower_bound(byFoldedName_.begin(), byFoldedName_.end(), std::pair(hash, std::uint32_t{0}));
       it != byFoldedName_.end() && it->first == hash; ++it) {
    const std::u16string& original = names_[it->second].originalName;
    if (original == name) return it->second;
    if (folded == kNoLine && EqualsFolded(original, name)) folded = it->second;
  }
  if (folded == kNoLine) return kNoLine;
  // Another spelling holds the name only where the file system ignores case.
  const std::u16string& original = names_[folded].originalName;
  return fileSystem_.IsSameFile(folder_ + std::u16string(name), folder_ + original) ? folded : kNoLine;
}

std::uint32_t NamesRenamedAway::HolderOf(std::size_t line) const {
  const std::uint32_t holder = Candidate(names_[line].newName);
  if (holder == kNoLine || holder == line || !RenamedAway(holder)) return kNoLine;
  return holder;
}

namespace {

/// Builds the order: each line's waiters (the lines whose new name it holds), then the walk from
/// every line to the free end of its chain, or round its cycle.
class Orderer {
 public:
  Orderer(const NameList& names, std::u16string_view folder, const FileSystem& fileSystem)
      : names_(names), state_(names.size(), State::New), onCycle_(names.size(), false) {
    order_.waitsFor.assign(names.size(), kNoLine);
    moving_.assign(names.size(), false);
    const NamesRenamedAway away(names, folder, fileSystem);
    for (std::size_t line = 0; line < names.size(); ++line) {
      if (!IsChanged(names[line])) continue;
      ++order_.renames;
      moving_[line] = away.RenamedAway(line);
      if (moving_[line]) order_.waitsFor[line] = away.HolderOf(line);
    }
    IndexWaiters();
  }

  RenameOrder Run() {
    for (std::size_t line = 0; line < names_.size(); ++line) {
      if (!IsChanged(names_[line]) || state_[line] != State::New) continue;
      if (!moving_[line]) {
        Emit(static_cast<std::uint32_t>(line));
        continue;
      }
      WalkFrom(static_cast<std::uint32_t>(line));
    }
    for (std::size_t line = 0; line < names_.size(); ++line) {
      order_.chained += order_.waitsFor[line] != kNoLine && !onCycle_[line];
    }
    return std::move(order_);
  }

 private:
  enum class State : std::uint8_t { New, OnWalk, Parked, Placed };

  void IndexWaiters() {
    waiterStart_.assign(names_.size() + 1, 0);
    for (const std::uint32_t holder : order_.waitsFor) {
      if (holder != kNoLine) ++waiterStart_[holder + 1];
    }
    for (std::size_t i = 1; i < waiterStart_.size(); ++i) waiterStart_[i] += waiterStart_[i - 1];
    waiters_.resize(waiterStart_.back());
    std::vector<std::uint32_t> next(waiterStart_.begin(), waiterStart_.end() - 1);
    for (std::size_t line = 0; line < names_.size(); ++line) {
      const std::uint32_t holder = order_.waitsFor[line];
      if (holder != kNoLine) waiters_[next[holder]++] = static_cast<std::uint32_t>(line);
    }
  }

  /// Follows the chain from `line` to its free end, or until it comes round to a line it passed.
  void WalkFrom(std::uint32_t line) {
    walk_.clear();
    std::uint32_t at = line;
    std::uint32_t cycleAt = kNoLine;
    for (;;) {
      walk_.push_back(at);
      state_[at] = State::OnWalk;
      const std::uint32_t next = order_.waitsFor[at];
      if (next == kNoLine || state_[next] == State::Placed || state_[next] == State::Parked) break;
      if (state_[next] == State::OnWalk) {
        cycleAt = next;
        break;
      }
      at = next;
    }
    for (const std::uint32_t walked : walk_) state_[walked] = State::New;
    if (cycleAt == kNoLine) {
      Follow(walk_.back(), kNoLine);
      return;
    }
    std::size_t length = 0;
    std::uint32_t member = cycleAt;
    do {
      onCycle_[member] = true;
      ++length;
      member = order_.waitsFor[member];
    } while (member != cycleAt);
    ++(length == 2 ? order_.swaps : order_.rotations);
    order_.steps.push_back({cycleAt, true});
    state_[cycleAt] = State::Parked;
    Follow(cycleAt, cycleAt);
  }

  /// Renames `start` (unless it is the parked `parked`, which has left its name already) and then,
  /// depth first, every line waiting for a renamed one; the parked line's final move comes when the
  /// line it waits for has gone.
  void Follow(std::uint32_t start, std::uint32_t parked) {
    stack_.clear();
    if (parked == kNoLine) {
      stack_.push_back(start);
    } else {
      PushWaiters(start);
    }
    bool anyWaiter = false;
    while (!stack_.empty()) {
      const std::uint32_t line = stack_.back();
      stack_.pop_back();
      Emit(line);
      if (line == parked) continue;
      anyWaiter = anyWaiter || waiterStart_[line + 1] > waiterStart_[line];
      PushWaiters(line);
    }
    if (parked == kNoLine && anyWaiter) ++order_.chains;
  }

  /// The waiters of `line`, so that they come off the stack in list order, but a line of a cycle
  /// first: the others want the same name and could only break the cycle.
  void PushWaiters(std::uint32_t line) {
    std::uint32_t cycleWaiter = kNoLine;
    for (std::uint32_t at = waiterStart_[line + 1]; at-- > waiterStart_[line];) {
      const std::uint32_t waiter = waiters_[at];
      if (state_[waiter] == State::Placed) continue;
      if (onCycle_[waiter]) {
        cycleWaiter = waiter;
      } else if (state_[waiter] != State::Parked) {
        stack_.push_back(waiter);
      }
    }
    if (cycleWaiter != kNoLine) stack_.push_back(cycleWaiter);
  }

  void Emit(std::uint32_t line) {
    order_.steps.push_back({line, false});
    state_[line] = State::Placed;
  }

  const NameList& names_;
  RenameOrder order_;
  std::vector<bool> moving_;
  std::vector<State> state_;
  std::vector<bool> onCycle_;
  std::vector<std::uint32_t> waiterStart_;
  std::vector<std::uint32_t> waiters_;
  std::vector<std::uint32_t> walk_;
  std::vector<std::uint32_t> stack_;
};

}  // namespace

RenameOrder OrderRenames(const NameList& names, std::u16string_view folder, const FileSystem& fileSystem) {
  return Orderer(names, folder, fileSystem).Run();
}

std::u16string RenameOrderText(const RenameOrder& order) {
  std::u16string text = Count(order.renames, u"rename", u"renames");
  if (order.chained > 0) {
    text += u", " + FromUtf8(std::to_string(order.chained)) + u" of them in " +
            (order.chains == 1 ? std::u16string(u"one chain") : Count(order.chains, u"chain", u"chains"));
  }
  if (order.swaps > 0) text += u"; " + Count(order.swaps, u"swap", u"swaps");
  if (order.rotations > 0) text += u"; " + Count(order.rotations, u"rotation", u"rotations");
  if (order.swaps + order.rotations > 0) text += u" through a temporary name";
  return text + u".";
}

}  // namespace nomvarix
