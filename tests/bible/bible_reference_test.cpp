// References as people type them: which book, which verses, and the tidy header form.
#include "bible/bible_reference.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

struct ReferenceCase {
  const char* typed;
  const char* osisId;
  std::vector<VerseSpan> spans;
  const char* header;  // Windows-1252
};

TEST(BibleReference, ReadsTheUsualSpellings) {
  const ReferenceCase cases[] = {
      {"Joh 3,16-18", "John", {{3, 16, 3, 18}}, "Johannes 3,16-18"},
      {"John 3:16", "John", {{3, 16, 3, 16}}, "Johannes 3,16"},
      {"1. Kor 13", "1Cor", {{13, 0, 13, 0}}, "1. Korinther 13"},
      {"1Kor 13,4-7", "1Cor", {{13, 4, 13, 7}}, "1. Korinther 13,4-7"},
      {"1 Corinthians 13:4-7", "1Cor", {{13, 4, 13, 7}}, "1. Korinther 13,4-7"},
      {"Ps 23,1-4", "Ps", {{23, 1, 23, 4}}, "Psalmen 23,1-4"},
      {"  psalm23  ", "Ps", {{23, 0, 23, 0}}, "Psalmen 23"},
      {"Ps 23-24", "Ps", {{23, 0, 24, 0}}, "Psalmen 23-24"},
      {"Joh 3,16.18", "John", {{3, 16, 3, 16}, {3, 18, 3, 18}}, "Johannes 3,16.18"},
      {"John 3:16,18", "John", {{3, 16, 3, 16}, {3, 18, 3, 18}}, "Johannes 3,16.18"},
      {"Joh 3,16-4,2", "John", {{3, 16, 4, 2}}, "Johannes 3,16-4,2"},
      {"Joh 3,16; 5,24", "John", {{3, 16, 3, 16}, {5, 24, 5, 24}}, "Johannes 3,16; 5,24"},
      {"Rom 8,28f", "Rom", {{8, 28, 8, 29}}, "R\xF6mer 8,28-29"},
      {"R\xF6m 8,28ff", "Rom", {{8, 28, 8, 0}}, "R\xF6mer 8,28ff"},
      {"Offenb 21,4a", "Rev", {{21, 4, 21, 4}}, "Offenbarung 21,4"},
      {"Mt 5, 3 - 10", "Matt", {{5, 3, 5, 10}}, "Matth\xE4us 5,3-10"},
      {"Sir 1", "Sir", {{1, 0, 1, 0}}, "Jesus Sirach 1"},
      {"1.Mose 1,1", "Gen", {{1, 1, 1, 1}}, "1. Mose 1,1"},
      {"Gen 1:1", "Gen", {{1, 1, 1, 1}}, "1. Mose 1,1"},
      {"Jud 3", "Jude", {{1, 3, 1, 3}}, "Judas 1,3"},
      {"Phlm 4-6", "Phlm", {{1, 4, 1, 6}}, "Philemon 1,4-6"},
      {"Jud 1", "Jude", {{1, 0, 1, 0}}, "Judas 1"},
      {"3 Joh 1,4", "3John", {{1, 4, 1, 4}}, "3. Johannes 1,4"},
  };
  for (const ReferenceCase& c : cases) {
    const BibleReference reference = ParseBibleReference(c.typed);
    ASSERT_TRUE(reference.ok()) << c.typed << ": " << ReferenceErrorText(reference.error);
    EXPECT_EQ(reference.book->osisId, c.osisId) << c.typed;
    EXPECT_EQ(reference.spans, c.spans) << c.typed;
    EXPECT_EQ(FormatBibleReference(reference), c.header) << c.typed;
  }
}

TEST(BibleReference, SaysWhatIsWrong) {
  const struct {
    const char* typed;
    ReferenceError error;
  } cases[] = {
      {"", ReferenceError::kEmpty},
      {"   ", ReferenceError::kEmpty},
      {"Xyz 3,16", ReferenceError::kUnknownBook},
      {"Jo 3,16", ReferenceError::kUnknownBook},  // Josua, Joel, Jona, Johannes ...
      {"3,16", ReferenceError::kUnknownBook},
      {"Joh", ReferenceError::kNoChapter},
      {"Joh 0", ReferenceError::kNoChapter},
      {"Joh 3,", ReferenceError::kBadVerses},
      {"Joh 3,18-16", ReferenceError::kBadVerses},
      {"Joh 4,1-3,2", ReferenceError::kBadVerses},
      {"Ps 24-23", ReferenceError::kBadVerses},
      {"Joh 3,16 und so", ReferenceError::kBadVerses},
      {"Joh 99999", ReferenceError::kNoChapter},
  };
  for (const auto& c : cases) {
    const BibleReference reference = ParseBibleReference(c.typed);
    EXPECT_EQ(reference.error, c.error) << c.typed;
    EXPECT_TRUE(reference.spans.empty()) << c.typed;
  }
}

TEST(BibleBooks, EveryBookIsFoundByItsOwnNames) {
  for (const BibleBook& book : BibleBooks()) {
    for (std::string_view name : {book.german, book.english, book.indexName, book.osisId}) {
      const BibleBook* found = FindBibleBook(name);
      ASSERT_NE(found, nullptr) << name;
      EXPECT_EQ(found->osisId, book.osisId) << name;
    }
  }
  std::size_t canonical = 0;
  for (const BibleBook& book : BibleBooks()) canonical += book.group != "Apokryphen";
  EXPECT_EQ(canonical, 66u);
}

}  // namespace
}  // namespace psalmora
