// The menu item "syncmitcb": the login to the song-management service when no user id is stored, then
// the synchronisation of songs and selections. Every request runs on a worker thread while a dialog
// shows the progress; the song store, the selections and the settings are changed on the interface
// thread alone, once the requests are done.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "online/web_access.h"

class QThread;

namespace psalmora {

struct AppState;
struct LoginResult;
struct SyncOutcome;
struct SyncReport;
struct SyncSnapshot;
class Messages;
class SongListsHost;

class SyncController : public QObject {
  Q_OBJECT

 public:
  struct Services {
    std::function<bool()> isOnline;      // default: the system's network state (IsOnline)
    std::function<HttpGet()> transport;  // a connection for one run; default: libcurl (CurlHttpGet)
  };

  // A child of the window.
  SyncController(AppState& state, SongListsHost& window, Messages& messages, Services services = {});
  ~SyncController() override;

  static SyncController* Of(const QObject& window);

  // `SyncWithCantabox`: returns at once; the work goes on beside the interface thread and ends with a
  // message (and syncFinished).
  void SyncWithCantabox();

  bool Running() const { return worker_ != nullptr; }
  // The dialog shown while a request runs (nullptr otherwise).
  QProgressDialog* Progress() const { return progress_; }

 signals:
  // The login or synchronisation begun by SyncWithCantabox has ended (its message was shown); ok when
  // the synchronisation completed.
  void syncFinished(bool ok);

 private:
  // A server on this machine needs no network connection.
  bool NetworkAvailable() const;
  void Login();
  void FinishLogin(const LoginResult& result);
  void StartSync();
  void UpdateProgress(int done, int total, const QString& text);
  void FinishSync(const SyncSnapshot& snapshot, const SyncOutcome& outcome);
  void ShowChanges(const SyncReport& report);
  void ReportResult(const SyncReport& report, const QString& serverAddress);
  void Finish(bool ok);
  // Runs work on a new worker thread; only one at a time.
  void StartWorker(std::function<void()> work);
  void EndWorker();
  QProgressDialog* OpenProgress(const QString& label, int total);
  void CloseProgress();

  AppState& state_;
  SongListsHost& window_;
  Messages& messages_;
  Services services_;
  QThread* worker_ = nullptr;
  QPointer<QProgressDialog> progress_;
  QPointer<QProgressBar> bar_;
  std::atomic<bool> cancel_{false};
};

}  // namespace psalmora
