#include "reader/source_buffer.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "platform/directory.h"
#include "reader/condenser.h"

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
  uint64_t size = file.Size();
  if (size >= SIZE_MAX / (kCondenseGrowth + 1)) return false;
  if (!Reserve(text_, text_capacity_, static_cast<size_t>(size) + 1)) return false;
  int64_t read = file.Read(text_.get(), size);
  if (read < 0) return false;
  text_[static_cast<size_t>(read)] = '\0';
  length_ = static_cast<size_t>(read);
  return true;
}

void CSourceBuffer::Release() {
  length_ = 0;
  text_.reset();
  text_capacity_ = 0;
  work_.reset();
  work_capacity_ = 0;
}

bool CSourceBuffer::SetText(std::string_view text) {
  length_ = 0;
  if (!Reserve(text_, text_capacity_, text.size() + 1)) return false;
  std::memcpy(text_.get(), text.data(), text.size());
  text_[text.size()] = '\0';
  length_ = text.size();
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
