#include "songdb/presentation_recorder.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <system_error>

#include "core/atomic_file.h"

namespace psalmora {

namespace {
constexpr long long kCountAfterSeconds = 20;
}  // namespace

long long LocalCalendarSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<long long>(now) + static_cast<long long>(local.tm_gmtoff);
}

bool PresentationCounts(long long start, long long now) {
  return start != 0 && now - start > kCountAfterSeconds;
}

PresentationRecorder::PresentationRecorder(std::filesystem::path statisticsFile, Clock clock)
    : file_(std::move(statisticsFile)), clock_(clock ? std::move(clock) : Clock(LocalCalendarSeconds)) {}

void PresentationRecorder::SongShown(std::string_view songId, bool newPresentation) {
  const bool sameSong = songId == songId_;
  const bool restart = newPresentation ? !(sameSong && start_ != 0) : !sameSong;
  songId_ = std::string(songId);
  if (songId_.empty()) {
    start_ = 0;
    return;
  }
  if (restart) start_ = clock_();
}

void PresentationRecorder::SongRemoved() {
  start_ = 0;
}

bool PresentationRecorder::RecordPresentation() {
  const long long now = clock_();
  if (!PresentationCounts(start_, now)) return false;
  start_ = 0;
  AppendStatisticsLine(file_, songId_, now);
  return true;
}

bool AppendStatisticsLine(const std::filesystem::path& file, std::string_view songId, long long time) {
  std::optional<std::string> content = ReadWholeFile(file);
  std::error_code error;
  if (!content && std::filesystem::exists(file, error)) {
    std::fprintf(stderr, "psalmora: cannot read %s, presentation not counted\n", file.string().c_str());
    return false;
  }
  std::string bytes = content.value_or(std::string());
  if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
  bytes.append(songId);
  bytes += '\t';
  bytes += std::to_string(time);
  bytes += "\r\n";
  const WriteResult written = WriteFileAtomically(file, bytes);
  if (!written) {
    std::fprintf(stderr, "psalmora: cannot write %s: %s\n", file.string().c_str(), written.error.c_str());
  }
  return written.ok;
}

}  // namespace psalmora
