// `MainWindow`: the menu bar, the three columns (page panel, selection, right pane stack) between two
// splitters, the presentation toolbar strip, the status bar and the main window's shortcuts. It fills
// the song lists from the program state and tracks `CurrentSongList`.
#pragma once

#include <QMainWindow>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"

class QComboBox;
class QSplitter;

namespace psalmora {

struct AppState;
class LeftColumn;
class MainMenuBar;
class MainStatusBar;
class PresentationToolbar;
class PreviewPane;
class RightColumn;
class SelectionColumn;
class SongContextMenu;
class SongListWidget;
enum class MenuCommand;
enum class PresentationCommand;

// Which song list the song commands work on: the one used last.
enum class SongListId { None, Group, Selection, SearchHits };

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(AppState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Widgets other parts of the program fill or read.
  LeftColumn* Left() const { return left_; }
  SelectionColumn* Middle() const { return middle_; }
  RightColumn* Right() const { return right_; }
  PreviewPane* Preview() const;
  PresentationToolbar* PresentationBar() const { return presentationBar_; }
  MainMenuBar* Menu() const { return menu_; }
  MainStatusBar* Status() const { return status_; }
  SongContextMenu* ContextMenu() const { return contextMenu_; }
  QComboBox* GroupChooser() const;
  QComboBox* SelectionChooser() const;
  SongListWidget* GroupSongList() const;
  SongListWidget* SelectionSongList() const;
  SongListWidget* SearchHitList() const;

  SongListId CurrentSongList() const { return currentList_; }
  // The widget of `CurrentSongList` (nullptr while none, e.g. during a new song).
  SongListWidget* CurrentSongListWidget() const;
  void SetCurrentSongList(SongListId list);

  // `RefreshMainSongList`: group file -> `GroupChooser` (keeping its entry, "haupt" at the first fill),
  // then the whole database or the chosen group into `GroupSongList`, the "(n)" tab caption, sorted by
  // title; the group submenu of `SongContextMenu` is rebuilt from the same records.
  void RefreshMainSongList();
  // Selection file -> `SelectionChooser` (keeping its entry, "vor" at the first fill) and
  // `SelectionSongList`.
  void FillSelections();
  // Title change ("record") or removal ("kill") of one song in every song list.
  void RefreshSongRows(std::string_view id, std::string_view record);
  // The menu bar with the captions of the language loaded now.
  void RebuildMenuBar();

  // Values of this run for the shutdown.
  int GroupChooserPosition() const;
  int SelectionChooserPosition() const;
  int BibleChooserPosition() const;
  bool UseSlidesChecked() const;
  int LeftColumnWidth() const;
  int MiddleColumnWidth() const;
  FileTypes FileTypeFieldTexts() const;
  // Copies the values above into the settings and file types the shutdown writes.
  void StoreRunValues(Settings& settings, FileTypes& fileTypes) const;

  // Whether the digit keys 1-9 select slides (from "folie" at construction, then while paging is on).
  bool SlideKeysRegistered() const { return slideKeys_; }
  // Gives the digit keys 1-9 to the slides (paging on) or takes them away (paging off).
  void SetSlideKeys(bool on);

 signals:
  // Every menu command; "Allgemein", "Sprachen", "Info" and "beenden" also have their own signals.
  void menuCommand(MenuCommand command);
  void settingsRequested();
  void languagesRequested();
  void aboutRequested();
  // The window was closed (close box or "beenden"): the program shuts down.
  void quitRequested();
  // Ctrl+N and F1.
  void newSongRequested();
  void helpRequested();
  void presentationCommand(PresentationCommand command);
  // Slide buttons and, when registered, the digit keys.
  void slideChosen(int slide);
  // `ShowPreview`: the song of `CurrentSongList` should be rendered into the preview. Several requests
  // within one event are delivered once.
  void showPreviewRequested();

 public:
  // Asks for the preview again (after a list event, or after the shown song was saved).
  void RequestPreview();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildColumns();
  void BuildShortcuts();
  void ConnectSongList(SongListWidget* list, SongListId id);
  void SongListUsed(SongListId id);
  void ShowSongContextMenu(SongListId id, const QPoint& globalPosition);
  void UpdateRemoveFromGroupItem();
  void OnMenuCommand(MenuCommand command);
  void RememberColumnWidths();

  AppState& state_;
  MainMenuBar* menu_ = nullptr;
  MainStatusBar* status_ = nullptr;
  LeftColumn* left_ = nullptr;
  SelectionColumn* middle_ = nullptr;
  RightColumn* right_ = nullptr;
  PresentationToolbar* presentationBar_ = nullptr;
  SongContextMenu* contextMenu_ = nullptr;
  QSplitter* outerSplitter_ = nullptr;
  QSplitter* innerSplitter_ = nullptr;

  SongListId currentList_ = SongListId::None;
  int shownGroupPosition_ = -1;      // -1 until the first fill
  int shownSelectionPosition_ = -1;  // -1 until the first fill
  bool slideKeys_ = false;
  bool previewPending_ = false;
  int leftWidth_ = 0;
  int middleWidth_ = 0;
};

}  // namespace psalmora
