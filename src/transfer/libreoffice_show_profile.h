// The LibreOffice profile the slide show runs in. A profile of its own keeps the show apart from a
// LibreOffice the user has open (which would otherwise take the file and show it wherever it likes) and
// lets the program choose the monitor: Impress reads the show's screen from the profile's settings.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace psalmora {

// The settings file of a profile with the show on `screen` (1-based, in the desktop's screen order;
// 0 lets Impress choose), without the presenter console (it would cover the program's own window on
// the first monitor) and without the tip of the day. Other settings already in `existing` are kept.
std::string ShowProfileSettings(std::string_view existing, int screen);

// Writes those settings into the profile folder (user/registrymodifications.xcu); false when it could
// not be written.
bool PrepareShowProfile(const std::filesystem::path& profileFolder, int screen);

// "$XDG_CACHE_HOME/psalmora/libreoffice-show", or "~/.cache/psalmora/libreoffice-show".
std::filesystem::path DefaultShowProfileFolder();

}  // namespace psalmora
