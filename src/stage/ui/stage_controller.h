// `StageController`: the bridge between the beamer and the stage view's web server. On the interface
// thread it takes a snapshot of the beamer (song, slide, bands, black, free text, the selection) after
// every change and hands it to the server; the remote's actions come back from the server's threads
// and run here through the presentation controller, exactly as the main window's buttons do.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "stage/stage_server.h"
#include "stage/stage_settings.h"

namespace psalmora {

struct AppState;
class Messages;
class PresentationController;
class PresentationHost;
class StageWindow;

class StageController : public QObject {
  Q_OBJECT

 public:
  // A child of the window; created after the presentation controller. portForRun: `--stage-port N`,
  // which switches the server on for this run whatever the settings say.
  StageController(AppState& state, PresentationHost& window, Messages& messages,
                  std::optional<int> portForRun = std::nullopt);
  ~StageController() override;

  static StageController* Of(const QObject& window);

  // Starts or stops the server as the settings (or the run's port) say. A port that cannot be had is
  // reported to the user; false then.
  bool Apply();
  bool IsServing() const { return server_ && server_->IsRunning(); }
  int Port() const { return server_ ? server_->Port() : 0; }
  const StageSettings& Settings() const { return settings_; }
  // Saves new settings and applies them.
  bool ChangeSettings(const StageSettings& settings);
  // The addresses phones can reach, "http://<address>:<port>/" (stage page; + "remote" for the remote).
  QStringList Addresses() const;

  // The window with the settings, the addresses and their QR codes ("Bühnenansicht und Fernbedienung").
  void ShowWindow();
  StageWindow* Window() const;

  // The snapshot now instead of after the event loop's next turn (tests, benchmarks).
  void PublishNow();
  StageServer* Server() const { return server_.get(); }

 signals:
  // The remote sent a free text to the beamer; the shell puts it into the free-text fields too.
  void freeTextSent(const QString& header, const QString& text);
  void servingChanged();

 private:
  // On in the settings, or given a port for this run.
  bool IsWanted() const;
  void ConnectBeamer();
  void SchedulePublish();
  StageState Snapshot();
  void RunAction(const RemoteAction& action);
  std::string LabelsJson() const;

  AppState& state_;
  PresentationHost& main_;
  Messages& messages_;
  std::optional<int> portForRun_;
  StageSettings settings_;
  std::unique_ptr<StageServer> server_;
  QPointer<StageWindow> window_;
  bool publishPending_ = false;
  // The song last turned into cells, kept while its record (and so its change time) stays the same.
  std::string cachedRecord_;
  std::shared_ptr<const StageSong> cachedSong_;
};

}  // namespace psalmora
