// What one run is asked to make, as the command line gives it: handed as one
// value from the command line down to the writing of the reference.
#pragma once

#include <optional>
#include <string>

struct RunOptions {
  bool navigation = false;  // "--navigation": the reference gets search and links
  bool complete = false;    // "--complete": scripts are read in the whole language
  bool json = false;        // "--json": the model file too (implies complete)
  // "--compare OLD": the changes since the model file OLD (implies complete).
  std::optional<std::string> compareWith = std::nullopt;
};
