// The shell's half of every room's controller: the main window's menu commands, keys, context menu,
// song toolbar and page buttons are connected here to the controllers made for the window, so that
// the controllers know only the small host faces and never the shell.
#pragma once

namespace psalmora {

class MainWindow;

// Connects each controller that has been made for the window (see X::Of); call it once, after the
// controllers were made.
void ConnectControllers(MainWindow& window);

}  // namespace psalmora
