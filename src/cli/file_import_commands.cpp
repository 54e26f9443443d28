// psalmora-tool commands for text and presentation files: import-text (through the assignment rules of
// the settings) and slides (a presentation's slides as pictures).
#include "cli/tool.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "songdb/timestamp.h"
#include "transfer/file_import.h"
#include "transfer/libreoffice_automation.h"
#include "transfer/presentation_import.h"

namespace psalmora::cli {
namespace {

int ImportText(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.empty()) return context.UsageFail("import-text", "import-text needs at least one file");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const AssignmentRules rules = LoadImportRules(context.SettingsFile());
  LibreOfficeAutomation office(PosixProgramTools());
  std::vector<FileImportSource> sources;
  bool noOfficeTold = false;
  for (const std::string& file : arguments) {
    if (!IsPresentationFile(file)) {
      sources.push_back({file, ReadImportFile(file)});
      continue;
    }
    PresentationSource presentation = ReadPresentationSource(office, file, store->Files().folder);
    if (presentation.status == OfficeStatus::kNoOffice && !noOfficeTold) {
      context.err << "LibreOffice (soffice) was not found: presentations give songs without text\n";
      noOfficeTold = true;
    }
    sources.push_back(std::move(presentation.source));
  }
  const FileImport result = ImportFileContents(*store, sources, rules, CurrentTimeValue());
  if (!result.stored.saved) return context.Fail("the songs could not be saved in " + store->Files().lieder.string());
  bool allImported = true;
  for (std::size_t i = 0; i < result.files.size(); ++i) {
    context.out << arguments[i] << ": ";
    if (result.files[i].id.empty()) {
      allImported = false;
      context.out << "skipped: cannot be read\n";
      continue;
    }
    const std::string record = store->FindSongRecord(result.files[i].id);
    context.out << result.files[i].id << "\t" << Cp1252ToUtf8(RecordField(record, 3)) << "\n";
  }
  return allImported ? kExitOk : kExitError;
}

int Slides(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) return context.UsageFail("slides", "slides needs a presentation and a target folder");
  LibreOfficeAutomation office(PosixProgramTools());
  const SlideConversion result = office.ConvertPresentationToImages(arguments[0], arguments[1]);
  if (result.status == OfficeStatus::kNoOffice) return context.Fail("LibreOffice (soffice) or pdftoppm was not found");
  if (result.status == OfficeStatus::kCannotRead) return context.Fail(arguments[0] + " cannot be read as a presentation");
  context.out << result.slideCount << "\n";
  return kExitOk;
}

}  // namespace

std::vector<Command> FileImportCommands() {
  return {
      {"import-text", "FILE...",
       "import text or presentation files as new songs by the rules of \"importregel\"; one line per file", ImportText},
      {"slides", "PRESENTATION DIR", "save the slides as Folie1.PNG ... in DIR and print their count", Slides},
  };
}

}  // namespace psalmora::cli
