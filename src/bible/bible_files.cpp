// Reading the Bible files and taking passages out of a loaded translation.
#include "bible/bible_files.h"

#include <map>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {

namespace fs = std::filesystem;

fs::path BibleFolder(const fs::path& programFolder) {
  return programFolder / "bibel";
}
fs::path TranslationListFile(const fs::path& programFolder) {
  return BibleFolder(programFolder) / "uebersetzungen.dat";
}
fs::path BibleIndexFile(const fs::path& programFolder) {
  return BibleFolder(programFolder) / "index.dat";
}

std::vector<TranslationEntry> ReadTranslationList(const fs::path& programFolder) {
  std::vector<TranslationEntry> list;
  const std::optional<std::string> content = ReadWholeFile(TranslationListFile(programFolder));
  if (!content) return list;
  for (const std::string& line : SplitLines(*content)) {
    list.push_back({std::string(RecordField(line, 1)), std::string(RecordField(line, 2))});
  }
  return list;
}

std::optional<TranslationEntry> FindTranslation(const std::vector<TranslationEntry>& list, std::string_view name) {
  for (const TranslationEntry& entry : list) {
    if (entry.name == name) return entry;
  }
  for (const TranslationEntry& entry : list) {
    if (entry.fileName == name) return entry;
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> ReadTranslationText(const fs::path& programFolder,
                                                            const TranslationEntry& translation) {
  // An empty file name would name the folder itself, and a name with a folder part would leave it.
  if (translation.fileName.empty() || fs::path(translation.fileName).has_parent_path()) return std::nullopt;
  const std::optional<std::string> content = ReadWholeFile(BibleFolder(programFolder) / translation.fileName);
  if (!content) return std::nullopt;
  return SplitLines(*content);
}

BibleIndexLine ParseBibleIndexLine(std::string_view line) {
  BibleIndexLine parsed;
  parsed.group = FieldAt(line, 1, ' ');
  parsed.book = FieldAt(line, 2, ' ');
  const std::string_view range = FieldAt(line, 3, ' ');
  const std::size_t dash = range.find('-');
  parsed.firstChapter = static_cast<int>(LeadingNumber(range.substr(0, dash)));
  parsed.lastChapter =
      dash == std::string_view::npos ? parsed.firstChapter : static_cast<int>(LeadingNumber(range.substr(dash + 1)));
  return parsed;
}

std::string ChapterTextForDisplay(std::string_view chapterText) {
  std::string text(chapterText);
  for (char& c : text) {
    if (c == kVerseSeparator) c = '\n';
  }
  return text;
}

std::optional<std::string> FindChapter(const std::vector<std::string>& text, std::string_view group,
                                       std::string_view book, std::string_view chapter) {
  std::optional<std::string> found;
  for (const std::string& line : text) {
    if (RecordField(line, 1) == group && RecordField(line, 2) == book && RecordField(line, 3) == chapter) {
      found = std::string(RecordField(line, 4));
    }
  }
  return found;
}

Passage ExtractPassage(const std::vector<std::string>& text, const BibleReference& reference) {
  Passage passage;
  passage.header = FormatBibleReference(reference);
  if (!reference.ok() || !reference.book) {
    passage.error = PassageError::kBookMissing;
    return passage;
  }
  // Chapter number -> chapter text of the book (the last line wins, as on the chapter list).
  std::map<int, std::string_view> chapters;
  for (const std::string& line : text) {
    if (RecordField(line, 2) != reference.book->indexName) continue;
    const std::string_view number = RecordField(line, 3);
    if (AllDigits(number)) chapters[static_cast<int>(LeadingNumber(number))] = RecordField(line, 4);
  }
  if (chapters.empty()) {
    passage.error = PassageError::kBookMissing;
    return passage;
  }
  const bool severalChapters = [&] {
    for (const VerseSpan& span : reference.spans) {
      if (span.lastChapter != reference.spans.front().firstChapter) return true;
    }
    return false;
  }();
  std::vector<std::string> lines;
  for (const VerseSpan& span : reference.spans) {
    for (int chapter = span.firstChapter; chapter <= span.lastChapter; ++chapter) {
      const auto found = chapters.find(chapter);
      if (found == chapters.end()) {
        passage.error = PassageError::kChapterMissing;
        passage.missingChapter = chapter;
        return passage;
      }
      const int from = chapter == span.firstChapter ? span.firstVerse : 0;
      const int to = chapter == span.lastChapter ? span.lastVerse : 0;
      for (const std::string& verse : SplitAt(found->second, kVerseSeparator)) {
        const long long number = LeadingNumber(verse);
        const bool wanted = (from == 0 && to == 0) || (number >= from && (to == 0 || number <= to));
        if (!wanted || verse.empty()) continue;
        lines.push_back(severalChapters && number > 0 ? std::to_string(chapter) + "," + verse : verse);
      }
    }
  }
  if (lines.empty()) {
    passage.error = PassageError::kVersesMissing;
    return passage;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) passage.text += '\n';
    passage.text += lines[i];
  }
  return passage;
}

}  // namespace psalmora
