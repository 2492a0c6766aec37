// What the tool's output looks like on the platform the tests run on: the
// path separator in printed paths and the line ends of console output and
// written files. Tests spell expectations with "/" and "\n" and pass them
// through these.
#pragma once

#include <string>

namespace testing_support {

/// `path` with "/" written as the platform's separator.
std::string Native(std::string path);

/// `text` with "\n" written as the platform's line end.
std::string Text(const std::string& text);

}  // namespace testing_support
