#include "render/transpose.h"

#include <vector>

#include "core/record_fields.h"

namespace psalmora {
namespace {

constexpr std::string_view kNbsp = "&nbsp;";
constexpr char kNbspByte = '\xA0';  // the no-break space of Windows-1252

bool IsLowerAscii(char c) {
  return c >= 'a' && c <= 'z';
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::string::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
}

bool OnlySpaces(std::string_view text) {
  for (const char c : text) {
    if (c != ' ' && c != kNbspByte) return false;
  }
  return true;
}

// The row and the root name that decide a token, or row -1. Rows run from the highest note down, and
// within a row the names in order, so "Fis" wins over "F"; a lowercase "b" rules out one-letter names so
// "Eb" and "Hb" are not read as "E" and "H".
int FindRoot(std::string_view token, const ChordTable& table, const std::string** found) {
  const bool skipSingle = token.find('b') != std::string_view::npos;
  for (int row = 0; row < table.RowCount(); ++row) {
    for (const std::string& name : table.Names(row)) {
      if (skipSingle && name.size() == 1) continue;
      if (token.find(name) != std::string_view::npos) {
        *found = &name;
        return row;
      }
    }
  }
  return -1;
}

// One "/"-token transposed, or nothing when no root name occurs in it.
bool TransposeToken(std::string& token, long long offset, const ChordTable& table) {
  const bool minorWritten = !token.empty() && IsLowerAscii(token[0]);
  if (minorWritten) token[0] = static_cast<char>(token[0] - 'a' + 'A');
  const std::string* name = nullptr;
  const int row = FindRoot(token, table, &name);
  if (row < 0) return false;
  const long long rows = table.RowCount();
  // Higher notes have lower row numbers, so moving up means moving towards row 0.
  const long long shifted = ((row - offset % rows) % rows + rows) % rows;
  const std::string from = *name;
  ReplaceAll(token, from, table.WrittenName(static_cast<int>(shifted)));
  if (minorWritten && !token.empty() && token[0] >= 'A' && token[0] <= 'Z') {
    token[0] = static_cast<char>(token[0] - 'A' + 'a');
  }
  return true;
}

}  // namespace

std::string TransposeChord(std::string_view segment, std::string_view offsetText, const ChordTable& table) {
  return TransposeChordBy(segment, LeadingNumber(offsetText), table);
}

std::string TransposeChordBy(std::string_view segment, long long offset, const ChordTable& table) {
  if (offset == 0 || table.RowCount() == 0) return std::string(segment);
  std::string plain(segment);
  const bool hadEntities = plain.find(kNbsp) != std::string::npos;
  if (hadEntities) ReplaceAll(plain, kNbsp, std::string_view(&kNbspByte, 1));
  if (OnlySpaces(plain)) return std::string(segment);

  std::string result;
  const std::vector<std::string> tokens = SplitAt(plain, '/');
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    std::string token = tokens[i];
    if (!TransposeToken(token, offset, table)) continue;
    if (i > 0) result += '/';
    result += token;
  }
  if (result.empty()) return "(" + std::string(segment) + "?)";
  if (hadEntities) ReplaceAll(result, std::string_view(&kNbspByte, 1), kNbsp);
  return result;
}

std::string TransposeChordLine(std::string_view chordLine, long long offset, const ChordTable& table) {
  if (offset == 0 || chordLine.empty()) return std::string(chordLine);
  std::string out(1, chordLine[0]);
  std::size_t pos = 1;
  while (pos < chordLine.size()) {
    if (chordLine[pos] == ' ') {
      // A chord that grew has already taken the room of some of these spaces; one must stay.
      if (out.size() <= pos || out.back() != ' ') out += ' ';
      ++pos;
      continue;
    }
    const std::size_t end = chordLine.find(' ', pos);
    const std::string_view chord = chordLine.substr(pos, end == std::string_view::npos ? end : end - pos);
    std::string shown = TransposeChordBy(chord, offset, table);
    const bool unknown = shown.size() == chord.size() + 3 && shown.front() == '(' && shown.ends_with("?)");
    if (unknown) shown = std::string(chord);
    if (out.size() < pos) out.append(pos - out.size(), ' ');
    out += shown;
    pos += chord.size();
  }
  return out;
}

}  // namespace psalmora
