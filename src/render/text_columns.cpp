// Column counting over Windows-1252 text that may hold numeric character references.
#include "render/text_columns.h"

namespace psalmora {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  if (text[pos] != '&' || pos + 1 >= text.size() || text[pos + 1] != '#') return 1;
  std::size_t at = pos + 2;
  const bool hex = at < text.size() && (text[at] == 'x' || text[at] == 'X');
  if (hex) ++at;
  const std::size_t digits = at;
  while (at < text.size() && (hex ? IsHexDigit(text[at]) : IsDigit(text[at]))) ++at;
  // Without digits and the closing ";" the "&" is a character of its own, as the page shows it.
  if (at == digits || at >= text.size() || text[at] != ';') return 1;
  return at + 1 - pos;
}

std::size_t ColumnCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharacterLength(text, pos)) ++count;
  return count;
}

std::size_t ColumnOffset(std::string_view text, std::size_t column) {
  std::size_t pos = 0;
  for (std::size_t n = 1; n < column && pos < text.size(); ++n) pos += CharacterLength(text, pos);
  return pos;
}

std::string_view ColumnRange(std::string_view text, std::size_t from, std::size_t to) {
  const std::string_view rest = text.substr(ColumnOffset(text, from));
  if (to == std::string_view::npos) return rest;
  if (to <= from) return {};
  return rest.substr(0, ColumnOffset(rest, to - from + 1));
}

}  // namespace psalmora
