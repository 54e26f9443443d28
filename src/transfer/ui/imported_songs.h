// What the main window shows after an import stored new songs: their rows at the top of the group
// list, their texts in the search cache, and a message when the song list could not be saved.
#pragma once

namespace psalmora {

struct AppState;
struct ImportResult;
class Messages;
class SongListsHost;

void ShowImportedSongs(AppState& state, SongListsHost& window, Messages& messages, const ImportResult& result);

}  // namespace psalmora
