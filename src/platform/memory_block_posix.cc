#include <sys/mman.h>

#include "platform/memory_block.h"

namespace platform {

void* AllocateBlock(size_t bytes) {
  void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
}

void FreeBlock(void* block, size_t bytes) {
  if (block) munmap(block, bytes);
}

}  // namespace platform
