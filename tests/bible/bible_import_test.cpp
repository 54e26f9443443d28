// Zefania and OSIS files written here, read in, added as translations; the three files they leave and the
// passages taken from them.
#include "bible/bible_import.h"

#include <gtest/gtest.h>

#include "bible/bible_files.h"
#include "bible/bible_xml_import.h"
#include "core/text_lines.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

const char* const kZefania = R"(<?xml version="1.0" encoding="utf-8"?>
<XMLBIBLE biblename="Testbibel">
  <INFORMATION><title>Anderer Titel</title></INFORMATION>
  <BIBLEBOOK bnumber="43" bname="Johannes">
    <CHAPTER cnumber="3">
      <CAPTION>Jesus und Nikodemus</CAPTION>
      <VERS vnumber="16">Denn also hat Gott <gr str="2889">die Welt</gr> geliebt,<NOTE>Fußnote</NOTE> dass er</VERS>
      <VERS vnumber="17">Denn Gott | sandte</VERS>
      <VERS vnumber="18">Wer an ihn
         glaubt</VERS>
    </CHAPTER>
  </BIBLEBOOK>
  <BIBLEBOOK bnumber="1" bname="Genesis"><CHAPTER cnumber="1"><VERS vnumber="1">Im Anfang</VERS></CHAPTER></BIBLEBOOK>
  <BIBLEBOOK bnumber="70" bname="Sirach"><CHAPTER cnumber="1"><VERS vnumber="1">Alle Weisheit</VERS></CHAPTER></BIBLEBOOK>
  <BIBLEBOOK bnumber="2"><CHAPTER cnumber="2147483647"><VERS vnumber="1">kaputt</VERS></CHAPTER></BIBLEBOOK>
  <BIBLEBOOK bnumber="3"><CHAPTER cnumber="1"><VERS vnumber="100000">kaputt</VERS></CHAPTER></BIBLEBOOK>
  <BIBLEBOOK bnumber="99" bname="Unbekannt"><CHAPTER cnumber="1"><VERS vnumber="1">x</VERS></CHAPTER></BIBLEBOOK>
</XMLBIBLE>)";

// Container verses in one book, milestone verses (sID/eID) in the other; notes and headings are left out.
const char* const kOsis = R"(<?xml version="1.0" encoding="UTF-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace">
 <osisText osisIDWork="WEB" osisRefWork="Bible">
  <header><work osisWork="WEB"><title>World English Bible</title></work></header>
  <div type="book" osisID="Ps"><chapter osisID="Ps.23">
   <title type="psalm">A Psalm by David.</title>
   <verse osisID="Ps.23.1"><w lemma="x">Yahweh</w> <w>is</w> my shepherd;<note>a note</note> I shall lack nothing.</verse>
   <verse osisID="Ps.23.2">He makes me lie down</verse>
  </chapter></div>
  <div type="book" osisID="John"><chapter sID="John.3"/>
   <verse sID="John.3.16" osisID="John.3.16"/>For God so loved the world,<verse eID="John.3.16"/>
   <verse sID="John.3.17" osisID="John.3.17"/>For God didn't send his Son<verse eID="John.3.17"/>
  <chapter eID="John.3"/></div>
  <div type="book" osisID="XYZ"><verse osisID="XYZ.1.1">?</verse></div>
 </osisText>
</osis>)";

TEST(BibleXmlImport, ReadsZefaniaVersesWithoutNotesInBookOrder) {
  const ImportedBible bible = ReadBibleXmlText(kZefania);
  ASSERT_TRUE(bible.ok()) << bible.error;
  EXPECT_EQ(bible.name, "Testbibel");
  ASSERT_EQ(bible.books.size(), 3u);
  EXPECT_EQ(bible.books[0].book->osisId, "Gen");
  EXPECT_EQ(bible.books[1].book->osisId, "Sir");
  EXPECT_EQ(bible.books[2].book->osisId, "John");
  const std::vector<ImportedVerse>& john3 = bible.books[2].chapters.at(3);
  ASSERT_EQ(john3.size(), 3u);
  EXPECT_EQ(john3[0].text, "Denn also hat Gott die Welt geliebt, dass er");
  EXPECT_EQ(john3[1].text, "Denn Gott \xA6 sandte");
  EXPECT_EQ(john3[2].text, "Wer an ihn glaubt");
  EXPECT_EQ(bible.skippedBooks, std::vector<std::string>{"Unbekannt"});
}

TEST(BibleXmlImport, ReadsOsisContainerAndMilestoneVerses) {
  const ImportedBible bible = ReadBibleXmlText(kOsis);
  ASSERT_TRUE(bible.ok()) << bible.error;
  EXPECT_EQ(bible.name, "World English Bible");
  ASSERT_EQ(bible.books.size(), 2u);
  const std::vector<ImportedVerse>& ps23 = bible.books[0].chapters.at(23);
  ASSERT_EQ(ps23.size(), 2u);
  EXPECT_EQ(ps23[0].number, 1);
  EXPECT_EQ(ps23[0].text, "Yahweh is my shepherd; I shall lack nothing.");
  const std::vector<ImportedVerse>& john3 = bible.books[1].chapters.at(3);
  ASSERT_EQ(john3.size(), 2u);
  EXPECT_EQ(john3[0].text, "For God so loved the world,");
  EXPECT_EQ(john3[1].number, 17);
  EXPECT_EQ(bible.skippedBooks, std::vector<std::string>{"XYZ"});
}

TEST(BibleXmlImport, BadInputGivesAClearErrorAndWritesNothing) {
  const struct {
    const char* xml;
    const char* errorStart;
  } cases[] = {
      {"<XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER", "not well-formed XML"},
      {"", "not well-formed XML"},
      {"<html><body/></html>", "neither Zefania XML"},
      {"<XMLBIBLE biblename=\"leer\"></XMLBIBLE>", "no verses found"},
      {"<osis><header/></osis>", "the OSIS file has no osisText"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const ImportedBible bible = ReadBibleXmlText(c.xml);
    EXPECT_TRUE(bible.error.starts_with(c.errorStart)) << c.xml << " -> " << bible.error;
    EXPECT_FALSE(AddTranslation(dir.path(), bible, "Name").ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "bibel")) << c.xml;
  }
  TempDir dir;
  EXPECT_NE(ReadBibleXml(dir / "fehlt.xml").error.find("cannot be read"), std::string::npos);
}

TEST(BibleImport, WritesTheThreeFilesAndLeavesOtherTranslationsAlone) {
  TempDir dir;
  const std::string ownIndexLine = "Eigene Lieder 1-3";
  WriteFileBytes(dir / "bibel" / "index.dat", "NT Johannes 1-21\r\n" + ownIndexLine + "\r\n");
  WriteFileBytes(dir / "bibel" / "alt.dat", "NT\tJohannes\t3\t16 alt\r\n");
  WriteFileBytes(dir / "bibel" / "uebersetzungen.dat", "alt.dat\tAlte\r\n");

  const AddedTranslation added = AddTranslation(dir.path(), ReadBibleXmlText(kZefania), "");
  ASSERT_TRUE(added.ok()) << added.error;
  EXPECT_EQ(added.fileName, "testbibel.dat");
  EXPECT_EQ(added.books, 3);
  EXPECT_EQ(added.verses, 5);
  EXPECT_EQ(ReadFileBytes(dir / "bibel" / "uebersetzungen.dat"), "alt.dat\tAlte\r\ntestbibel.dat\tTestbibel\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "bibel" / "alt.dat"), "NT\tJohannes\t3\t16 alt\r\n");
  // New books go before the first later book of the table; the user's own line stays where it was.
  EXPECT_EQ(ReadFileBytes(dir / "bibel" / "index.dat"),
            "AT 1.Mose 1-1\r\nApokryphen Sirach 1-1\r\nNT Johannes 1-21\r\n" + ownIndexLine + "\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "bibel" / "testbibel.dat"),
            "AT\t1.Mose\t1\t1 Im Anfang\r\n"
            "Apokryphen\tSirach\t1\t1 Alle Weisheit\r\n"
            "NT\tJohannes\t3\t16 Denn also hat Gott die Welt geliebt, dass er|17 Denn Gott \xA6 sandte|18 Wer an ihn "
            "glaubt\r\n");

  // The same name again is refused and changes nothing; another name gets its own file.
  const std::string listBefore = ReadFileBytes(dir / "bibel" / "uebersetzungen.dat");
  EXPECT_FALSE(AddTranslation(dir.path(), ReadBibleXmlText(kZefania), "Testbibel").ok());
  EXPECT_FALSE(AddTranslation(dir.path(), ReadBibleXmlText(kZefania), "Tab\tName").ok());
  EXPECT_EQ(ReadFileBytes(dir / "bibel" / "uebersetzungen.dat"), listBefore);
  const AddedTranslation second = AddTranslation(dir.path(), ReadBibleXmlText(kZefania), "Testbibel!");
  ASSERT_TRUE(second.ok()) << second.error;
  EXPECT_EQ(second.fileName, "testbibel-2.dat");
}

TEST(BibleFiles, PassagesComeFromTheLoadedText) {
  TempDir dir;
  ASSERT_TRUE(AddTranslation(dir.path(), ReadBibleXmlText(kZefania), "T").ok());
  const auto text = ReadTranslationText(dir.path(), {"t.dat", "T"});
  ASSERT_TRUE(text);
  const struct {
    const char* reference;
    PassageError error;
    const char* verses;
  } cases[] = {
      {"Joh 3,16-17", PassageError::kNone, "16 Denn also hat Gott die Welt geliebt, dass er\n17 Denn Gott \xA6 sandte"},
      {"John 3:18", PassageError::kNone, "18 Wer an ihn glaubt"},
      {"Joh 3,17ff", PassageError::kNone, "17 Denn Gott \xA6 sandte\n18 Wer an ihn glaubt"},
      {"Gen 1", PassageError::kNone, "1 Im Anfang"},
      {"Gen 1,1-2,3", PassageError::kChapterMissing, ""},
      {"Joh 4", PassageError::kChapterMissing, ""},
      {"Joh 3,40", PassageError::kVersesMissing, ""},
      {"Offb 1", PassageError::kBookMissing, ""},
  };
  for (const auto& c : cases) {
    const Passage passage = ExtractPassage(*text, ParseBibleReference(c.reference));
    EXPECT_EQ(passage.error, c.error) << c.reference;
    EXPECT_EQ(passage.text, c.verses) << c.reference;
  }
  EXPECT_EQ(ExtractPassage(*text, ParseBibleReference("Joh 3,16")).header, "Johannes 3,16");
  // The chapter list shows the whole chapter one verse per line; the last of two lines wins.
  EXPECT_EQ(FindChapter({"NT\tJohannes\t3\ta|b", "NT\tJohannes\t3\tc|d"}, "NT", "Johannes", "3"), "c|d");
  EXPECT_EQ(ChapterTextForDisplay("1 a|2 b"), "1 a\n2 b");
  EXPECT_FALSE(FindChapter(*text, "NT", "Johannes", "4"));
}

}  // namespace
}  // namespace psalmora
