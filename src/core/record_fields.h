// Access to the parts of a record line: 1-based fields separated by TAB, parts separated by "|".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

// The position-th piece (1-based) of text cut at separator. A position below 1 counts as 1; a position
// past the last piece gives an empty string.
std::string_view FieldAt(std::string_view text, int position, char separator);

// Field of a TAB-separated record line.
inline std::string_view RecordField(std::string_view record, int position) { return FieldAt(record, position, '\t'); }

// Part of a "|"-separated text (schema rows, collection lists, style specifications).
inline std::string_view PartAt(std::string_view text, int position) { return FieldAt(text, position, '|'); }

// Every piece of text cut at separator; an empty text gives one empty piece.
std::vector<std::string> SplitAt(std::string_view text, char separator);

// The pieces joined with separator between them: the inverse of SplitAt, so SplitAt, a change of one
// piece, then JoinAt keeps every other byte of the record.
std::string JoinAt(const std::vector<std::string>& pieces, char separator);

// Number of separator characters in text.
int CountOf(std::string_view text, char separator);

// True when text is one or more decimal digits and nothing else (no sign, no blanks).
bool AllDigits(std::string_view text);

// The leading-number parse of the stored files: optional blanks, an optional sign, then digits; text
// that does not start with a number gives 0. Values beyond the range of long long are clamped.
long long LeadingNumber(std::string_view text);

}  // namespace psalmora
