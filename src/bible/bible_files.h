// The three kinds of Bible files below the program folder: "bibel/uebersetzungen.dat" (file name TAB
// shown name), "bibel/index.dat" (group, book and chapter range separated by blanks) and one text file
// per translation (group TAB book TAB chapter TAB chapter text), and what the Bible page reads from them.
//
// The chapter text of a line is its verses separated by "|", each verse starting with its number and a
// blank ("1 Im Anfang ...|2 Und die Erde ..."), so that the free-text field shows one verse per line. A
// text without "|" (a chapter in one piece) is shown as it stands.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bible/bible_reference.h"

namespace psalmora {

inline constexpr char kVerseSeparator = '|';

std::filesystem::path BibleFolder(const std::filesystem::path& programFolder);
std::filesystem::path TranslationListFile(const std::filesystem::path& programFolder);
std::filesystem::path BibleIndexFile(const std::filesystem::path& programFolder);

// One line of "bibel/uebersetzungen.dat".
struct TranslationEntry {
  std::string fileName;  // field 1, inside "bibel/"
  std::string name;      // field 2, shown in the translation chooser
};

// The lines of "bibel/uebersetzungen.dat" in chooser order; none when it is missing.
std::vector<TranslationEntry> ReadTranslationList(const std::filesystem::path& programFolder);

// The translation whose shown name or file name is name (the shown name first).
std::optional<TranslationEntry> FindTranslation(const std::vector<TranslationEntry>& list, std::string_view name);

// The lines of a translation's text file; nothing when it cannot be opened.
std::optional<std::vector<std::string>> ReadTranslationText(const std::filesystem::path& programFolder,
                                                            const TranslationEntry& translation);

// One line of "bibel/index.dat", split at blanks.
struct BibleIndexLine {
  std::string group;
  std::string book;
  int firstChapter = 0;
  int lastChapter = 0;
};
BibleIndexLine ParseBibleIndexLine(std::string_view line);

// A chapter text for the free-text field: the verses one per line (LF between them).
std::string ChapterTextForDisplay(std::string_view chapterText);

// The chapter text of the last line of text with this group, book and chapter (exact comparison);
// nothing when no line has them.
std::optional<std::string> FindChapter(const std::vector<std::string>& text, std::string_view group,
                                       std::string_view book, std::string_view chapter);

enum class PassageError { kNone, kBookMissing, kChapterMissing, kVersesMissing };

struct Passage {
  std::string header;  // "Johannes 3,16-18"
  std::string text;    // the verses, one per line (LF), each starting with its number
  PassageError error = PassageError::kNone;
  int missingChapter = 0;  // for kChapterMissing
};

// The verses of a parsed reference from a loaded translation text. Chapters are found by the book's
// index name in field 2 whatever the group. Verses of a passage that runs over several chapters start
// with "chapter,verse".
Passage ExtractPassage(const std::vector<std::string>& text, const BibleReference& reference);

}  // namespace psalmora
