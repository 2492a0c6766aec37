#include "platform/output_file.h"

namespace platform {
namespace {
// Text is collected up to this size before it goes to the file, so a page is
// normally written with a single system call.
constexpr size_t kDrainSize = size_t{64} << 10;

#ifdef _WIN32
constexpr bool kCrLfLineEnds = true;
#else
constexpr bool kCrLfLineEnds = false;
#endif
}  // namespace

COutputFile::~COutputFile() {
  Close();
}

bool COutputFile::Open(const std::string& path, OpenMode mode) {
  Reset();
  return OpenHandle(path, mode);
}

bool COutputFile::ShareHold(const COutputFile& file) {
  Reset();
  return file.IsOpen() && DuplicateHandle(file);
}

void COutputFile::Reset() {
  Close();
  failed_ = false;
  buffer_.clear();
}

void COutputFile::Write(std::string_view text) {
  if constexpr (!kCrLfLineEnds) {
    // A text that would fill the buffer goes to the file as it stands,
    // after what is buffered: copying it first would only cost time.
    if (buffer_.size() + text.size() >= kDrainSize) {
      WriteThrough(text);
      return;
    }
  }
  // A long text goes through in slices, so the buffer never holds much more
  // than one drain's worth, however long the text.
  while (text.size() > kDrainSize) {
    Append(text.substr(0, kDrainSize));
    text.remove_prefix(kDrainSize);
  }
  Append(text);
}

void COutputFile::Append(std::string_view text) {
  if constexpr (kCrLfLineEnds) {
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
      buffer_.append(text.substr(start, end - start));
      buffer_.append("\r\n");
    }
    buffer_.append(text.substr(start));
  } else {
    buffer_.append(text);
  }
  if (buffer_.size() >= kDrainSize) Drain();
}

void COutputFile::Drain() {
  if (!buffer_.empty() && !WriteRaw(buffer_.data(), buffer_.size())) failed_ = true;
  buffer_.clear();
}

void COutputFile::WriteThrough(std::string_view text) {
  Drain();
  if (!text.empty() && !WriteRaw(text.data(), text.size())) failed_ = true;
}

bool COutputFile::CloseWith(std::string_view text) {
  if constexpr (kCrLfLineEnds) {
    Write(text);
  } else {
    WriteThrough(text);
  }
  return Close();
}

bool COutputFile::Close() {
  created_ = false;
  if (!IsOpen()) return false;
  Drain();
  if (!ReleaseHandle()) failed_ = true;
  return !failed_;
}

}  // namespace platform
