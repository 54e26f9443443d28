#include "songdb/timestamp.h"

#include <cstdio>
#include <ctime>

namespace psalmora {

long long CurrentTimeValue() {
  return static_cast<long long>(std::time(nullptr));
}

std::string FormatTimestamp(long long seconds) {
  if (seconds == 0) seconds = CurrentTimeValue();
  const std::time_t value = static_cast<std::time_t>(seconds);
  std::tm fields{};
  if (gmtime_r(&value, &fields) == nullptr) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d-%02d:%02d", fields.tm_mday, fields.tm_mon + 1, fields.tm_year + 1900,
                fields.tm_hour, fields.tm_min);
  return text;
}

}  // namespace psalmora
