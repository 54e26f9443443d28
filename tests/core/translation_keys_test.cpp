// Every translation key used in the program's source must have a line in data/config/sprachen.spr.
//
// The convention that makes keys findable: a key is a plain string literal written directly as the
// first argument of one of these calls (optionally with blanks before the literal):
//   core code:  Translate("Papierkorb"), TranslateUtf8("Papierkorb")   (LanguageTable)
//   Qt code:    Tr("Papierkorb"), TrQ("Papierkorb"), TrKey("Papierkorb")
// Source files are UTF-8, so a literal like "Präsentation" is converted to Windows-1252 before it is
// compared with the language file; Windows-1252 escapes ("Pr\xE4sentation") work as well. Keys that are
// built at run time or passed through variables are not seen here: prefer literals at the call.
// The scan covers src/**/*.cpp and src/**/*.h.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

constexpr std::string_view kCallNames[] = {"Translate", "TranslateUtf8", "Tr", "TrQ", "TrKey"};

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads the C++ string literal starting after its opening quote at pos; returns its bytes and moves pos
// past the closing quote.
std::string ReadLiteral(std::string_view text, std::size_t& pos) {
  std::string bytes;
  while (pos < text.size() && text[pos] != '"' && text[pos] != '\n') {
    char c = text[pos++];
    if (c != '\\' || pos >= text.size()) {
      bytes += c;
      continue;
    }
    c = text[pos++];
    switch (c) {
      case 'n':
        bytes += '\n';
        break;
      case 't':
        bytes += '\t';
        break;
      case 'r':
        bytes += '\r';
        break;
      case 'x': {
        int value = 0;
        while (pos < text.size() && HexValue(text[pos]) >= 0) value = value * 16 + HexValue(text[pos++]);
        bytes += static_cast<char>(value);
        break;
      }
      default:
        bytes += c;
        break;  // \" \\ \' \?
    }
  }
  ++pos;
  return bytes;
}

// The keys (Windows-1252 bytes) of every call of the convention in one source text.
std::vector<std::string> KeysInSource(std::string_view text) {
  std::vector<std::string> keys;
  for (std::string_view name : kCallNames) {
    for (std::size_t at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
      if (at > 0 && IsIdentifierChar(text[at - 1])) continue;
      std::size_t pos = at + name.size();
      while (pos < text.size() && text[pos] == ' ') ++pos;
      if (pos >= text.size() || text[pos] != '(') continue;
      ++pos;
      while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\n')) ++pos;
      if (pos >= text.size() || text[pos] != '"') continue;
      ++pos;
      keys.push_back(Utf8ToCp1252(ReadLiteral(text, pos)));
    }
  }
  return keys;
}

std::filesystem::path SourceDir() {
  return std::filesystem::path(PSALMORA_SOURCE_DIR);
}

std::vector<std::string> LanguageFileLines() {
  const std::optional<std::string> bytes = ReadWholeFile(SourceDir() / "data" / kLanguageFileName);
  return bytes ? SplitLines(*bytes) : std::vector<std::string>{};
}

TEST(TranslationKeyScan, FindsKeysOfEveryCallForm) {
  const std::vector<std::string> keys = KeysInSource(
      "menu->addAction(TrQ(\"Papierkorb\"));\n"
      "label = language.Translate( \"Pr\\xE4sentation\") + \" (F7)\";\n"
      "Tr(\"Fußzeile einblenden\"); TrKey(\n    \"Lied \\\"x\\\"\");\n"
      "QObject::tr(\"no\"); Retr(\"no\"); Translate(key); TranslateUtf8(\"Übersetzung\");\n");
  const std::set<std::string> found(keys.begin(), keys.end());
  const std::set<std::string> expected = {"Papierkorb", "Pr\xE4sentation", "Fu\xDFzeile einblenden", "Lied \"x\"",
                                          "\xDC"
                                          "bersetzung"};
  EXPECT_EQ(found, expected);
}

TEST(TranslationKeys, EveryKeyInTheSourceHasALanguageLine) {
  std::set<std::string> known;
  for (const std::string& line : LanguageFileLines()) known.emplace(RecordField(line, 1));
  ASSERT_FALSE(known.empty()) << "data/config/sprachen.spr is missing or empty";

  std::vector<std::string> missing;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(SourceDir() / "src")) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    const std::optional<std::string> text = ReadWholeFile(entry.path());
    if (!text) continue;
    for (const std::string& key : KeysInSource(*text)) {
      if (known.count(key) == 0) missing.push_back(Cp1252ToUtf8(key) + "  (" + entry.path().string() + ")");
    }
  }
  std::string report;
  for (const std::string& item : missing) report += "\n  " + item;
  EXPECT_TRUE(missing.empty()) << "keys without a line in data/config/sprachen.spr:" << report;
}

TEST(TranslationKeys, LanguageFileIsWellFormed) {
  const std::optional<std::string> bytes = ReadWholeFile(SourceDir() / "data" / kLanguageFileName);
  ASSERT_TRUE(bytes.has_value());
  std::set<std::string> seen;
  int lineNumber = 0;
  for (const std::string& line : SplitLines(*bytes)) {
    ++lineNumber;
    const std::string key(RecordField(line, 1));
    SCOPED_TRACE("line " + std::to_string(lineNumber) + ": " + Cp1252ToUtf8(key));
    EXPECT_FALSE(key.empty());
    EXPECT_TRUE(seen.insert(key).second) << "duplicate key (only the first would ever be used)";
    EXPECT_FALSE(RecordField(line, 2).empty()) << "German text missing";
    EXPECT_FALSE(RecordField(line, 3).empty()) << "English text missing";
    EXPECT_LE(CountOf(line, '\t'), 4) << "more than five columns";
  }
  // Windows-1252 with CR LF: every LF is preceded by CR, and no UTF-8 sequence for an umlaut slipped in.
  for (std::size_t i = 0; i < bytes->size(); ++i) {
    if ((*bytes)[i] == '\n') {
      EXPECT_TRUE(i > 0 && (*bytes)[i - 1] == '\r') << "bare LF at byte " << i;
    }
    if (static_cast<unsigned char>((*bytes)[i]) == 0xC3 && i + 1 < bytes->size()) {
      const auto next = static_cast<unsigned char>((*bytes)[i + 1]);
      EXPECT_FALSE(next >= 0x80 && next <= 0xBF) << "UTF-8 bytes at " << i;
    }
  }
}

}  // namespace
}  // namespace psalmora
