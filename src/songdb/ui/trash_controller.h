// The main window's side of the trash: "Lied löschen" on the chosen songs of `CurrentSongList` with its
// question, the progress in the status bar and the clean-up of every list, and the menu item
// "Papierkorb" that opens the trash window.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "songdb/trash.h"

namespace psalmora {

struct AppState;
class SongListsHost;
class Messages;

class TrashController : public QObject {
  Q_OBJECT

 public:
  // A child of the window; the shell sends it the delete item of the song context menu and the
  // "Papierkorb" menu item.
  TrashController(AppState& state, SongListsHost& window, Messages& messages);

  static TrashController* Of(const QObject& window);

  // `DeleteChosenSongs`: returns the number of songs moved to the trash.
  int DeleteChosenSongs();
  // `OpenTrash`: the trash window, blocking the main window until it closes.
  void OpenTrash();

 signals:
  // Each step of a deletion as the status bar shows it: the bar's value and the text "done/total".
  void deleteProgress(int percent, const QString& text);

 private:
  void ShowProgress(int percent, const QString& text);
  void AddRestoredRows(const std::vector<TrashEntry>& restored);
  // Chooser entries carry the song counts, and the groups tab the row count.
  void RefreshCounts();

  AppState& state_;
  SongListsHost& window_;
  Messages& messages_;
};

}  // namespace psalmora
