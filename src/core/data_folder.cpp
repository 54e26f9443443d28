#include "core/data_folder.h"

#include <cstdint>
#include <iostream>

#include "collections/collection_file.h"
#include "core/atomic_file.h"
#include "core/ini_file.h"
#include "core/language.h"
#include "core/registry_store.h"
#include "core/text_encoding.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;

bool CanList(const fs::path& folder) {
  std::error_code error;
  fs::directory_iterator listing(folder, error);
  return !error;
}

// The seeding runs only for a store that really is empty: a missing file or one of length 0. An index
// that exists but cannot be read is left alone instead of being replaced by the sample song.
bool StoreIsEmpty(const fs::path& lieder) {
  std::error_code error;
  const fs::file_status status = fs::status(lieder, error);
  if (!fs::exists(status)) return true;
  if (!fs::is_regular_file(status)) return false;
  const std::uintmax_t size = fs::file_size(lieder, error);
  return !error && size == 0;
}

void SeedStore(SongStore& store, const fs::path& settingsFile) {
  const std::string id = store.NextSongId();
  const std::string stamp = FormatTimestamp(0);
  store.StoreSong(id, id + "\t" + stamp + "\tDas erste Lied\tD A G A D (2x)", SampleSongText(), true);
  // An empty or lost song list says nothing about the set lists: an existing selection file (even one
  // that cannot be read) is kept, and so is the selection the program showed last.
  if (PathIsTaken(store.Files().auswahl)) return;
  SaveCollectionFile(store.Files().auswahl, {"Neue Auswahl"});
  if (const WriteResult written = WriteSettingKey("voreinstellung", "vor", "0", settingsFile); !written) {
    std::cerr << "psalmora: " << written.error << '\n';
  }
}

}  // namespace

DataFiles DataFiles::For(const fs::path& folder) {
  DataFiles files;
  files.folder = folder;
  files.lieder = folder / "lieder.dat";
  files.auswahl = folder / "auswahl.dat";
  files.id = folder / "id.dat";
  files.gruppierung = folder / "gruppierung.dat";
  files.statistik = folder / "statistik.dat";
  files.youtubeList = folder / "youtube" / "youtube.dat";
  files.youtubeIds = folder / "youtube" / "youtube-id.dat";
  files.youtubeImage = folder / "youtube" / "youtube-image.jpg";
  files.powerpoint = folder / "powerpoint";
  return files;
}

std::string VersionText(std::string_view versionDigits) {
  const std::string_view first = versionDigits.substr(0, 1);
  const std::string_view lastTwo =
      versionDigits.size() > 2 ? versionDigits.substr(versionDigits.size() - 2) : versionDigits;
  return std::string(first) + "." + std::string(lastTwo);
}

DataFolderCheck CheckDataFolder(std::string_view registryValue, LanguageTable& language) {
  DataFolderCheck check;
  if (registryValue == kRegistryErrorOpeningKey || registryValue == kRegistryErrorReadingKey || registryValue.empty()) {
    check.needsWizard = true;
    return check;
  }
  check.folder = fs::path(std::string(registryValue));
  if (!CanList(check.folder)) {
    check.needsWizard = true;
    check.message =
        UserMessage{"Ordner Check",
                    language.Translate("Der Order existiert nicht mehr") + " " + Utf8ToCp1252(check.folder.string()),
                    UserMessage::Icon::Information};
  }
  return check;
}

FolderCreation CreateFolderLevels(const fs::path& path) {
  FolderCreation creation;
  std::error_code error;
  if (path.empty()) return creation;
  if (fs::is_directory(path, error)) {
    creation.accepted = true;
    return creation;
  }
  const fs::path absolute = fs::absolute(path, error);
  fs::path level;
  for (const fs::path& part : absolute) {
    if (part.empty()) break;
    level /= part;
    if (fs::exists(fs::symlink_status(level, error))) continue;
    if (!fs::create_directory(level, error)) creation.failed.push_back(level);
  }
  creation.accepted = fs::is_directory(absolute, error);
  // A file (or anything else) already standing where the folder should be: no level failed to be
  // created, yet the path cannot be used. It counts as the failed level so the user hears why.
  if (!creation.accepted && creation.failed.empty()) creation.failed.push_back(absolute);
  return creation;
}

DataFolderStart PrepareDataFolder(SongStore& store, const fs::path& settingsFile, LanguageTable& language) {
  DataFolderStart start;
  const DataFiles& files = store.Files();
  std::error_code error;
  const fs::path youtube = files.youtubeList.parent_path();
  if (!fs::is_directory(youtube, error)) {
    fs::create_directories(youtube, error);
    if (error) std::cerr << "psalmora: cannot create " << youtube.string() << ": " << error.message() << '\n';
  }
  // Leftovers of writes a crash interrupted would otherwise stay forever.
  RemoveStaleTemporaryFiles(files.folder);
  start.lastIdRead = store.ReadIdCounter();
  if (StoreIsEmpty(files.lieder)) {
    SeedStore(store, settingsFile);
    start.seeded = true;
  } else if (start.lastIdRead == 0) {
    start.message = UserMessage{language.Translate("Error"), "ID=0\r" + language.Translate("Fehler Inkonsistenz"),
                                UserMessage::Icon::Error};
  }
  return start;
}

std::string SampleSongText() {
  const std::string block =
      ">A  kk     o  r     d    e\r"
      "Liedtext steht hier, Halleluja!!\r"
      "#Und hier die \xDC"
      "bersetzung";
  return block + "\r" + block + "\r \r;Hier ein Komentar";
}

}  // namespace psalmora
