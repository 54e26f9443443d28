#include "stage/stage_song.h"

#include <gtest/gtest.h>

#include "render/slides.h"

namespace psalmora {
namespace {

using Lines = std::vector<std::string>;

const std::string kRecord =
    "7\t01.01.2020-10:00\tGro\xDF ist\tG\t\t\t\t\t\t\t\t\t0\tStrophe 1\x81Refrain\t\t96\t\t\t\t\t\t";

std::vector<std::pair<std::string, std::string>> Cells(const StageLine& line) {
  std::vector<std::pair<std::string, std::string>> cells;
  for (const StageCell& cell : line.cells) cells.emplace_back(cell.chord, cell.text);
  return cells;
}

TEST(StageSongTest, RecordFieldsBecomeUtf8) {
  const StageSong song = BuildStageSong(kRecord, {"Text"});
  EXPECT_EQ(song.id, "7");
  EXPECT_EQ(song.title, "Gro\xC3\x9F ist");
  EXPECT_EQ(song.key, "G");
  EXPECT_EQ(song.tempo, "96");
  EXPECT_EQ(song.order, (Lines{"Strophe 1", "Refrain"}));
}

TEST(StageSongTest, ChordsAreCutOverTheirSyllablesAsOnThePreview) {
  const StageSong song = BuildStageSong(kRecord, {">G      D", "Erste Zeile hier"});
  ASSERT_EQ(song.blocks.size(), 1u);
  ASSERT_EQ(song.blocks[0].size(), 1u);
  const StageLine& line = song.blocks[0][0];
  EXPECT_EQ(line.kind, StageLineKind::kChords);
  // Spaces are no-break spaces (U+00A0), so a page keeps them.
  EXPECT_EQ(Cells(line), (std::vector<std::pair<std::string, std::string>>{
                             {"G", "Erste\xC2\xA0Ze"}, {"D", "ile\xC2\xA0hier"}}));
}

TEST(StageSongTest, TextBeforeTheFirstChordHasAnEmptyChordCell) {
  const StageSong song = BuildStageSong(kRecord, {">   Am", "Das Lied"});
  EXPECT_EQ(Cells(song.blocks[0][0]),
            (std::vector<std::pair<std::string, std::string>>{{"", "Das\xC2\xA0"}, {"Am", "Lied"}}));
}

TEST(StageSongTest, BlocksCountAsTheBeamerPagesThem) {
  const Lines lines = {"Eins", "", "Zwei", "#Two", ";Kommentar", "-", "   ", "Drei", ""};
  const StageSong song = BuildStageSong(kRecord, lines);
  EXPECT_EQ(static_cast<int>(song.blocks.size()), ChooseSlide(lines, 1).blockCount);
  ASSERT_GE(song.blocks.size(), 3u);
  EXPECT_EQ(song.blocks[1][0].text, "Zwei");
  EXPECT_EQ(song.blocks[1][1].kind, StageLineKind::kTranslation);
  EXPECT_EQ(song.blocks[1][1].text, "Two");
  EXPECT_EQ(song.blocks[1].size(), 2u);  // the comment is not shown
  EXPECT_EQ(song.blocks[2][0].kind, StageLineKind::kBlank);
  EXPECT_EQ(song.blocks[2][1].text, "Drei");
}

TEST(StageSongTest, PendingChordsWaitForTheNextTextLine) {
  const StageSong song = BuildStageSong(kRecord, {">C", ">", "#Trans", "Lied"});
  ASSERT_EQ(song.blocks[0].size(), 2u);
  EXPECT_EQ(song.blocks[0][1].kind, StageLineKind::kChords);
  EXPECT_EQ(song.blocks[0][1].cells[0].chord, "C");
}

TEST(StageSongTest, CharacterReferencesBecomeCharacters) {
  const StageSong song = BuildStageSong(kRecord, {"Bo&#380;e"});
  EXPECT_EQ(song.blocks[0][0].text, "Bo\xC5\xBC" "e");
}

}  // namespace
}  // namespace psalmora
