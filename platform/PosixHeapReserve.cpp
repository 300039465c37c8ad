#include "platform/HeapReserve.h"

#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define NOMVARIX_RESERVE_HEAP 1
#include <malloc.h>
#include <sys/mman.h>
#endif

namespace nomvarix {

#ifdef NOMVARIX_RESERVE_HEAP

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr std::size_t kLargePage = 2 * kMiB;
/// glibc serves from the heap what is below its mmap threshold, at most 32 MiB: blocks just below
/// it grow the heap itself.
constexpr std::size_t kMostHeapBlock = 32 * kMiB;
constexpr std::size_t kBlock = 30 * kMiB;
constexpr std::size_t kBlocks = 9;

/// The 2 MiB pages wholly inside [begin, begin + size).
void AdviseLargePages(void* begin, std::size_t size) {
  const auto first = (reinterpret_cast<std::uintptr_t>(begin) + kLargePage - 1) & ~(kLargePage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(begin) + size) & ~(kLargePage - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

}  // namespace

void ReserveHeapInLargePages() {
  // Large buffers come from the heap too, and freed memory stays in it up to the reservation's
  // size instead of being handed back and faulted in again by the next large folder.
  if (mallopt(M_MMAP_THRESHOLD, static_cast<int>(kMostHeapBlock)) == 0) return;
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(kBlock * kBlocks * 2));
  // Held in an array, as anything taken from the heap here would split the blocks' free space.
  std::array<void*, kBlocks> blocks{};
  for (void*& block : blocks) {
    block = malloc(kBlock);
    if (block != nullptr) AdviseLargePages(block, kBlock);
  }
  // Given back to the heap's free top, where the next allocations are carved from.
  for (void* block : blocks) free(block);
}

#else

void ReserveHeapInLargePages() {}

#endif

}  // namespace nomvarix
