#include "core/folder_text.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

TEST(FolderText, TypedFoldersBecomeAbsoluteOrAreRefused) {
  const std::filesystem::path home = "/home/anna";
  const struct {
    const char* typed;
    const char* expected;  // nullptr: refused
  } cases[] = {
      {"~/Lieder", "/home/anna/Lieder"},
      {"  ~  ", "/home/anna"},
      {"/srv/lieder/", "/srv/lieder"},
      {"/srv/./a/../lieder", "/srv/lieder"},
      {"/", "/"},
      {"Lieder", nullptr},
      {"./Lieder", nullptr},
      {"~anna/Lieder", nullptr},
      {"", nullptr},
      {"   ", nullptr},
  };
  for (const auto& c : cases) {
    const auto folder = AbsoluteFolderFromText(c.typed, home);
    if (c.expected == nullptr) {
      EXPECT_FALSE(folder) << c.typed;
    } else {
      ASSERT_TRUE(folder) << c.typed;
      EXPECT_EQ(folder->string(), c.expected) << c.typed;
    }
  }
  EXPECT_FALSE(AbsoluteFolderFromText("~/Lieder", ""));
}

}  // namespace
}  // namespace psalmora
