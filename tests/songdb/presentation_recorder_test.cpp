// The presentation recorder: when a shown song counts, what the statistics line looks like, and that the
// file is only ever extended.
#include "songdb/presentation_recorder.h"

#include <gtest/gtest.h>

#include <ctime>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

struct FakeClock {
  long long now = 1700000000;
  PresentationRecorder::Clock Function() {
    return [this] { return now; };
  }
};

TEST(PresentationRecorderTest, CountsASongShownForMoreThanTwentySeconds) {
  TempDir dir;
  FakeClock clock;
  PresentationRecorder recorder(dir / "statistik.dat", clock.Function());
  recorder.SongShown("17", true);
  EXPECT_EQ(recorder.PresentationStart(), 1700000000);
  EXPECT_EQ(recorder.PresentedSongId(), "17");

  clock.now += 20;  // exactly 20 seconds do not count yet
  EXPECT_FALSE(recorder.RecordPresentation());
  EXPECT_FALSE(std::filesystem::exists(dir / "statistik.dat"));

  clock.now += 1;
  EXPECT_TRUE(recorder.RecordPresentation());
  EXPECT_EQ(ReadFileBytes(dir / "statistik.dat"), "17\t1700000021\r\n");
  EXPECT_EQ(recorder.PresentationStart(), 0);

  // Counted once: the song staying on longer adds nothing more.
  clock.now += 100;
  EXPECT_FALSE(recorder.RecordPresentation());
  EXPECT_EQ(ReadFileBytes(dir / "statistik.dat"), "17\t1700000021\r\n");
}

TEST(PresentationRecorderTest, ASongReplacedWithinTwentySecondsIsNotCounted) {
  TempDir dir;
  FakeClock clock;
  PresentationRecorder recorder(dir / "statistik.dat", clock.Function());
  recorder.SongShown("1", true);
  clock.now += 15;
  recorder.SongShown("2", true);
  clock.now += 15;
  EXPECT_FALSE(recorder.RecordPresentation());
  clock.now += 6;
  EXPECT_TRUE(recorder.RecordPresentation());
  EXPECT_EQ(ReadFileBytes(dir / "statistik.dat"), "2\t1700000036\r\n");
}

TEST(PresentationRecorderTest, SlidesAndResendsOfTheSameSongKeepTheStart) {
  TempDir dir;
  FakeClock clock;
  PresentationRecorder recorder(dir / "statistik.dat", clock.Function());
  recorder.SongShown("5", true);
  clock.now += 10;
  recorder.SongShown("5", false);  // another slide
  recorder.SongShown("5", true);   // sent again while pending
  EXPECT_EQ(recorder.PresentationStart(), 1700000000);
  clock.now += 11;
  EXPECT_TRUE(recorder.RecordPresentation());

  // After it was counted, moving between its slides starts nothing new; sending it again does.
  recorder.SongShown("5", false);
  EXPECT_EQ(recorder.PresentationStart(), 0);
  recorder.SongShown("5", true);
  EXPECT_EQ(recorder.PresentationStart(), clock.now);
  // A slide of another song (a preview slide marker) is a new song on the beamer.
  recorder.SongShown("6", false);
  EXPECT_EQ(recorder.PresentedSongId(), "6");
  EXPECT_EQ(recorder.PresentationStart(), clock.now);
}

TEST(PresentationRecorderTest, FreeTextAndEmptyIdsLeaveNothingPending) {
  TempDir dir;
  FakeClock clock;
  PresentationRecorder recorder(dir / "statistik.dat", clock.Function());
  recorder.SongShown("3", true);
  recorder.SongRemoved();
  clock.now += 60;
  EXPECT_FALSE(recorder.RecordPresentation());
  recorder.SongShown("", true);
  clock.now += 60;
  EXPECT_FALSE(recorder.RecordPresentation());
  EXPECT_FALSE(std::filesystem::exists(dir / "statistik.dat"));
}

TEST(PresentationRecorderTest, AppendsBehindExistingLinesKeepingTheirBytes) {
  TempDir dir;
  const std::filesystem::path file = dir / "statistik.dat";
  WriteFileBytes(file, "5\t1500000000\r\n12\t1530000000\n\r\n");
  ASSERT_TRUE(AppendStatisticsLine(file, "9", 1600000000));
  EXPECT_EQ(ReadFileBytes(file), "5\t1500000000\r\n12\t1530000000\n\r\n9\t1600000000\r\n");

  // A last line without its line end is closed first instead of being merged with the new line.
  WriteFileBytes(file, "5\t1500000000");
  ASSERT_TRUE(AppendStatisticsLine(file, "\xE4", 1600000001));
  EXPECT_EQ(ReadFileBytes(file), "5\t1500000000\r\n\xE4\t1600000001\r\n");
}

TEST(PresentationRecorderTest, AWriteFailureIsReportedAndStillClearsThePendingSong) {
  TempDir dir;
  FakeClock clock;
  // A folder in the file's place can neither be read nor replaced.
  std::filesystem::create_directory(dir / "statistik.dat");
  PresentationRecorder recorder(dir / "statistik.dat", clock.Function());
  recorder.SongShown("4", true);
  clock.now += 21;
  EXPECT_TRUE(recorder.RecordPresentation());
  EXPECT_EQ(recorder.PresentationStart(), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "statistik.dat"));

  // A missing parent folder: nothing is created, the call reports the failure.
  EXPECT_FALSE(AppendStatisticsLine(dir / "missing" / "statistik.dat", "4", 1));
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(PresentationRecorderTest, LocalCalendarSecondsIncludeTheUtcOffset) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const long long value = LocalCalendarSeconds();
  // Read back as UTC, the value shows the local wall-clock time.
  const std::time_t asUtc = static_cast<std::time_t>(value);
  std::tm shown{};
  gmtime_r(&asUtc, &shown);
  EXPECT_EQ(shown.tm_year, local.tm_year);
  EXPECT_EQ(shown.tm_yday, local.tm_yday);
  EXPECT_EQ(shown.tm_hour, local.tm_hour);
  EXPECT_TRUE(PresentationCounts(100, 121));
  EXPECT_FALSE(PresentationCounts(100, 120));
  EXPECT_FALSE(PresentationCounts(0, 1000));
}

}  // namespace
}  // namespace psalmora
