#include "render/style_spec.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

Layout SampleLayout(std::string_view chordSize, std::string_view textSize) {
  Layout layout = NewLayoutContents(NewLayoutWords{});
  layout.lines[5] = "ak|1|Arial|0|700|" + std::string(chordSize) + "|0,0,255";
  layout.lines[6] = "te|1|Arial|0|700|" + std::string(textSize) + "|0,0,0|#fff";
  return layout;
}

TEST(StyleSpecTest, ParsesEightFieldsAndMissingOnesAreEmpty) {
  const TextStyle style = ParseStyleSpec("ak|1|Arial|-1|700|16|0,0,255");
  EXPECT_EQ(style.id, "ak");
  EXPECT_TRUE(style.IsShown());
  EXPECT_EQ(style.italic, "-1");
  EXPECT_EQ(style.size, "16");
  EXPECT_EQ(style.background, "");
  EXPECT_FALSE(ParseStyleSpec("ko|0|Arial").IsShown());
}

TEST(StyleSpecTest, OutlineFlagAndColourWithRedInTheLowByte) {
  const Outline outline = ParseOutline("1-16711680");  // 0xFF0000: blue
  EXPECT_TRUE(outline.on);
  EXPECT_EQ(OutlineHexColour(outline.colour), "#0000FF");
  EXPECT_EQ(OutlineHexColour(0x0080FF), "#FF8000");
  EXPECT_FALSE(ParseOutline("0-255").on);
  EXPECT_FALSE(ParseOutline("").on);
}

TEST(AdjustLayoutStylesTest, LargerStopsAtOneHundredPerStyle) {
  TempDir dir;
  Layout layout = SampleLayout("100", "98");
  ASSERT_TRUE(AdjustLayoutStyles(layout, StyleAdjustment::kLarger, dir.path(), "1", true, true));
  EXPECT_EQ(layout.Line(6), "ak|1|Arial|0|700|100|0,0,255||");
  EXPECT_EQ(layout.Line(7), "te|1|Arial|0|700|100|0,0,0|#fff|");
  EXPECT_EQ(layout.Line(8), "ub|1|Arial|0|400|18|255,0,0||");
  EXPECT_EQ(layout.Line(9), "ko|0|Arial|0|400|14|0,0,0");  // comments are never touched
  EXPECT_EQ(LoadLayout(dir.path(), "1").lines, layout.lines);
}

TEST(AdjustLayoutStylesTest, SmallerNeverGoesBelowOne) {
  TempDir dir;
  Layout layout = SampleLayout("2", "1");
  ASSERT_TRUE(AdjustLayoutStyles(layout, StyleAdjustment::kSmaller, dir.path(), "1", true, true));
  EXPECT_EQ(ParseStyleSpec(layout.Line(6)).size, "1");
  EXPECT_EQ(ParseStyleSpec(layout.Line(7)).size, "1");
  EXPECT_EQ(ParseStyleSpec(layout.Line(8)).size, "14");
  layout = SampleLayout("3", "5");
  ASSERT_TRUE(AdjustLayoutStyles(layout, StyleAdjustment::kSmaller, dir.path(), "1", true, true));
  EXPECT_EQ(ParseStyleSpec(layout.Line(6)).size, "1");
  EXPECT_EQ(ParseStyleSpec(layout.Line(7)).size, "3");
}

TEST(AdjustLayoutStylesTest, UpdateSetsChordAndTranslationFlagsOnly) {
  TempDir dir;
  Layout layout = SampleLayout("16", "16");
  layout.lines[6] = "te|-1|Arial|0|700|16|0,0,0";
  ASSERT_TRUE(AdjustLayoutStyles(layout, StyleAdjustment::kUpdateShown, dir.path(), "1", false, true));
  EXPECT_EQ(layout.Line(6), "ak|0|Arial|0|700|16|0,0,255||");
  EXPECT_EQ(layout.Line(7), "te|-1|Arial|0|700|16|0,0,0||");
  EXPECT_EQ(layout.Line(8), "ub|1|Arial|0|400|16|255,0,0||");
}

TEST(AdjustLayoutStylesTest, EmptyLayoutAndFailedWrites) {
  TempDir dir;
  Layout empty;
  EXPECT_FALSE(AdjustLayoutStyles(empty, StyleAdjustment::kLarger, dir.path(), "1", true, true));
  EXPECT_FALSE(std::filesystem::exists(dir / "1.lay"));
  Layout layout = SampleLayout("16", "16");
  EXPECT_FALSE(AdjustLayoutStyles(layout, StyleAdjustment::kLarger, dir / "missing", "1", true, true));
}

TEST(StyleEditTest, ShownFlagAndFontDialogRebuildTheSpecification) {
  EXPECT_EQ(SetStyleShownFlag("ko|0|Arial|0|400|14|0,0,0|#eee", true), "ko|1|Arial|0|400|14|0,0,0|");
  EXPECT_EQ(EditedStyleSpec("te|1|Arial|0|700|16|0,0,0|x", "Verdana", true, 400, 20, 1, 2, 3),
            "te|1|Verdana|-1|400|20|1,2,3");
}

}  // namespace
}  // namespace psalmora
