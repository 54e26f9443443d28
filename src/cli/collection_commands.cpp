// psalmora-tool commands on selections ("auswahl.dat") and groups ("gruppierung.dat"): list, add,
// remove, new, rename, delete. Collections are named by their 0-based position in the file (as
// "list" prints it) or by their name.
#include <algorithm>
#include <charconv>

#include "cli/tool.h"
#include "collections/collection_file.h"
#include "collections/collections.h"
#include "collections/pending_deletions.h"
#include "core/data_folder.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/trash.h"

namespace psalmora::cli {
namespace {

// What one run of a collection command works on.
struct CollectionRun {
  SongStore store;
  std::filesystem::path file;
  std::vector<std::string> records;
};

std::optional<CollectionRun> OpenCollections(ToolContext& context, CollectionKind kind,
                                             ToolContext::Access access = ToolContext::Access::kWrite) {
  std::optional<SongStore> store = context.OpenSongStore(access);
  if (!store) return std::nullopt;
  CollectionRun run{std::move(*store), {}, {}};
  run.file = CollectionFilePath(run.store.Files(), kind);
  CollectionFileContent content = ReadCollectionFile(run.file);
  if (content.unreadable) {
    context.Fail("cannot read " + run.file.string() + "; it is left as it is");
    return std::nullopt;
  }
  run.records = std::move(content.records);
  return run;
}

// A position in range, else the first collection with that name.
std::optional<std::size_t> FindCollection(const std::vector<std::string>& records, std::string_view nameOrPosition) {
  std::size_t position = 0;
  const char* end = nameOrPosition.data() + nameOrPosition.size();
  const auto parsed = std::from_chars(nameOrPosition.data(), end, position);
  if (parsed.ec == std::errc() && parsed.ptr == end && position < records.size()) return position;
  const std::string name = Utf8ToCp1252(nameOrPosition);
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (CollectionName(records[i]) == name) return i;
  }
  return std::nullopt;
}

std::string_view Noun(CollectionKind kind) {
  return kind == CollectionKind::Selection ? "selection" : "group";
}

int Save(ToolContext& context, const CollectionRun& run) {
  if (!SaveCollectionFile(run.file, run.records)) return context.Fail("cannot write " + run.file.string());
  return kExitOk;
}

int List(ToolContext& context, CollectionKind kind, const std::vector<std::string>& arguments) {
  const std::optional<CollectionRun> run = OpenCollections(context, kind, ToolContext::Access::kRead);
  if (!run) return kExitError;
  if (arguments.empty()) {
    const std::vector<CollectionEditorRow> rows = CollectionEditorRows(run->records);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      context.out << i << "\t" << Cp1252ToUtf8(rows[i].name) << "\t" << rows[i].entries;
      if (kind == CollectionKind::Group) context.out << "\t" << Cp1252ToUtf8(rows[i].poolId);
      context.out << "\n";
    }
    return kExitOk;
  }
  const std::optional<std::size_t> position = FindCollection(run->records, arguments[0]);
  if (!position) return context.Fail("no " + std::string(Noun(kind)) + " " + arguments[0]);
  // The songs as the list shows them: only ids of active songs.
  for (const SelectionRow& row : CollectionRows(run->store, run->records[*position])) {
    context.out << Cp1252ToUtf8(row.id) << "\t" << Cp1252ToUtf8(row.title) << "\n";
  }
  return kExitOk;
}

int AddOrRemove(ToolContext& context, CollectionKind kind, bool add, const std::vector<std::string>& arguments) {
  std::optional<CollectionRun> run = OpenCollections(context, kind);
  if (!run) return kExitError;
  const std::optional<std::size_t> position = FindCollection(run->records, arguments[0]);
  if (!position) return context.Fail("no " + std::string(Noun(kind)) + " " + arguments[0]);
  std::vector<std::string> ids;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    ids.push_back(Utf8ToCp1252(arguments[i]));
    // Only listed songs can be added; removing also clears ids of songs that are gone.
    if (add && !IsActiveSong(run->store, ids.back())) return context.Fail("no song with the id " + arguments[i]);
  }
  const Settings settings = LoadSettings(context.SettingsFile(), std::string());
  const ChangeStamp stamp = ChangeStampNow(settings.useridcb);
  const std::vector<std::string> collected = CollectSelectedSongIds(run->store, ids);
  if (add) {
    const AddSongsResult added = AddSongsToCollection(run->records, *position, collected, stamp);
    for (const std::string& title : added.alreadyPresentTitles) {
      context.err << ForTerminal(AlreadySelectedMessage(title, context.Language()).text) << "\n";
    }
  } else {
    RemoveSongsFromCollection(run->records, *position, collected, stamp);
  }
  return Save(context, *run);
}

int New(ToolContext& context, CollectionKind kind) {
  std::optional<CollectionRun> run = OpenCollections(context, kind);
  if (!run) return kExitError;
  const Settings settings = LoadSettings(context.SettingsFile(), std::string());
  NewCollection(run->records, kind, ChangeStampNow(settings.useridcb));
  return Save(context, *run);
}

int Rename(ToolContext& context, CollectionKind kind, const std::vector<std::string>& arguments) {
  std::optional<CollectionRun> run = OpenCollections(context, kind);
  if (!run) return kExitError;
  const std::optional<std::size_t> position = FindCollection(run->records, arguments[0]);
  if (!position) return context.Fail("no " + std::string(Noun(kind)) + " " + arguments[0]);
  const Settings settings = LoadSettings(context.SettingsFile(), std::string());
  const std::string poolId =
      arguments.size() > 2 ? Utf8ToCp1252(arguments[2]) : std::string(CollectionPoolId(run->records[*position]));
  const RenameResult renamed = RenameCollection(run->records, *position, kind, Utf8ToCp1252(arguments[1]), poolId,
                                                ChangeStampNow(settings.useridcb));
  if (renamed.poolIdTakenBy) {
    context.err << ForTerminal(PoolIdTakenMessage(*renamed.poolIdTakenBy, kind, context.Language()).text) << "\n";
  }
  if (!renamed.saved) return context.Fail("the new name is empty; nothing was saved");
  const int status = Save(context, *run);
  return status == kExitOk && renamed.poolIdTakenBy ? kExitError : status;
}

int Remove(ToolContext& context, CollectionKind kind, const std::vector<std::string>& arguments) {
  std::optional<CollectionRun> run = OpenCollections(context, kind);
  if (!run) return kExitError;
  const std::optional<std::size_t> position = FindCollection(run->records, arguments[0]);
  if (!position) return context.Fail("no " + std::string(Noun(kind)) + " " + arguments[0]);
  Settings settings = LoadSettings(context.SettingsFile(), std::string());
  DeleteCollection(run->records, *position, kind, run->store.Files(), {settings, context.SettingsFile()});
  return Save(context, *run);
}

int RunCollectionCommand(ToolContext& context, CollectionKind kind, const std::vector<std::string>& arguments) {
  const std::string command(Noun(kind));
  const ParsedArguments parsed = ParseArguments(arguments, {});
  if (!parsed.error.empty()) return context.UsageFail(command, parsed.error);
  const std::vector<std::string>& words = parsed.positional;
  if (words.empty()) return context.UsageFail(command, command + " needs an action");
  const std::string& action = words[0];
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (action == "list" && rest.size() <= 1) return List(context, kind, rest);
  if ((action == "add" || action == "remove") && rest.size() >= 2)
    return AddOrRemove(context, kind, action == "add", rest);
  if (action == "new" && rest.empty()) return New(context, kind);
  if (action == "rename" && (rest.size() == 2 || (rest.size() == 3 && kind == CollectionKind::Group))) {
    return Rename(context, kind, rest);
  }
  if (action == "delete" && rest.size() == 1) return Remove(context, kind, rest);
  return context.UsageFail(command, "unknown action or wrong arguments: " + action);
}

int Selection(ToolContext& context, const std::vector<std::string>& arguments) {
  return RunCollectionCommand(context, CollectionKind::Selection, arguments);
}

int Group(ToolContext& context, const std::vector<std::string>& arguments) {
  return RunCollectionCommand(context, CollectionKind::Group, arguments);
}

}  // namespace

std::vector<Command> CollectionCommands() {
  return {
      {"selection",
       "list [NAME_OR_POSITION] | add NAME_OR_POSITION ID... | remove NAME_OR_POSITION ID... | new | "
       "rename NAME_OR_POSITION NAME | delete NAME_OR_POSITION",
       "selections: positions count from 0 as list prints them (position TAB name TAB entries; with a "
       "selection: id TAB title of its songs)",
       Selection},
      {"group",
       "list [NAME_OR_POSITION] | add NAME_OR_POSITION ID... | remove NAME_OR_POSITION ID... | new | "
       "rename NAME_OR_POSITION NAME [POOL_ID] | delete NAME_OR_POSITION",
       "groups, as selection (list adds the data-pool id)", Group},
  };
}

}  // namespace psalmora::cli
