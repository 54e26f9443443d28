// The interface-language table: translation keys and their texts in the chosen language.
//
// UI code passes every caption, tooltip and message key through Translate. A key is written in the code
// as a string literal directly inside the call: the first argument of Translate or TranslateUtf8 in the
// core and of Tr, TrQ or TrKey in Qt code, so a test can find every key and check that the language
// file has a line for it. Literals hold UTF-8 (or Windows-1252 escapes); keys built at run time are
// not checked.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace psalmora {

inline constexpr std::string_view kLanguageFileName = "config/sprachen.spr";

// Values of the setting "sprache".
enum LanguageNumber : int { kLanguageNotChosen = 0, kGerman = 1, kEnglish = 2, kSpanish = 3, kItalian = 4 };

class LanguageTable {
 public:
  // Fills the table from the language file: for every line the pair (field 1, field language + 1).
  // Returns false and leaves the table unchanged when the file cannot be read.
  bool Load(const std::filesystem::path& file, int language);
  // The same from the file's bytes (Windows-1252, TAB-separated, any line ends).
  void LoadFromText(std::string_view bytes, int language);

  // The text of the first pair whose key equals key exactly. An empty text is replaced by key + "()"
  // for the rest of the run; a key that is not in the table gives "not found". Windows-1252 bytes.
  std::string Translate(std::string_view key);
  // Translate for callers that hold UTF-8 (source literals, Qt): key and result are UTF-8.
  std::string TranslateUtf8(std::string_view utf8Key);

  std::size_t size() const { return pairs_.size(); }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::unordered_map<std::string, std::size_t> firstIndex_;  // key -> position of its first pair
};

}  // namespace psalmora
