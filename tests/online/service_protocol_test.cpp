#include "online/service_protocol.h"

#include <gtest/gtest.h>

#include "online/song_sync.h"

namespace psalmora {
namespace {

TEST(RepairUtf8UmlautsTest, ReplacesTheUmlautPairsAndKeepsEveryOtherByte) {
  const struct {
    std::string_view in, out;
  } cases[] = {
      {"\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", "\xC4\xD6\xDC\xE4\xF6\xFC\xDF"},
      {"Gr\xC3\xBC\xC3\x9F Gott", "Gr\xFC\xDF Gott"},
      {"\xC3\xA9", "\xC3\xA9"},      // é is not in the list
      {"\xC3", "\xC3"},              // a cut pair stays
      {"\xC3\xC3\xBC", "\xC3\xFC"},  // the first C3 has no partner
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RepairUtf8Umlauts(c.in), c.out);
}

TEST(ReplyToCp1252Test, ConvertsValidUtf8AndKeepsOtherBytes) {
  EXPECT_EQ(ReplyToCp1252("Gr\xC3\xBC\xC3\x9F \xC3\xA9 \xE2\x82\xAC \xC5\x82"), "Gr\xFC\xDF \xE9 \x80 &#322;");
  EXPECT_EQ(ReplyToCp1252("Gr\xFC\xDF"), "Gr\xFC\xDF");  // already Windows-1252
}

TEST(ParseCompareReplyTest, SplitsTheFourSections) {
  const CompareReply reply =
      ParseCompareReply("a|b|[zeile]e1[spalte]T1[zeile2]e2[spalte]T2[zeile]c,d,[zeile]e3[spalte]T3");
  EXPECT_EQ(reply.deletedGlobalIds, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(reply.newEntries, (std::vector<std::string>{"e1[spalte]T1", "e2[spalte]T2"}));
  EXPECT_EQ(reply.requestedGlobalIds, (std::vector<std::string>{"c", "d"}));
  EXPECT_EQ(reply.changedEntries, (std::vector<std::string>{"e3[spalte]T3"}));
  for (const std::string_view garbage : {"", "ok", "error|Unbekannter Benutzer", "[zeile][zeile]", "\xFF\x00"}) {
    const CompareReply nothing = ParseCompareReply(garbage);
    EXPECT_TRUE(nothing.deletedGlobalIds.empty() && nothing.newEntries.empty() && nothing.requestedGlobalIds.empty() &&
                nothing.changedEntries.empty())
        << garbage;
  }
}

TEST(ParseSongEntryTest, AlwaysHasSeventeenFieldsAndKnowsWhenAllCame) {
  EXPECT_EQ(ParseSongEntry("g[spalte]Titel").fields.size(), 17u);
  EXPECT_EQ(ParseSongEntry("g[spalte]Titel").Field(2), "Titel");
  EXPECT_FALSE(ParseSongEntry("g[spalte]Titel").complete);
  std::string full = "g";
  for (int field = 2; field <= 17; ++field) full += "[spalte]" + std::to_string(field);
  EXPECT_TRUE(ParseSongEntry(full).complete);
  EXPECT_EQ(ParseSongEntry(full).Field(17), "17");
  EXPECT_EQ(ParseSongEntry(std::string(30, 'x') + std::string(20 * 8, '[')).fields.size(), 17u);
}

TEST(ServiceTimesTest, CreationNumberIsTheStampInUtcSeconds) {
  EXPECT_EQ(CreationNumber("01.01.1970-00:00"), "0");
  EXPECT_EQ(CreationNumber("05.03.2018-14:07"), "1520258820");
  EXPECT_EQ(CreationNumber("kaputt"), "0");
  EXPECT_EQ(CreationNumber("32.13.2018-25:61"), "0");
}

TEST(LyricsTest, LinesAreJoinedByBackslashNAndComeBackWithCr) {
  EXPECT_EQ(LyricsValue("Zeile 1\rZeile 2\r\rEnde\r\n"), "Zeile 1\\nZeile 2\\n\\nEnde");
  EXPECT_EQ(LyricsToSongText("Zeile 1\\nZeile 2\\n\\nEnde"), "Zeile 1\rZeile 2\r\rEnde");
}

TEST(SelectionSongsTest, LocalIdsBecomeGlobalIdsAndBack) {
  const GlobalIdMap global{{"12", "ga"}, {"3", "gc"}};
  // The last id keeps its last digit; songs without a global id are left out.
  EXPECT_EQ(SelectionSongsForService("|12|15|3", global), "ga|gc");
  EXPECT_EQ(SelectionSongsForService("7|12", global), "ga");
  EXPECT_EQ(SelectionSongsForService("", global), "");
  const std::unordered_map<std::string, std::string> local{{"ga", "12"}, {"gc", "3"}};
  EXPECT_EQ(SelectionSongsFromService("ga|gx|gc", local), "|12|3");
  EXPECT_EQ(SelectionSongsFromService("", local), "");
}

TEST(ServiceUrlTest, AddsThePathOnce) {
  EXPECT_EQ(ServiceUrl("http://localhost:8750"), "http://localhost:8750/app/app-aktion.php?");
  EXPECT_EQ(ServiceUrl("http://localhost:8750/"), "http://localhost:8750/app/app-aktion.php?");
}

TEST(WithFieldTest, KeepsTheRecordsForm) {
  EXPECT_EQ(WithField("a\tb\t", 2, "x"), "a\tx\t");
  EXPECT_EQ(WithField("a\tb", 4, "x"), "a\tb\t\tx");
  EXPECT_EQ(WithField("a\t", 3, "x"), "a\t\tx\t");
}

}  // namespace
}  // namespace psalmora
