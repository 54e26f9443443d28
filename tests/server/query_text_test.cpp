// Decoding of the raw request query: the apostrophe rule, percent escapes, and queries that cannot be read.
#include "server/query_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace psalmora::server {
namespace {

TEST(DecodeQueryValue, DecodesAsTheClientEncodes) {
  const struct {
    const char* raw;
    const char* decoded;
  } cases[] = {
      {"plain-._~", "plain-._~"},
      {"a%20b", "a b"},
      {"a+b", "a b"},
      {"%25%26%3D", "%&="},
      {"Gro%C3%9F", "Groß"},
      {"it\\'s", "it's"},
      // The apostrophe rule comes first: an encoded backslash before the apostrophe stays a backslash.
      {"%5C\\'", "\\'"},
      {"back\\slash", "back\\slash"},
      {"%5Cn", "\\n"},
      {"", ""},
      // Not UTF-8 (Windows-1252 bytes of an old client): converted, so the store holds only UTF-8.
      {"caf%E9", "café"},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(DecodeQueryValue(test.raw), std::optional<std::string>(test.decoded)) << test.raw;
  }
}

TEST(DecodeQueryValue, RefusesBrokenPercentEscapes) {
  for (const char* raw : {"%", "%4", "abc%", "%G1", "%1G", "%%41", "a%2"}) {
    EXPECT_EQ(DecodeQueryValue(raw), std::nullopt) << raw;
  }
}

TEST(QueryParse, SplitsPairsAtTheFirstEquals) {
  std::string error;
  const auto query = Query::Parse("aktion=login&&email=a%40b.de&password=x=y&flag&dup=1&dup=2&", error);
  ASSERT_TRUE(query) << error;
  EXPECT_EQ(query->Value("aktion"), "login");
  EXPECT_EQ(query->Value("email"), "a@b.de");
  EXPECT_EQ(query->Value("password"), "x=y");
  EXPECT_TRUE(query->Has("flag"));
  EXPECT_EQ(query->Value("flag"), "");
  EXPECT_EQ(query->Value("dup"), "1");
  EXPECT_FALSE(query->Has("missing"));
  EXPECT_EQ(query->fields().size(), 6u);
}

TEST(QueryParse, RefusesUnreadableQueries) {
  std::string tooMany;
  for (std::size_t i = 0; i <= Query::kMaxFields; ++i) tooMany += "k" + std::to_string(i) + "=v&";
  for (const std::string& raw : {std::string("aktion=login&email=%ZZ"), std::string("%=x"), tooMany}) {
    std::string error;
    EXPECT_FALSE(Query::Parse(raw, error)) << raw;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace psalmora::server
