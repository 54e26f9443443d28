#include "core/folder_text.h"

#include <string>

namespace psalmora {

std::optional<std::filesystem::path> AbsoluteFolderFromText(std::string_view text, const std::filesystem::path& home) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);

  std::filesystem::path path;
  if (text == "~" || text.starts_with("~/")) {
    if (home.empty() || !home.is_absolute()) return std::nullopt;
    path = home / std::string(text.substr(text == "~" ? 1 : 2));
  } else {
    path = std::string(text);
  }
  if (!path.is_absolute()) return std::nullopt;
  path = path.lexically_normal();
  if (path.has_filename() || path == path.root_path()) return path;
  return path.parent_path();  // "/srv/lieder/" -> "/srv/lieder"
}

}  // namespace psalmora
