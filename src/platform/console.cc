#include "platform/console.h"

#ifndef _WIN32
#include <csignal>
#endif

#include <cstdarg>
#include <cstdio>

namespace console {
namespace {
bool problem_reported = false;
}  // namespace

// Standard output keeps the C library's buffering: line by line on a terminal,
// in large blocks when redirected, so that a big run does not pay one system
// call per message.

void OutliveClosedOutput() {
#ifndef _WIN32
  // Writing to a pipe nobody reads raises SIGPIPE; ignored, the write fails
  // with EPIPE instead. No file the run writes is a pipe: a FIFO at a page's
  // path is refused when it is opened.
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

void Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
}

void Problem(const char* format, ...) {
  problem_reported = true;
  va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
}

bool ProblemReported() {
  return problem_reported;
}

bool Flush() {
  return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace console
