// The command line of psalmora-server.
#include "server/server_options.h"

#include <gtest/gtest.h>

namespace psalmora::server {
namespace {

TEST(ParseServerOptions, ReadsTheCommands) {
  std::string error;
  auto serve = ParseServerOptions({"serve", "--db", "s.db"}, error);
  ASSERT_TRUE(serve) << error;
  EXPECT_EQ(serve->command, ServerCommand::kServe);
  EXPECT_EQ(serve->port, 8750);
  EXPECT_EQ(serve->bindAddress, "127.0.0.1");

  serve = ParseServerOptions({"serve", "--port", "0", "--db", "s.db", "--bind", "::", "--tls-cert", "c", "--tls-key",
                              "k", "--threads", "4", "--quiet"},
                             error);
  ASSERT_TRUE(serve) << error;
  EXPECT_EQ(serve->port, 0);
  EXPECT_EQ(serve->bindAddress, "::");
  EXPECT_EQ(serve->tlsKey, "k");
  EXPECT_EQ(serve->threads, 4);
  EXPECT_TRUE(serve->quiet);

  const auto addUser = ParseServerOptions({"adduser", "a@b.de", "--db", "s.db"}, error);
  ASSERT_TRUE(addUser) << error;
  EXPECT_EQ(addUser->command, ServerCommand::kAddUser);
  EXPECT_EQ(addUser->email, "a@b.de");

  const auto addPool = ParseServerOptions({"addpool", "Lobpreis", "a@b.de", "c@d.de", "--db", "s.db"}, error);
  ASSERT_TRUE(addPool) << error;
  EXPECT_EQ(addPool->command, ServerCommand::kAddPool);
  EXPECT_EQ(addPool->poolName, "Lobpreis");
  EXPECT_EQ(addPool->poolMembers, (std::vector<std::string>{"a@b.de", "c@d.de"}));
  EXPECT_FALSE(ParseServerOptions({"addpool", "Lobpreis", "--db", "s.db"}, error));
  EXPECT_EQ(ParseServerOptions({"serve", "--db", "s.db", "--news", "n.html"}, error)->newsFile, "n.html");

  EXPECT_EQ(ParseServerOptions({"serve", "--help"}, error)->command, ServerCommand::kHelp);
  EXPECT_EQ(ParseServerOptions({"--version"}, error)->command, ServerCommand::kVersion);
}

TEST(ParseServerOptions, RefusesWrongUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"start"},
      {"serve"},
      {"serve", "--db"},
      {"serve", "--db", "s.db", "--port", "65536"},
      {"serve", "--db", "s.db", "--port", "80x"},
      {"serve", "--db", "s.db", "--tls-cert", "c"},
      {"serve", "--db", "s.db", "extra"},
      {"adduser", "--db", "s.db"},
      {"adduser", "a@b.de", "--db", "s.db", "--port", "1"},
  };
  for (const auto& arguments : cases) {
    std::string error;
    EXPECT_FALSE(ParseServerOptions(arguments, error)) << (arguments.empty() ? "" : arguments[0]);
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace psalmora::server
