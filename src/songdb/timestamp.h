// Time values of the song store (whole seconds since 1970-01-01 00:00 UTC) and their stamp text.
#pragma once

#include <string>

namespace psalmora {

long long CurrentTimeValue();

// "dd.mm.yyyy-hh:mm" of the value read as UTC; 0 means now. Seconds are not written.
std::string FormatTimestamp(long long seconds);

}  // namespace psalmora
