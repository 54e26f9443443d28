// Text and presentation files into songs from the window. Only the reading runs on the worker: the
// song store is touched on the interface thread alone, after the worker has ended.
#include "transfer/ui/file_import_controller.h"
#include "transfer/ui/imported_songs.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

#include <QProgressBar>
#include "core/atomic_file.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "platform/office_process.h"
#include "platform/screens.h"
#include "songdb/timestamp.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"
#include "transfer/presentation_import.h"
#include "transfer/ui/file_import_dialog.h"

namespace psalmora {

FileImportController::FileImportController(AppState& state, SongListsHost& window, Messages& messages,
                                           CommonDialogs* dialogs, OfficeFactory office)
    : QObject(window.HostWindow()), state_(state), window_(window), messages_(messages), office_(std::move(office)) {
  setObjectName(QStringLiteral("fileImportController"));
  if (!dialogs) {
    ownDialogs_ = std::make_unique<QtCommonDialogs>();
    dialogs = ownDialogs_.get();
  }
  dialogs_ = dialogs;
  if (!office_) office_ = [] { return CreateOfficeAutomation(); };
}

FileImportController::~FileImportController() {
  if (worker_) worker_->wait();
}

FileImportController* FileImportController::Of(const QObject& window) {
  return window.findChild<FileImportController*>(QStringLiteral("fileImportController"), Qt::FindDirectChildrenOnly);
}

void FileImportController::ImportOtherFiles(const QString& type) {
  if (dialog_) {
    dialog_->activateWindow();
    return;
  }
  const std::filesystem::path settingsFile = state_.programFolder / kSettingsFileName;
  const AssignmentRules rules = LoadImportRules(settingsFile);
  QString filter = QStringLiteral("Alle (*.*)");
  if (type == QStringLiteral("ppt")) {
    filter = QStringLiteral("Powerpoint (*.ppt *.pps *.pptx *.ppsx *.odp);;") + filter;
  } else if (type == QStringLiteral("txt")) {
    filter = QStringLiteral("Textdateien (*.txt);;") + filter;
  }
  const QStringList files =
      dialogs_->OpenFiles(window_.HostWindow(), QString::fromUtf8("zu importierende Dateien auswählen"),
                          FromCp1252(state_.settings.pfadimport), filter);
  if (files.isEmpty()) return;
  state_.settings.pfadimport = ToCp1252(QFileInfo(files.front()).absolutePath() + QLatin1Char('/'));
  const WriteResult written = WriteSettingKey(kGroupPresets, "pfadimport", state_.settings.pfadimport, settingsFile);
  if (!written) std::fprintf(stderr, "psalmora: %s\n", written.error.c_str());

  dialog_ = new FileImportDialog(files, type, rules, state_.language, window_.HostWindow());
  connect(dialog_, &FileImportDialog::importRequested, this, &FileImportController::RunFileImport);
  connect(dialog_, &QObject::destroyed, this, [this] {
    if (QWidget* host = window_.HostWindow()) host->activateWindow();
  });
  dialog_->show();
}

void FileImportController::RunFileImport() {
  if (!dialog_ || worker_) return;
  const QStringList files = dialog_->Files();
  const bool presentations = dialog_->PresentationChosen();
  const std::filesystem::path dataFolder = state_.songs.Files().folder;
  const int total = static_cast<int>(files.size());
  const int step = total > 0 ? 100 / total : 100;
  dialog_->SetRunning(true);
  dialog_->SetProgress(1, 0, total);

  worker_ = QThread::create([this, files, presentations, dataFolder, total, step, office = office_] {
    Reading reading;
    std::unique_ptr<OfficeAutomation> automation = presentations ? office() : nullptr;
    for (int i = 0; i < total; ++i) {
      const std::filesystem::path path = files[i].toStdString();
      std::error_code error;
      std::filesystem::create_directories(ConversionFolder(dataFolder), error);
      if (automation) {
        PresentationSource source = ReadPresentationSource(*automation, path, dataFolder);
        reading.noOffice = reading.noOffice || source.status == OfficeStatus::kNoOffice;
        reading.sources.push_back(std::move(source.source));
      } else {
        reading.sources.push_back({path, ReadImportFile(path)});
      }
      QMetaObject::invokeMethod(
          this,
          [this, done = i + 1, step, total] {
            if (dialog_) dialog_->SetProgress(step * done, done, total);
          },
          Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(
        this, [this, reading = std::move(reading)] { FinishImport(reading); }, Qt::QueuedConnection);
  });
  connect(worker_, &QThread::finished, worker_, &QObject::deleteLater);
  worker_->start();
}

void FileImportController::FinishImport(const Reading& reading) {
  worker_->wait();
  worker_ = nullptr;
  const AssignmentRules rules = dialog_ ? dialog_->Rules() : LoadImportRules(state_.programFolder / kSettingsFileName);
  const FileImport result = ImportFileContents(state_.songs, reading.sources, rules, CurrentTimeValue());
  ShowImported(result.stored);
  if (dialog_) dialog_->Progress()->setValue(100);
  const WriteResult saved = SaveImportRules(state_.programFolder / kSettingsFileName, rules);
  if (!saved) std::fprintf(stderr, "psalmora: %s\n", saved.error.c_str());
  if (dialog_) {
    dialog_->SetRunning(false);
    dialog_->close();
  }

  QStringList unreadable;
  for (const FileImportOutcome& outcome : result.files) {
    if (outcome.readable) continue;
    unreadable << QDir::toNativeSeparators(QString::fromStdString(outcome.path.string())) + QStringLiteral(" ") +
                      Tr("konnte nicht geöffnet werden!", state_);
  }
  if (!unreadable.isEmpty()) {
    messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Powerpoint Import", state_),
                   unreadable.join(QLatin1Char('\n')));
  }
  if (reading.noOffice) {
    messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Powerpoint", state_),
                   Tr("Meldung kein Powerpoint", state_));
  }
  emit importFinished();
}

void FileImportController::ShowImported(const ImportResult& result) {
  ShowImportedSongs(state_, window_, messages_, result);
}

void FileImportController::ShowPresentationInViewer(const QString& presentation, int presentationMode) {
  const Monitors monitors = CurrentMonitors();
  const int screen = presentationMode == 1 && monitors.HasSecond()
                         ? static_cast<int>(QGuiApplication::screens().indexOf(monitors.secondScreen.data())) + 1
                         : 0;
  const OfficeStatus status = office_()->ShowPresentationInViewer(presentation.toStdString(), screen);
  if (status == OfficeStatus::kNoOffice) {
    messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Powerpoint", state_),
                   Tr("Meldung kein Powerpoint", state_));
  } else if (status == OfficeStatus::kCannotRead) {
    messages_.Show(
        window_.HostWindow(), MessageIcon::Information, Tr("Powerpoint", state_),
        QDir::toNativeSeparators(presentation) + QStringLiteral(" ") + Tr("konnte nicht geöffnet werden!", state_));
  }
}

}  // namespace psalmora
