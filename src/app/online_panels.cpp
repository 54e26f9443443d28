// Creation and wiring of the data pool controller and the web panels.
#include "app/online_panels.h"

#include "app/main_window.h"
#include "app/main_menu_bar.h"
#include "app/right_column.h"
#include "online/ui/data_pool_controller.h"
#include "online/ui/web_panels.h"
#include "render/ui/presentation_toolbar.h"
#include "render/ui/preview_controller.h"
#include "render/ui/preview_pane.h"

namespace psalmora {
namespace {

RightPane PaneOf(WebPanel panel) {
  switch (panel) {
    case WebPanel::Search:
      return RightPane::WebSearch;
    case WebPanel::SongSelect:
      return RightPane::SongSelect;
    case WebPanel::News:
      return RightPane::News;
  }
  return RightPane::Preview;
}

}  // namespace

void CreateOnlineControllers(AppState& state, MainWindow& window, Messages& messages) {
  auto* pool = new DataPoolController(state, window);  // a child of the window
  QObject::connect(window.Preview(), &PreviewPane::commandTriggered, pool, [pool](PreviewCommand command) {
    if (command == PreviewCommand::Activities) pool->OpenActivityWindow();
  });
  if (PreviewController* preview = PreviewController::Of(window)) {
    QObject::connect(preview, &PreviewController::previewRendered, pool,
                     [pool, &window] { pool->ReportActivity(window.Preview()->ShownRecord()); });
  }

  RightColumn* right = window.Right();
  WebPanelsController::Places places{right->Pane(RightPane::WebSearch), right->Pane(RightPane::SongSelect),
                                     right->Pane(RightPane::News),
                                     [right](WebPanel panel) { right->ShowRightPane(PaneOf(panel)); }};
  auto* web = new WebPanelsController(state, window, messages, std::move(places));
  QObject::connect(&window, &MainWindow::presentationCommand, web, [web](PresentationCommand command) {
    if (command == PresentationCommand::News) web->ShowNews();
    if (command == PresentationCommand::WebSearch) web->ShowSearchPanel();
    if (command == PresentationCommand::SongSelect) web->ShowSongSelect();
  });
  QObject::connect(&window, &MainWindow::menuCommand, web, [web](MenuCommand command) {
    if (command == MenuCommand::News) web->ShowNews();
  });
}

void ShowNewsAtStart(MainWindow& window) {
  if (WebPanelsController* web = WebPanelsController::Of(window)) web->ShowNews(true);
}

}  // namespace psalmora
