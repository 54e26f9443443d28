// Loading the language file and looking up translation keys.
#include "core/language.h"

#include <optional>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"

namespace psalmora {

bool LanguageTable::Load(const std::filesystem::path& file, int language) {
  const std::optional<std::string> bytes = ReadWholeFile(file);
  if (!bytes) return false;
  LoadFromText(*bytes, language);
  return true;
}

void LanguageTable::LoadFromText(std::string_view bytes, int language) {
  // A language below 0 would select no column at all; field 1 (the key) is what 0 gives.
  const int column = (language < 0 ? 0 : language) + 1;
  pairs_.clear();
  firstIndex_.clear();
  for (const std::string& line : SplitLines(bytes)) {
    pairs_.emplace_back(std::string(RecordField(line, 1)), std::string(RecordField(line, column)));
    firstIndex_.emplace(pairs_.back().first, pairs_.size() - 1);  // keeps the first of equal keys
  }
}

std::string LanguageTable::Translate(std::string_view key) {
  const auto found = firstIndex_.find(std::string(key));
  if (found == firstIndex_.end()) return "not found";
  std::string& text = pairs_[found->second].second;
  if (text.empty()) text = std::string(key) + "()";
  return text;
}

std::string LanguageTable::TranslateUtf8(std::string_view utf8Key) {
  return Cp1252ToUtf8(Translate(Utf8ToCp1252(utf8Key)));
}

}  // namespace psalmora
