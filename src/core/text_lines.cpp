#include "core/text_lines.h"

namespace psalmora {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, pos - start));
    if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    start = pos + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + kLineEnd.size();
  std::string out;
  out.reserve(size);
  for (const auto& line : lines) {
    out += line;
    out += kLineEnd;
  }
  return out;
}

}  // namespace psalmora
