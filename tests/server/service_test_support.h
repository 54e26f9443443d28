// A song-management service on a temporary SQLite file, driven through its request handler, with a
// clock the test sets, and helpers that build the requests as the client sends them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "server/account_command.h"
#include "server/password_hash.h"
#include "server/service_actions.h"
#include "server/sqlite_service_store.h"
#include "support/temp_dir.h"

namespace psalmora::server {

inline std::string JoinFields(const std::vector<std::string>& fields, const std::string& separator = "[spalte]") {
  std::string joined;
  for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? separator : "") + fields[i];
  return joined;
}

class ServiceFixture : public ::testing::Test {
 protected:
  ServiceFixture() : store_(dir_ / "service.db"), actions_(store_, [this] { return now_; }) { InitPasswordHashing(); }

  std::string AddAccount(const std::string& email, const std::string& password = "geheim") {
    std::string error;
    const std::string userId = CreateAccount(store_, email, password, error);
    EXPECT_FALSE(userId.empty()) << error;
    return userId;
  }

  std::string Call(const std::string& query) { return actions_.Handle(query); }

  // A new song with a title and a change date (values already encoded); its global id.
  std::string NewSong(const std::string& user, const std::string& title, const std::string& changed) {
    const std::string reply = Call("userid=" + user + "&aktion=neuersong&id=1&titel=" + title +
                                   "&textumusik=&copyright=&ccli_liednummer=&akkordzeile=&bemerkung=&link1="
                                   "&songtempo=&liedtext=&erstellt_am=1520258820&erstellt_von=" +
                                   user + "&geaendert_am=" + changed + "&tonart=&textformatierung=");
    EXPECT_EQ(reply.substr(0, 3), "ok|") << reply;
    return reply.substr(3);
  }

  // The entry of a song made by NewSong, as a compare reply carries it.
  static std::string SongEntry(const std::string& globalId, const std::string& title, const std::string& changed) {
    return JoinFields({globalId, title, "", "", "", "", "", "", "", "", "", "1520258820", "", changed, "", "", ""});
  }

  std::string Compare(const std::string& user, const std::vector<std::string>& stamps,
                      const std::string& part = "fertig", const std::string& action = "abgleich") {
    std::string list;
    for (const std::string& stamp : stamps) list += stamp + "[spalte]";
    return Call("aktion=" + action + "&songstring=" + list + "&userid=" + user + "&part=" + part);
  }

  psalmora::testing::TempDir dir_;
  SqliteServiceStore store_;
  std::int64_t now_ = 1'700'000'000;
  ServiceActions actions_;
};

}  // namespace psalmora::server
