#include "render/chord_table.h"

#include <gtest/gtest.h>

namespace psalmora {
namespace {

TEST(ChordTableTest, BuiltInHasTwelveRowsHighestFirst) {
  const ChordTable& table = ChordTable::BuiltIn();
  ASSERT_EQ(table.RowCount(), 12);
  EXPECT_EQ(table.WrittenName(0), "H");
  EXPECT_EQ(table.Rows()[1], "B\tAis\tHb\tA#\tBb");
  EXPECT_EQ(table.Rows()[8], "D#\tDis\tEb\tEs");
  EXPECT_EQ(table.WrittenName(11), "C");
}

TEST(ChordTableTest, ParsesAnyLineEndAndSkipsEmptyRows) {
  const ChordTable table("X\tY\n\nZ");
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.Names(0), (std::vector<std::string>{"X", "Y"}));
}

}  // namespace
}  // namespace psalmora
