// The main window's menu bar: "Liederv", "Einstellungen", "Präsentation", "Hilfe" with their items in
// the documented order. It can be rebuilt in place after the interface language changed.
#pragma once

#include <QObject>
#include <map>

class QAction;
class QMenu;
class QMenuBar;

namespace psalmora {

struct AppState;

enum class MenuCommand {
  NewSong,
  ImportExportFile,
  ImportPowerpoint,
  ImportCcli,
  ImportText,
  SyncCantabox,
  Trash,
  Quit,
  SettingsGeneral,
  Layouts,
  Languages,
  ShowOnFirstMonitor,
  ShowOnSecondMonitor,
  ControlWindow,
  MonitorInfo,
  Statistics,
  Help,
  OnlineUpdate,
  News,
  About,
  StageView,
};

class MainMenuBar : public QObject {
  Q_OBJECT

 public:
  MainMenuBar(QMenuBar* bar, AppState& state, QObject* parent = nullptr);

  // Clears the bar and builds every menu again with the captions of the loaded language.
  void Rebuild();
  // The item of a command in the current build (replaced by Rebuild).
  QAction* Action(MenuCommand command) const;

 signals:
  void commandTriggered(MenuCommand command);

 private:
  QAction* AddItem(QMenu* menu, const QString& caption, MenuCommand command);

  QMenuBar* bar_;
  AppState& state_;
  std::map<MenuCommand, QAction*> actions_;
};

}  // namespace psalmora
