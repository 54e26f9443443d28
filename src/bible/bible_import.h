// What every Bible importer produces, and adding it to the program folder as one more translation:
// its text file, its books merged into "bibel/index.dat" and its line appended to
// "bibel/uebersetzungen.dat". The files of other translations are never touched.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bible/bible_books.h"

namespace psalmora {

// Chapter and verse numbers above this are not taken in.
inline constexpr int kLargestBibleNumber = 999;

// One verse: its number and its text (Windows-1252, one line, no "|").
struct ImportedVerse {
  int number = 0;
  std::string text;
};

struct ImportedBook {
  const BibleBook* book = nullptr;
  std::map<int, std::vector<ImportedVerse>> chapters;  // chapter number -> verses in order
};

struct ImportedBible {
  std::string name;                       // the translation's own name (Windows-1252), may be empty
  std::vector<ImportedBook> books;        // in table order once Finish() has run
  std::vector<std::string> skippedBooks;  // names of books the table does not know (UTF-8 as read)
  std::string error;                      // empty when the source could be read

  bool ok() const { return error.empty(); }
  // Appends a verse of book; empty verses and numbers below 1 or above kLargestBibleNumber are left out.
  void AddVerse(const BibleBook& book, int chapter, int verse, std::string text);
  // Books in table order; an error when not a single verse was found.
  void Finish();
  int VerseCount() const;
};

// Reported while an importer or the adding works: done out of total steps.
using ImportProgress = std::function<void(int done, int total)>;

// A verse text from UTF-8 source text: whitespace runs become one blank, the ends are trimmed, "|"
// (the verse separator of the files) becomes the broken bar, and the result is Windows-1252.
std::string VerseTextFromUtf8(std::string_view utf8);

struct AddedTranslation {
  std::string fileName;  // inside "bibel/"
  std::string name;      // as shown in the chooser
  int books = 0, chapters = 0, verses = 0;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// Adds bible under name (or, when name is empty, its own name). Fails without writing anything when
// the name is empty or already taken, or holds a TAB or a line break. The text file is written first and
// the translation list last, each atomically, so a crash leaves at most an unlisted file.
AddedTranslation AddTranslation(const std::filesystem::path& programFolder, const ImportedBible& bible,
                                std::string_view name);

// The lines of "bibel/index.dat" with the books of bible merged in: a book that is there keeps its line
// (its range widened when bible has more chapters); a new book goes before the first line of a later
// book of the table, else to the end. Lines the table does not know stay where they are.
std::vector<std::string> MergeBibleIndex(const std::vector<std::string>& index, const ImportedBible& bible);

}  // namespace psalmora
