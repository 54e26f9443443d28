#include "render/transpose.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/record_fields.h"

namespace psalmora {
namespace {

constexpr std::string_view kNbsp = "&nbsp;";
constexpr char kNbspByte = '\xA0';  // the no-break space of Windows-1252

bool IsLowerAscii(char c) {
  return c >= 'a' && c <= 'z';
}

bool IsLetter(char c) {
  return IsLowerAscii(c) || (c >= 'A' && c <= 'Z');
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

// "N.C." (no chord) in its usual spellings, and marks without any letter (bar lines, repeat signs,
// dashes): nothing to transpose and nothing unknown to point out.
bool IsNoChordMark(std::string_view segment) {
  std::string letters;
  for (const char c : segment) {
    if (IsLetter(c)) letters += IsLowerAscii(c) ? c : static_cast<char>(c - 'A' + 'a');
  }
  return letters.empty() || letters == "nc";
}

// How a root was spelled, so its transposed root is spelled alike: a German flat ("Es") stays German
// ("As", not "G#"), an English flat ("Db") stays English ("Eb"). The names transposition writes ("B",
// the sharps) and "Hb" and "Eb" keep the table's spelling, so their results do not change.
constexpr std::array<std::string_view, 6> kGermanFlats = {"Ces", "Des", "Es", "Fes", "Ges", "As"};
constexpr std::array<std::string_view, 6> kEnglishFlats = {"Cb", "Db", "Fb", "Gb", "Ab", "Bb"};
// What each flat spelling writes for the five black keys; white keys get the table's name ("H", "E").
constexpr std::array<std::string_view, 5> kGermanFlatKeys = {"B", "Des", "Es", "Ges", "As"};
constexpr std::array<std::string_view, 5> kEnglishFlatKeys = {"Bb", "Db", "Eb", "Gb", "Ab"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

const std::string& WrittenNameFor(std::string_view spelledAs, int row, const ChordTable& table) {
  const auto pick = [&](const auto& keys) -> const std::string& {
    for (const std::string& name : table.Names(row)) {
      if (Contains(keys, name)) return name;
    }
    return table.WrittenName(row);
  };
  if (Contains(kGermanFlats, spelledAs)) return pick(kGermanFlatKeys);
  if (Contains(kEnglishFlats, spelledAs)) return pick(kEnglishFlatKeys);
  return table.WrittenName(row);
}

// The longest root name of the table that starts at pos ("Fis" over "F", "Es" over "E", "Hb" over "H"),
// or null; row is set to its row. "Es" and "As" before "us" are "E" and "A" of a "sus" chord.
const std::string* RootAt(std::string_view token, std::size_t pos, const ChordTable& table, int& row) {
  const std::string_view rest = token.substr(pos);
  const std::string* best = nullptr;
  if (rest.empty()) return best;
  for (int r = 0; r < table.RowCount(); ++r) {
    for (const std::string& name : table.Names(r)) {
      // Most names differ in the first letter already; checked first, it spares the comparisons that
      // dominate a page of many chords.
      if (name.empty() || name.front() != rest.front()) continue;
      if (best != nullptr && name.size() <= best->size()) continue;
      if (!rest.starts_with(name)) continue;
      if (name.size() == 2 && name[1] == 's' && rest.substr(2).starts_with("us")) continue;
      best = &name;
      row = r;
    }
  }
  return best;
}

// Where a further chord may start inside one token ("Asus4 A", "G(G7)"): after a blank or a bracket.
bool StartsAnotherChord(char before) {
  return before == ' ' || before == kNbspByte || before == '(';
}

// One "/"-token transposed, or false when it does not start with a root name (after leading marks such
// as "(").
bool TransposeToken(std::string& token, long long offset, const ChordTable& table) {
  const bool minorWritten = !token.empty() && IsLowerAscii(token[0]);
  if (minorWritten) token[0] = static_cast<char>(token[0] - 'a' + 'A');
  std::size_t start = 0;
  while (start < token.size() && !IsLetter(token[start])) ++start;
  int row = -1;
  const std::string* name = start < token.size() ? RootAt(token, start, table, row) : nullptr;
  if (name == nullptr) return false;
  const long long rows = table.RowCount();
  // Higher notes have lower row numbers, so moving up means moving towards row 0.
  const auto shifted = static_cast<int>(((row - offset % rows) % rows + rows) % rows);
  const std::string& written = WrittenNameFor(*name, shifted, table);

  std::string out(token, 0, start);
  out += written;
  for (std::size_t pos = start + name->size(); pos < token.size();) {
    int again = -1;
    if (StartsAnotherChord(token[pos - 1]) && RootAt(token, pos, table, again) == name) {
      out += written;
      pos += name->size();
    } else {
      out += token[pos++];
    }
  }
  token = std::move(out);
  if (minorWritten && !token.empty() && token[0] >= 'A' && token[0] <= 'Z') {
    token[0] = static_cast<char>(token[0] - 'A' + 'a');
  }
  return true;
}

// Whether a word of the key field names a chord rather than being "Dur", "moll" or "Capo", which start
// like one.
bool IsKeyWord(std::string_view word, const ChordTable& table) {
  std::size_t start = 0;
  while (start < word.size() && !IsLetter(word[start])) ++start;
  if (start == word.size()) return false;
  std::string root(word.substr(start));
  if (start == 0 && IsLowerAscii(root[0])) root[0] = static_cast<char>(root[0] - 'a' + 'A');
  int row = -1;
  const std::string* name = RootAt(root, 0, table, row);
  if (name == nullptr) return false;
  const std::string_view rest = std::string_view(root).substr(name->size());
  if (rest.empty() || !IsLowerAscii(rest[0])) return true;
  for (const std::string_view quality : {"m", "dim", "aug", "sus", "add"}) {
    if (rest.starts_with(quality)) return true;
  }
  return false;
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
  if (OnlySpaces(plain) || IsNoChordMark(plain)) return std::string(segment);

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

std::string TransposeKey(std::string_view key, long long offset, const ChordTable& table) {
  if (offset == 0 || table.RowCount() == 0) return std::string(key);
  std::string out;
  std::size_t pos = 0;
  while (pos < key.size()) {
    if (key[pos] == ' ') {
      out += key[pos++];
      continue;
    }
    const std::size_t end = std::min(key.find(' ', pos), key.size());
    const std::string_view word = key.substr(pos, end - pos);
    out += IsKeyWord(word, table) ? TransposeChordBy(word, offset, table) : std::string(word);
    pos = end;
  }
  return out;
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
