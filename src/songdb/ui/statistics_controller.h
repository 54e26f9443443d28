// The menu item "Statistik": opens the statistics window over the main window, which stays blocked
// until it closes.
#pragma once

#include <QObject>
#include <memory>

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;
class SongListsHost;

class StatisticsController : public QObject {
  Q_OBJECT

 public:
  // A child of the window. dialogs: the report's file chooser (nullptr: the system's).
  StatisticsController(AppState& state, SongListsHost& window, Messages& messages, CommonDialogs* dialogs = nullptr);
  ~StatisticsController() override;

  static StatisticsController* Of(const QObject& window);

  // `OpenStatistics`: runs the window until "Abbrechen" or the close box.
  void OpenStatistics();

 private:
  AppState& state_;
  SongListsHost& window_;
  Messages& messages_;
  std::unique_ptr<CommonDialogs> ownDialogs_;
  CommonDialogs* dialogs_;
};

}  // namespace psalmora
