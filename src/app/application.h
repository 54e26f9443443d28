// The application object: owns the program-wide state and the main window, runs the start-up sequence
// in its documented order, serves the menu commands of the application core and shuts down.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "core/data_folder_lock.h"
#include "core/ui/app_state.h"
#include "core/ui/folder_wizard.h"
#include "online/ui/sync_controller.h"
#include "platform/qt_translations.h"

namespace psalmora {

class MainWindow;
class Messages;
class SingleInstance;

struct StartOptions {
  std::filesystem::path programDir;    // empty: the running program's folder (or the per-user one)
  std::filesystem::path dataDir;       // empty: the registry's "DIR-Daten" (and the wizard when needed)
  std::filesystem::path registryFile;  // empty: RegistryStore::DefaultFile()
  QString instanceFolder;              // empty: SingleInstance::DefaultFolder()
  bool singleInstance = true;
  QStringList openFiles;  // export and CCLI song files to import once the window is up (psalmora FILE...)
  std::optional<int> stagePort;  // --stage-port: the stage view's server on this port for this run
};

// What the start-up needs from the machine, replaceable by tests.
struct StartupServices {
  std::function<bool()> canPlayMovies;  // default: CanPlayMovies()
  FolderChooser folderChooser;          // default: the system folder chooser
  // Starts a program without waiting; default: QProcess::startDetached.
  std::function<bool(const QString& program, const QStringList& arguments, const QString& folder)> startProgram;
  // The network state and the transport of the synchronisation; defaults: the system's and libcurl.
  SyncController::Services sync;
};

class Application : public QObject {
  Q_OBJECT

 public:
  Application(StartOptions options, Messages& messages, StartupServices services = {});
  ~Application() override;

  // Runs the start-up sequence. Nothing when the main window is up and the event loop may run; else the
  // exit status of a start that ended early (second instance, cancelled wizard, no movie playback).
  std::optional<int> Start();
  // Start, the event loop, the shutdown.
  int Run();
  // Deletes the page files and writes the run's settings; does nothing the second time.
  void Shutdown();
  // Ends the event loop; Run() then shuts down. Used by "beenden", the close box and SIGTERM/SIGINT.
  void RequestQuit();

  AppState& State() { return state_; }
  MainWindow* Window() const { return window_.get(); }
  // The registry store in use (the per-user file, or the one of the options).
  std::filesystem::path RegistryFile() const;
  // How many times the updater was started in this run (tests).
  int UpdaterStarts() const { return updaterStarts_; }
  // `PresentationMode` asked for at start: 1 (second monitor) when "autoopen" opened it, else 0.
  // `PresentationMode`: the monitor the presentation window last opened on (0 first, 1 second).
  int PresentationMode() const;

 public slots:
  // Menu items of the application core: "Allgemein", "Sprachen", "Info".
  void OpenSettings();
  void ChooseLanguage();
  void ShowAbout();
  void RaiseWindow();
  // Files given on the command line or handed over by a second start: their import, without a dialog.
  void OpenFiles(const QStringList& files);
  // SIGTERM/SIGINT: the same way out as closing the main window (before it exists: end the start-up).
  void QuitFromSignal();

 private:
  bool ClaimInstance();
  // A second start: 0 when the running program uses the data folder asked for, else says which one it
  // uses and returns 1.
  int ReportRunningInstance();
  // The data folder's writer lock for the whole run; false (after saying who holds it) when another
  // program has it.
  bool LockDataFolder();
  // Lists follow store files that another writer changed.
  void FollowChangesOnDisk();
  void LoadInterfaceLanguage(QWidget* parent);
  std::optional<int> LocateDataFolder();
  std::optional<int> RunWizard();
  void BuildMainWindow();
  bool UpdaterInstalled() const;
  void AskAndStartUpdater();
  // False when the program could not be started.
  bool StartUpdater(const QStringList& arguments);
  // "onlineup": the updater without a parameter, or a message why it cannot run.
  void StartUpdaterFromMenu();
  // Where the presentation window opens at start when "autoopen" is set; the window itself belongs to
  // the presentation subsystem, which connects here.
  void OpenPresentationAtStart();

  StartOptions options_;
  Messages& messages_;
  StartupServices services_;
  AppState state_;
  std::unique_ptr<SingleInstance> instance_;
  std::optional<DataFolderLock> folderLock_;
  QtTranslations qtTranslations_;
  std::unique_ptr<MainWindow> window_;
  bool shutDown_ = false;
  bool quitting_ = false;
  int updaterStarts_ = 0;
};

}  // namespace psalmora
