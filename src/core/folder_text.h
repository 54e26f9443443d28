// A folder typed by the user ("~/Lieder", "/srv/lieder/") as the absolute path the program keeps.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace psalmora {

// "~" and "~/..." are taken from home; the result is lexically normal without a trailing separator.
// Nothing for an empty or relative text: a relative path would depend on where the program happened
// to be started.
std::optional<std::filesystem::path> AbsoluteFolderFromText(std::string_view text, const std::filesystem::path& home);

}  // namespace psalmora
