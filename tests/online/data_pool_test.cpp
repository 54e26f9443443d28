// Data pool on the client: the request addresses (values encoded), the replies and activity files, the
// id mappings, and a connection that logs in again when the server forgot its session.
#include "online/data_pool.h"

#include <gtest/gtest.h>

#include <random>

namespace psalmora {
namespace {

TEST(DataPoolUrls, EncodeEveryValueSoTitlesWithSeparatorsArriveWhole) {
  EXPECT_EQ(PoolLoginUrl("http://h:1/", "anna@x.de", "a&b"),
            "http://h:1/online/online.cgi?user=anna%40x.de&pw=a%26b");
  EXPECT_EQ(PoolsAndUsersUrl("http://h:1", "S1", "101"),
            "http://h:1/online/online.cgi?session=S1&aktion=allepoolsundbenutzer&id=101");
  EXPECT_EQ(ReportActivityUrl("http://h:1", "S1", "101", "12", "Rock & Roll #1", "12-7-"),
            "http://h:1/online/online.cgi?session=S1&poolid=101&aktion=aktivitaetsend&songidpool=12"
            "&titel=Rock%20%26%20Roll%20%231&auswahl=12-7-");
  EXPECT_EQ(ActivityFileUrl("http://h:1/", "ab12", "S1"), "http://h:1/online/aktivitaeten/ab12.dat?session=S1");
}

TEST(DataPoolReplies, PoolsAndUsersSplitAtPercent) {
  const PoolsAndUsers reply = ReadPoolsAndUsers("<!--alleuser=101.Lobpreis|pools=u1.anna%u2.bernd-->\n<html>");
  EXPECT_EQ(reply.pool, "101.Lobpreis");
  EXPECT_EQ(reply.users, (std::vector<std::string>{"u1.anna", "u2.bernd"}));
  EXPECT_TRUE(ReadPoolsAndUsers("<html>").users.empty());
  EXPECT_EQ(ReadPoolsAndUsers("<!--alleuser=|pools=|fehler=Kein Datenpool-->").error, "Kein Datenpool");
}

TEST(DataPoolReplies, AUserEntryWithoutDotIsTheWholeId) {
  EXPECT_EQ(UserIdOfEntry("u1.anna@x.de"), "u1");
  EXPECT_EQ(UserIdOfEntry("u1"), "u1");
  EXPECT_EQ(UserIdOfEntry(""), "");
}

TEST(DataPoolReplies, ActivityFileGivesTheValuesOfItsFirstThreeLines) {
  const Activity activity = ReadActivity("pool\t101\r\nsongidpool\t12\r\ntitel\tA\tB\r\nauswahl\t1-\r\n");
  EXPECT_EQ(activity.poolId, "101");
  EXPECT_EQ(activity.poolSongId, "12");
  EXPECT_EQ(activity.title, "A\tB");  // the text after the first TAB
  const Activity broken = ReadActivity("nur eine Zeile");
  EXPECT_EQ(broken.poolId, "");
  EXPECT_EQ(broken.title, "");
}

TEST(DataPoolFiles, MappingsGoBothWaysAndAnEmptySelectionGivesNothing) {
  const std::string mapping = "P7\t3\r\nP9\t5\r\nP7\t8\r\n";
  EXPECT_EQ(PoolSongIdOf(mapping, "5"), "P9");
  EXPECT_EQ(PoolSongIdOf(mapping, "4"), "");
  EXPECT_EQ(PoolSongIdOf(mapping, ""), "");
  EXPECT_EQ(LocalSongIdOf(mapping, "P7"), "3");  // the first line
  EXPECT_EQ(LocalSongIdOf(mapping, ""), "");
  EXPECT_EQ(SelectionValue({"3", "4", "5"}, mapping), "P7--P9-");
  EXPECT_EQ(SelectionValue({}, mapping), "");
}

TEST(DataPoolFiles, IdsFromOutsideNeverNameAFileOutsideTheFolder) {
  const std::filesystem::path folder = "/daten";
  EXPECT_EQ(PoolMappingFile(folder, "101"), folder / "datenpool" / "101.dat");
  EXPECT_EQ(ActivityFilePath(folder, "ab_1-2"), folder / "datenpool" / "aktivitaet-ab_1-2.dat");
  for (const std::string& id : std::vector<std::string>{"", "../x", "a/b", "a.b", "..", std::string(65, 'a'),
                                                        std::string("a\0b", 3)}) {
    EXPECT_TRUE(PoolMappingFile(folder, id).empty()) << id;
    EXPECT_TRUE(ActivityFilePath(folder, id).empty()) << id;
  }
}

// A fake server: one valid session at a time, which it can forget.
struct FakePool {
  std::string session = "S1";
  int logins = 0;
  std::vector<std::string> urls;
  std::string activity = "pool\t101\r\nsongidpool\t12\r\ntitel\tGro\xC3\x9F\r\n";

  std::string Get(const std::string& url) {
    urls.push_back(url);
    if (url.find("?user=") != std::string::npos) {
      ++logins;
      session = "S" + std::to_string(logins);
      return url.find("pw=geheim") != std::string::npos ? "<!--session=" + session + "-->" : "<!--session=-->";
    }
    const bool known = url.find("session=" + session) != std::string::npos;
    if (url.find("/aktivitaeten/") != std::string::npos) return known ? activity : "";
    if (!known) return "<!--anmelden=1|fehler=Sitzung abgelaufen-->";
    if (url.find("aktivitaetsend") != std::string::npos) return "<!--ok=1-->";
    return "<!--alleuser=101.Team|pools=u1.anna-->";
  }
};

TEST(PoolConnectionTest, LogsInOnceAndAgainWhenTheServerForgotTheSession) {
  FakePool server;
  PoolConnection connection([&server](const std::string& url, const HttpOptions&) { return server.Get(url); });
  const PoolConnection::Account account{"http://h", "anna", "geheim"};
  EXPECT_EQ(connection.LoadPoolsAndUsers(account, "101").pool, "101.Team");
  EXPECT_TRUE(connection.ReportActivity(account, "101", "12", "T", ""));
  EXPECT_EQ(server.logins, 1);
  server.session = "neu";  // a restart of the server
  EXPECT_TRUE(connection.ReportActivity(account, "101", "12", "T", ""));
  EXPECT_EQ(server.logins, 2);
  EXPECT_EQ(connection.FetchActivity(account, "u1"), std::optional<std::string>("pool\t101\r\nsongidpool\t12\r\ntitel\tGro\xDF\r\n"));
}

TEST(PoolConnectionTest, AWrongPasswordOrAMissingNameSaysWhy) {
  FakePool server;
  PoolConnection connection([&server](const std::string& url, const HttpOptions&) { return server.Get(url); });
  EXPECT_EQ(connection.LoadPoolsAndUsers({"http://h", "anna", "falsch"}, "101").error, "Anmeldung fehlgeschlagen");
  EXPECT_FALSE(connection.ReportActivity({"http://h", "anna", "falsch"}, "101", "", "", ""));
  const int logins = server.logins;
  EXPECT_FALSE(connection.FetchActivity({"http://h", "anna", "falsch"}, "u1"));
  EXPECT_EQ(server.logins, logins);  // a refused login is not tried again at once
  EXPECT_EQ(connection.LoadPoolsAndUsers({"http://h", "anna", "geheim"}, "101").pool, "101.Team");  // new values
  EXPECT_NE(connection.LoadPoolsAndUsers({"http://h", "", ""}, "101").error, "");
  PoolConnection dead([](const std::string&, const HttpOptions&) { return std::string(); });
  EXPECT_EQ(dead.LoadPoolsAndUsers({"http://h", "anna", "geheim"}, "101").error, "Server nicht erreichbar");
  EXPECT_FALSE(dead.FetchActivity({"http://h", "anna", "geheim"}, "u1"));
}

TEST(DataPoolFuzz, MutatedRepliesAreReadWithoutHarm) {
  std::mt19937 random(20261207);
  const std::string seeds[] = {"<!--alleuser=101.Team|pools=u1.anna%u2.bernd-->\n<html>",
                               "pool\t101\r\nsongidpool\t12\r\ntitel\tT\r\n", "P7\t3\r\nP9\t5\r\n"};
  for (int round = 0; round < 3000; ++round) {
    std::string text = seeds[round % 3];
    for (int step = 0; step < 4; ++step) {
      const std::size_t at = text.empty() ? 0 : random() % text.size();
      if (random() % 2) {
        text.insert(at, 1, "%|=\t\r\n.-<>\0"[random() % 11]);
      } else if (!text.empty()) {
        text.erase(at, 1 + random() % 5);
      }
    }
    const PoolsAndUsers reply = ReadPoolsAndUsers(text);
    for (const std::string& user : reply.users) {
      const std::string id = UserIdOfEntry(user);
      const std::filesystem::path file = ActivityFilePath("/d", id);
      if (!file.empty()) {
        EXPECT_EQ(file.parent_path(), std::filesystem::path("/d/datenpool"));
      }
    }
    const Activity activity = ReadActivity(text);
    const std::filesystem::path mapping = PoolMappingFile("/d", activity.poolId);
    if (!mapping.empty()) {
      EXPECT_EQ(mapping.parent_path(), std::filesystem::path("/d/datenpool"));
    }
    LocalSongIdOf(text, activity.poolSongId);
  }
}

}  // namespace
}  // namespace psalmora
