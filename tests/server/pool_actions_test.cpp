// The data pool of the server: login, a pool with its members, reports of the shown song and the
// activity files, each seen only by members of the pool.
#include "server/pool_actions.h"

#include <gtest/gtest.h>

#include "online/web_access.h"
#include "server/account_command.h"
#include "service_test_support.h"

namespace psalmora::server {
namespace {

class PoolActionsTest : public ServiceFixture {
 protected:
  PoolActionsTest() : pool_(store_, [this] { return now_; }) {
    anna_ = AddAccount("anna@example.org", "geheim");
    bernd_ = AddAccount("bernd@example.org", "geheim");
    carla_ = AddAccount("carla@example.org", "geheim");
    std::string error;
    poolId_ = CreatePool(store_, "Lobpreis", {"anna@example.org", "bernd@example.org"}, error);
    EXPECT_FALSE(poolId_.empty()) << error;
  }

  std::string Reply(const std::string& key, const std::string& query) {
    return ReadPageReply(key, pool_.Handle(query));
  }
  std::string Login(const std::string& email) { return Reply("session", "user=" + UrlEncodeText(email) + "&pw=geheim"); }

  PoolActions pool_;
  std::string anna_, bernd_, carla_, poolId_;
};

TEST_F(PoolActionsTest, LoginGivesASessionOnlyForTheRightPassword) {
  EXPECT_EQ(Reply("session", "user=anna%40example.org&pw=falsch"), "");
  EXPECT_EQ(Reply("session", "user=niemand%40example.org&pw=geheim"), "");
  EXPECT_EQ(Reply("session", "user=&pw="), "");
  const std::string session = Login("Anna@Example.org");
  EXPECT_EQ(session.size(), 32u);
  EXPECT_NE(session, Login("anna@example.org"));  // every login its own session
}

TEST_F(PoolActionsTest, AMemberSeesHisPoolAndItsMembers) {
  const std::string session = Login("bernd@example.org");
  const std::string page = pool_.Handle("session=" + session + "&aktion=allepoolsundbenutzer&id=" + poolId_);
  EXPECT_EQ(ReadPageReply("alleuser", page), poolId_ + ".Lobpreis");
  EXPECT_EQ(ReadPageReply("pools", page), anna_ + ".anna@example.org%" + bernd_ + ".bernd@example.org");
}

TEST_F(PoolActionsTest, NobodySeesAPoolHeIsNotIn) {
  const std::string carla = Login("carla@example.org");
  for (const std::string& id : {poolId_, std::string("43"), std::string(""), std::string("0") + poolId_}) {
    const std::string page = pool_.Handle("session=" + carla + "&aktion=allepoolsundbenutzer&id=" + id);
    EXPECT_EQ(ReadPageReply("pools", page), "") << id;
    EXPECT_EQ(ReadPageReply("alleuser", page), "") << id;
    EXPECT_NE(ReadPageReply("fehler", page), "") << id;
  }
  // A report into someone else's pool is refused and leaves no activity.
  EXPECT_NE(Reply("fehler", "session=" + carla + "&poolid=" + poolId_ + "&aktion=aktivitaetsend&songidpool=7"), "");
  EXPECT_FALSE(pool_.ActivityFile(carla_, "session=" + Login("anna@example.org")));
}

TEST_F(PoolActionsTest, AReportBecomesTheActivityFileThatOnlyPoolMembersRead) {
  const std::string anna = Login("anna@example.org");
  const std::string page = pool_.Handle("session=" + anna + "&poolid=" + poolId_ +
                                        "&aktion=aktivitaetsend&songidpool=12&titel=" +
                                        UrlEncodeText("Rock & Roll #1\tmit\r\nZeilen") + "&auswahl=12-7-");
  EXPECT_EQ(ReadPageReply("ok", page), "1");
  const std::string expected = "pool\t" + poolId_ +
                               "\r\nsongidpool\t12\r\ntitel\tRock & Roll #1 mit  Zeilen\r\nauswahl\t12-7-\r\n";
  EXPECT_EQ(pool_.ActivityFile(anna_, "session=" + Login("bernd@example.org")), expected);
  EXPECT_EQ(pool_.ActivityFile(anna_, "session=" + anna), expected);
  EXPECT_FALSE(pool_.ActivityFile(anna_, "session=" + Login("carla@example.org")));
  EXPECT_FALSE(pool_.ActivityFile(anna_, ""));
  EXPECT_FALSE(pool_.ActivityFile(bernd_, "session=" + anna));  // bernd reported nothing yet
}

TEST_F(PoolActionsTest, AnUnknownOrOldSessionAsksForANewLogin) {
  const std::string session = Login("anna@example.org");
  EXPECT_EQ(Reply("anmelden", "session=feedfeedfeedfeedfeedfeedfeedfeed&aktion=allepoolsundbenutzer&id=" + poolId_),
            "1");
  EXPECT_EQ(Reply("anmelden", "aktion=allepoolsundbenutzer&id=" + poolId_), "1");
  now_ += PoolActions::kSessionSeconds - 1;
  EXPECT_EQ(Reply("anmelden", "session=" + session + "&aktion=allepoolsundbenutzer&id=" + poolId_), "");
  now_ += PoolActions::kSessionSeconds + 1;
  EXPECT_EQ(Reply("anmelden", "session=" + session + "&aktion=allepoolsundbenutzer&id=" + poolId_), "1");
}

TEST_F(PoolActionsTest, PoolsAreMadeOnceAndGrow) {
  std::string error;
  EXPECT_EQ(std::stoi(poolId_), 101);  // above the numbers the program treats specially
  EXPECT_EQ(CreatePool(store_, "Lobpreis", {"carla@example.org", "anna@example.org"}, error), poolId_);
  EXPECT_EQ(store_.FindPool(poolId_)->members.size(), 3u);
  EXPECT_EQ(CreatePool(store_, "Jugend", {"carla@example.org"}, error), "102");
  EXPECT_EQ(CreatePool(store_, "Chor", {"nobody@example.org"}, error), "");
  EXPECT_NE(error.find("nobody@example.org"), std::string::npos);
  for (const std::string& name : {std::string(""), std::string("a|b"), std::string("a=b"), std::string("50%")}) {
    EXPECT_EQ(CreatePool(store_, name, {"anna@example.org"}, error), "") << name;
  }
}

TEST_F(PoolActionsTest, HostileQueriesGetAnErrorPage) {
  const std::string session = Login("anna@example.org");
  for (const std::string& query :
       {std::string("session=" + session + "&aktion=unbekannt"), std::string("session=%zz"), std::string("%"),
        std::string(100000, 'a'), std::string("session=" + session + "&aktion=allepoolsundbenutzer&id=99999999999999999999")}) {
    EXPECT_EQ(ReadPageReply("session", pool_.Handle(query)), "");
    EXPECT_NE(ReadPageReply("fehler", pool_.Handle(query)), "") << query.substr(0, 80);
  }
}

}  // namespace
}  // namespace psalmora::server
