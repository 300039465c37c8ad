#pragma once

#include <cstddef>
#include <functional>

#include "editor/WorkProgress.h"

namespace nomvarix {

/// Calls `read(i)` for every i in [0, count) on as many threads as the machine has processors,
/// each item once, in roughly rising order; `read` must touch only what belongs to item i, and
/// anything it throws counts as the item being read. `progress` is told on the calling thread as
/// items finish, once per item; once it cancels, no further item is started. Returns how many
/// items from 0 on were read and told before any cancel: `count` unless cancelled.
std::size_t ReadInParallel(std::size_t count, const std::function<void(std::size_t)>& read, WorkProgress& progress);

}  // namespace nomvarix
