// Start-up order: instance guard, program folder, settings, language, movie playback, data folder, song
// store, video list, Bible index, main window, update question, automatic presentation window.
#include "app/application.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "app/controller_wiring.h"
#include "app/editor_windows.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "app/online_panels.h"
#include "app/media_room.h"
#include "collections/ui/collection_controller.h"
#include "core/data_folder.h"
#include "core/data_folder_lock.h"
#include "stage/ui/stage_controller.h"
#include "core/language.h"
#include "core/program_folder.h"
#include "core/registry_store.h"
#include "core/settings.h"
#include "core/startup_files.h"
#include "core/ui/about_box.h"
#include "core/ui/language_dialog.h"
#include "core/ui/messages.h"
#include "core/ui/settings_dialog.h"
#include "core/ui/ui_text.h"
#include "core/ui/user_message_box.h"
#include "online/ui/sync_controller.h"
#include "platform/movie_playback.h"
#include "platform/single_instance.h"
#include "render/ui/presentation_controller.h"
#include "render/ui/preview_controller.h"
#include "render/ui/print_controller.h"
#include "songdb/ui/search_controller.h"
#include "songdb/ui/statistics_controller.h"
#include "songdb/ui/trash_controller.h"
#include "transfer/ui/file_import_controller.h"
#include "transfer/ui/transfer_controller.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;

bool IsRegistryError(const std::string& value) {
  return value.empty() || value == kRegistryErrorOpeningKey || value == kRegistryErrorReadingKey;
}

StartupServices WithDefaults(StartupServices services) {
  if (!services.canPlayMovies) services.canPlayMovies = CanPlayMovies;
  if (!services.startProgram) {
    services.startProgram = [](const QString& program, const QStringList& arguments, const QString& folder) {
      return QProcess::startDetached(program, arguments, folder);
    };
  }
  return services;
}

}  // namespace

Application::Application(StartOptions options, Messages& messages, StartupServices services)
    : options_(std::move(options)), messages_(messages), services_(WithDefaults(std::move(services))) {}

Application::~Application() = default;

fs::path Application::RegistryFile() const {
  return options_.registryFile.empty() ? RegistryStore::DefaultFile() : options_.registryFile;
}

bool Application::ClaimInstance() {
  if (!options_.singleInstance) return true;
  const QString folder = options_.instanceFolder.isEmpty() ? SingleInstance::DefaultFolder() : options_.instanceFolder;
  instance_ = std::make_unique<SingleInstance>(folder, QStringLiteral("psalmora ") + FromCp1252(state_.windowTitle));
  instance_->SetFilesToHandOver(options_.openFiles);
  if (!instance_->Claim()) return false;
  connect(instance_.get(), &SingleInstance::raiseRequested, this, &Application::RaiseWindow);
  connect(instance_.get(), &SingleInstance::openRequested, this, &Application::OpenFiles);
  return true;
}

void Application::LoadInterfaceLanguage(QWidget* parent) {
  const fs::path languageFile = state_.programFolder / kLanguageFileName;
  if (state_.settings.sprache == kLanguageNotChosen) {
    // The dialog's own captions need a table; German until the user has chosen.
    if (state_.language.size() == 0) state_.language.Load(languageFile, kGerman);
    LanguageDialog::Run(state_.settings, state_.language, parent);
  }
  state_.language.Load(languageFile, state_.settings.sprache);
  qtTranslations_.Use(state_.settings.sprache);
}

std::optional<int> Application::Start() {
  const RegistryStore registry(RegistryFile());
  // Without an installer the registry has no version: the program's own one is shown instead.
  const std::string version = registry.Read(kRegistryVersion);
  const std::string versionDate = registry.Read(kRegistryVersionDate);
  state_.versionText = VersionText(IsRegistryError(version) ? PSALMORA_VERSION_DIGITS : version);
  state_.versionDate = IsRegistryError(versionDate) ? PSALMORA_VERSION_DATE : versionDate;
  state_.windowTitle = "Psalmora " + state_.versionText;
  // The guard comes first so that a second start never shows the language dialog or the wizard.
  if (!ClaimInstance()) return ReportRunningInstance();

  const fs::path executableFolder = RunningProgramFolder();
  state_.programFolder = ChooseProgramFolder(options_.programDir, executableFolder);
  if (const fs::path defaults = FindDefaultsFolder(executableFolder); !defaults.empty()) {
    InstallDefaults(defaults, state_.programFolder);
  }
  const fs::path settingsFile = state_.programFolder / kSettingsFileName;
  state_.settings = LoadSettings(settingsFile, ToCp1252(QDir::homePath()));
  LoadInterfaceLanguage(nullptr);
  if (quitting_) return 0;

  if (!services_.canPlayMovies()) {
    messages_.Show(nullptr, MessageIcon::Error, QStringLiteral("Error"),
                   QStringLiteral("Can't initialize movie playback !"));
    return 1;
  }
  if (std::optional<int> ended = LocateDataFolder()) return ended;
  if (instance_) instance_->SetDataFolder(QString::fromStdString(state_.dataFiles.folder.string()));
  if (!LockDataFolder()) return 1;

  state_.songs = SongStore(state_.dataFiles);
  const DataFolderStart prepared = PrepareDataFolder(state_.songs, settingsFile, state_.language);
  if (prepared.message) {
    ShowUserMessage(messages_, nullptr, *prepared.message);
  }
  state_.songs.LoadSongList();
  if (state_.songs.SongListUnreadable()) {
    messages_.Show(nullptr, MessageIcon::Error, Tr("Error", state_),
                   Tr("Die Liederdatei konnte nicht gelesen werden!", state_) + QStringLiteral("\n") +
                       QString::fromStdString(state_.dataFiles.lieder.string()));
  }
  // The search's text cache follows every song text written from now on.
  state_.songTexts.Attach(state_.songs);
  state_.videoList = LoadVideoList(state_.dataFiles);
  state_.bibleIndex = LoadBibleIndex(state_.programFolder);
  state_.fileTypes = LoadFileTypes(settingsFile);

  // A new updater left by the last update run takes the old one's place before anything could start it.
  if (const UpdaterReplacement swap = ReplaceUpdater(state_.programFolder); swap.outcome == UpdaterSwap::kFailed) {
    std::fprintf(stderr, "psalmora: the new updater could not replace the old one: %s\n", swap.error.c_str());
  }

  BuildMainWindow();
  FollowChangesOnDisk();
  AskAndStartUpdater();
  if (state_.settings.autoopen != 0 && !quitting_) OpenPresentationAtStart();
  if (!options_.openFiles.isEmpty()) {
    QTimer::singleShot(0, this, [this] { OpenFiles(options_.openFiles); });
  }
  return std::nullopt;
}

bool Application::LockDataFolder() {
  auto acquired = DataFolderLock::Acquire(state_.dataFiles.folder, LockHolderKind::kProgram);
  if (auto* lock = std::get_if<DataFolderLock>(&acquired)) {
    folderLock_.emplace(std::move(*lock));
    return true;
  }
  // Another computer (or another run here) writes to the folder: this start writes nothing to it.
  const LockRefusal& refusal = std::get<LockRefusal>(acquired);
  std::fprintf(stderr, "psalmora: %s\n", refusal.message.c_str());
  messages_.Show(nullptr, MessageIcon::Warning, QStringLiteral("Psalmora"),
                 FromCp1252(refusal.message) + QStringLiteral("\n\n") +
                     QDir::toNativeSeparators(QString::fromStdString(state_.dataFiles.folder.string())));
  return false;
}

void Application::FollowChangesOnDisk() {
  // A store file changed by another writer was read again before a change: the lists show it. Queued,
  // so the operation that noticed it finishes on the fresh list first.
  state_.songs.SetReloadObserver([this] {
    QTimer::singleShot(0, window_.get(), [this] {
      window_->RefreshMainSongList();
      window_->FillSelections();
    });
  });
}

void Application::OpenFiles(const QStringList& files) {
  if (!window_ || quitting_) return;
  if (TransferController* transfer = TransferController::Of(*window_)) transfer->ImportFiles(files);
}

int Application::ReportRunningInstance() {
  const QString running = instance_ ? instance_->RunningDataFolder() : QString();
  fs::path wanted;
  if (!options_.dataDir.empty()) {
    wanted = fs::absolute(options_.dataDir).lexically_normal();
  } else if (const std::string stored = RegistryStore(RegistryFile()).Read(kRegistryDataFolder);
             !IsRegistryError(stored)) {
    wanted = stored;
  }
  if (running.isEmpty() || wanted.empty()) return 0;
  const fs::path runningFolder = running.toStdString();
  std::error_code error;
  if (fs::equivalent(wanted, runningFolder, error) || wanted.lexically_normal() == runningFolder.lexically_normal()) {
    return 0;
  }
  // The window that came to the front shows other songs than the ones asked for: say so.
  const QString text =
      QStringLiteral(
          "Psalmora läuft bereits und benutzt den Datenordner\n%1\n\nDer Datenordner\n%2\n"
          "kann erst geöffnet werden, wenn Psalmora beendet wurde.")
          .arg(QDir::toNativeSeparators(running), QDir::toNativeSeparators(QString::fromStdString(wanted)));
  std::fprintf(stderr, "psalmora: already running with the data folder %s\n", qPrintable(running));
  messages_.Show(nullptr, MessageIcon::Information, QStringLiteral("Psalmora"), text);
  return 1;
}

std::optional<int> Application::LocateDataFolder() {
  if (!options_.dataDir.empty()) {
    // A folder named on the command line bypasses the registry and the wizard.
    const fs::path folder = fs::absolute(options_.dataDir).lexically_normal();
    if (!CreateFolderLevels(folder).accepted) {
      qCritical("psalmora: cannot create the data folder %s", folder.c_str());
      return 2;
    }
    state_.dataFiles = DataFiles::For(folder);
    return std::nullopt;
  }
  const RegistryStore registry(RegistryFile());
  const DataFolderCheck check = CheckDataFolder(registry.Read(kRegistryDataFolder), state_.language);
  if (check.message) {
    ShowUserMessage(messages_, nullptr, *check.message);
  }
  if (check.needsWizard) return RunWizard();
  state_.dataFiles = DataFiles::For(check.folder);
  return std::nullopt;
}

std::optional<int> Application::RunWizard() {
  RegistryStore registry(RegistryFile());
  FolderWizard wizard(registry, messages_, QDir::toNativeSeparators(FolderWizard::DefaultProposal()));
  if (services_.folderChooser) wizard.SetFolderChooser(services_.folderChooser);
  if (wizard.exec() != QDialog::Accepted || quitting_) return wizard.StoreFailed() ? 1 : 0;
  state_.dataFiles = DataFiles::For(wizard.ChosenFolder());
  return std::nullopt;
}

void Application::BuildMainWindow() {
  window_ = std::make_unique<MainWindow>(state_);
  new PreviewController(state_, *window_, &messages_);         // a child of the window
  new EditorWindows(state_, messages_, *window_);  // song editor, layout window, help; a child too
  // After the preview, whose slide markers and pages the beamer follows; a child of the window too.
  new PresentationController(state_, *window_, messages_);
  new SearchController(state_, *window_);
  new CollectionController(state_, *window_, messages_);
  new TrashController(state_, *window_, messages_);
  new TransferController(state_, *window_, messages_);
  new FileImportController(state_, *window_, messages_);
  new PrintController(state_, *window_, messages_);
  new StatisticsController(state_, *window_, messages_);
  new SyncController(state_, *window_, messages_, services_.sync);
  // After the presentation controller, whose beamer it shows on the phones.
  new StageController(state_, *window_, messages_, options_.stagePort);
  CreateMediaControllers(state_, *window_, messages_);
  CreateOnlineControllers(state_, *window_, messages_);
  ConnectControllers(*window_);
  connect(window_.get(), &MainWindow::settingsRequested, this, &Application::OpenSettings);
  connect(window_.get(), &MainWindow::languagesRequested, this, &Application::ChooseLanguage);
  connect(window_.get(), &MainWindow::aboutRequested, this, &Application::ShowAbout);
  connect(window_.get(), &MainWindow::quitRequested, this, &Application::RequestQuit);
  connect(window_.get(), &MainWindow::menuCommand, this, [this](MenuCommand command) {
    if (command == MenuCommand::OnlineUpdate) StartUpdaterFromMenu();
  });
  window_->showMaximized();
  ShowNewsAtStart(*window_);
}

bool Application::UpdaterInstalled() const {
  std::error_code error;
  return fs::is_regular_file(UpdaterPath(state_.programFolder), error);
}

void Application::AskAndStartUpdater() {
  // Without an updater the question would promise something the program cannot do.
  if (!UpdaterInstalled()) return;
  if (state_.settings.updateauto == -1) {
    const bool yes = messages_.AskYesNo(
        window_.get(), Tr("Psalmora Online Update", state_),
        Tr("Soll Psalmora in Zukunft automatisch bei jedem Programmstart eine Suche nach Updates durchführen?",
           state_));
    // A session that ends while the question is up (SIGTERM, logout) has not answered it: ask again
    // next time instead of storing a "No" the user never gave.
    if (quitting_) return;
    state_.settings.updateauto = yes ? 1 : 0;
  }
  if (state_.settings.updateauto == 1) StartUpdater({QStringLiteral("auto")});
}

bool Application::StartUpdater(const QStringList& arguments) {
  const QString updater = QString::fromStdString(UpdaterPath(state_.programFolder).string());
  ++updaterStarts_;
  // A broken updater is not the user's concern at start-up: no message there.
  return services_.startProgram(updater, arguments, QString::fromStdString(state_.programFolder.string()));
}

void Application::StartUpdaterFromMenu() {
  const QString updater = QDir::toNativeSeparators(QString::fromStdString(UpdaterPath(state_.programFolder).string()));
  // Asked for by the user: a missing or broken updater is said, not swallowed.
  if (!UpdaterInstalled()) {
    messages_.Show(window_.get(), MessageIcon::Information, Tr("Psalmora Online Update", state_),
                   Tr("Meldung kein Updater", state_) + QStringLiteral("\n") + updater);
    return;
  }
  if (!StartUpdater({})) {
    messages_.Show(window_.get(), MessageIcon::Warning, Tr("Psalmora Online Update", state_),
                   Tr("Meldung Updater startet nicht", state_) + QStringLiteral("\n") + updater);
  }
}

void Application::OpenSettings() {
  SettingsDialog::Run(state_, messages_, window_.get());
}

void Application::ChooseLanguage() {
  LanguageDialog::Run(state_.settings, state_.language, window_.get());
  state_.language.Load(state_.programFolder / kLanguageFileName, state_.settings.sprache);
  qtTranslations_.Use(state_.settings.sprache);
  if (window_) window_->RebuildMenuBar();
}

void Application::ShowAbout() {
  ShowAboutBox(state_, messages_, window_.get());
}

void Application::OpenPresentationAtStart() {
  if (PresentationController* presentation = PresentationController::Of(*window_)) presentation->OpenPresentation(1);
}

int Application::PresentationMode() const {
  const PresentationController* presentation = window_ ? PresentationController::Of(*window_) : nullptr;
  return presentation ? presentation->PresentationMode() : 0;
}

void Application::RaiseWindow() {
  QWidget* target = QApplication::activeModalWidget();
  if (!target) target = window_.get();
  if (!target) return;
  if (target->isMinimized()) target->showNormal();
  target->show();
  target->raise();
  target->activateWindow();
}

void Application::QuitFromSignal() {
  if (window_ && !quitting_) {
    window_->close();
  } else {
    RequestQuit();
  }
}

void Application::RequestQuit() {
  quitting_ = true;
  // Without a running loop (still starting up, or driven by a test) the flag alone ends the run: an
  // exit() then would make every later event loop return at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void Application::Shutdown() {
  if (shutDown_ || !window_) return;
  shutDown_ = true;
  DeletePageFiles(state_.dataFiles.folder);
  window_->StoreRunValues(state_.settings, state_.fileTypes);
  bool controlWindowExists = false;
  bool songOrderWindowExists = false;
  if (PresentationController* presentation = PresentationController::Of(*window_)) {
    presentation->StoreRunValues(state_.settings);
    controlWindowExists = presentation->ControlWindowExists();
    songOrderWindowExists = presentation->SongOrderWindowExists();
  }
  SaveShutdownSettings(state_.programFolder / kSettingsFileName, state_.settings, state_.fileTypes, controlWindowExists,
                       songOrderWindowExists);
  state_.songs.SetReloadObserver({});
  folderLock_.reset();
}

int Application::Run() {
  if (std::optional<int> ended = Start()) return *ended;
  int status = 0;
  if (!quitting_) status = QApplication::exec();
  Shutdown();
  return status;
}

}  // namespace psalmora
