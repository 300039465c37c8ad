#pragma once

namespace nomvarix {

/// Makes the program's heap ready for lists of 100,000 names before anything is allocated: where
/// the C library allows it (glibc), the heap is grown at once by address space for a few hundred
/// MiB, asked to be backed by 2 MiB pages, and kept from shrinking back. Opening a large folder
/// allocates three texts a name, several hundred thousand small blocks; in 4 KiB pages each first
/// touch of one page costs a fault, and on a virtual machine a fault costs several microseconds.
/// Nothing is touched here: the memory only counts once used. Elsewhere, and in builds with a
/// sanitizer (which brings its own allocator), it does nothing.
void ReserveHeapInLargePages();

}  // namespace nomvarix
