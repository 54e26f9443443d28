// psalmora-tool commands on the data folder and the song store: init, list, show, new, next-id.
#include <fstream>

#include "cli/tool.h"
#include "core/atomic_file.h"
#include "core/data_folder.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "songdb/new_song.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"

namespace psalmora::cli {
namespace {

std::string JoinFolders(const std::vector<std::filesystem::path>& folders) {
  std::string text;
  for (const auto& folder : folders) text += (text.empty() ? "" : ", ") + folder.string();
  return text;
}

// A store on the data folder with its index loaded, or nothing after an error was printed.
int Init(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {"--remember"});
  if (!parsed.error.empty() || !parsed.positional.empty()) {
    return context.UsageFail("init", parsed.error.empty() ? "init takes no arguments" : parsed.error);
  }
  const std::optional<std::filesystem::path> located = context.DataFolder(false);
  if (!located) return kExitError;
  const std::filesystem::path folder = std::filesystem::absolute(*located);
  const FolderCreation creation = CreateFolderLevels(folder);
  if (!creation.accepted) {
    return context.Fail("cannot create the data folder " + folder.string() +
                        (creation.failed.empty() ? "" : " (failed: " + JoinFolders(creation.failed) + ")"));
  }
  if (parsed.Flag("--remember")) {
    if (const WriteResult written = context.Registry().Write(kRegistryDataFolder, folder.string()); !written) {
      return context.Fail("cannot remember the data folder: " + written.error);
    }
  }
  if (!context.LockForWriting(folder)) return kExitError;
  SongStore store(DataFiles::For(folder));
  const DataFolderStart start = PrepareDataFolder(store, context.SettingsFile(), context.Language());
  if (start.message) {
    context.err << "psalmora-tool: " << ForTerminal(start.message->title) << ": " << ForTerminal(start.message->text)
                << "\n";
  }
  context.out << folder.string() << "\n";
  return kExitOk;
}

int List(ToolContext& context, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) return context.UsageFail("list", "list takes no arguments");
  const std::optional<SongStore> store = context.OpenSongStore();
  if (!store) return kExitError;
  for (const std::string& record : store->SongList()) {
    if (IsDeletedRecord(record)) continue;
    context.out << Cp1252ToUtf8(RecordField(record, song_field::kId)) << "\t"
                << Cp1252ToUtf8(RecordField(record, song_field::kTitle)) << "\n";
  }
  return kExitOk;
}

int Show(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return context.UsageFail("show", "show needs one song id");
  const std::optional<SongStore> store = context.OpenSongStore();
  if (!store) return kExitError;
  const std::string id = Utf8ToCp1252(arguments[0]);
  if (!store->FindSongPosition(id)) return context.Fail("no song with the id " + arguments[0]);
  context.out << Cp1252ToUtf8(store->FindSongRecord(id)) << "\n";
  // A song without a readable text shows an empty text, as everywhere else.
  for (const std::string& line : SplitLines(store->ReadSongText(id).value_or(std::string()))) {
    context.out << Cp1252ToUtf8(line) << "\n";
  }
  return kExitOk;
}

int New(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {"--title", "--text-file"});
  if (!parsed.error.empty()) return context.UsageFail("new", parsed.error);
  if (!parsed.positional.empty()) return context.UsageFail("new", "unexpected argument " + parsed.positional[0]);
  const std::optional<std::string> title = parsed.Option("--title");
  if (!title) return context.UsageFail("new", "new needs --title TEXT");
  std::string text;
  if (const std::optional<std::string> textFile = parsed.Option("--text-file")) {
    const std::optional<std::string> bytes = ReadWholeFile(*textFile);
    if (!bytes) return context.Fail("cannot read the text file " + *textFile);
    // The editor keeps CR LF between lines; the final line end comes from the store.
    const std::vector<std::string> lines = SplitLines(Utf8ToCp1252(*bytes));
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "" : std::string(kLineEnd)) + lines[i];
  }
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const SongSaveResult saved = CreateSong(*store, Utf8ToCp1252(*title), text);
  if (!saved.listSaved) return context.Fail("cannot write " + store->Files().lieder.string());
  if (!saved.textSaved) return context.Fail("cannot write the text of song " + saved.id);
  context.out << saved.id << "\n";
  return kExitOk;
}

int NextId(ToolContext& context, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) return context.UsageFail("next-id", "next-id takes no arguments");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  context.out << store->NextSongId() << "\n";
  return kExitOk;
}

}  // namespace

std::vector<Command> StoreCommands() {
  return {
      {"init", "[--remember]",
       "create and prepare the data folder as a first start does; --remember stores it in the registry file", Init},
      {"list", "", "one line per song: id TAB title", List},
      {"show", "ID", "the song's record line, then its text", Show},
      {"new", "--title TEXT [--text-file FILE]", "add a song at the top of the store; prints its id", New},
      {"next-id", "", "hand out the next song id", NextId},
  };
}

}  // namespace psalmora::cli
