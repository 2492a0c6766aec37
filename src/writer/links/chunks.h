// A sequence of plain values that grows by blocks taken from the system
// instead of by doubling one array: what a pass gathers in millions of
// entries takes its own size and a block at most, never twice it while the
// array moves, and is handed on block by block, each given back to the
// system once copied.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <type_traits>
#include <vector>

#include "platform/memory_block.h"

template <class T>
class CChunks {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  static constexpr size_t kBlockBytes = size_t{1} << 18;
  static constexpr size_t kBlock = kBlockBytes / sizeof(T);

  CChunks() = default;
  ~CChunks() { Clear(); }
  CChunks(const CChunks&) = delete;
  CChunks& operator=(const CChunks&) = delete;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t i) { return blocks_[i / kBlock][i % kBlock]; }
  const T& operator[](size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
  T& back() { return (*this)[size_ - 1]; }

  void push_back(const T& value) {
    Room();
    (*this)[size_++] = value;
  }

  /// Appends `n` values from `values`, across blocks as needed.
  void append(const T* values, size_t n) {
    while (n > 0) {
      Room();
      const size_t room = std::min(n, kBlock - size_ % kBlock);
      std::copy(values, values + room, &(*this)[size_]);
      size_ += room;
      values += room;
      n -= room;
    }
  }

  /// Calls `take(values, n)` for each block in order and gives the block
  /// back; the sequence is empty after.
  template <class Take>
  void Drain(Take take) {
    for (size_t b = 0; b < blocks_.size(); ++b) {
      take(static_cast<const T*>(blocks_[b]), std::min(kBlock, size_ - b * kBlock));
      platform::FreeBlock(blocks_[b], kBlockBytes);
      blocks_[b] = nullptr;
    }
    Clear();
  }

  /// Gives back the blocks wholly before value `end`, which are not read
  /// again.
  void FreeBefore(size_t end) {
    for (; freed_ < end / kBlock && freed_ < blocks_.size(); ++freed_) {
      platform::FreeBlock(blocks_[freed_], kBlockBytes);
      blocks_[freed_] = nullptr;
    }
  }

  /// Gives back every block.
  void Clear() {
    for (T* block : blocks_) platform::FreeBlock(block, kBlockBytes);
    blocks_.clear();
    size_ = 0;
    freed_ = 0;
  }

 private:
  // Makes room for one more value.
  void Room() {
    if (size_ < blocks_.size() * kBlock) return;
    if (blocks_.size() == blocks_.capacity()) blocks_.reserve(2 * blocks_.size() + 16);
    void* block = platform::AllocateBlock(kBlockBytes);
    if (!block) throw std::bad_alloc();
    blocks_.push_back(static_cast<T*>(block));
  }

  std::vector<T*> blocks_;
  size_t size_ = 0;
  size_t freed_ = 0;  // blocks given back from the front by FreeBefore
};
