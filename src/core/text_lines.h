// Line reading (CR, LF or CR LF) and line writing (CR LF) of the store's text files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

inline constexpr std::string_view kLineEnd = "\r\n";

// Splits a text at CR, LF or CR LF. A final line end does not start another line; an empty text has
// no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace psalmora
