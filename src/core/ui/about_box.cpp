// The about box: a plain information message built from the version values read at start.
#include "core/ui/about_box.h"

#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"

namespace psalmora {

QString AboutText(AppState& state) {
  return Tr("Version", state) + QStringLiteral(": ") + FromCp1252(state.versionText) + QStringLiteral("\n") +
         Tr("Letztes Update", state) + QStringLiteral(": ") + FromCp1252(state.versionDate) + QStringLiteral("\n\n");
}

void ShowAboutBox(AppState& state, Messages& messages, QWidget* parent) {
  messages.Show(parent, MessageIcon::Information, FromCp1252(state.windowTitle), AboutText(state));
}

}  // namespace psalmora
