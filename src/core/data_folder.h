// The data folder: its file names, locating it from the registry value, creating it level by level,
// and preparing a fresh folder with the sample song.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

class SongStore;
class LanguageTable;

// Every file name derived from the data folder.
struct DataFiles {
  std::filesystem::path folder;
  std::filesystem::path lieder;        // "lieder.dat": the song index
  std::filesystem::path auswahl;       // "auswahl.dat": selections
  std::filesystem::path id;            // "id.dat": the last song id handed out
  std::filesystem::path gruppierung;   // "gruppierung.dat": groups
  std::filesystem::path statistik;     // "statistik.dat"
  std::filesystem::path youtubeList;   // "youtube/youtube.dat"
  std::filesystem::path youtubeIds;    // "youtube/youtube-id.dat"
  std::filesystem::path youtubeImage;  // "youtube/youtube-image.jpg"
  std::filesystem::path powerpoint;    // "powerpoint": converted slide shows

  static DataFiles For(const std::filesystem::path& folder);
};

// "Version" digits as shown: first character, ".", last two characters ("312" -> "3.12").
std::string VersionText(std::string_view versionDigits);

// A message the UI shows in a box; the core never shows one itself.
struct UserMessage {
  enum class Icon { Information, Warning, Error };
  std::string title;  // Windows-1252
  std::string text;   // Windows-1252
  Icon icon = Icon::Information;
};

// Outcome of checking the stored folder: ready to use, or the wizard has to choose one (after showing
// message, when there is one).
struct DataFolderCheck {
  bool needsWizard = false;
  std::filesystem::path folder;
  std::optional<UserMessage> message;
};

// Checks the "DIR-Daten" registry text: the registry error texts or an empty value need the wizard; a
// folder that cannot be listed gives "Der Order existiert nicht mehr" + " " + path first.
DataFolderCheck CheckDataFolder(std::string_view registryValue, LanguageTable& language);

// Result of creating a folder path level by level (the wizard's "Weiter >>").
struct FolderCreation {
  bool accepted = false;                      // the whole path now exists as a folder
  std::vector<std::filesystem::path> failed;  // levels that could not be created
};

// An existing folder is accepted as it is. Otherwise every missing level from the root down is created;
// a level that fails is noted and the walk goes on. The path is accepted only when the last level exists
// as a folder; a path taken by a file is itself the failed level.
FolderCreation CreateFolderLevels(const std::filesystem::path& path);

// What the start check did and what the UI has to show.
struct DataFolderStart {
  bool seeded = false;                 // the store was empty and got the sample song
  long long lastIdRead = 0;            // the counter read from "id.dat" before anything was written
  std::optional<UserMessage> message;  // the "ID=0" inconsistency message
};

// The start check of a located data folder: creates "youtube", removes temporary files that crashed
// writes left (RemoveStaleTemporaryFiles), reads "id.dat", seeds a missing or empty
// "lieder.dat" (the sample song with its text; when there is no selection file yet, the "Neue Auswahl"
// selection and the setting "vor"="0" in settingsFile) or reports songs without an id counter. The
// store's list is loaded afterwards by the caller.
DataFolderStart PrepareDataFolder(SongStore& store, const std::filesystem::path& settingsFile, LanguageTable& language);

// The sample text of the first song: eight lines separated by CR only.
std::string SampleSongText();

}  // namespace psalmora
