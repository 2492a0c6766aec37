#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdint>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "platform/memory_block.h"

namespace platform {

namespace {
constexpr uintptr_t kSmallPage = 4096;
constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
// How far the heap grows beyond a request, once past the room it takes ahead.
constexpr int kSmallPad = 1 << 20;
// The end of the room the heap took ahead; 0 when it took none, or once it
// has grown beyond it.
std::atomic<uintptr_t> large_end{0};
}  // namespace

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
  rlimit cap{};
  const bool capped = getrlimit(RLIMIT_AS, &cap) == 0 && cap.rlim_cur != RLIM_INFINITY;
  // Under a cap on the address space, room held ahead is room a later
  // request cannot have: the heap grows a megabyte beyond each request.
  if (capped) {
    mallopt(M_TOP_PAD, kSmallPad);
    return;
  }
  // Otherwise it grows by 32 MB at a time, and asks for that room in large
  // pages: each page the system hands out costs a fault, and a large one
  // stands for 512 small ones. Nothing is touched ahead, so the room
  // not used costs no memory. The heap is grown now, by just more than it
  // has free, so that what the growth writes stays below the first large page.
  constexpr size_t kPad = size_t{32} << 20;
  mallopt(M_TOP_PAD, static_cast<int>(kPad));
  const auto end = [] { return static_cast<char*>(sbrk(0)); };
  char* const before = end();
  // Just more than the heap has free at its end; a request met from freed
  // room instead is held, and the next one asked.
  std::array<void*, 8> held{};
  char* written = before;  // the end of what the growth wrote
  for (size_t k = 0; k < held.size() && end() == before; ++k) {
    const size_t size = mallinfo2().keepcost + kSmallPage;
    held[k] = malloc(size);
    if (!held[k]) break;
    written = static_cast<char*>(held[k]) + size;
  }
  for (void* block : held) free(block);
  // The large pages lie wholly in the room grown, past what the growth wrote.
  const auto past = [](const char* at) { return reinterpret_cast<uintptr_t>(at) % kLargePage; };
  char* const from = written + kSmallPage + (kLargePage - past(written + kSmallPage)) % kLargePage;
  char* const to = end() - past(end());
  if (to > from) madvise(from, static_cast<size_t>(to - from), MADV_HUGEPAGE);
  large_end.store(reinterpret_cast<uintptr_t>(end()), std::memory_order_relaxed);
#endif
}

void HeapMayHaveGrown() {
#ifdef __GLIBC__
  const uintptr_t end = large_end.load(std::memory_order_relaxed);
  if (end == 0 || reinterpret_cast<uintptr_t>(sbrk(0)) <= end) return;
  if (large_end.exchange(0, std::memory_order_relaxed) != 0) mallopt(M_TOP_PAD, kSmallPad);
#endif
}

}  // namespace platform
