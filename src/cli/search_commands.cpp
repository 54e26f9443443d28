// psalmora-tool commands of the song search and the trash: search, delete, trash, restore, purge.
#include <algorithm>

#include "cli/tool.h"
#include "collections/collections.h"
#include "core/data_folder.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "songdb/schema.h"
#include "songdb/search_index.h"
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
  // The program's text index, when there is one, spares reading every text; its stamps are checked.
  SongTextCache cache(SongTextCache::ChangeCheck::kStamps);
  (void)cache.LoadIndex(SearchIndexPath(store->Files().folder), store->Files().folder);
  for (const SearchHit& hit : SearchSongs(*store, cache, entry, Utf8ToCp1252(parsed.positional[1]))) {
    PrintSong(context, hit.id, hit.title);
  }
  return kExitOk;
}

// A list of ids after its lead-in ("no song with the id 7, 9"); empty for no ids.
std::string NamedIds(std::string_view what, const std::vector<std::string>& ids) {
  std::string text;
  for (const std::string& id : ids) text += (text.empty() ? "" : ", ") + id;
  return ids.empty() ? std::string() : std::string(what) + text;
}

// Joins the non-empty parts of one error line.
std::string OneLine(const std::vector<std::string>& parts) {
  std::string line;
  for (const std::string& part : parts) {
    if (!part.empty()) line += (line.empty() ? "" : "; ") + part;
  }
  return line;
}

int Delete(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {});
  if (!parsed.error.empty()) return context.UsageFail("delete", parsed.error);
  if (parsed.positional.empty()) return context.UsageFail("delete", "delete needs at least one song id");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  // The songs that can be deleted are; the others are named afterwards.
  std::vector<std::string> ids;
  std::vector<std::string> inTrash;
  std::vector<std::string> unknown;
  for (const std::string& argument : parsed.positional) {
    const std::string id = Utf8ToCp1252(argument);
    if (IsActiveSong(*store, id)) {
      ids.push_back(id);
    } else {
      (IsInTrash(*store, id) ? inTrash : unknown).push_back(argument);
    }
  }
  std::vector<std::string> problems{NamedIds("no song with the id ", unknown)};
  for (const std::string& id : inTrash) problems.push_back("song " + id + " is in the trash already");
  if (!ids.empty()) {
    Settings settings = LoadSettings(context.SettingsFile(), std::string());
    TrashContext trash{*store, {settings, context.SettingsFile()}, ChangeStampNow(settings.useridcb)};
    const DeleteSongsResult deleted = DeleteSongs(trash, CollectSelectedSongIds(*store, ids), {});
    if (!deleted.saved) problems.insert(problems.begin(), "cannot write " + store->Files().lieder.string());
    for (const std::filesystem::path& file : deleted.collectionsNotUpdated) {
      problems.push_back("the deleted songs are still named in " + file.string());
    }
  }
  const std::string problem = OneLine(problems);
  return problem.empty() ? kExitOk : context.Fail(problem);
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
  std::vector<std::string> ids;
  std::vector<std::string> unknown;
  for (const std::string& argument : parsed.positional) {
    const std::string id = Utf8ToCp1252(argument);
    if (IsInTrash(*store, id)) {
      ids.push_back(id);
    } else {
      unknown.push_back(argument);
    }
  }
  std::vector<std::string> problems;
  if (!ids.empty() && !RestoreSongs(*store, ids).saved)
    problems.push_back("cannot write " + store->Files().lieder.string());
  if (!unknown.empty()) problems.push_back(NamedIds("no song in the trash with the id ", unknown));
  const std::string problem = OneLine(problems);
  return problem.empty() ? kExitOk : context.Fail(problem);
}

int Purge(ToolContext& context, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) return context.UsageFail("purge", "purge takes no arguments");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  const PurgeResult purged = EmptyTrash(*store);
  if (!purged.saved) return context.Fail("cannot write " + store->Files().lieder.string());
  if (!purged.keptTextIds.empty()) {
    return context.Fail(
        NamedIds("the songs are purged, but these text files could not be removed: ", purged.keptTextIds));
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
