// The data pool in the main window: the sharing toggle of the preview toolbar (while it is down every
// song shown in the preview is reported with the current selection), `OpenActivityWindow` with its
// `LoadPoolsAndUsers`, the poll of the chosen member's activity every two seconds while the window is
// open (`RefreshActivity`), and `ShowActiveSong`. Every request runs beside the interface thread, at most
// one of each kind at a time; the session is kept here and renewed when the server forgot it.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "online/web_access.h"

class QAction;
class QTimer;

namespace psalmora {

struct AppState;
class ActivitiesWindow;
class PoolConnection;
class PresentationHost;
class RequestLane;

class DataPoolController : public QObject {
  Q_OBJECT

 public:
  struct Services {
    std::function<bool()> isOnline;  // default: the system's network state (IsOnline)
    HttpGet http;                    // default: HttpGetText (safe from several threads at once)
  };

  // A child of the window; adds the sharing toggle to the preview toolbar.
  DataPoolController(AppState& state, PresentationHost& window, Services services = {});
  ~DataPoolController() override;

  static DataPoolController* Of(const QObject& window);

  // The toolbar toggle "Aktivitäten im Datenpool senden".
  QAction* SharingToggle() const { return sharing_; }
  ActivitiesWindow* Window() const;

  // `OpenActivityWindow`: opens the window unless it is open, and loads the pool and its members.
  void OpenActivityWindow();
  // `LoadPoolsAndUsers` for the pool id of the group chosen in `GroupChooser`.
  void LoadPoolsAndUsers();
  // `ReportActivity`: the song of a preview page (its record line), while sharing is on.
  void ReportActivity(const std::string& record);
  // `RefreshActivity`: the chosen member's activity file downloaded, stored and shown.
  void RefreshActivity();
  // `ShowActiveSong` ("Song").
  void ShowActiveSong();

 signals:
  // The activity of the chosen member was shown (after each successful refresh).
  void activityShown();
  // A report reached the server (ok) or not.
  void activityReported(bool ok);

 private:
  bool NetworkAvailable() const;
  std::string CurrentPoolId() const;
  void ApplyActivity(const std::string& userId, const std::string& file);
  // The local id of a pool song: from the pool's id mapping, else the first song of that title.
  std::string LocalSongId(const std::string& poolId, const std::string& poolSongId, const std::string& title) const;
  void PollTick();

  AppState& state_;
  PresentationHost& window_;
  Services services_;
  std::shared_ptr<PoolConnection> connection_;
  QAction* sharing_ = nullptr;
  QPointer<ActivitiesWindow> activities_;
  QTimer* poll_ = nullptr;
  long long lastRefresh_ = 0;  // whole seconds
  RequestLane* reports_ = nullptr;
  RequestLane* pools_ = nullptr;
  RequestLane* refreshes_ = nullptr;
};

}  // namespace psalmora
