#include "render/ui/print_controller.h"

#include <string>
#include <vector>

#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/ui_text.h"
#include "render/ui/print_window.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_lists_host.h"

namespace psalmora {

PrintController::PrintController(AppState& state, SongListsHost& window, Messages& messages, CommonDialogs* dialogs)
    : QObject(window.HostWindow()), state_(state), window_(window), messages_(messages), dialogs_(dialogs) {
  setObjectName(QStringLiteral("printController"));
  if (!dialogs_) {
    ownDialogs_ = std::make_unique<QtCommonDialogs>();
    dialogs_ = ownDialogs_.get();
  }
}

PrintController::~PrintController() {
  // The window uses the dialogs owned here.
  delete printWindow_.data();
}

PrintController* PrintController::Of(const QObject& window) {
  return window.findChild<PrintController*>(QStringLiteral("printController"), Qt::FindDirectChildrenOnly);
}

PrintWindow* PrintController::Window() const {
  return printWindow_.data();
}

PrintWindow* PrintController::OpenPrintWindow() {
  std::vector<std::string> records;
  if (SongListWidget* list = window_.CurrentSongListWidget()) {
    for (const QString& id : list->SelectedIds()) {
      const std::string key = ToCp1252(id);
      if (state_.songs.FindSongPosition(key)) records.push_back(state_.songs.FindSongRecord(key));
    }
  }
  if (printWindow_) {
    if (!printWindow_->Busy()) printWindow_->SetRenderList(std::move(records));
  } else {
    printWindow_ = new PrintWindow(state_, messages_, *dialogs_, std::move(records));
  }
  printWindow_->showMaximized();
  printWindow_->raise();
  printWindow_->activateWindow();
  return printWindow_;
}

}  // namespace psalmora
