#include <sys/mman.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "platform/memory_block.h"

namespace platform {

void* AllocateBlock(size_t bytes) {
  // Anonymous memory has no file: its descriptor is -1, as portable systems
  // require (the analyser's table of mmap knows files alone).
  // cppcheck-suppress invalidFunctionArg
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) return nullptr;
  return block;
}

void FreeBlock(void* block, size_t bytes) {
  if (block) munmap(block, bytes);
}

void KeepSomeHeapMemory() {
#ifdef __GLIBC__
  // Little enough that a run near the end of its memory is not cut short
  // by what the heap keeps; blocks from a megabyte up still come from the
  // system and go back to it when freed.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  mallopt(M_TRIM_THRESHOLD, 4 << 20);
  mallopt(M_TOP_PAD, 1 << 20);
#endif
}

}  // namespace platform
