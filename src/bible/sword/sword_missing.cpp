// The SWORD reader of a build without libsword: it says so instead of reading.
#include "bible/sword/sword_import.h"

namespace psalmora {

bool SwordAvailable() {
  return false;
}

std::vector<SwordModuleInfo> ListSwordBibles() {
  return {};
}

ImportedBible ReadSwordModule(std::string_view, const ImportProgress&) {
  ImportedBible bible;
  bible.error = "this build of Psalmora cannot read SWORD modules (libsword was not found)";
  return bible;
}

}  // namespace psalmora
