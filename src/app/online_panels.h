// The online rooms of the main window that need the shell's panes: the data pool controller (sharing
// toggle, activities window) and the web panels (web song search, SongSelect, news), made and connected
// to the window's menu, toolbars and preview.
#pragma once

namespace psalmora {

struct AppState;
class MainWindow;
class Messages;

void CreateOnlineControllers(AppState& state, MainWindow& window, Messages& messages);

// `ShowNews` of the start-up: the news panel filled when there is a connection, silently otherwise.
void ShowNewsAtStart(MainWindow& window);

}  // namespace psalmora
