#include "songdb/ui/statistics_controller.h"

#include <QWidget>

#include "core/ui/common_dialogs.h"
#include "songdb/ui/song_lists_host.h"
#include "songdb/ui/statistics_window.h"

namespace psalmora {

StatisticsController::StatisticsController(AppState& state, SongListsHost& window, Messages& messages,
                                           CommonDialogs* dialogs)
    : QObject(window.HostWindow()), state_(state), window_(window), messages_(messages), dialogs_(dialogs) {
  setObjectName(QStringLiteral("statisticsController"));
  if (!dialogs_) {
    ownDialogs_ = std::make_unique<QtCommonDialogs>();
    dialogs_ = ownDialogs_.get();
  }
}

StatisticsController::~StatisticsController() = default;

StatisticsController* StatisticsController::Of(const QObject& window) {
  return window.findChild<StatisticsController*>(QStringLiteral("statisticsController"), Qt::FindDirectChildrenOnly);
}

void StatisticsController::OpenStatistics() {
  StatisticsWindow statistics(state_, messages_, *dialogs_, window_.HostWindow());
  statistics.exec();
  window_.HostWindow()->activateWindow();
}

}  // namespace psalmora
