// Memory taken from the system in whole blocks and given back to it at
// once when freed, instead of staying in the heap for later use: what one
// pass gathers by the hundred megabytes and hands on must not stay held
// while the next pass grows.
#pragma once

#include <cstddef>

namespace platform {

/// A block of `bytes` zeroed bytes, or null when none can be had.
void* AllocateBlock(size_t bytes);

/// Gives back a block AllocateBlock made of `bytes`; nothing for null.
void FreeBlock(void* block, size_t bytes);

}  // namespace platform
