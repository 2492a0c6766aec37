#include "script_stats.h"

#include <algorithm>

namespace bench {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void ScriptStats::Add(std::string_view text, size_t states) {
  sizes_.push_back(text.size());
  records_ += 1 + states;
  if (states == 0) ++stateless_;
  if (states >= 2) ++several_states_;
  if (!text.empty() && text.back() != '\n') ++lines_;
  bool line_start = true;  // nothing but white space yet on this line
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      ++lines_;
      line_start = true;
      ++space_bytes_;
      continue;
    }
    if (IsSpace(c)) {
      ++space_bytes_;
      continue;
    }
    if (line_start && c == '#') ++directive_lines_;
    line_start = false;
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (c == '/' && next == '/') {
      const size_t end = std::min(text.find('\n', i), text.size());
      comment_bytes_ += end - i;
      i = end - 1;
    } else if (c == '/' && next == '*') {
      const size_t close = text.find("*/", i + 2);
      const size_t end = close == std::string_view::npos ? text.size() : close + 2;
      comment_bytes_ += end - i;
      lines_ += static_cast<size_t>(std::count(text.begin() + i, text.begin() + end, '\n'));
      i = end - 1;
    } else if (c == '"') {
      // A string: a quote in it hides nothing that follows.
      while (i + 1 < text.size() && text[i + 1] != '"' && text[i + 1] != '\n') {
        i += text[i + 1] == '\\' ? 2 : 1;
      }
      ++i;
    }
  }
}

void ScriptStats::Print(std::FILE* file) const {
  const size_t count = sizes_.size();
  if (count == 0) return;
  std::vector<size_t> sorted = sizes_;
  std::sort(sorted.begin(), sorted.end());
  const double median =
      count % 2 ? sorted[count / 2] : (sorted[count / 2 - 1] + sorted[count / 2]) / 2.0;
  size_t bytes = 0;
  for (size_t size : sorted) bytes += size;
  const double n = static_cast<double>(count);
  const double total = static_cast<double>(bytes);
  std::fprintf(file, "size: median %.0f bytes, mean %.0f bytes, largest %zu bytes\n", median,
               total / n, sorted.back());
  std::fprintf(file, "comments %.1f %% of the bytes, white space %.1f %% (outside comments)\n",
               100.0 * static_cast<double>(comment_bytes_) / total,
               100.0 * static_cast<double>(space_bytes_) / total);
  std::fprintf(file, "per script: %.1f lines, %.2f directive lines, %.2f records\n",
               static_cast<double>(lines_) / n, static_cast<double>(directive_lines_) / n,
               static_cast<double>(records_) / n);
  std::fprintf(file, "scripts with no state %.1f %%, with two or more %.1f %%\n",
               100.0 * static_cast<double>(stateless_) / n,
               100.0 * static_cast<double>(several_states_) / n);
}

}  // namespace bench
