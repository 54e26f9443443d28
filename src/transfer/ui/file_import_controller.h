// The main window's side of the text and presentation import: the menu items "Powerpoint" and
// "Textdateien" of "Liederimportieren" (`ImportOtherFiles`), the dialog "Import anderer Dateien", and
// `RunFileImport`, whose reading of the files (a presentation takes LibreOffice seconds) runs on a
// worker thread while the dialog shows the progress.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>
#include <vector>

#include "transfer/file_import.h"
#include "transfer/office_automation.h"
#include "transfer/ui/file_import_dialog.h"

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;
class SongListsHost;

class FileImportController : public QObject {
  Q_OBJECT

 public:
  // Makes the office automation a worker uses (its own, on its thread).
  using OfficeFactory = std::function<std::unique_ptr<OfficeAutomation>()>;

  // A child of the window. Without dialogs it uses the system's file choosers, without a factory
  // LibreOffice through QProcess.
  FileImportController(AppState& state, SongListsHost& window, Messages& messages, CommonDialogs* dialogs = nullptr,
                       OfficeFactory office = {});
  ~FileImportController() override;

  static FileImportController* Of(const QObject& window);

  // `ImportOtherFiles` with type "ppt", "txt" or anything else.
  void ImportOtherFiles(const QString& type);
  // `RunFileImport`: reads the dialog's files on a worker, then stores the songs and the rules.
  void RunFileImport();
  // `ShowPresentationInViewer`: the presentation shown by the office program's viewer, on the second
  // monitor when `presentationMode` is 1 and there is one.
  void ShowPresentationInViewer(const QString& presentation, int presentationMode);

  FileImportDialog* Dialog() const { return dialog_; }
  bool Running() const { return worker_ != nullptr; }

 signals:
  // An import has stored its songs (or failed to) and the dialog is closed.
  void importFinished();

 private:
  struct Reading {
    std::vector<FileImportSource> sources;
    bool noOffice = false;
  };
  void FinishImport(const Reading& reading);
  void ShowImported(const ImportResult& result);

  AppState& state_;
  SongListsHost& window_;
  Messages& messages_;
  std::unique_ptr<CommonDialogs> ownDialogs_;
  CommonDialogs* dialogs_;
  OfficeFactory office_;
  QPointer<FileImportDialog> dialog_;
  QThread* worker_ = nullptr;
};

}  // namespace psalmora
