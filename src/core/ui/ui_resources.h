// Registers the resource files built into the UI library (a static library's resources are only
// linked in when something refers to them).
#pragma once

namespace psalmora {

void InitUiResources();

}  // namespace psalmora
