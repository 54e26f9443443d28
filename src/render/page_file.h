// Writing a generated page over its old file.
#pragma once

#include <filesystem>
#include <string_view>

#include "core/atomic_file.h"

namespace psalmora {

// Replaces path by a temporary file renamed over it, so a web view never reads half a page. Unlike the
// store files the pages are rebuilt at every rendering, so they are not synced to disk (FileSync::kNone).
WriteResult WritePageFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace psalmora
