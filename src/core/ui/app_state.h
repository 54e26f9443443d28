// Program-wide state of one run: created by the application object at start-up, handed to every window
// by reference and alive until the process ends. No window keeps a copy of it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/data_folder.h"
#include "core/language.h"
#include "core/settings.h"
#include "render/render_page.h"
#include "songdb/song_store.h"
#include "songdb/song_text_cache.h"

namespace psalmora {

struct AppState {
  std::filesystem::path programFolder;
  DataFiles dataFiles;
  Settings settings;
  FileTypes fileTypes;
  LanguageTable language;
  SongStore songs;
  SongTextCache songTexts;              // the searchable song texts; attached to songs at start-up
  std::string versionText;              // "3.12"
  std::string versionDate;              // "Versiondat" of the registry, shown as "Letztes Update"
  std::string windowTitle;              // "Psalmora" + " " + versionText
  std::vector<std::string> videoList;   // raw lines of "youtube/youtube.dat"
  std::vector<std::string> bibleIndex;  // raw lines of "bibel/index.dat"
  RenderState render;                   // the loaded layout and the slide paging of the renderings
};

}  // namespace psalmora
