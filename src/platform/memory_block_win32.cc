#include <windows.h>

#include "platform/memory_block.h"

namespace platform {

void* AllocateBlock(size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void FreeBlock(void* block, size_t /*bytes*/) {
  if (block) VirtualFree(block, 0, MEM_RELEASE);
}

// The system's heap keeps what it is given back on its own terms.
void KeepSomeHeapMemory() {}

void HeapMayHaveGrown() {}

}  // namespace platform
