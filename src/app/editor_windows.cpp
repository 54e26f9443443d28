// Main-window commands -> song editor, layout window, help.
#include "app/editor_windows.h"

#include <QLineEdit>
#include <iostream>

#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "app/song_context_menu.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"
#include "render/ui/layout_window.h"
#include "render/ui/preview_pane.h"
#include "songdb/ui/song_editor.h"

namespace psalmora {

EditorWindows::EditorWindows(AppState& state, Messages& messages, MainWindow& window)
    : QObject(&window), state_(state), messages_(messages), window_(window) {
  dialogs_.SetColourCaption(Tr("farbe", state_));
  connect(&window_, &MainWindow::newSongRequested, this, &EditorWindows::NewSong);
  connect(&window_, &MainWindow::helpRequested, this, [this] { ShowHelp(QString()); });
  connect(&window_, &MainWindow::menuCommand, this, &EditorWindows::OnMenuCommand);
  connect(window_.ContextMenu(), &SongContextMenu::commandTriggered, this, &EditorWindows::OnSongMenuCommand);
}

EditorWindows::~EditorWindows() = default;

SongEditor* EditorWindows::OpenSongEditor() const {
  return songEditor_;
}

LayoutWindow* EditorWindows::OpenLayoutWindow() const {
  return layoutWindow_;
}

void EditorWindows::OnMenuCommand(MenuCommand command) {
  if (command == MenuCommand::Layouts) OpenLayouts();
}

void EditorWindows::OnSongMenuCommand(SongMenuCommand command) {
  if (command == SongMenuCommand::NewSong) NewSong();
  if (command == SongMenuCommand::EditSong) EditSong();
}

void EditorWindows::NewSong() {
  songEditor_ =
      SongEditor::OpenNew(state_, {&messages_, &dialogs_, [this](const QString& topic) { ShowHelp(topic); }}, &window_);
}

void EditorWindows::EditSong() {
  songEditor_ = SongEditor::OpenExisting(
      state_, {&messages_, &dialogs_, [this](const QString& topic) { ShowHelp(topic); }}, &window_);
}

void EditorWindows::OpenLayouts() {
  const std::string transposeOffset = ToCp1252(window_.Preview()->TransposeField()->text());
  layoutWindow_ = LayoutWindow::Open(state_, {&messages_, &dialogs_, transposeOffset}, &window_);
}

void EditorWindows::ShowHelp(const QString& topic) {
  const QUrl url = HelpUrl(state_.programFolder, topic);
  if (url.isEmpty()) {
    std::cerr << "psalmora: the help page " << kHelpFileName << " was not found\n";
    return;
  }
  // A window of its own, not a child of the main window: it stays usable while a dialog blocks the main
  // window.
  if (!help_) help_ = std::make_unique<HelpWindow>(Tr("Hilfe", state_));
  help_->ShowPage(url);
}

}  // namespace psalmora
