// A short seeded fuzz run: random and mutated queries through the parser and the request handler on a
// real store. No query may crash the handler, and every reply stays valid UTF-8.
#include <gtest/gtest.h>

#include <random>

#include "core/text_encoding.h"
#include "service_test_support.h"

namespace psalmora::server {
namespace {

using ServiceFuzzTest = ServiceFixture;

TEST_F(ServiceFuzzTest, RandomAndMutatedQueriesGetRepliesNotCrashes) {
  const std::string user = AddAccount("anna@example.org");
  const std::string known = NewSong(user, "A", "100");
  const std::vector<std::string> seeds = {
      "userid=" + user + "&aktion=neuersong&id=1&titel=T%C3%A4st&liedtext=a%5Cnb&geaendert_am=05.03.2018-14%3A07",
      "aktion=deletesongs&songstring=" + known + "|x|y&userid=" + user,
      "aktion=abgleich&songstring=" + known + "-1[spalte]b-2[spalte]&userid=" + user + "&part=teil",
      "aktion=abgleich&songstring=" + known + "-05.03.2018-14:07[spalte]&userid=" + user + "&part=fertig",
      "aktion=changesong&userid=" + user + "&titel=it\\'s&global_id=" + known + "&geaendert_am=7",
      "userid=" + user + "&aktion=neueplaylist&name=S&allesongids=a|b&global_id=&geaendert_am=1",
      "aktion=abgleichplaylist&songstring=a-1[spalte]&userid=" + user + "&part=fertig",
      "aktion=changeplaylist&userid=" + user + "&name=N&global_id=q&geaendert_am=2",
      "aktion=deleteplaylist&songstring=q&userid=" + user,
      "email=anna%40example.org&password=x&aktion=login",
      "aktion=ping",
  };
  const std::string alphabet = "%&=|-[]\\'+aAzZ09.:,\t\r\n\x80\xC3\xFF";
  std::mt19937 random(20261207);
  const auto pick = [&](std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random); };
  for (int round = 0; round < 1500; ++round) {
    std::string query = seeds[pick(seeds.size())];
    const std::size_t mutations = 1 + pick(8);
    for (std::size_t m = 0; m < mutations; ++m) {
      const std::size_t at = query.empty() ? 0 : pick(query.size());
      switch (pick(5)) {
        case 0:
          query.insert(at, 1, alphabet[pick(alphabet.size())]);
          break;
        case 1:
          if (!query.empty()) query.erase(at, 1 + pick(4));
          break;
        case 2:
          if (!query.empty()) query[at] = static_cast<char>(pick(256));
          break;
        case 3:
          query.resize(at);  // cut off
          break;
        default:
          query.insert(at, query.substr(0, pick(query.size() + 1)));
          break;
      }
    }
    if (round % 100 == 0) {  // now and then a query of random bytes only
      query.assign(pick(300), '\0');
      for (char& c : query) c = static_cast<char>(pick(256));
    }
    const std::string reply = Call(query);
    ASSERT_TRUE(IsValidUtf8(reply)) << "round " << round;
  }
  // The store survived: the account still answers.
  EXPECT_EQ(Compare(user, {}, "teil"), "ok");
}

}  // namespace
}  // namespace psalmora::server
