// Opens the song editor, the layout settings window and the help from the main window's commands
// (menu, shortcuts, song context menu). Owned by the main window; holds the real system dialogs.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "core/ui/common_dialogs.h"
#include "core/ui/help_viewer.h"

namespace psalmora {

struct AppState;
class HelpWindow;
class LayoutWindow;
class MainWindow;
class Messages;
class SongEditor;
enum class MenuCommand;
enum class SongMenuCommand;

class EditorWindows : public QObject {
  Q_OBJECT

 public:
  EditorWindows(AppState& state, Messages& messages, MainWindow& window);
  ~EditorWindows() override;

  // The window opened last (nullptr once it is closed), for tests.
  SongEditor* OpenSongEditor() const;
  LayoutWindow* OpenLayoutWindow() const;
  HelpWindow* Help() const { return help_.get(); }

 public slots:
  void NewSong();
  void EditSong();
  void OpenLayouts();
  // The help page at a topic ("" for its start).
  void ShowHelp(const QString& topic);

 private:
  void OnMenuCommand(MenuCommand command);
  void OnSongMenuCommand(SongMenuCommand command);

  AppState& state_;
  Messages& messages_;
  MainWindow& window_;
  QtCommonDialogs dialogs_;
  std::unique_ptr<HelpWindow> help_;
  QPointer<SongEditor> songEditor_;
  QPointer<LayoutWindow> layoutWindow_;
};

}  // namespace psalmora
