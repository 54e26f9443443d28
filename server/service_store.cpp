// The field tables of the service's items.
#include "server/service_store.h"

#include <algorithm>
#include <cstdlib>

namespace psalmora::server {

std::span<const std::string_view> ItemFields(ItemKind kind) {
  if (kind == ItemKind::kSong) return kSongFields;
  return kSelectionFields;
}

std::size_t FieldIndex(ItemKind kind, std::string_view name) {
  const std::span<const std::string_view> fields = ItemFields(kind);
  const auto found = std::find(fields.begin(), fields.end(), name);
  if (found == fields.end()) std::abort();  // a misspelt name in the code, never input
  return static_cast<std::size_t>(found - fields.begin());
}

}  // namespace psalmora::server
