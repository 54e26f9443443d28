// SyncController: the dialog flow around the service code. The worker gets copies (the snapshot, the
// typed e-mail and password) and hands back plain results through queued calls; a closed window
// cancels the run and waits for the worker before the controller goes.
#include "online/ui/sync_controller.h"

#include <QProgressBar>
#include <QProgressDialog>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "collections/pending_deletions.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "online/song_sync.h"
#include "platform/network_state.h"
#include "songdb/ui/song_lists_host.h"

namespace psalmora {
namespace {

SyncController::Services WithDefaults(SyncController::Services services) {
  if (!services.isOnline) services.isOnline = IsOnline;
  if (!services.transport) services.transport = CurlHttpGet;
  return services;
}

void ForgetText(std::string& text) {
  // The typed password should not linger in freed memory longer than needed.
  std::fill(text.begin(), text.end(), '\0');
  text.clear();
}

}  // namespace

SyncController::SyncController(AppState& state, SongListsHost& window, Messages& messages, Services services)
    : QObject(window.HostWindow()),
      state_(state),
      window_(window),
      messages_(messages),
      services_(WithDefaults(std::move(services))) {
  setObjectName(QStringLiteral("syncController"));
}

SyncController::~SyncController() {
  cancel_ = true;
  if (worker_) worker_->wait();
}

SyncController* SyncController::Of(const QObject& window) {
  return window.findChild<SyncController*>(QStringLiteral("syncController"), Qt::FindDirectChildrenOnly);
}

bool SyncController::NetworkAvailable() const {
  return IsLoopbackHost(FromCp1252(state_.settings.serveradresse)) || services_.isOnline();
}

void SyncController::SyncWithCantabox() {
  if (Running()) {
    if (progress_) progress_->activateWindow();
    return;
  }
  if (!NetworkAvailable()) {
    messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Datenabgleich mit Cantabox", state_),
                   Tr("Es besteht keine Internetverbindung!", state_));
    emit syncFinished(false);
    return;
  }
  if (state_.settings.useridcb.empty()) {
    Login();
  } else {
    StartSync();
  }
}

void SyncController::Login() {
  QWidget* host = window_.HostWindow();
  const std::optional<QString> email =
      messages_.AskText(host, Tr("Login Cantabox", state_), Tr("Emailadresse:", state_), false);
  if (!email || email->trimmed().isEmpty()) return Finish(false);
  const std::optional<QString> password =
      messages_.AskText(host, Tr("Login Cantabox", state_), Tr("Passwort:", state_), true);
  if (!password || password->isEmpty()) return Finish(false);

  cancel_ = false;
  OpenProgress(Tr("Anmeldung bei Cantabox", state_), 0);
  StartWorker([this, http = services_.transport(), address = state_.settings.serveradresse,
               mail = ToCp1252(email->trimmed()), secret = ToCp1252(*password)]() mutable {
    LoginResult result = LoginCantabox(http, address, mail, secret);
    ForgetText(secret);
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)] { FinishLogin(result); }, Qt::QueuedConnection);
  });
}

void SyncController::FinishLogin(const LoginResult& result) {
  EndWorker();
  CloseProgress();
  if (cancel_) return Finish(false);
  if (!result.ok) {
    messages_.Show(window_.HostWindow(), MessageIcon::None, Tr("Fehler", state_), FromCp1252(result.error));
    return Finish(false);
  }
  const WriteResult stored = StoreUserId({state_.settings, state_.programFolder / kSettingsFileName}, result.userId);
  // The id holds for this run even when the settings file cannot take it; the next start asks again.
  if (!stored) std::fprintf(stderr, "psalmora: %s\n", stored.error.c_str());
  StartSync();
}

void SyncController::StartSync() {
  auto snapshot = std::make_shared<const SyncSnapshot>(TakeSyncSnapshot(state_.songs, state_.settings));
  cancel_ = false;
  OpenProgress(Tr("%1 von %2 Liedern", state_).arg(0).arg(snapshot->songs.size()),
               static_cast<int>(snapshot->songs.size()));
  StartWorker([this, snapshot, http = services_.transport()] {
    const SyncProgressFunction progress = [this](const SyncProgress& step) {
      QMetaObject::invokeMethod(
          this,
          [this, done = step.done, total = step.total, text = FromCp1252(step.text)] {
            UpdateProgress(done, total, text);
          },
          Qt::QueuedConnection);
    };
    auto outcome = std::make_shared<const SyncOutcome>(RunSyncRequests(*snapshot, http, progress, &cancel_));
    QMetaObject::invokeMethod(
        this, [this, snapshot, outcome] { FinishSync(*snapshot, *outcome); }, Qt::QueuedConnection);
  });
}

void SyncController::UpdateProgress(int done, int total, const QString& text) {
  if (!progress_ || !bar_ || cancel_) return;
  // The songs' steps in the interface language; other steps (the selections) as the service code says.
  const bool songs = text.isEmpty() || text.endsWith(QStringLiteral(" Liedern"));
  progress_->setLabelText(songs ? Tr("%1 von %2 Liedern", state_).arg(done).arg(total) : text);
  // The bar itself, not QProgressDialog::setValue: that one runs the event loop of a modal dialog, and
  // the worker's result would then be handled in the middle of this update.
  bar_->setMaximum(std::max(total, 1));
  bar_->setValue(std::min(done, std::max(total, 1)));
}

void SyncController::FinishSync(const SyncSnapshot& snapshot, const SyncOutcome& outcome) {
  EndWorker();
  CloseProgress();
  const SettingsFileRef settings{state_.settings, state_.programFolder / kSettingsFileName};
  const SyncReport report = ApplySyncOutcome(snapshot, outcome, state_.songs, settings);
  ShowChanges(report);
  if (report.error == SyncError::kRejected) {
    // The service no longer knows this user id: the next run logs in again.
    const WriteResult cleared = StoreUserId(settings, "");
    if (!cleared) std::fprintf(stderr, "psalmora: %s\n", cleared.error.c_str());
  }
  ReportResult(report, FromCp1252(snapshot.serverAddress));
  Finish(report.Ok());
}

void SyncController::ShowChanges(const SyncReport& report) {
  const bool songsChanged = !report.createdIds.empty() || !report.changedIds.empty() || !report.deletedIds.empty();
  const bool selectionsChanged =
      report.selectionsDownloaded + report.selectionsChanged + report.selectionsDeleted + report.selectionsUploaded > 0;
  if (!songsChanged && !selectionsChanged) return;
  window_.RefreshMainSongList();
  window_.FillSelections();
  // The search hits keep their rows: titles follow, songs gone from the store leave.
  for (const std::string& id : report.changedIds) window_.RefreshSongRows(id, state_.songs.FindSongRecord(id));
  for (const std::string& id : report.deletedIds) window_.RefreshSongRows(id, "kill");
  if (songsChanged) window_.RequestPreview();
}

void SyncController::ReportResult(const SyncReport& report, const QString& serverAddress) {
  QWidget* host = window_.HostWindow();
  const QString title = Tr("Datenabgleich mit Cantabox", state_);
  QString problems;
  if (!report.problems.empty()) {
    QStringList files;
    for (const std::string& problem : report.problems) files << FromCp1252(problem);
    problems = QStringLiteral("\n\n") + Tr("Dateien nicht geschrieben", state_) + QStringLiteral("\n") +
               files.join(QLatin1Char('\n'));
  }
  switch (report.error) {
    case SyncError::kNone:
      messages_.Show(host, problems.isEmpty() ? MessageIcon::None : MessageIcon::Warning, title,
                     Tr("Synchronisation erfolgreich abgeschlossen", state_) + problems);
      return;
    case SyncError::kUnreachable:
      messages_.Show(host, MessageIcon::Warning, title,
                     Tr("Server nicht erreichbar", state_) + QStringLiteral("\n") + serverAddress);
      return;
    case SyncError::kRejected:
    case SyncError::kNotLoggedIn:
      messages_.Show(host, MessageIcon::None, Tr("Fehler", state_), FromCp1252(report.errorText) + problems);
      return;
    case SyncError::kCancelled:
      messages_.Show(host, MessageIcon::Information, title, Tr("Synchronisation abgebrochen", state_) + problems);
      return;
    case SyncError::kCompareFailed:
      messages_.Show(host, MessageIcon::Warning, title, Tr("Abgleich unvollständig", state_) + problems);
      return;
  }
}

void SyncController::Finish(bool ok) {
  if (QWidget* host = window_.HostWindow()) host->activateWindow();
  emit syncFinished(ok);
}

void SyncController::StartWorker(std::function<void()> work) {
  worker_ = QThread::create(std::move(work));
  connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
  worker_->start();
}

void SyncController::EndWorker() {
  // The worker posted its result as its last act; it ends right after.
  if (worker_) worker_->wait();
  worker_ = nullptr;
}

QProgressDialog* SyncController::OpenProgress(const QString& label, int total) {
  CloseProgress();
  progress_ = new QProgressDialog(label, Tr("Abbrechen", state_), 0, total, window_.HostWindow());
  progress_->setWindowTitle(Tr("Datenabgleich mit Cantabox", state_));
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  progress_->setMinimumWidth(360);
  bar_ = new QProgressBar(progress_);
  bar_->setRange(0, total);  // 0 to 0: busy, while the length of the work is not known
  bar_->setValue(0);
  progress_->setBar(bar_);
  connect(progress_, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
  progress_->show();
  return progress_;
}

void SyncController::CloseProgress() {
  if (!progress_) return;
  progress_->hide();
  progress_->deleteLater();
  progress_ = nullptr;
}

}  // namespace psalmora
