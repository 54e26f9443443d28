// Captions are translation keys; the import items carry their file patterns after the translation, and
// the keyboard hints after a TAB are shown by Qt in the shortcut column. The shortcuts themselves are
// registered on the main window, so they keep working while the bar is rebuilt.
#include "app/main_menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "core/ui/app_icons.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_text.h"

namespace psalmora {

MainMenuBar::MainMenuBar(QMenuBar* bar, AppState& state, QObject* parent) : QObject(parent), bar_(bar), state_(state) {
  Rebuild();
}

QAction* MainMenuBar::AddItem(QMenu* menu, const QString& caption, MenuCommand command) {
  QAction* action = menu->addAction(caption);
  connect(action, &QAction::triggered, this, [this, command] { emit commandTriggered(command); });
  actions_[command] = action;
  return action;
}

QAction* MainMenuBar::Action(MenuCommand command) const {
  const auto found = actions_.find(command);
  return found == actions_.end() ? nullptr : found->second;
}

void MainMenuBar::Rebuild() {
  // The bar owns its menus; clear() only detaches them, so the old build is deleted here.
  const QList<QAction*> old = bar_->actions();
  bar_->clear();
  for (QAction* action : old) {
    if (QMenu* menu = action->menu<QMenu*>()) menu->deleteLater();
  }
  actions_.clear();

  QMenu* songs = bar_->addMenu(Tr("Liederv", state_));
  AddItem(songs, Tr("NeuesLied", state_) + QStringLiteral("\tStrg+N"), MenuCommand::NewSong);
  songs->addSeparator();
  QMenu* import = songs->addMenu(Tr("Liederimportieren", state_));
  AddItem(import, Tr("Exportdatei", state_) + QStringLiteral(" (*.exp)"), MenuCommand::ImportExportFile);
  AddItem(import, Tr("Powerpoint", state_) + QStringLiteral(" (*.ppt;*.pps)"), MenuCommand::ImportPowerpoint);
  AddItem(import, Tr("Lieder von CCLI", state_) + QStringLiteral(" (*.usr)"), MenuCommand::ImportCcli);
  AddItem(import, Tr("Textdateien", state_) + QStringLiteral(" (*.txt)"), MenuCommand::ImportText);
  songs->addSeparator();
  AddItem(songs, Tr("syncmitcb", state_), MenuCommand::SyncCantabox);
  songs->addSeparator();
  AddItem(songs, Tr("Papierkorb", state_), MenuCommand::Trash);
  songs->addSeparator();
  AddItem(songs, Tr("beenden", state_), MenuCommand::Quit);

  QMenu* settings = bar_->addMenu(Tr("Einstellungen", state_));
  AddItem(settings, Tr("Allgemein", state_), MenuCommand::SettingsGeneral);
  AddItem(settings, Tr("Layouts", state_), MenuCommand::Layouts);
  AddItem(settings, Tr("Sprachen", state_), MenuCommand::Languages);

  QMenu* presentation = bar_->addMenu(Tr("Präsentation", state_));
  AddItem(presentation, Tr("Anzeigenam", state_), MenuCommand::ShowOnFirstMonitor)->setIcon(AppIcon(IconId::Monitor1));
  AddItem(presentation, Tr("Anzeigenab", state_), MenuCommand::ShowOnSecondMonitor)->setIcon(AppIcon(IconId::Monitor2));
  AddItem(presentation, Tr("Kontrollfenster", state_), MenuCommand::ControlWindow);
  presentation->addSeparator();
  AddItem(presentation, Tr("Monitor Info", state_), MenuCommand::MonitorInfo);
  AddItem(presentation, Tr("Bühnenansicht und Fernbedienung", state_), MenuCommand::StageView);
  presentation->addSeparator();
  AddItem(presentation, Tr("Statistik", state_), MenuCommand::Statistics);

  QMenu* help = bar_->addMenu(Tr("Hilfe", state_));
  AddItem(help, Tr("Hilfe", state_) + QStringLiteral("\tF1"), MenuCommand::Help);
  AddItem(help, Tr("onlineup", state_), MenuCommand::OnlineUpdate);
  AddItem(help, Tr("Psalmoraaktuell", state_), MenuCommand::News);
  AddItem(help, Tr("Info", state_), MenuCommand::About);
}

}  // namespace psalmora
