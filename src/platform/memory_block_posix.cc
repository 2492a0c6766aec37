#include <sys/mman.h>

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

}  // namespace platform
