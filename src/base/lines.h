#pragma once
// The lines of a text: split at LF, a CR before it dropped. A final line
// without a line end counts; a text ending in a line end has no empty line
// after it; an empty text has no lines. ForEachLine hands them over one by
// one (a table of 73,000 lines needs no list of them), SplitLines collects
// them.

#include <cstddef>
#include <string_view>
#include <vector>

namespace meridan {

template <typename Fn>
void ForEachLine(std::string_view text, Fn fn) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    fn(line);
    pos = next;
  }
}

std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace meridan
