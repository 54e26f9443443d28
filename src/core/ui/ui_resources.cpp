// Registration of the icon and flag resources compiled into the UI library.
#include "core/ui/ui_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitBundledResources() {
  Q_INIT_RESOURCE(icons);
  Q_INIT_RESOURCE(flags);
}

namespace psalmora {

void InitUiResources() {
  InitBundledResources();
}

}  // namespace psalmora
