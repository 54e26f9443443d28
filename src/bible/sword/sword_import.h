// Bible texts from the SWORD modules installed on this computer, through libsword. Kept apart from the
// rest of the core so that only the programs that offer the import link libsword.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bible/bible_import.h"

namespace psalmora {

struct SwordModuleInfo {
  std::string name;         // "KJV"
  std::string description;  // "King James Version (1769) with Strongs Numbers and Morphology" (UTF-8)
};

// Whether this build can read SWORD modules at all.
bool SwordAvailable();

// The installed Bible text modules, by name.
std::vector<SwordModuleInfo> ListSwordBibles();

// Every verse of the module name, without footnotes, Strong's numbers or headings; its description
// becomes the translation's name. An unknown module, or one that is not a Bible text, gives an error.
ImportedBible ReadSwordModule(std::string_view name, const ImportProgress& progress = {});

}  // namespace psalmora
