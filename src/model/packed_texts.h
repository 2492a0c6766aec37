// How the record texts are laid out in the text store: each text is its
// length (seven bits to a byte, low bits first, the top bit marking that more
// follow) and then its bytes. A list of texts is read in place, with no copy.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace packed {

/// Bytes the length `n` takes.
inline size_t LengthSize(size_t n) {
  size_t bytes = 1;
  for (; n >= 0x80; n >>= 7) ++bytes;
  return bytes;
}

/// Writes the length `n` at `out`; returns the byte after it.
inline char* PutLength(char* out, size_t n) {
  for (; n >= 0x80; n >>= 7) *out++ = static_cast<char>((n & 0x7f) | 0x80);
  *out++ = static_cast<char>(n);
  return out;
}

/// Reads a length at `in` into `*n`; returns the byte after it.
inline const char* GetLength(const char* in, size_t* n) {
  size_t value = 0;
  unsigned shift = 0;
  unsigned char byte;
  do {
    byte = static_cast<unsigned char>(*in++);
    value |= static_cast<size_t>(byte & 0x7f) << shift;
    shift += 7;
  } while (byte & 0x80);
  *n = value;
  return in;
}

/// Reads a text at `in` into `*text`; returns the byte after it.
inline const char* GetText(const char* in, std::string_view* text) {
  size_t n;
  in = GetLength(in, &n);
  *text = std::string_view(in, n);
  return in + n;
}

}  // namespace packed

/// A list of packed texts, read as string views in the order they were kept.
/// It may start after `skip` other texts, passed over only when it is read,
/// so that its size is known without reading any text.
class CTextList {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = std::string_view;

    Iterator() = default;
    Iterator(const char* at, size_t index) : at_(at), index_(index) {}
    std::string_view operator*() const {
      std::string_view text;
      packed::GetText(at_, &text);
      return text;
    }
    Iterator& operator++() {
      std::string_view text;
      at_ = packed::GetText(at_, &text);
      ++index_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++*this;
      return before;
    }
    // Iterators of one list are equal when they stand at the same text.
    bool operator==(const Iterator& other) const { return index_ == other.index_; }

   private:
    const char* at_ = nullptr;
    size_t index_ = 0;
  };

  CTextList() = default;
  CTextList(const char* at, size_t skip, size_t count) : at_(at), skip_(skip), count_(count) {}

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  Iterator begin() const {
    const char* first = at_;
    for (size_t i = 0; i < skip_; ++i) {
      size_t n;
      first = packed::GetLength(first, &n) + n;
    }
    return Iterator(first, 0);
  }
  Iterator end() const { return Iterator(nullptr, count_); }

 private:
  const char* at_ = nullptr;
  size_t skip_ = 0;
  size_t count_ = 0;
};
