// The compare of change stamps.
#include "server/song_compare.h"

#include <chrono>
#include <unordered_map>
#include <unordered_set>

namespace psalmora::server {

namespace {

// Reads 1 to maxDigits decimal digits at position; advances it.
std::optional<int> ReadNumber(std::string_view text, std::size_t& position, std::size_t maxDigits) {
  int value = 0;
  std::size_t digits = 0;
  while (position < text.size() && digits < maxDigits && text[position] >= '0' && text[position] <= '9') {
    value = value * 10 + (text[position] - '0');
    ++position;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

bool Expect(std::string_view text, std::size_t& position, char c) {
  if (position >= text.size() || text[position] != c) return false;
  ++position;
  return true;
}

std::optional<std::int64_t> ParseStamp(std::string_view text) {
  std::size_t position = 0;
  const auto day = ReadNumber(text, position, 2);
  if (!day || !Expect(text, position, '.')) return std::nullopt;
  const auto month = ReadNumber(text, position, 2);
  if (!month || !Expect(text, position, '.')) return std::nullopt;
  const auto year = ReadNumber(text, position, 4);
  if (!year || !Expect(text, position, '-')) return std::nullopt;
  const auto hour = ReadNumber(text, position, 2);
  if (!hour || !Expect(text, position, ':')) return std::nullopt;
  const auto minute = ReadNumber(text, position, 2);
  if (!minute || position != text.size() || *hour > 23 || *minute > 59) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(*year), std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok()) return std::nullopt;
  const std::int64_t days = std::chrono::sys_days(date).time_since_epoch().count();
  return days * 86400 + *hour * 3600 + *minute * 60;
}

}  // namespace

std::optional<std::int64_t> ParseChangeTime(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (text.find_first_not_of("0123456789") == std::string_view::npos) {
    if (text.size() > 15) return std::nullopt;  // past any real date; also keeps the sum below in range
    std::int64_t seconds = 0;
    for (char c : text) seconds = seconds * 10 + (c - '0');
    return seconds;
  }
  return ParseStamp(text);
}

Newer CompareChangeDates(std::string_view clientDate, std::string_view serviceDate) {
  if (clientDate == serviceDate) return Newer::kNeither;
  const auto client = ParseChangeTime(clientDate);
  const auto service = ParseChangeTime(serviceDate);
  if (!client || !service) return Newer::kService;
  if (*client > *service) return Newer::kClient;
  if (*client < *service) return Newer::kService;
  return Newer::kNeither;
}

CompareOutcome CompareStamps(const std::vector<ChangeStamp>& client, const ItemState& service,
                             std::size_t changedAtField) {
  std::unordered_map<std::string_view, std::size_t> live;
  live.reserve(service.live.size());
  for (std::size_t i = 0; i < service.live.size(); ++i) live.emplace(service.live[i].globalId, i);
  const std::unordered_set<std::string_view> deleted(service.deleted.begin(), service.deleted.end());

  CompareOutcome outcome;
  std::unordered_set<std::string_view> listed;
  std::vector<bool> listedLive(service.live.size(), false);
  for (const ChangeStamp& stamp : client) {
    if (!listed.insert(stamp.globalId).second) continue;
    const auto found = live.find(stamp.globalId);
    if (found != live.end()) {
      listedLive[found->second] = true;
      const Newer newer = CompareChangeDates(stamp.changedAt, service.live[found->second].values.at(changedAtField));
      if (newer == Newer::kClient) outcome.newerOnClient.push_back(stamp.globalId);
      if (newer == Newer::kService) outcome.newerOnService.push_back(found->second);
    } else if (deleted.contains(stamp.globalId)) {
      outcome.deletedOnService.push_back(stamp.globalId);
    } else {
      outcome.newerOnClient.push_back(stamp.globalId);
    }
  }
  for (std::size_t i = 0; i < service.live.size(); ++i) {
    if (!listedLive[i]) outcome.missingOnClient.push_back(i);
  }
  return outcome;
}

}  // namespace psalmora::server
