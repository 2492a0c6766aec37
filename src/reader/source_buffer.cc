#include "reader/source_buffer.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "platform/directory.h"
#include "reader/condenser.h"

namespace {

// The fingerprint of `size` bytes at `text`: a hash of their eight-byte words
// in turn, multiplied and folded, cheap beside reading them.
ScriptFingerprint FingerprintOf(const char* text, size_t size) {
  constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15u;
  uint64_t hash = size * kMultiplier;
  auto mix = [&hash](uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 29;
  };
  size_t at = 0;
  for (; size - at >= 8; at += 8) {
    uint64_t word;
    std::memcpy(&word, text + at, sizeof word);
    mix(word);
  }
  uint64_t last = 0;
  std::memcpy(&last, text + at, size - at);
  mix(last);
  return ScriptFingerprint{size, hash};
}

}  // namespace

bool CSourceBuffer::Reserve(std::unique_ptr<char[]>& storage, size_t& capacity, size_t size) {
  if (size <= capacity) return true;
  storage.reset();
  capacity = 0;
  // Left uninitialised: pages of a large buffer that are never written take
  // no memory.
  storage.reset(new (std::nothrow) char[size]);
  if (!storage) return false;
  capacity = size;
  return true;
}

bool CSourceBuffer::Load(platform::CInputFile& file) {
  length_ = 0;
  fingerprint_ = ScriptFingerprint();
  uint64_t size = file.Size();
  if (size >= SIZE_MAX / (kCondenseGrowth + 1)) return false;
  if (!Reserve(text_, text_capacity_, static_cast<size_t>(size) + 1)) return false;
  int64_t read = file.Read(text_.get(), size);
  if (read < 0) return false;
  text_[static_cast<size_t>(read)] = '\0';
  length_ = static_cast<size_t>(read);
  fingerprint_ = FingerprintOf(text_.get(), length_);
  return true;
}

void CSourceBuffer::Release() {
  length_ = 0;
  fingerprint_ = ScriptFingerprint();
  text_.reset();
  text_capacity_ = 0;
  work_.reset();
  work_capacity_ = 0;
}

bool CSourceBuffer::SetText(std::string_view text) {
  length_ = 0;
  fingerprint_ = ScriptFingerprint();
  if (!Reserve(text_, text_capacity_, text.size() + 1)) return false;
  std::memcpy(text_.get(), text.data(), text.size());
  text_[text.size()] = '\0';
  length_ = text.size();
  fingerprint_ = FingerprintOf(text_.get(), length_);
  return true;
}

bool CSourceBuffer::Condense() {
  // The condensed text grows at most kCondenseGrowth times over the text; a
  // NUL inside the text only ends it sooner.
  if (!Reserve(work_, work_capacity_, kCondenseGrowth * length_ + 1)) {
    length_ = 0;
    return false;
  }
  size_t written = length_ ? CondenseText(text_.get(), work_.get()) : 0;
  work_[written] = '\0';
  std::swap(text_, work_);
  std::swap(text_capacity_, work_capacity_);
  length_ = written + 1;
  return true;
}
