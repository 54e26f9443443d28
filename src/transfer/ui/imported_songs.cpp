#include "transfer/ui/imported_songs.h"

#include <QDir>

#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"
#include "transfer/song_import.h"

namespace psalmora {

void ShowImportedSongs(AppState& state, SongListsHost& window, Messages& messages, const ImportResult& result) {
  SongListWidget* groupList = window.GroupSongList();
  for (const ImportedSong& song : result.songs) {
    state.songTexts.Update(song.id, &song.textFile);
    if (groupList) groupList->AddSongRow(song.record, false);
  }
  if (groupList) window.SetGroupRowCount(groupList->RowCount());
  if (!result.saved) {
    messages.Show(window.HostWindow(), MessageIcon::Error, Tr("Fehler", state),
                  Tr("Die Lieder konnten nicht gespeichert werden:", state) + QStringLiteral(" ") +
                      QDir::toNativeSeparators(QString::fromStdString(state.songs.Files().lieder.string())));
  }
}

}  // namespace psalmora
