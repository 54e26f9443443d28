// The media room in the shell: its two controllers, given the main window's media pages and panes and
// the beamer, and "Präsentation starten" handed to the office viewer of the presentation import.
#pragma once

#include "media/ui/video_list_controller.h"

namespace psalmora {

struct AppState;
class MainWindow;
class Messages;

// Creates `MediaController` and `VideoListController` as children of the window (after the
// presentation controller) and connects them.
void CreateMediaControllers(AppState& state, MainWindow& window, Messages& messages, VideoListServices services = {});

}  // namespace psalmora
