#include "model/text_store.h"

#include <new>

#include "platform/memory_block.h"

namespace {
// Texts are carved from chunks of this size; a text larger than a quarter of
// it gets a chunk of its own, so at most a quarter of a chunk goes unused.
constexpr size_t kChunkSize = size_t{256} << 10;
}  // namespace

char* CTextStore::Allocate(size_t size) {
  if (size <= room_) {
    char* at = next_;
    next_ += size;
    room_ -= size;
    return at;
  }
  const bool own_chunk = size > kChunkSize / 4;
  const size_t chunk_size = own_chunk ? size : kChunkSize;
  // Left uninitialised: every byte handed out is written by its taker.
  std::unique_ptr<char[]> chunk(new (std::nothrow) char[chunk_size]);
  if (!chunk) return nullptr;
  platform::HeapMayHaveGrown();
  chunks_.push_back(std::move(chunk));
  char* at = chunks_.back().get();
  if (!own_chunk) {
    next_ = at + size;
    room_ = chunk_size - size;
  }
  return at;
}
