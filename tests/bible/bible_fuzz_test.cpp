// Seeded mutation runs: the reference reader and the XML importers take mangled input without crashing,
// and whatever they accept can be used.
#include <gtest/gtest.h>

#include <random>

#include "bible/bible_files.h"
#include "bible/bible_reference.h"
#include "bible/bible_xml_import.h"

namespace psalmora {
namespace {

std::string Mutate(std::string text, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 6);
  for (int edit = 0; edit < edits; ++edit) {
    const std::size_t at = text.empty() ? 0 : random() % (text.size() + 1);
    switch (random() % 5) {
      case 0:  // a random byte in
        text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), static_cast<char>(random() % 256));
        break;
      case 1:  // a byte out
        if (at < text.size()) text.erase(at, 1);
        break;
      case 2:  // a byte changed
        if (at < text.size()) text[at] = static_cast<char>(random() % 256);
        break;
      case 3:  // cut off
        text.resize(at);
        break;
      default:  // a piece repeated
        if (at < text.size()) text.insert(at, text.substr(at, 1 + random() % 40));
        break;
    }
  }
  return text;
}

TEST(BibleFuzz, ReferencesNeverCrash) {
  const std::vector<std::string> seeds = {"Joh 3,16-18",  "1. Kor 13",     "Ps 23,1-4",      "John 3:16,18",
                                          "Joh 3,16-4,2", "R\xF6m 8,28ff", "Joh 3,16; 5,24", "Ps 23-24"};
  const std::vector<std::string> text = {"NT\tJohannes\t3\t16 a|17 b|18 c", "NT\tJohannes\t4\t1 d|2 e",
                                         "AT\tPsalmen\t23\t1 f|2 g|3 h|4 i|5 j|6 k"};
  std::mt19937 random(20261207);
  for (int round = 0; round < 5000; ++round) {
    const std::string typed = Mutate(seeds[random() % seeds.size()], random);
    const BibleReference reference = ParseBibleReference(typed);
    EXPECT_EQ(reference.ok(), !reference.spans.empty()) << typed;
    if (!reference.ok()) continue;
    for (const VerseSpan& span : reference.spans) {
      EXPECT_GE(span.firstChapter, 1) << typed;
      EXPECT_LE(span.firstChapter, span.lastChapter) << typed;
    }
    const Passage passage = ExtractPassage(text, reference);
    EXPECT_FALSE(passage.header.empty()) << typed;
    // The tidy form reads back as the same passage.
    const BibleReference again = ParseBibleReference(FormatBibleReference(reference));
    EXPECT_EQ(again.spans, reference.spans) << typed << " -> " << FormatBibleReference(reference);
  }
}

TEST(BibleFuzz, MangledIndexAndTextLinesNeverCrash) {
  const std::vector<std::string> seeds = {"NT Johannes 1-21", "AT Psalmen 1-150", "NT\tJohannes\t3\t16 a|17 b|18 c",
                                          "NT\tJohannes\t4\t1 d|2 e"};
  const BibleReference reference = ParseBibleReference("Joh 3,16-4,2");
  std::mt19937 random(1207);
  for (int round = 0; round < 3000; ++round) {
    const std::string line = Mutate(seeds[random() % seeds.size()], random);
    const BibleIndexLine parsed = ParseBibleIndexLine(line);
    EXPECT_EQ(parsed.group.find(' '), std::string::npos) << line;
    const Passage passage = ExtractPassage({line, Mutate(seeds[2], random)}, reference);
    if (passage.error == PassageError::kNone) {
      EXPECT_FALSE(passage.text.empty()) << line;
    }
  }
}

TEST(BibleFuzz, XmlImportsNeverCrash) {
  const std::vector<std::string> seeds = {
      R"(<?xml version="1.0"?><XMLBIBLE biblename="Z"><BIBLEBOOK bnumber="43"><CHAPTER cnumber="3">)"
      R"(<VERS vnumber="16">Denn <gr str="1">also</gr><NOTE>n</NOTE></VERS><VERS vnumber="17">b<BR/>c</VERS>)"
      R"(</CHAPTER></BIBLEBOOK></XMLBIBLE>)",
      R"(<osis><osisText osisIDWork="W"><header><work><title>T</title></work></header><div type="book" osisID="John">)"
      R"(<verse osisID="John.3.16">a<note>n</note> b</verse><verse sID="John.3.17" osisID="John.3.17"/>c)"
      R"(<verse eID="John.3.17"/></div></osisText></osis>)",
  };
  std::mt19937 random(7122026);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string xml = Mutate(seeds[random() % seeds.size()], random);
    const ImportedBible bible = ReadBibleXmlText(xml);
    if (!bible.ok()) {
      EXPECT_FALSE(bible.error.empty());
      continue;
    }
    ++accepted;
    EXPECT_GT(bible.VerseCount(), 0);
    for (const ImportedBook& book : bible.books) {
      for (const auto& [chapter, verses] : book.chapters) {
        EXPECT_GE(chapter, 1);
        for (const ImportedVerse& verse : verses) {
          EXPECT_EQ(verse.text.find_first_of("|\t\r\n"), std::string::npos);
        }
      }
    }
  }
  EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace psalmora
