// Columns of a song text line: a character the store keeps as a numeric character reference counts as
// one column, like any other character.
#pragma once

#include <cstddef>
#include <string_view>

namespace psalmora {

// The bytes of the character at pos: a whole numeric character reference ("&#322;", "&#x142;") as the
// store writes a character outside Windows-1252, or one byte. 0 at or past the end.
std::size_t CharacterLength(std::string_view text, std::size_t pos);

// The number of columns (characters) of text.
std::size_t ColumnCount(std::string_view text);

// The byte offset where 1-based column `column` starts; text.size() for a column past the end.
std::size_t ColumnOffset(std::string_view text, std::size_t column);

// The characters from 1-based column `from` up to, not including, column `to` (npos: to the end).
std::string_view ColumnRange(std::string_view text, std::size_t from, std::size_t to);

}  // namespace psalmora
