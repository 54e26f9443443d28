// The SWORD reader: walks a Bible module verse by verse in plain-text rendering.
#include "bible/sword/sword_import.h"

#include <markupfiltmgr.h>
#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>
#include <versificationmgr.h>

#include <memory>

#include "core/text_encoding.h"

namespace psalmora {
namespace {

constexpr const char* kBibleType = "Biblical Texts";

std::unique_ptr<sword::SWMgr> OpenManager() {
  auto manager = std::make_unique<sword::SWMgr>(new sword::MarkupFilterMgr(sword::FMT_PLAIN));
  // Only the words of the verses reach the beamer.
  for (const char* option : {"Footnotes", "Strong's Numbers", "Morphological Tags", "Headings", "Cross-references",
                             "Lemmas", "Word Javascript", "Glosses", "Transliterated Forms", "Morpheme Segmentation"}) {
    manager->setGlobalOption(option, "Off");
  }
  return manager;
}

// A Latin-1 module's text, as SWORD keeps non-Unicode modules.
std::string Latin1ToUtf8(std::string_view text) {
  std::string utf8;
  for (const char c : text) AppendUtf8(utf8, static_cast<unsigned char>(c));
  return utf8;
}

}  // namespace

bool SwordAvailable() {
  return true;
}

std::vector<SwordModuleInfo> ListSwordBibles() {
  std::vector<SwordModuleInfo> modules;
  const std::unique_ptr<sword::SWMgr> manager = OpenManager();
  for (const auto& [name, module] : manager->getModules()) {
    if (std::string_view(module->getType()) != kBibleType) continue;
    const char* description = module->getDescription();
    modules.push_back({name.c_str(), module->isUnicode() ? description : Latin1ToUtf8(description)});
  }
  return modules;
}

ImportedBible ReadSwordModule(std::string_view name, const ImportProgress& progress) {
  ImportedBible bible;
  const std::unique_ptr<sword::SWMgr> manager = OpenManager();
  sword::SWModule* module = manager->getModule(std::string(name).c_str());
  if (!module) {
    bible.error = "no SWORD module named \"" + std::string(name) + "\" is installed";
    return bible;
  }
  if (std::string_view(module->getType()) != kBibleType) {
    bible.error = "the SWORD module \"" + std::string(name) + "\" is not a Bible text";
    return bible;
  }
  const bool unicode = module->isUnicode();
  bible.name = Utf8ToCp1252(unicode ? std::string(module->getDescription()) : Latin1ToUtf8(module->getDescription()));
  auto* key = dynamic_cast<sword::VerseKey*>(module->getKey());
  if (!key) {
    bible.error = "the SWORD module \"" + std::string(name) + "\" has no verse keys";
    return bible;
  }
  module->setSkipConsecutiveLinks(true);
  const sword::VersificationMgr::System* system =
      sword::VersificationMgr::getSystemVersificationMgr()->getVersificationSystem(key->getVersificationSystem());
  const int totalBooks = system ? system->getBookCount() : 66;
  std::string lastBook;
  int booksDone = 0;
  for ((*module) = sword::TOP; !module->popError(); (*module)++) {
    const std::string osisBook = key->getOSISBookName();
    if (osisBook != lastBook) {
      lastBook = osisBook;
      if (progress) progress(booksDone++, totalBooks);
    }
    const BibleBook* book = BookByOsisId(osisBook);
    if (!book) {
      if (bible.skippedBooks.empty() || bible.skippedBooks.back() != osisBook) bible.skippedBooks.push_back(osisBook);
      continue;
    }
    const char* text = module->stripText();
    std::string utf8 = unicode ? std::string(text) : Latin1ToUtf8(text);
    // The paragraph signs some modules carry (the KJV's "¶") mean nothing on a beamer.
    for (std::size_t sign; (sign = utf8.find("\xC2\xB6")) != std::string::npos;) utf8.erase(sign, 2);
    bible.AddVerse(*book, key->getChapter(), key->getVerse(), VerseTextFromUtf8(utf8));
  }
  if (progress) progress(booksDone, booksDone);
  bible.Finish();
  return bible;
}

}  // namespace psalmora
