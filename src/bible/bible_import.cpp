// The shared end of every Bible importer: tidy verse texts, the merged index and the atomic writes.
#include "bible/bible_import.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <variant>

#include "bible/bible_files.h"
#include "core/atomic_file.h"
#include "core/data_folder_lock.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"

namespace psalmora {

namespace fs = std::filesystem;

void ImportedBible::AddVerse(const BibleBook& book, int chapter, int verse, std::string text) {
  // No book has a thousand chapters or verses; such a number is a broken file, and the chapter list
  // would otherwise be filled up to it.
  if (text.empty() || verse < 1 || chapter < 1 || verse > kLargestBibleNumber || chapter > kLargestBibleNumber) return;
  auto found = std::find_if(books.begin(), books.end(), [&](const ImportedBook& b) { return b.book == &book; });
  if (found == books.end()) {
    books.push_back({&book, {}});
    found = books.end() - 1;
  }
  std::vector<ImportedVerse>& verses = found->chapters[chapter];
  // A verse met again (a source that splits it) continues the verse.
  if (!verses.empty() && verses.back().number == verse) {
    verses.back().text += " " + text;
    return;
  }
  verses.push_back({verse, std::move(text)});
}

void ImportedBible::Finish() {
  std::stable_sort(books.begin(), books.end(),
                   [](const ImportedBook& a, const ImportedBook& b) { return a.book->rank < b.book->rank; });
  if (ok() && VerseCount() == 0) error = "no verses found";
}

int ImportedBible::VerseCount() const {
  int count = 0;
  for (const ImportedBook& book : books) {
    for (const auto& [number, verses] : book.chapters) count += static_cast<int>(verses.size());
  }
  return count;
}

std::string VerseTextFromUtf8(std::string_view utf8) {
  std::string tidy;
  tidy.reserve(utf8.size());
  bool blank = false;
  for (const char c : utf8) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      blank = !tidy.empty();
      continue;
    }
    if (blank) tidy += ' ';
    blank = false;
    if (c == kVerseSeparator) {
      tidy += "\xC2\xA6";  // broken bar
    } else {
      tidy += c;
    }
  }
  return Utf8ToCp1252(tidy);
}

namespace {

std::string IndexLine(const BibleBook& book, int first, int last) {
  return std::string(book.group) + " " + std::string(book.indexName) + " " + std::to_string(first) + "-" +
         std::to_string(last);
}

// The table book of an index line, or nothing for a line of someone else's making.
const BibleBook* IndexLineBook(const std::string& line) {
  const BibleIndexLine parsed = ParseBibleIndexLine(line);
  for (const BibleBook& book : BibleBooks()) {
    if (book.group == parsed.group && book.indexName == parsed.book) return &book;
  }
  return nullptr;
}

std::string FileNameFor(const fs::path& folder, std::string_view name, const std::vector<TranslationEntry>& list) {
  std::string stem;
  for (const char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      stem += c;
    } else if (c >= 'A' && c <= 'Z') {
      stem += static_cast<char>(c + 32);
    } else if (!stem.empty() && stem.back() != '-') {
      stem += '-';
    }
  }
  while (!stem.empty() && stem.back() == '-') stem.pop_back();
  if (stem.empty()) stem = "bibel";
  if (stem.size() > 40) stem.resize(40);
  for (int suffix = 1;; ++suffix) {
    const std::string candidate = stem + (suffix == 1 ? "" : "-" + std::to_string(suffix)) + ".dat";
    const bool listed =
        std::any_of(list.begin(), list.end(), [&](const TranslationEntry& e) { return e.fileName == candidate; });
    if (candidate != "index.dat" && candidate != "uebersetzungen.dat" && !listed && !PathIsTaken(folder / candidate)) {
      return candidate;
    }
  }
}

std::string TranslationText(const ImportedBible& bible, AddedTranslation& added) {
  std::string text;
  for (const ImportedBook& book : bible.books) {
    ++added.books;
    for (const auto& [chapter, verses] : book.chapters) {
      ++added.chapters;
      text += std::string(book.book->group) + "\t" + std::string(book.book->indexName) + "\t" +
              std::to_string(chapter) + "\t";
      for (std::size_t i = 0; i < verses.size(); ++i) {
        if (i > 0) text += kVerseSeparator;
        text += std::to_string(verses[i].number) + " " + verses[i].text;
        ++added.verses;
      }
      text += kLineEnd;
    }
  }
  return text;
}

}  // namespace

std::vector<std::string> MergeBibleIndex(const std::vector<std::string>& index, const ImportedBible& bible) {
  std::vector<std::string> merged = index;
  for (const ImportedBook& book : bible.books) {
    if (book.chapters.empty()) continue;
    const int first = book.chapters.begin()->first;
    const int last = book.chapters.rbegin()->first;
    auto same = std::find_if(merged.begin(), merged.end(),
                             [&](const std::string& line) { return IndexLineBook(line) == book.book; });
    if (same != merged.end()) {
      const BibleIndexLine old = ParseBibleIndexLine(*same);
      if (first < old.firstChapter || last > old.lastChapter) {
        *same = IndexLine(*book.book, std::min(first, old.firstChapter), std::max(last, old.lastChapter));
      }
      continue;
    }
    const auto later = std::find_if(merged.begin(), merged.end(), [&](const std::string& line) {
      const BibleBook* other = IndexLineBook(line);
      return other && other->rank > book.book->rank;
    });
    merged.insert(later, IndexLine(*book.book, first, last));
  }
  return merged;
}

AddedTranslation AddTranslation(const fs::path& programFolder, const ImportedBible& bible, std::string_view name) {
  AddedTranslation added;
  added.name = name.empty() ? bible.name : std::string(name);
  if (!bible.ok()) {
    added.error = bible.error;
    return added;
  }
  if (added.name.empty()) {
    added.error = "the translation has no name of its own; give one";
    return added;
  }
  if (added.name.find_first_of("\t\r\n") != std::string::npos) {
    added.error = "a translation name cannot hold a TAB or a line break";
    return added;
  }
  const fs::path folder = BibleFolder(programFolder);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    added.error = "cannot create " + folder.string() + ": " + error.message();
    return added;
  }
  // Two imports at once (two tools, or the program and a tool) must not both append to the list they
  // read before the other wrote it.
  auto lock = DataFolderLock::Acquire(folder, LockHolderKind::kTool, std::chrono::seconds(30));
  if (auto* refusal = std::get_if<LockRefusal>(&lock)) {
    added.error = refusal->message;
    return added;
  }
  const fs::path listFile = TranslationListFile(programFolder);
  const std::optional<std::string> listContent = ReadWholeFile(listFile);
  if (!listContent && PathIsTaken(listFile)) {
    added.error = listFile.string() + " cannot be read";
    return added;
  }
  const std::vector<TranslationEntry> list = ReadTranslationList(programFolder);
  if (FindTranslation(list, added.name)) {
    added.error = "a translation named \"" + Cp1252ToUtf8(added.name) + "\" is already there";
    return added;
  }
  const fs::path indexFile = BibleIndexFile(programFolder);
  const std::optional<std::string> indexContent = ReadWholeFile(indexFile);
  if (!indexContent && PathIsTaken(indexFile)) {
    added.error = indexFile.string() + " cannot be read";
    return added;
  }
  added.fileName = FileNameFor(folder, added.name, list);
  const std::string text = TranslationText(bible, added);
  if (WriteResult written = WriteFileAtomically(folder / added.fileName, text); !written) {
    added.error = written.error;
    return added;
  }
  const std::vector<std::string> index =
      MergeBibleIndex(indexContent ? SplitLines(*indexContent) : std::vector<std::string>{}, bible);
  if (WriteResult written = WriteFileAtomically(indexFile, JoinLinesCrLf(index)); !written) {
    added.error = written.error;
    fs::remove(folder / added.fileName, error);  // unlisted and unindexed: of no use to anyone
    return added;
  }
  std::string newList = listContent.value_or(std::string());
  if (!newList.empty() && newList.back() != '\n' && newList.back() != '\r') newList += kLineEnd;
  newList += added.fileName + "\t" + added.name + std::string(kLineEnd);
  if (WriteResult written = WriteFileAtomically(listFile, newList); !written) added.error = written.error;
  return added;
}

}  // namespace psalmora
