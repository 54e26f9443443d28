// Bible references as people type them ("Joh 3,16-18", "1. Kor 13", "Ps 23,1-4", "John 3:16") and their
// tidy form for the passage header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bible/bible_books.h"

namespace psalmora {

// A stretch of verses. Verse 0 at the start means from the chapter's first verse, at the end up to the
// chapter's last one: {3, 0, 3, 0} is chapter 3, {3, 16, 4, 2} runs from 3,16 to 4,2.
struct VerseSpan {
  int firstChapter = 0;
  int firstVerse = 0;
  int lastChapter = 0;
  int lastVerse = 0;
  bool operator==(const VerseSpan&) const = default;
};

enum class ReferenceError { kNone, kEmpty, kUnknownBook, kNoChapter, kBadVerses };

struct BibleReference {
  const BibleBook* book = nullptr;
  std::vector<VerseSpan> spans;  // in the order written
  ReferenceError error = ReferenceError::kNone;

  bool ok() const { return error == ReferenceError::kNone; }
};

// An English sentence for an error, for the command line ("unknown book").
std::string_view ReferenceErrorText(ReferenceError error);

// Reads a reference in Windows-1252 bytes. After the chapter, "," or ":" introduces the verses; verses
// are listed with "." (after ",") or "," (after ":"), or ";" either way; "-" gives a range, which may
// run into a later chapter ("3,16-4,2"); "f" adds the next verse and "ff" the rest of the chapter; ";"
// may start another chapter ("Joh 3,16; 5,24"). Without verses, "Ps 23-24" is two whole chapters, but
// a book of a single chapter is cited by verse: "Jud 3" is Judas 1,3.
BibleReference ParseBibleReference(std::string_view text);

// The German form of a parsed reference for the header: "Johannes 3,16-18", "1. Korinther 13",
// "Psalmen 23,1.4". Windows-1252.
std::string FormatBibleReference(const BibleReference& reference);

}  // namespace psalmora
