// `MainWindow`: the menu bar, the three columns (page panel, selection, right pane stack) between two
// splitters, the presentation toolbar strip, the status bar and the main window's shortcuts. It fills
// the song lists from the program state and tracks `CurrentSongList`.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings.h"
#include "render/ui/presentation_host.h"

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
class SearchPage;
class SongListWidget;
enum class MenuCommand;
enum class PresentationCommand;

class MainWindow : public QMainWindow, public PresentationHost {
  Q_OBJECT

 public:
  explicit MainWindow(AppState& state, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Widgets of the shell.
  LeftColumn* Left() const { return left_; }
  SelectionColumn* Middle() const { return middle_; }
  RightColumn* Right() const { return right_; }
  MainMenuBar* Menu() const { return menu_; }
  MainStatusBar* Status() const { return status_; }
  SongContextMenu* ContextMenu() const { return contextMenu_; }

  // What the rooms' controllers see of the window.
  QWidget* HostWindow() override { return this; }
  SongListWidget* GroupSongList() const override;
  SongListWidget* SelectionSongList() const override;
  SongListWidget* SearchHitList() const override;
  QComboBox* GroupChooser() const override;
  QComboBox* SelectionChooser() const override;
  SearchPage* Search() const override;
  SongListId CurrentSongList() const override { return currentList_; }
  SongListWidget* CurrentSongListWidget() const override;
  void SetCurrentSongList(SongListId list) override;
  SongListId ShownPageList() const override;
  // Group file -> `GroupChooser` (keeping its entry, "haupt" at the first fill), then the whole database
  // or the chosen group into `GroupSongList`, the "(n)" tab caption, sorted by title; the group submenu
  // of `SongContextMenu` is rebuilt from the same records.
  void RefreshMainSongList() override;
  // Selection file -> `SelectionChooser` (keeping its entry, "vor" at the first fill) and
  // `SelectionSongList`.
  void FillSelections() override;
  void RefreshSongRows(std::string_view id, std::string_view record) override;
  void SetGroupRowCount(int rows) override;
  // Several requests within one event are delivered once.
  void RequestPreview() override;
  void ShowProgress(int percent, const QString& text) override;
  void EndProgress() override;
  PreviewPane* Preview() const override;
  PresentationToolbar* PresentationBar() const override { return presentationBar_; }
  void ShowPreviewPane() override;
  void ShowBeamerTitle(const QString& title) override;
  void ShowStatusMessage(const QString& text) override;
  // The digits are taken from "folie" at construction, then while paging is on.
  void SetSlideKeys(bool on) override;
  bool SlideKeysRegistered() const { return slideKeys_; }

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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildColumns();
  void BuildShortcuts();
  void ConnectSongList(SongListWidget* list, SongListId id);
  void SongListUsed(SongListId id);
  // `TransposeField` := "0" when the songs chosen in `CurrentSongList` are not the ones chosen before.
  void ResetTranspositionForAnotherSong();
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
  QStringList chosenSongIds_;  // the songs the transposition was last reset for
  bool listUsed_ = false;      // a list was clicked or moved in since the last preview
  int shownGroupPosition_ = -1;      // -1 until the first fill
  int shownSelectionPosition_ = -1;  // -1 until the first fill
  // The records shown, found again by identity when their files are read anew.
  std::string shownGroup_;
  std::string shownSelection_;
  bool slideKeys_ = false;
  bool previewPending_ = false;
  bool progressWasVisible_ = false;
  bool progressShown_ = false;
  int leftWidth_ = 0;
  int middleWidth_ = 0;
};

}  // namespace psalmora
