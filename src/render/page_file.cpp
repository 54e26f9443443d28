#include "render/page_file.h"

namespace psalmora {

WriteResult WritePageFile(const std::filesystem::path& path, std::string_view bytes) {
  return WriteFileAtomically(path, bytes, FileSync::kNone);
}

}  // namespace psalmora
