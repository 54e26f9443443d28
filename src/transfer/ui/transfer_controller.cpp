// Export and import run on the interface thread; a big import stores its songs in one go (one wait
// for the disk), so the window is busy only for a moment.
#include "transfer/ui/transfer_controller.h"
#include "transfer/ui/imported_songs.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "collections/collections.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"
#include "transfer/ccli_import.h"
#include "transfer/export_file.h"
#include "transfer/ui/import_chooser.h"

namespace psalmora {

TransferController::TransferController(AppState& state, SongListsHost& window, Messages& messages,
                                       CommonDialogs* dialogs)
    : QObject(window.HostWindow()), state_(state), window_(window), messages_(messages) {
  setObjectName(QStringLiteral("transferController"));
  if (!dialogs) {
    ownDialogs_ = std::make_unique<QtCommonDialogs>();
    dialogs = ownDialogs_.get();
  }
  dialogs_ = dialogs;
}

TransferController::~TransferController() = default;

TransferController* TransferController::Of(const QObject& window) {
  return window.findChild<TransferController*>(QStringLiteral("transferController"), Qt::FindDirectChildrenOnly);
}

const std::vector<std::string>& TransferController::VideoList() const {
  return state_.videoList;
}

void TransferController::ExportSelectedSongs() {
  const QString proposal = QDir(QDir::homePath()).filePath(QStringLiteral("PM-Export.exp"));
  const QString chosen = dialogs_->SaveFile(window_.HostWindow(), QStringLiteral("Exportdatei Speichern unter..."),
                                            proposal, QStringLiteral("*.exp"));
  if (chosen.isEmpty()) return;
  const QString path = QString::fromStdString(WithExportExtension(chosen.toStdString()));

  std::vector<std::string> ids;
  if (SongListWidget* list = window_.CurrentSongListWidget()) {
    for (const QString& id : list->SelectedIds()) ids.push_back(ToCp1252(id));
  }
  const std::vector<std::string> records = CollectSelectedSongIds(state_.songs, ids);
  const WriteResult written = ExportSongsToFile(path.toStdString(), state_.songs, records, state_.videoList);
  if (!written) {
    messages_.Show(window_.HostWindow(), MessageIcon::Error, Tr("Fehler", state_),
                   QDir::toNativeSeparators(path) + QStringLiteral(" ") + Tr("konnte nicht erstellt werden!", state_));
    return;
  }
  messages_.Show(window_.HostWindow(), MessageIcon::Information, Tr("Exportdatei speichern", state_),
                 Tr("Lieder wurden erfolgreich in Exportdatei gespeichert!", state_));
}

QString TransferController::StartFolder() const {
  return FromCp1252(state_.settings.pfadimport);
}

void TransferController::RememberImportPath(const QString& path) {
  state_.settings.pfadimport = ToCp1252(path);
  // A setting that cannot be written only means the next chooser starts elsewhere: said on stderr.
  const WriteResult written = WriteSettingKey("voreinstellung", "pfadimport", state_.settings.pfadimport,
                                              state_.programFolder / kSettingsFileName);
  if (!written) std::fprintf(stderr, "psalmora: %s\n", written.error.c_str());
}

void TransferController::ImportExportFile() {
  const QString chosen =
      dialogs_->OpenFile(window_.HostWindow(), QString::fromUtf8("Exportdatei öffnen"), StartFolder(),
                         Tr("Exportdatei", state_) + QStringLiteral(" (*.exp);;Alle (*.*)"));
  if (!chosen.isEmpty()) RememberImportPath(chosen);
  ReadExportFileIntoChooser(chosen);
}

void TransferController::ReadExportFileIntoChooser(const QString& chosen) {
  importBuffer_.clear();
  if (QFileInfo(chosen).fileName().isEmpty()) return;

  const QString name = QDir::toNativeSeparators(chosen);
  ExportFileContent content = ReadExportFile(chosen.toStdString());
  if (content.status == ExportFileContent::Status::kCannotOpen) {
    messages_.Show(window_.HostWindow(), MessageIcon::Information, QString::fromUtf8("Exportdatei öffnen"),
                   name + QString::fromUtf8(" konnte nicht geöffnet werden!"));
    return;
  }
  if (content.status == ExportFileContent::Status::kNotExportFile) {
    messages_.Show(window_.HostWindow(), MessageIcon::Information, QString::fromUtf8("Exportdatei öffnen"),
                   name + QStringLiteral(" ist keine Exportdatei!"));
    return;
  }
  if (chooser_) chooser_->close();
  chooser_ = new ImportChooser(window_.HostWindow());
  importBuffer_ = std::move(content.lines);
  for (const std::string& line : importBuffer_) chooser_->AddTitle(FromCp1252(ExportLineTitle(line)));
  connect(chooser_, &ImportChooser::importRequested, this, &TransferController::ImportChosenSongs);
  connect(chooser_, &QObject::destroyed, this, [this] {
    if (QWidget* host = window_.HostWindow()) host->activateWindow();
  });
  chooser_->show();
}

void TransferController::ImportChosenSongs() {
  if (!chooser_) return;
  if (!chooser_->HasCurrentRow()) {
    messages_.Show(chooser_, MessageIcon::Information, QStringLiteral("Daten importieren"),
                   Tr("Keine Auswahl getroffen!", state_));
    return;
  }
  std::vector<std::string> lines;
  for (int row : chooser_->SelectedRows()) {
    if (row >= 0 && static_cast<std::size_t>(row) < importBuffer_.size()) {
      lines.push_back(importBuffer_[static_cast<std::size_t>(row)]);
    }
  }
  ImportContext context{state_.songs, state_.videoList, CurrentTimeValue()};
  const ImportResult result = ImportSongLines(context, lines);
  chooser_->close();
  ShowImported(result);
}

void TransferController::ImportCcliFiles() {
  const QStringList chosen =
      dialogs_->OpenFiles(window_.HostWindow(), QString::fromUtf8("zu importierende Dateien auswählen"), StartFolder(),
                          QStringLiteral("CCLI Lieddatei (*.usr *.txt);;Alle (*.*)"));
  if (chosen.isEmpty()) return;
  RememberImportPath(QFileInfo(chosen.front()).absolutePath() + QLatin1Char('/'));
  ImportCcliFileList(chosen);
}

void TransferController::ImportFiles(const QStringList& files) {
  QStringList ccli;
  for (const QString& file : files) {
    if (file.endsWith(QStringLiteral(".exp"), Qt::CaseInsensitive)) {
      ReadExportFileIntoChooser(file);
    } else {
      ccli << file;
    }
  }
  if (!ccli.isEmpty()) ImportCcliFileList(ccli);
}

void TransferController::ImportCcliFileList(const QStringList& chosen) {
  std::vector<std::filesystem::path> files;
  for (const QString& file : chosen) files.emplace_back(file.toStdString());
  const CcliImport result = ::psalmora::ImportCcliFiles(
      state_.songs, files, state_.programFolder / "config" / "pick-4.dat", CurrentTimeValue());
  ShowImported(result.stored);

  QStringList skipped;
  for (const CcliFileOutcome& outcome : result.files) {
    if (outcome.problem == CcliProblem::kNone) continue;
    QString why;
    if (outcome.problem == CcliProblem::kCannotRead) why = Tr("kann nicht gelesen werden", state_);
    if (outcome.problem == CcliProblem::kNotText) why = Tr("ist keine Textdatei", state_);
    if (outcome.problem == CcliProblem::kNoSong) why = Tr("enthält kein Lied", state_);
    skipped << QDir::toNativeSeparators(QString::fromStdString(outcome.file.string())) + QStringLiteral(": ") + why;
  }
  if (skipped.isEmpty()) return;
  messages_.Show(
      window_.HostWindow(), MessageIcon::Warning, Tr("Lieder von CCLI", state_),
      Tr("Folgende Dateien wurden nicht importiert:", state_) + QLatin1Char('\n') + skipped.join(QLatin1Char('\n')));
}

void TransferController::ShowImported(const ImportResult& result) {
  if (!result.newVideos.empty()) emit videoListChanged();
  ShowImportedSongs(state_, window_, messages_, result);
}

}  // namespace psalmora
