// The song-management protocol end to end through the request handler on a temporary SQLite file.
#include "server/service_actions.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "service_test_support.h"

namespace psalmora::server {
namespace {

using ServiceActionsTest = ServiceFixture;

TEST_F(ServiceActionsTest, LoginAnswersTheUserIdOnlyForTheRightPassword) {
  const std::string user = AddAccount("Anna@Example.org", "Pass wort&1");
  EXPECT_TRUE(std::regex_match(user, std::regex("[0-9a-f]{32}"))) << user;
  const std::string failed = "error|Anmeldung fehlgeschlagen: E-Mail-Adresse oder Passwort falsch";
  const struct {
    std::string query;
    std::string reply;
  } cases[] = {
      {"email=anna%40example.org&password=Pass%20wort%261&aktion=login", user + "[spalte]anna@example.org"},
      {"email=%20ANNA%40Example.org&password=Pass%20wort%261&aktion=login", user + "[spalte]anna@example.org"},
      {"email=anna%40example.org&password=Pass%20wort&aktion=login", failed},
      {"email=bert%40example.org&password=Pass%20wort%261&aktion=login", failed},
      {"email=&password=&aktion=login", failed},
      {"aktion=login", failed},
  };
  for (const auto& test : cases) EXPECT_EQ(Call(test.query), test.reply) << test.query;
}

TEST_F(ServiceActionsTest, AnswersFixedRepliesAndRefusesUnknownUsersAndBadQueries) {
  const std::string user = AddAccount("anna@example.org");
  const struct {
    std::string query;
    std::string reply;
  } cases[] = {
      {"aktion=ping", "ok|psalmora-server"},
      {"aktion=getids43", ""},
      {"aktion=neuersong&titel=x", "error|Unbekannter Benutzer"},
      {"userid=0123456789abcdef0123456789abcdef&aktion=neuersong&titel=x", "error|Unbekannter Benutzer"},
      {"aktion=abgleich&songstring=&userid=&part=fertig", "error|Unbekannter Benutzer"},
      {"aktion=deletesongs&songstring=x&userid=" + user + "x", "error|Unbekannter Benutzer"},
      {"aktion=fliegen&userid=" + user, "error|Unbekannte Aktion"},
      {"", "error|Unbekannte Aktion"},
      {"aktion=abgleich&songstring=&userid=" + user + "&part=halb", "error|Unbekannter Teil des Abgleichs"},
      {"aktion=changesong&userid=" + user + "&global_id=a-b&titel=x", "error|Ungültige globale ID"},
      {"aktion=changesong&userid=" + user + "&titel=x", "error|Ungültige globale ID"},
      {"aktion=login&email=%E", "error|Ungültige Anfrage: fehlerhafte Kodierung"},
      {std::string(ServiceActions::kMaxQueryBytes + 1, 'a'), "error|Anfrage zu lang"},
  };
  for (const auto& test : cases) EXPECT_EQ(Call(test.query), test.reply) << test.query.substr(0, 80);
}

TEST_F(ServiceActionsTest, NewSongEntryCarriesEveryFieldInItsPlace) {
  const std::string user = AddAccount("anna@example.org");
  const std::string reply =
      Call("userid=" + user +
           "&aktion=neuersong&id=17&titel=Gro%C3%9Fer%20Gott&textumusik=T%26M&copyright=%C2%A9%201990"
           "&ccli_liednummer=123&akkordzeile=C%20G&bemerkung=it\\'s&link1=https%3A%2F%2Fyt&songtempo=90"
           "&liedtext=Zeile1%5CnZeile2&erstellt_am=05.03.2018-14%3A07&erstellt_von=" +
           user + "&geaendert_am=1520258900&tonart=G&textformatierung=fett");
  ASSERT_TRUE(std::regex_match(reply, std::regex("ok\\|[0-9a-f]{32}"))) << reply;
  const std::string globalId = reply.substr(3);
  EXPECT_EQ(Compare(user, {}),
            "[zeile]" +
                JoinFields({globalId, "Großer Gott", "T&M", "© 1990", "123", "it's", "C G", "https://yt", "", "90",
                            "Zeile1\\nZeile2", "1520258820", "", "1520258900", "", "G", "fett"}) +
                "[zeile][zeile]");
}

TEST_F(ServiceActionsTest, ValuesCannotBreakTheShapeOfAReply) {
  const std::string user = AddAccount("anna@example.org");
  const std::string globalId = NewSong(user, "a%5Bspalte%5Db%09c%5Bzeile%5D", "1");
  Call("aktion=changesong&userid=" + user + "&global_id=" + globalId + "&liedtext=x%0D%0Ay%0Az&geaendert_am=2");
  EXPECT_EQ(Compare(user, {}), "[zeile]" +
                                   JoinFields({globalId, "a(spalte]b c(zeile]", "", "", "", "", "", "", "", "",
                                               "x\\ny\\nz", "1520258820", "", "2", "", "", ""}) +
                                   "[zeile][zeile]");
}

TEST_F(ServiceActionsTest, CompareAnswersTheFourSections) {
  const std::string user = AddAccount("anna@example.org");
  const std::string serviceNewer = NewSong(user, "A", "05.03.2018-14:07");
  const std::string clientNewer = NewSong(user, "B", "05.03.2018-14:07");
  const std::string same = NewSong(user, "C", "1520258820");
  const std::string notListed = NewSong(user, "D", "1");
  const std::string deleted = NewSong(user, "E", "1");
  const std::string unreadable = NewSong(user, "F", "gestern");
  EXPECT_EQ(Call("aktion=deletesongs&songstring=" + deleted + "|nie-da|&userid=" + user), "ok");

  const std::string reply =
      Compare(user, {serviceNewer + "-05.03.2018-14:00", clientNewer + "-06.03.2018-10:00", same + "-05.03.2018-14:07",
                     deleted + "-1", unreadable + "-heute", "unbekannt-1", clientNewer + "-01.01.2000-00:00"});
  EXPECT_EQ(reply, deleted + "[zeile]" + SongEntry(notListed, "D", "1") + "[zeile]" + clientNewer + ",unbekannt" +
                       "[zeile]" + SongEntry(serviceNewer, "A", "05.03.2018-14:07") + "[zeile2]" +
                       SongEntry(unreadable, "F", "gestern"));
}

TEST_F(ServiceActionsTest, CompareCollectsItsPartsUntilTheLastAndForgetsOldParts) {
  const std::string user = AddAccount("anna@example.org");
  const std::string first = NewSong(user, "A", "100");
  const std::string second = NewSong(user, "B", "100");
  const std::string third = NewSong(user, "C", "100");

  EXPECT_EQ(Compare(user, {first + "-100"}, "teil"), "ok");
  EXPECT_EQ(Compare(user, {second + "-200"}, "teil"), "ok");
  EXPECT_EQ(Compare(user, {third + "-100"}), "[zeile][zeile]" + second + "[zeile]");
  // The last part used the kept ones up: a new compare starts empty.
  EXPECT_EQ(Compare(user, {first + "-100", second + "-100"}),
            "[zeile]" + SongEntry(third, "C", "100") + "[zeile][zeile]");

  EXPECT_EQ(Compare(user, {first + "-100", second + "-100"}, "teil"), "ok");
  now_ += ServiceActions::kKeptPartSeconds + 1;
  EXPECT_EQ(Compare(user, {third + "-100"}),
            "[zeile]" + SongEntry(first, "A", "100") + "[zeile2]" + SongEntry(second, "B", "100") + "[zeile][zeile]");
}

TEST_F(ServiceActionsTest, TwoComputersComparingAtOnceAreAnsweredForTheirOwnLists) {
  const std::string user = AddAccount("anna@example.org");
  const std::string first = NewSong(user, "A", "100");
  const std::string second = NewSong(user, "B", "100");
  const auto part = [&](const std::string& run, const std::string& item, const std::string& which) {
    return Call("aktion=abgleich&songstring=" + item + "[spalte]&userid=" + user + "&part=" + which + "&abgleichid=" + run);
  };
  // The office holds both songs, the laptop only the first; their parts interleave.
  EXPECT_EQ(part("buero", first + "-100", "teil"), "ok");
  EXPECT_EQ(part("laptop", first + "-100", "teil"), "ok");
  // Had the laptop's last part taken the office's kept part, it would not be offered B, and the office,
  // finding its part gone, would be offered A as new and make a copy of it.
  EXPECT_EQ(part("laptop", "", "fertig"), "[zeile]" + SongEntry(second, "B", "100") + "[zeile][zeile]");
  EXPECT_EQ(part("buero", second + "-100", "fertig"), "[zeile][zeile][zeile]");
  EXPECT_EQ(part("b-a-d", "", "fertig"), "error|Ungültiger Abgleich");
}

TEST_F(ServiceActionsTest, ChangeSongUpdatesCreatesAndLeavesDeletedIdsAlone) {
  const std::string user = AddAccount("anna@example.org");
  const std::string known = NewSong(user, "Alt", "100");
  const std::string gone = NewSong(user, "Weg", "100");
  Call("aktion=deletesongs&songstring=" + gone + "&userid=" + user);
  const auto change = [&](const std::string& globalId, const std::string& title) {
    return Call("aktion=changesong&userid=" + user + "&id=3&titel=" + title +
                "&geaendert_am=200&geaendert_von=" + user + "&global_id=" + globalId);
  };
  EXPECT_EQ(change(known, "Neu"), "ok");
  EXPECT_EQ(change("alt42", "Vom%20Rechner"), "ok");
  EXPECT_EQ(change(gone, "Wieder"), "ok");

  // The update keeps the creation time; a created song gets the service's time.
  EXPECT_EQ(Compare(user, {gone + "-100"}), gone + "[zeile]" + SongEntry(known, "Neu", "200") + "[zeile2]" +
                                                JoinFields({"alt42", "Vom Rechner", "", "", "", "", "", "", "", "", "",
                                                            std::to_string(now_), "", "200", "", "", ""}) +
                                                "[zeile][zeile]");
}

TEST_F(ServiceActionsTest, NoAccountReachesAnotherAccountsSongs) {
  const std::string anna = AddAccount("anna@example.org");
  const std::string bert = AddAccount("bert@example.org");
  const std::string annas = NewSong(anna, "Annas%20Lied", "100");

  EXPECT_EQ(Compare(bert, {}), "[zeile][zeile][zeile]");
  // Naming Anna's id does not show her song: for Bert the id is unknown, so he is asked for it.
  EXPECT_EQ(Compare(bert, {annas + "-1"}), "[zeile][zeile]" + annas + "[zeile]");
  EXPECT_EQ(Call("aktion=changesong&userid=" + bert + "&titel=Bert&geaendert_am=900&global_id=" + annas), "ok");
  EXPECT_EQ(Call("aktion=deletesongs&songstring=" + annas + "&userid=" + bert), "ok");
  EXPECT_EQ(Compare(bert, {annas + "-100"}, "teil"), "ok");

  EXPECT_EQ(Compare(anna, {}), "[zeile]" + SongEntry(annas, "Annas Lied", "100") + "[zeile][zeile]");
  EXPECT_EQ(Compare(bert, {annas + "-900"}), annas + "[zeile][zeile][zeile]");
}

TEST_F(ServiceActionsTest, SelectionsSynchroniseLikeSongsAndApart) {
  const std::string anna = AddAccount("anna@example.org");
  const std::string bert = AddAccount("bert@example.org");
  const std::string reply = Call("userid=" + anna +
                                 "&aktion=neueplaylist&name=Sonntag&allesongids=g1|g2&global_id=&rechte=r"
                                 "&erstellt_am=1000&erstellt_von=" +
                                 anna + "&geaendert_am=1000&geaendert_von=" + anna);
  ASSERT_TRUE(std::regex_match(reply, std::regex("ok\\|[0-9a-f]{32}"))) << reply;
  const std::string selection = reply.substr(3);
  const std::string entry = JoinFields({selection, "Sonntag", "g1|g2", "1000", anna, "1000", anna, "r"});

  const auto compare = [&](const std::string& user, const std::vector<std::string>& stamps) {
    return Compare(user, stamps, "fertig", "abgleichplaylist");
  };
  EXPECT_EQ(compare(anna, {}), "[zeile]" + entry + "[zeile][zeile]");
  EXPECT_EQ(Compare(anna, {}), "[zeile][zeile][zeile]");  // songs are apart from selections
  EXPECT_EQ(compare(bert, {}), "[zeile][zeile][zeile]");

  EXPECT_EQ(Call("aktion=changeplaylist&userid=" + anna + "&name=Ostern&allesongids=g2&global_id=" + selection +
                 "&rechte=r&erstellt_am=1000&erstellt_von=" + anna + "&geaendert_am=2000&geaendert_von=" + anna),
            "ok");
  EXPECT_EQ(compare(anna, {selection + "-1000"}),
            "[zeile][zeile][zeile]" + JoinFields({selection, "Ostern", "g2", "1000", anna, "2000", anna, "r"}));
  EXPECT_EQ(compare(anna, {selection + "-3000"}), "[zeile][zeile]" + selection + "[zeile]");

  EXPECT_EQ(Call("aktion=deleteplaylist&songstring=" + selection + "&userid=" + bert), "ok");
  EXPECT_EQ(compare(anna, {selection + "-2000"}), "[zeile][zeile][zeile]");
  EXPECT_EQ(Call("aktion=deleteplaylist&songstring=" + selection + "&userid=" + anna), "ok");
  EXPECT_EQ(compare(anna, {selection + "-2000"}), selection + "[zeile][zeile][zeile]");
}

TEST_F(ServiceActionsTest, AccountsWritingAtOnceKeepEverySongApart) {
  constexpr int kAccounts = 6;
  constexpr int kSongs = 40;
  std::vector<std::string> users;
  for (int i = 0; i < kAccounts; ++i) users.push_back(AddAccount("chor" + std::to_string(i) + "@example.org"));
  std::vector<std::thread> writers;
  for (const std::string& user : users) {
    writers.emplace_back([this, user] {
      for (int i = 0; i < kSongs; ++i) {
        const std::string reply =
            Call("userid=" + user + "&aktion=neuersong&titel=" + std::to_string(i) + "&geaendert_am=1");
        if (i % 10 == 0) Call("aktion=abgleich&songstring=x-1[spalte]&userid=" + user + "&part=teil");
        ASSERT_EQ(reply.substr(0, 3), "ok|");
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  for (const std::string& user : users) {
    const std::string reply = Compare(user, {});
    // kSongs entries, and the kept part's unknown id "x" asked for once.
    std::size_t entries = 0;
    for (std::size_t at = reply.find("[zeile2]"); at != std::string::npos; at = reply.find("[zeile2]", at + 1))
      ++entries;
    EXPECT_EQ(entries + 1, static_cast<std::size_t>(kSongs)) << user;
    EXPECT_NE(reply.find("[zeile]x[zeile]"), std::string::npos);
  }
}

}  // namespace
}  // namespace psalmora::server
