// AboutBox: the window title as caption, the version and the date of the last update.
#pragma once

#include <QString>

class QWidget;

namespace psalmora {

struct AppState;
class Messages;

// "Version: 3.12", a line break, "Letztes Update: <date>", two line breaks (labels translated).
QString AboutText(AppState& state);

void ShowAboutBox(AppState& state, Messages& messages, QWidget* parent);

}  // namespace psalmora
