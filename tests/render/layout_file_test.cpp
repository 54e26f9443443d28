#include "render/layout_file.h"

#include <gtest/gtest.h>

#include "core/settings.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(LayoutFileTest, LoadReadsLinesAndKeepsEmptyOnes) {
  TempDir dir;
  WriteFileBytes(dir / "3.lay", "Name\r\nBeschreibung\r\n\r\nkein\r\n #$3#\r\n");
  const Layout layout = LoadLayout(dir.path(), "3");
  ASSERT_EQ(layout.lines.size(), 5u);
  EXPECT_EQ(layout.Line(layout_line::kBackgroundColour), "");
  EXPECT_EQ(layout.Line(layout_line::kTemplate), " #$3#");
  EXPECT_EQ(layout.Line(layout_line::kOutline), "");
  EXPECT_EQ(layout.Line(0), "");
}

TEST(LayoutFileTest, KeyMustMatchExactlyAndStayInTheFolder) {
  TempDir dir;
  WriteFileBytes(dir / "Beamer.lay", "x\r\n");
  std::filesystem::create_directory(dir / "sub");
  WriteFileBytes(dir / "sub" / "1.lay", "x\r\n");
  EXPECT_FALSE(LoadLayout(dir.path(), "Beamer").empty());
  EXPECT_TRUE(LoadLayout(dir.path(), "beamer").empty());
  EXPECT_TRUE(LoadLayout(dir.path(), "").empty());
  EXPECT_TRUE(LoadLayout(dir.path(), "sub/1").empty());
  EXPECT_TRUE(LoadLayout(dir.path(), "Beamer.lay").empty());
  EXPECT_TRUE(LoadLayout(dir.path(), "missing").empty());
}

TEST(LayoutFileTest, ListLayoutsTakesNameAndDescriptionInKeyOrder) {
  TempDir dir;
  WriteFileBytes(dir / "10.lay", "Zehn\r\nD10\r\n");
  WriteFileBytes(dir / "2.lay", "Zwei\r\nD2\r\n");
  WriteFileBytes(dir / "1.old.lay", "Alt\r\n");
  WriteFileBytes(dir / "layout.ini", "[Layout]\r\nid=10\r\n");
  WriteFileBytes(dir / "notes.txt", "x");
  const auto entries = ListLayouts(dir.path());
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 3u);
  EXPECT_EQ((*entries)[0].key, "1");  // name up to its first "."
  EXPECT_EQ((*entries)[0].name, "Alt");
  EXPECT_EQ((*entries)[0].description, "");
  EXPECT_EQ((*entries)[1].key, "2");
  EXPECT_EQ((*entries)[2].key, "10");
  EXPECT_EQ((*entries)[2].description, "D10");
}

TEST(LayoutFileTest, ListLayoutsReportsAMissingFolder) {
  TempDir dir;
  EXPECT_FALSE(ListLayouts(dir / "missing").has_value());
}

TEST(LayoutFileTest, SaveWritesCrLfLinesAndFailsWithoutFolder) {
  TempDir dir;
  EXPECT_TRUE(SaveLayout(dir.path(), "4", Layout{{"a", "", "c"}}));
  EXPECT_EQ(ReadFileBytes(dir / "4.lay"), "a\r\n\r\nc\r\n");
  EXPECT_FALSE(SaveLayout(dir / "missing", "4", Layout{{"a"}}));
  EXPECT_FALSE(SaveLayout(dir.path(), "../4", Layout{{"a"}}));
}

TEST(LayoutFileTest, NewLayoutContentsUseTheTranslatedWords) {
  const Layout layout = NewLayoutContents(NewLayoutWords{"New layout", "Description", "none"});
  ASSERT_EQ(layout.lines.size(), 9u);
  EXPECT_EQ(layout.Line(1), "-- New layout --");
  EXPECT_EQ(layout.Line(2), "Description");
  EXPECT_EQ(layout.Line(4), "none");
  EXPECT_EQ(layout.Line(5), " #$3#<br><br>#$text1#");
  EXPECT_EQ(layout.Line(6), "ak|1|Arial|0|700|16|0,0,255");
  EXPECT_EQ(layout.Line(9), "ko|0|Arial|0|400|14|0,0,0");
}

TEST(LayoutFileTest, CreateNewLayoutCountsUpAndWritesTheFile) {
  TempDir dir;
  WriteFileBytes(dir / "layout.ini", "[Layout]\r\nid=4\r\n");
  const std::optional<std::string> key = CreateNewLayout(dir.path(), NewLayoutWords{});
  ASSERT_EQ(key, "5");
  EXPECT_EQ(ReadLastLayoutId(dir.path()), 5);
  EXPECT_EQ(LoadLayout(dir.path(), "5").Line(1), "-- Layout Neu --");
  EXPECT_EQ(LoadLayout(dir.path(), "5").Line(4), "kein");
}

TEST(LayoutFileTest, CreateNewLayoutNeverReplacesAnExistingLayout) {
  TempDir dir;
  WriteFileBytes(dir / "layout.ini", "[Layout]\r\nid=1\r\n");
  WriteFileBytes(dir / "2.lay", "Mine\r\n");
  EXPECT_EQ(CreateNewLayout(dir.path(), NewLayoutWords{}), "3");
  EXPECT_EQ(ReadFileBytes(dir / "2.lay"), "Mine\r\n");
}

TEST(LayoutFileTest, CreateNewLayoutStopsWithoutAnId) {
  TempDir dir;
  EXPECT_EQ(ReadLastLayoutId(dir.path()), -1);
  EXPECT_FALSE(CreateNewLayout(dir.path(), NewLayoutWords{}).has_value());
  EXPECT_FALSE(std::filesystem::exists(dir / "0.lay"));
}

TEST(DefaultLayoutsTest, ShippedLayoutsAreComplete) {
  const std::filesystem::path folder = std::filesystem::path(PSALMORA_SOURCE_DIR) / "data" / "layouts";
  const auto entries = ListLayouts(folder);
  ASSERT_TRUE(entries.has_value());
  ASSERT_GE(entries->size(), 5u);
  long long highest = 0;
  for (const LayoutEntry& entry : *entries) {
    const Layout layout = LoadLayout(folder, entry.key);
    EXPECT_GE(layout.lines.size(), 9u) << entry.key;
    EXPECT_FALSE(entry.name.empty()) << entry.key;
    EXPECT_TRUE(layout.Line(6).starts_with("ak|")) << entry.key;
    EXPECT_TRUE(layout.Line(7).starts_with("te|")) << entry.key;
    EXPECT_TRUE(layout.Line(8).starts_with("ub|")) << entry.key;
    EXPECT_TRUE(layout.Line(9).starts_with("ko|")) << entry.key;
    highest = std::max(highest, std::stoll(entry.key));
  }
  EXPECT_EQ(ReadLastLayoutId(folder), highest);
  const Layout first = LoadLayout(folder, "1");
  EXPECT_EQ(first.lines, NewLayoutContents(NewLayoutWords{}).lines);
}

// The header and footer layouts the settings assign by default are drawn into bands of the default
// heights, which show no scroll bar and cut what does not fit: their line (the line height, or 1.2 times
// the font size without one) and the padding above must fit.
TEST(DefaultLayoutsTest, BandLayoutsFitTheDefaultBandHeight) {
  const std::filesystem::path folder = std::filesystem::path(PSALMORA_SOURCE_DIR) / "data" / "layouts";
  const Settings defaults;
  const auto pixels = [](std::string_view css, std::string_view property) {
    const std::size_t at = css.find(std::string(property) + ":");
    return at == std::string_view::npos ? 0.0 : std::stod(std::string(css.substr(at + property.size() + 1)));
  };
  for (const auto& [key, band] : {std::pair{defaults.layouts.kopfzeile, defaults.akkordzeilehoehe},
                                  std::pair{defaults.layouts.fusszeile, defaults.fusszeilenhoehe}}) {
    const Layout layout = LoadLayout(folder, key);
    const std::string_view code = layout.Line(5);
    const double font = pixels(code, "font-size");
    const double line = pixels(code, "line-height") > 0 ? pixels(code, "line-height") : 1.2 * font;
    EXPECT_GT(font, 0) << key;
    EXPECT_LE(line + pixels(code, "padding-top"), band) << key << ": " << code;
  }
}

}  // namespace
}  // namespace psalmora
