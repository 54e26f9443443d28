#include "app/controller_wiring.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <cstdlib>

#include "app/left_column.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "app/selection_column.h"
#include "app/song_context_menu.h"
#include "bible/ui/bible_page.h"
#include "collections/ui/collection_controller.h"
#include "core/ui/ui_text.h"
#include "media/ui/media_pages.h"
#include "online/ui/sync_controller.h"
#include "render/ui/presentation_controller.h"
#include "render/ui/preview_controller.h"
#include "render/ui/print_controller.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/statistics_controller.h"
#include "songdb/ui/trash_controller.h"
#include "stage/ui/stage_controller.h"
#include "transfer/ui/file_import_controller.h"
#include "transfer/ui/transfer_controller.h"

namespace psalmora {
namespace {

void ConnectStage(MainWindow& window, StageController& stage) {
  QObject::connect(&window, &MainWindow::menuCommand, &stage, [&stage](MenuCommand command) {
    if (command == MenuCommand::StageView) stage.ShowWindow();
  });
  // A free text from the remote stands in the free-text fields as if typed there.
  BiblePage* bible = window.Left()->Bible();
  QObject::connect(&stage, &StageController::freeTextSent, bible, [bible](const QString& header, const QString& text) {
    bible->HeaderTextField()->setText(header);
    bible->FreeTextField()->setPlainText(text);
  });
}

void ConnectPreview(MainWindow& window, PreviewController& preview) {
  QObject::connect(&window, &MainWindow::showPreviewRequested, &preview, &PreviewController::ShowPreview);
}

void ConnectPresentation(MainWindow& window, PresentationController& presentation) {
  QObject::connect(&window, &MainWindow::presentationCommand, &presentation,
                   &PresentationController::OnPresentationCommand);
  QObject::connect(&window, &MainWindow::slideChosen, &presentation, &PresentationController::SelectSlide);
  QObject::connect(&window, &MainWindow::menuCommand, &presentation, [&presentation](MenuCommand command) {
    switch (command) {
      case MenuCommand::ShowOnFirstMonitor:
        presentation.OpenPresentation(0);
        break;
      case MenuCommand::ShowOnSecondMonitor:
        presentation.OpenPresentation(1);
        break;
      case MenuCommand::ControlWindow:
        presentation.OpenControlWindow();
        break;
      case MenuCommand::MonitorInfo:
        presentation.ShowMonitorInfo();
        break;
      default:
        break;
    }
  });
  BiblePage* bible = window.Left()->Bible();
  QObject::connect(bible->SendButton(), &QToolButton::clicked, &presentation, [&presentation, bible] {
    presentation.SendFreeText(ToCp1252(bible->HeaderTextField()->text()),
                              ToCp1252(bible->FreeTextField()->toPlainText()));
  });
}

void ConnectCollections(MainWindow& window, CollectionController& collections) {
  QObject::connect(window.Left(), &LeftColumn::songToolbarCommand, &collections,
                   [&collections](SongToolbarCommand command) {
                     switch (command) {
                       case SongToolbarCommand::AddToSelection:
                         collections.AddToSelection();
                         break;
                       case SongToolbarCommand::MoveUp:
                         collections.MoveInSelection(MoveDirection::Up);
                         break;
                       case SongToolbarCommand::MoveDown:
                         collections.MoveInSelection(MoveDirection::Down);
                         break;
                       case SongToolbarCommand::RemoveFromSelection:
                         collections.RemoveFromSelection();
                         break;
                     }
                   });
  // A drag in the set list is that many presses of a move button: the same block rule, the same file.
  QObject::connect(window.SelectionSongList(), &SongListWidget::rowsDragged, &collections, [&collections](int steps) {
    const MoveDirection direction = steps < 0 ? MoveDirection::Up : MoveDirection::Down;
    for (int step = 0; step < std::abs(steps); ++step) collections.MoveInSelection(direction);
  });
  SongContextMenu* menu = window.ContextMenu();
  QObject::connect(menu, &SongContextMenu::addToGroupTriggered, &collections, &CollectionController::AddToGroup);
  QObject::connect(menu, &SongContextMenu::commandTriggered, &collections, [&collections](SongMenuCommand command) {
    if (command == SongMenuCommand::RemoveFromGroup) collections.RemoveFromCurrentGroup();
  });
  QObject::connect(window.Middle()->EditSelectionsButton(), &QToolButton::clicked, &collections,
                   [&collections] { collections.EditCollections(CollectionKind::Selection); });
  QObject::connect(window.Left()->EditGroupsButton(), &QToolButton::clicked, &collections,
                   [&collections] { collections.EditCollections(CollectionKind::Group); });
}

void ConnectTrash(MainWindow& window, TrashController& trash) {
  QObject::connect(window.ContextMenu(), &SongContextMenu::commandTriggered, &trash, [&trash](SongMenuCommand command) {
    if (command == SongMenuCommand::DeleteSong) trash.DeleteChosenSongs();
  });
  QObject::connect(&window, &MainWindow::menuCommand, &trash, [&trash](MenuCommand command) {
    if (command == MenuCommand::Trash) trash.OpenTrash();
  });
}

void ConnectPrint(MainWindow& window, PrintController& print) {
  QObject::connect(window.ContextMenu(), &SongContextMenu::commandTriggered, &print, [&print](SongMenuCommand command) {
    if (command == SongMenuCommand::Print) print.OpenPrintWindow();
  });
}

void ConnectTransfer(MainWindow& window, TransferController& transfer) {
  QObject::connect(&window, &MainWindow::menuCommand, &transfer, [&transfer](MenuCommand command) {
    if (command == MenuCommand::ImportExportFile) transfer.ImportExportFile();
    if (command == MenuCommand::ImportCcli) transfer.ImportCcliFiles();
  });
  QObject::connect(window.ContextMenu(), &SongContextMenu::commandTriggered, &transfer,
                   [&transfer](SongMenuCommand command) {
                     if (command == SongMenuCommand::ExportToFile) transfer.ExportSelectedSongs();
                   });
  VideoPage* videos = window.Left()->Videos();
  QObject::connect(&transfer, &TransferController::videoListChanged, videos,
                   [videos, &transfer] { videos->FillVideoList(transfer.VideoList()); });
}

void ConnectFileImport(MainWindow& window, FileImportController& import) {
  QObject::connect(&window, &MainWindow::menuCommand, &import, [&import](MenuCommand command) {
    if (command == MenuCommand::ImportPowerpoint) import.ImportOtherFiles(QStringLiteral("ppt"));
    if (command == MenuCommand::ImportText) import.ImportOtherFiles(QStringLiteral("txt"));
  });
}

void ConnectStatistics(MainWindow& window, StatisticsController& statistics) {
  QObject::connect(&window, &MainWindow::menuCommand, &statistics, [&statistics](MenuCommand command) {
    if (command == MenuCommand::Statistics) statistics.OpenStatistics();
  });
}

void ConnectSync(MainWindow& window, SyncController& sync) {
  QObject::connect(&window, &MainWindow::menuCommand, &sync, [&sync](MenuCommand command) {
    if (command == MenuCommand::SyncCantabox) sync.SyncWithCantabox();
  });
}

}  // namespace

void ConnectControllers(MainWindow& window) {
  if (PreviewController* preview = PreviewController::Of(window)) ConnectPreview(window, *preview);
  if (PresentationController* presentation = PresentationController::Of(window)) {
    ConnectPresentation(window, *presentation);
  }
  if (CollectionController* collections = CollectionController::Of(window)) ConnectCollections(window, *collections);
  if (TrashController* trash = TrashController::Of(window)) ConnectTrash(window, *trash);
  if (TransferController* transfer = TransferController::Of(window)) ConnectTransfer(window, *transfer);
  if (FileImportController* import = FileImportController::Of(window)) ConnectFileImport(window, *import);
  if (PrintController* print = PrintController::Of(window)) ConnectPrint(window, *print);
  if (StatisticsController* statistics = StatisticsController::Of(window)) ConnectStatistics(window, *statistics);
  if (SyncController* sync = SyncController::Of(window)) ConnectSync(window, *sync);
  if (StageController* stage = StageController::Of(window)) ConnectStage(window, *stage);
}

}  // namespace psalmora
