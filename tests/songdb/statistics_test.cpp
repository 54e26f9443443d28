#include "songdb/statistics.h"

#include <gtest/gtest.h>

#include <map>

#include "core/data_folder.h"
#include "songdb/song_store.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr const char* k2017 = "1496275200";  // 2017-06-01 00:00
constexpr const char* k2018 = "1519862400";  // 2018-03-01 00:00

std::string Song(std::string id, std::string title, std::string authors = "", std::string copyright = "",
                 std::string ccli = "") {
  std::map<int, std::string> fields{{1, std::move(id)},      {2, "01.02.2026-10:00"},   {3, std::move(title)},
                                    {7, std::move(authors)}, {8, std::move(copyright)}, {11, std::move(ccli)}};
  std::string record;
  for (int field = 1; field <= 21; ++field) record += fields[field] + "\t";
  return record + "\r\n";
}

std::string Line(const std::string& id, const std::string& time) {
  return id + "\t" + time;
}

class StatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir_ / "lieder.dat", Song("12", "Zw\xF6lf", "A, B", "\xA9 \"Verlag\"", "7001") +
                                            Song("5", "F\xFCnf", "", "", "5005") + Song("50", "F\xFCnfzig") +
                                            "#gel\xF6scht#\t" + Song("7", "Im Papierkorb"));
    songs_.LoadSongList();
  }
  // id and count of each row.
  std::vector<std::pair<std::string, int>> Counts(const std::vector<std::string>& lines,
                                                  std::optional<std::string> year = {}) {
    std::vector<std::pair<std::string, int>> counts;
    for (const StatisticsRow& row : FilterStatistics(lines, year, songs_)) counts.emplace_back(row.id, row.count);
    return counts;
  }

  TempDir dir_;
  SongStore songs_{DataFiles::For(dir_.path())};
};

using IdCounts = std::vector<std::pair<std::string, int>>;

TEST_F(StatisticsTest, ThreeLinesOverTwoYears) {
  const std::vector<std::string> lines = {Line("5", k2017), Line("12", k2018), Line("5", k2018)};
  EXPECT_EQ(StatisticsYears(lines), (std::vector<std::string>{"2017", "2018"}));
  // The text "12" sorts before the text "5".
  EXPECT_EQ(Counts(lines), (IdCounts{{"12", 1}, {"5", 2}}));
  EXPECT_EQ(Counts(lines, "2018"), (IdCounts{{"12", 1}, {"5", 1}}));
  EXPECT_EQ(Counts(lines, "2017"), (IdCounts{{"5", 1}}));
  EXPECT_EQ(FilterStatistics(lines, {}, songs_).front().title, "Zw\xF6lf");
}

TEST_F(StatisticsTest, YearsAreListedInFileOrderAgainWhenTheyComeBack) {
  const std::vector<std::string> lines = {Line("5", k2018), Line("5", k2017), Line("12", k2017), Line("5", k2018)};
  EXPECT_EQ(StatisticsYears(lines), (std::vector<std::string>{"2018", "2017", "2018"}));
}

TEST_F(StatisticsTest, YearBoundariesAndOddTimes) {
  const std::map<std::string, std::string> cases{{"1546300799", "2018"}, {"1546300800", "2019"}, {"951825600", "2000"},
                                                 {"-3600", "1969"},      {"kaputt", "1970"},     {"", "1970"}};
  for (const auto& [time, year] : cases) EXPECT_EQ(StatisticsYear(Line("5", time)), year) << time;
}

TEST_F(StatisticsTest, TrashedAndPurgedSongsAreLeftOutAndAnIdIsNotItsPrefix) {
  const std::vector<std::string> lines = {Line("7", k2018), Line("99", k2018), Line("50", k2018), Line("5", k2018),
                                          Line("50", k2017)};
  EXPECT_EQ(Counts(lines), (IdCounts{{"5", 1}, {"50", 2}}));
}

TEST_F(StatisticsTest, EmptyMissingAndBlankLinedFiles) {
  EXPECT_TRUE(ReadStatisticsLines(dir_ / "statistik.dat").lines.empty());
  EXPECT_TRUE(ReadStatisticsLines(dir_ / "statistik.dat").error.empty());
  WriteFileBytes(dir_ / "statistik.dat", "");
  EXPECT_TRUE(ReadStatisticsLines(dir_ / "statistik.dat").lines.empty());
  WriteFileBytes(dir_ / "statistik.dat", std::string("5\t") + k2017 + "\r\n\r\n12\t" + k2018 + "\n\n");
  EXPECT_EQ(ReadStatisticsLines(dir_ / "statistik.dat").lines.size(), 2u);
  std::filesystem::create_directories(dir_ / "ordner");
  EXPECT_FALSE(ReadStatisticsLines(dir_ / "ordner").error.empty());
}

TEST_F(StatisticsTest, LicenceReportIsUtf8WithBomSortedByCount) {
  const std::vector<std::string> lines = {Line("5", k2017),  Line("12", k2018), Line("5", k2018),
                                          Line("50", k2018), Line("50", k2018), Line("5", k2018)};
  ASSERT_TRUE(SaveLicenceReport(dir_ / "bericht.csv", FilterStatistics(lines, {}, songs_)));
  EXPECT_EQ(ReadFileBytes(dir_ / "bericht.csv"),
            "\xEF\xBB\xBF"
            "ID,Titel,Text u. Musik,Copyright,CCLI Liednummer,Anzahl\r\n"
            "5,Fünf,,,5005,3\r\n"
            "50,Fünfzig,,,,2\r\n"
            "12,Zwölf,\"A, B\",\"© \"\"Verlag\"\"\",7001,1\r\n");
}

TEST_F(StatisticsTest, ReportFieldsThatLookLikeFormulasAreShownAsText) {
  WriteFileBytes(dir_ / "lieder.dat", Song("3", "=HYPERLINK(\"x\")", "+49 Chor", "@Verlag", "-1"));
  songs_.LoadSongList();
  EXPECT_EQ(LicenceReportCsv(FilterStatistics({Line("3", k2018)}, {}, songs_)),
            "\xEF\xBB\xBF"
            "ID,Titel,Text u. Musik,Copyright,CCLI Liednummer,Anzahl\r\n"
            "3,\"'=HYPERLINK(\"\"x\"\")\",'+49 Chor,'@Verlag,'-1,1\r\n");
}

}  // namespace
}  // namespace psalmora
