// The video page (video site data with its buttons, and the video list) and the file page (file browser,
// refresh button and the four file-type fields) of the left column.
#pragma once

#include <QWidget>
#include <array>
#include <QStringList>
#include <string>
#include <vector>

class QFileSystemModel;
class QLineEdit;
class QListView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace psalmora {

struct AppState;
struct DataFiles;
struct FileTypes;

enum class VideoPageCommand { OpenVideoSite, SwapTitleAndArtist, SaveVideoToList, DownloadVideo, SendVideoToBeamer };

class VideoPage : public QWidget {
  Q_OBJECT

 public:
  VideoPage(AppState& state, QWidget* parent = nullptr);

  QLineEdit* UrlField() const { return url_; }
  QLineEdit* TitleField() const { return title_; }
  QLineEdit* ArtistField() const { return artist_; }
  QTreeWidget* VideoList() const { return videoList_; }
  QToolButton* Button(VideoPageCommand command) const { return buttons_[static_cast<std::size_t>(command)]; }

  // One row per line of the video list: entry id, title (field 5), artist (field 4), with the icon
  // of its state once the data folder's files were given (VideoEntryState); they are remembered.
  void FillVideoList(const std::vector<std::string>& lines, const DataFiles* files = nullptr);
  // The row of the entry id gets the icon of the state; its item data (Qt::UserRole) holds the state's
  // name ("downloaded", "failed", "not downloaded", "busy"). Returns the row, or nullptr.
  QTreeWidgetItem* SetRowState(const QString& id, const QString& state);
  // The entry ids of the selected rows, in list order.
  QStringList ChosenIds() const;

 signals:
  void commandTriggered(VideoPageCommand command);
  // A click plays the chosen video in the preview; a double click or Enter on the beamer.
  void videoChosen(bool beamer);
  // "entfernen" of the list's menu.
  void removeRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* url_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* artist_ = nullptr;
  QTreeWidget* videoList_ = nullptr;
  std::array<QToolButton*, 5> buttons_{};
  const DataFiles* files_ = nullptr;
};

class FilePage : public QWidget {
  Q_OBJECT

 public:
  FilePage(AppState& state, QWidget* parent = nullptr);

  QListView* FileBrowser() const { return browser_; }
  QToolButton* RefreshButton() const { return refresh_; }
  // Re-reads the shown folder with the pattern "*.*".
  void RefreshFolder();
  QString CurrentFolder() const;

  // The four file-type fields, in the order film, music, ppt, bild.
  QLineEdit* FilmField() const { return film_; }
  QLineEdit* MusicField() const { return music_; }
  QLineEdit* PptField() const { return ppt_; }
  QLineEdit* BildField() const { return bild_; }
  // Their texts as the shutdown writes them (Windows-1252).
  FileTypes FieldTexts() const;
  // The file under the list's cursor (empty for a folder or none).
  QString ChosenFile() const;

 signals:
  // A click on a file shows it in the preview ("vor"); Enter shows it on the beamer ("haupt").
  void fileChosen(const QString& path, bool beamer);
  // The list's cursor moved onto a file (a click or the arrow keys).
  void fileSelected(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 public:
  // Shows the folder's entries.
  void ShowFolder(const QString& path);

 private:

  QFileSystemModel* files_ = nullptr;
  QListView* browser_ = nullptr;
  QToolButton* refresh_ = nullptr;
  QLineEdit* film_ = nullptr;
  QLineEdit* music_ = nullptr;
  QLineEdit* ppt_ = nullptr;
  QLineEdit* bild_ = nullptr;
};

}  // namespace psalmora
