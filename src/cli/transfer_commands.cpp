// psalmora-tool commands for songs in and out: export, import-exp, import-ccli.
#include <algorithm>
#include <set>

#include "cli/tool.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "media/video_list.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "transfer/ccli_import.h"
#include "transfer/export_file.h"
#include "transfer/song_import.h"

namespace psalmora::cli {
namespace {

int Export(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) return context.UsageFail("export", "export needs a file and at least one song id");
  const std::optional<SongStore> store = context.OpenSongStore();
  if (!store) return kExitError;
  std::vector<std::string> records;
  std::string unknown;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string id = Utf8ToCp1252(arguments[i]);
    if (store->FindSongPosition(id)) {
      records.push_back(store->FindSongRecord(id));
    } else {
      unknown += (unknown.empty() ? "" : ", ") + arguments[i];
    }
  }
  if (!unknown.empty()) return context.Fail("no song with the id " + unknown + "; nothing exported");
  const WriteResult written = ExportSongsToFile(arguments[0], *store, records, ReadVideoList(store->Files()));
  if (!written) return context.Fail(arguments[0] + " could not be created: " + written.error);
  context.out << records.size() << " songs exported to " << arguments[0] << "\n";
  return kExitOk;
}

int ImportExp(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {"--list", "--all"});
  if (!parsed.error.empty()) return context.UsageFail("import-exp", parsed.error);
  if (parsed.positional.empty()) return context.UsageFail("import-exp", "import-exp needs an export file");
  const std::string& file = parsed.positional[0];
  const bool list = parsed.Flag("--list") || (!parsed.Flag("--all") && parsed.positional.size() == 1);
  if (list && (parsed.Flag("--all") || parsed.positional.size() > 1)) {
    return context.UsageFail("import-exp", "--list takes no song numbers and no --all");
  }
  const ExportFileContent content = ReadExportFile(file);
  if (content.status == ExportFileContent::Status::kCannotOpen) return context.Fail(file + " cannot be opened");
  if (content.status == ExportFileContent::Status::kNotExportFile) return context.Fail(file + " is no export file");
  if (list) {
    for (std::size_t i = 0; i < content.lines.size(); ++i) {
      context.out << i + 1 << "\t" << Cp1252ToUtf8(ExportLineTitle(content.lines[i])) << "\n";
    }
    return kExitOk;
  }
  // The songs are imported in the file's order, whatever order the numbers were given in.
  std::set<std::size_t> chosen;
  if (parsed.Flag("--all")) {
    if (parsed.positional.size() > 1) return context.UsageFail("import-exp", "--all takes no song numbers");
    for (std::size_t i = 0; i < content.lines.size(); ++i) chosen.insert(i);
  }
  for (std::size_t i = 1; i < parsed.positional.size(); ++i) {
    const std::optional<long long> number = WholeNumber(parsed.positional[i]);
    if (!number || *number < 1 || static_cast<std::size_t>(*number) > content.lines.size()) {
      return context.UsageFail("import-exp", "no song number " + parsed.positional[i] + " in " + file + " (1 to " +
                                                 std::to_string(content.lines.size()) + ")");
    }
    chosen.insert(static_cast<std::size_t>(*number) - 1);
  }
  std::vector<std::string> lines;
  for (std::size_t index : chosen) lines.push_back(content.lines[index]);
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  std::vector<std::string> videos = ReadVideoList(store->Files());
  ImportContext importContext{*store, videos, CurrentTimeValue()};
  const ImportResult result = ImportSongLines(importContext, lines);
  if (!result.saved) return context.Fail("the songs could not be saved in " + store->Files().lieder.string());
  for (const ImportedSong& song : result.songs) {
    context.out << song.id << "\t" << Cp1252ToUtf8(RecordField(song.record, 3)) << "\n";
  }
  return kExitOk;
}

std::string_view ProblemText(CcliProblem problem) {
  switch (problem) {
    case CcliProblem::kCannotRead:
      return "cannot be read";
    case CcliProblem::kNotText:
      return "not a text file";
    case CcliProblem::kNoSong:
      return "no song section";
    case CcliProblem::kNone:
      break;
  }
  return "could not be saved";
}

int ImportCcli(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.empty()) return context.UsageFail("import-ccli", "import-ccli needs at least one file");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const std::vector<std::filesystem::path> files(arguments.begin(), arguments.end());
  const CcliImport result =
      ImportCcliFiles(*store, files, context.ProgramFolder() / "config" / "pick-4.dat", CurrentTimeValue());
  bool allImported = true;
  for (const CcliFileOutcome& outcome : result.files) {
    context.out << outcome.file.string() << ": ";
    if (outcome.id.empty()) {
      allImported = false;
      context.out << "skipped: " << ProblemText(outcome.problem) << "\n";
    } else {
      context.out << outcome.id << "\t" << Cp1252ToUtf8(outcome.title) << "\n";
    }
  }
  return allImported ? kExitOk : kExitError;
}

}  // namespace

std::vector<Command> TransferCommands() {
  return {
      {"export", "FILE ID...", "write the songs into an export file (.exp)", Export},
      {"import-exp", "FILE [--list | --all | N...]",
       "list the songs of an export file (N TAB title), or import all or the numbered ones as new songs", ImportExp},
      {"import-ccli", "FILE...", "import CCLI song files (.usr, licence .txt); one line per file", ImportCcli},
  };
}

}  // namespace psalmora::cli
