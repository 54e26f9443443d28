// The main window's side of songs in and out: "in Datei exportieren" of the song context menu, the
// menu items "Exportdatei (*.exp)" and "Lieder von CCLI (*.usr)" of "Liederimportieren", and the
// `ImportChooser` between reading an export file and importing the chosen songs.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "transfer/song_import.h"
#include "transfer/ui/import_chooser.h"

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;
class SongListsHost;

class TransferController : public QObject {
  Q_OBJECT

 public:
  // A child of the window. Without dialogs it uses the system's file choosers.
  TransferController(AppState& state, SongListsHost& window, Messages& messages, CommonDialogs* dialogs = nullptr);
  ~TransferController() override;

  static TransferController* Of(const QObject& window);

  // `ExportSelectedSongs`: the chosen songs of `CurrentSongList` into a file the user names.
  void ExportSelectedSongs();
  // `ImportExportFile`: reads a file the user chooses and opens the chooser with its titles.
  void ImportExportFile();
  // `ImportChosenSongs`: the chooser's selected rows, in list order, as new songs.
  void ImportChosenSongs();
  // `ImportCcliFiles`: every chosen CCLI song file as a new song.
  void ImportCcliFiles();
  // Files opened from the desktop (psalmora FILE...): an export file (".exp") opens the chooser with its
  // titles like `ImportExportFile`, every other file is imported as a CCLI song file. No file dialog.
  void ImportFiles(const QStringList& files);

  // The open chooser, if any.
  ImportChooser* Chooser() const { return chooser_; }
  // The video list as the imports left it (state.videoList).
  const std::vector<std::string>& VideoList() const;

 signals:
  // Entries were added to the video list (state.videoList); the video page shows it again.
  void videoListChanged();

 private:
  // New songs into the lists, the text cache and the video list; an error box when they were not saved.
  void ShowImported(const ImportResult& result);
  void RememberImportPath(const QString& path);
  void ReadExportFileIntoChooser(const QString& file);
  void ImportCcliFileList(const QStringList& files);
  QString StartFolder() const;

  AppState& state_;
  SongListsHost& window_;
  Messages& messages_;
  std::unique_ptr<CommonDialogs> ownDialogs_;
  CommonDialogs* dialogs_;
  std::vector<std::string> importBuffer_;  // `ImportBuffer`: the plain song lines of the file read last
  QPointer<ImportChooser> chooser_;
};

}  // namespace psalmora
