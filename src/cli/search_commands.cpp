// psalmora-tool commands of the song search and the trash: search, delete, trash, restore, purge.
#include <algorithm>

#include "cli/tool.h"
#include "collections/collections.h"
#include "core/data_folder.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "songdb/schema.h"
#include "songdb/song_search.h"
#include "songdb/song_store.h"
#include "songdb/song_text_cache.h"
#include "songdb/trash.h"

namespace psalmora::cli {
namespace {

std::string FieldLabels() {
  std::string labels;
  for (const std::string& entry : FieldChooserEntries()) labels += (labels.empty() ? "" : ", ") + Cp1252ToUtf8(entry);
  return labels;
}

void PrintSong(ToolContext& context, std::string_view id, std::string_view title) {
  context.out << Cp1252ToUtf8(id) << "\t" << Cp1252ToUtf8(title) << "\n";
}

std::vector<std::string> ToCp1252(const std::vector<std::string>& utf8) {
  std::vector<std::string> texts;
  for (const std::string& text : utf8) texts.push_back(Utf8ToCp1252(text));
  return texts;
}

int Search(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {});
  if (!parsed.error.empty()) return context.UsageFail("search", parsed.error);
  if (parsed.positional.size() != 2) return context.UsageFail("search", "search needs a field and a text");
  const int entry = FieldEntryOfLabel(Utf8ToCp1252(parsed.positional[0]));
  if (entry < 0) {
    return context.UsageFail("search", "unknown field " + parsed.positional[0] + "; fields: " + FieldLabels());
  }
  const std::optional<SongStore> store = context.OpenSongStore();
  if (!store) return kExitError;
  SongTextCache cache;
  for (const SearchHit& hit : SearchSongs(*store, cache, entry, Utf8ToCp1252(parsed.positional[1]))) {
    PrintSong(context, hit.id, hit.title);
  }
  return kExitOk;
}

int Delete(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {});
  if (!parsed.error.empty()) return context.UsageFail("delete", parsed.error);
  if (parsed.positional.empty()) return context.UsageFail("delete", "delete needs at least one song id");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const std::vector<std::string> ids = ToCp1252(parsed.positional);
  // Nothing is deleted unless every id names a song that is not in the trash already.
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (IsInTrash(*store, ids[i])) return context.Fail("song " + parsed.positional[i] + " is in the trash already");
    if (!IsActiveSong(*store, ids[i])) return context.Fail("no song with the id " + parsed.positional[i]);
  }
  Settings settings = LoadSettings(context.SettingsFile(), std::string());
  TrashContext trash{*store, {settings, context.SettingsFile()}, ChangeStampNow(settings.useridcb)};
  if (!DeleteSongs(trash, CollectSelectedSongIds(*store, ids), {}).saved) {
    return context.Fail("cannot write " + store->Files().lieder.string());
  }
  return kExitOk;
}

int Trash(ToolContext& context, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) return context.UsageFail("trash", "trash takes no arguments");
  const std::optional<SongStore> store = context.OpenSongStore();
  if (!store) return kExitError;
  for (const TrashEntry& entry : TrashEntries(*store)) PrintSong(context, entry.id, entry.title);
  return kExitOk;
}

int Restore(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {});
  if (!parsed.error.empty()) return context.UsageFail("restore", parsed.error);
  if (parsed.positional.empty()) return context.UsageFail("restore", "restore needs at least one song id");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const std::vector<std::string> ids = ToCp1252(parsed.positional);
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (!IsInTrash(*store, ids[i])) return context.Fail("no song with the id " + parsed.positional[i] + " in the trash");
  }
  if (!RestoreSongs(*store, ids).saved) return context.Fail("cannot write " + store->Files().lieder.string());
  return kExitOk;
}

int Purge(ToolContext& context, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) return context.UsageFail("purge", "purge takes no arguments");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const PurgeResult purged = EmptyTrash(*store);
  if (!purged.saved) return context.Fail("cannot write " + store->Files().lieder.string());
  for (const std::string& id : purged.keptTextIds) {
    context.err << "psalmora-tool: the text file of song " << id << " could not be removed\n";
  }
  return kExitOk;
}

}  // namespace

std::vector<Command> SearchCommands() {
  return {
      {"search", "FIELD TEXT",
       "songs whose FIELD (a field label such as Titel, or Liedtext) contains TEXT: id TAB title per hit", Search},
      {"delete", "ID...", "move songs to the trash, out of every selection and group", Delete},
      {"trash", "", "the songs in the trash: id TAB title", Trash},
      {"restore", "ID...", "take songs out of the trash", Restore},
      {"purge", "", "empty the trash: remove its songs and their text files for good", Purge},
  };
}

}  // namespace psalmora::cli
