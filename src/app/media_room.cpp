// The media room's controllers wired to the shell.
#include "app/media_room.h"

#include "app/left_column.h"
#include "app/main_window.h"
#include "app/right_column.h"
#include "media/ui/media_controller.h"
#include "media/ui/video_list_controller.h"
#include "render/ui/presentation_controller.h"
#include "transfer/ui/file_import_controller.h"

namespace psalmora {
namespace {

RightPane PaneOf(MediaPane pane) {
  switch (pane) {
    case MediaPane::VideoSite:
      return RightPane::VideoSite;
    case MediaPane::Slides:
      return RightPane::Slides;
    case MediaPane::Video:
      break;
  }
  return RightPane::MediaVideo;
}

}  // namespace

void CreateMediaControllers(AppState& state, MainWindow& window, Messages& messages, VideoListServices services) {
  MediaPanes panes;
  panes.videos = window.Left()->Videos();
  panes.files = window.Left()->Files();
  RightColumn* right = window.Right();
  panes.pane = [right](MediaPane pane) { return right->Pane(PaneOf(pane)); };
  panes.show = [right](MediaPane pane) { right->ShowRightPane(PaneOf(pane)); };
  MainWindow* shell = &window;
  panes.beamer = [shell]() -> PresentationWindow* {
    PresentationController* presentation = PresentationController::Of(*shell);
    return presentation ? presentation->Window() : nullptr;
  };
  panes.presentationMode = [shell] {
    PresentationController* presentation = PresentationController::Of(*shell);
    return presentation ? presentation->PresentationMode() : 0;
  };
  auto* media = new MediaController(state, window, std::move(panes), messages);
  new VideoListController(state, window, *media, messages, std::move(services));
  QObject::connect(media, &MediaController::presentationStartRequested, &window,
                   [shell](const QString& presentation, int mode) {
                     if (FileImportController* import = FileImportController::Of(*shell)) {
                       import->ShowPresentationInViewer(presentation, mode);
                     }
                   });
}

}  // namespace psalmora
