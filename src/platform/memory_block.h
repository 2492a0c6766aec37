// How memory is taken from the system: in whole blocks given back to it at
// once when freed, instead of staying in the heap for later use (what one
// pass gathers by the hundred megabytes and hands on must not stay held
// while the next pass grows), and how much the heap keeps of its own.
#pragma once

#include <cstddef>

namespace platform {

/// A block of `bytes` zeroed bytes, or null when none can be had.
void* AllocateBlock(size_t bytes);

/// Gives back a block AllocateBlock made of `bytes`; nothing for null.
void FreeBlock(void* block, size_t bytes);

/// Lets the heap keep a few megabytes of what is freed, and grow a megabyte
/// beyond each request, instead of giving every freed stretch back to the
/// system and taking it again: the pages are built in buffers that come and
/// go by the thousand, and each page of memory the system hands out anew
/// costs more than the copy made in it. Where the system has large pages
/// and the address space is not capped, the heap first takes 32 MB ahead in
/// large pages, each one fault instead of 512. Called once, at the start,
/// before any other thread runs.
void KeepSomeHeapMemory();

/// Called as the heap grows by large stores: once it has grown beyond the
/// room it took ahead, it grows a megabyte beyond each request again, so
/// that a large run keeps no more of what it frees than before.
void HeapMayHaveGrown();

}  // namespace platform
