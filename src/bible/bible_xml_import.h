// Bible texts from XML files: Zefania XML (root "XMLBIBLE") and OSIS XML (root "osis"), told apart by
// their root element.
#pragma once

#include <filesystem>
#include <string_view>

#include "bible/bible_import.h"

namespace psalmora {

// Reads the file at path; a file that is not well-formed XML, has another root or holds no verse gives
// an error naming the cause and the place.
ImportedBible ReadBibleXml(const std::filesystem::path& path, const ImportProgress& progress = {});

// The same for XML bytes in memory (UTF-8 or with its own encoding declaration).
ImportedBible ReadBibleXmlText(std::string_view xml, const ImportProgress& progress = {});

}  // namespace psalmora
