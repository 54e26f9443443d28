// The presentation recorder: remembers which song went on the beamer and when, and once it has stayed
// there for more than 20 seconds appends one line (id, TAB, local time) to "statistik.dat".
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace psalmora {

// The local calendar date and time now, as whole seconds since 1970-01-01 00:00 of that calendar (the
// UTC offset of the moment included), the time value of the statistics file.
long long LocalCalendarSeconds();

// Whether a presentation shown since `start` counts at `now`: more than 20 seconds have passed.
bool PresentationCounts(long long start, long long now);

class PresentationRecorder {
 public:
  using Clock = std::function<long long()>;

  explicit PresentationRecorder(std::filesystem::path statisticsFile, Clock clock = LocalCalendarSeconds);

  // A song went on the beamer. A new presentation (a song sent to the beamer) starts the count unless
  // the same song is still pending; moving to another slide starts it only for another song.
  void SongShown(std::string_view songId, bool newPresentation);
  // Something that is not a song (free text) replaced the song: nothing is pending any more.
  void SongRemoved();

  // `RecordPresentation`: when a song has been pending for more than 20 seconds, appends its line and
  // clears `PresentationStart`. True when a line was due (even if the write failed: the failure goes to
  // stderr and the pending presentation is cleared all the same).
  bool RecordPresentation();

  long long PresentationStart() const { return start_; }
  const std::string& PresentedSongId() const { return songId_; }

 private:
  std::filesystem::path file_;
  Clock clock_;
  long long start_ = 0;  // `PresentationStart`: 0 while nothing is pending
  std::string songId_;   // `PresentedSongId`
};

// Appends one statistics line ("id", TAB, time, CR LF) to the file atomically. A file whose last line has
// no line end gets one first, so the new line never merges with it; a file that exists but cannot be
// read is left alone rather than replaced by the new line alone.
bool AppendStatisticsLine(const std::filesystem::path& file, std::string_view songId, long long time);

}  // namespace psalmora
