// One growing store for the texts the records keep: bytes handed out never
// move, so views into them stay valid however much the store grows, and a
// text costs no heap block of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CTextStore {
 public:
  CTextStore() = default;
  CTextStore(const CTextStore&) = delete;
  CTextStore& operator=(const CTextStore&) = delete;

  /// Room for `size` bytes that stays in place as long as the store; null
  /// when it cannot be had.
  char* Allocate(size_t size);

 private:
  std::vector<std::unique_ptr<char[]>> chunks_;
  char* next_ = nullptr;  // free room at the end of the current chunk
  size_t room_ = 0;
};
