// The program-wide preferences of "config/einstellungen.ini": their defaults, loading and saving.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/ini_file.h"

namespace psalmora {

inline constexpr std::string_view kSettingsFileName = "config/einstellungen.ini";
inline constexpr std::string_view kKeySearchAsYouType = "suchebeimtippen";
// The program that downloads a video of the video list (group "sonstiges"); blanks separate its own
// arguments.
inline constexpr std::string_view kKeyVideoDownloader = "videodownloader";

// Group and key names as the file spells them (Windows-1252 bytes: "fu\xDFzeile" is "fußzeile").
inline constexpr std::string_view kGroupLayouts = "Layouts";
inline constexpr std::string_view kGroupMisc = "sonstiges";
inline constexpr std::string_view kGroupPresets = "voreinstellung";
inline constexpr std::string_view kGroupFileTypes = "dateitypen";
inline constexpr std::string_view kKeyFooterLayout = "fu\xDFzeile";
inline constexpr std::string_view kKeyFooterHeight = "fu\xDFzeilenhoehe";
inline constexpr std::string_view kKeyUserIdCb = "useridcb";
inline constexpr std::string_view kKeyDeletedSongs = "loeschstringclient";
inline constexpr std::string_view kKeyDeletedSelections = "loeschstringplaylistclient";
// Base address of the song-management server (and of the data pool on the same server).
inline constexpr std::string_view kKeyServerAddress = "serveradresse";
inline constexpr std::string_view kDefaultServerAddress = "http://localhost:8750";
// The song sites of the web search and CCLI SongSelect (group "sonstiges"): base addresses, so another
// host (or a local one in tests) can take their place.
inline constexpr std::string_view kKeyUltimateGuitarSite = "websuche_ultimateguitar";
inline constexpr std::string_view kKeyGoogleSite = "websuche_google";
inline constexpr std::string_view kKeySongSelectSite = "songselect_adresse";

// Layout ids (texts) used by the preview, the presentation, printing and the two bands. A missing key
// falls back to the shipped layouts made for each job: "1" the light preview, "2" the dark beamer page,
// "3" and "4" the header and footer bands, "5" the print sheet.
struct LayoutAssignment {
  std::string vorschau = "1", beamer = "2", format = "5", kopfzeile = "3", fusszeile = "4";
};

// Every value of the groups "Layouts", "sonstiges" and "voreinstellung"; texts are Windows-1252 bytes.
struct Settings {
  LayoutAssignment layouts;
  // "sonstiges"
  int autoopen = 1, warnungmaus = 0, akkordzeilehoehe = 30, fusszeilenhoehe = 30, scrollweite = 20;
  // "beamertextanpassen": the beamer shrinks song text that would not fit between the bands. Off when
  // the key is missing, so program folders from before keep their pages; the shipped settings of a new
  // program folder switch it on.
  int beamertextanpassen = 0;
  // "suchebeimtippen": the search page searches a moment after each key typed into the search text,
  // not only on Return or the button. Off by default.
  int suchebeimtippen = 0;
  std::string videodownloader = "yt-dlp";  // kKeyVideoDownloader
  std::string pmoUsername, pmoPassword, useridcb, loeschstringclient, loeschstringplaylistclient;
  std::string serveradresse = std::string(kDefaultServerAddress);
  std::string ultimateGuitarSite = "https://www.ultimate-guitar.com", googleSite = "https://www.google.com",
              songSelectSite = "https://songselect.ccli.com";
  // "voreinstellung"
  int haupt = 0, vor = 0, bibel = 0, frametop = 0, framefeet = 0;
  std::string pfadhgbild, pfadimport;  // default: the user's profile folder
  int folie = 0, updateauto = -1, showwindowkontroll = 0, showwindowablauf = 0;
  int windowkontrollx = 0, windowkontrolly = 0, windowablaufx = 0, windowablaufy = 0;
  int windowablaufweite = 300, windowablaufhohe = 300, sprache = 0, containerlinks = 265, containermitte = 250;
};

// The file endings of the file page (group "dateitypen"), comma lists as the user typed them.
struct FileTypes {
  std::string film = "avi, mpg, wmv", music = "wav, mp3, wma", ppt = "ppt, pps",
              bild = "jpg, jpeg, ico, png, bmp, gif, tif, tiff";
};

// Missing file or keys give the defaults above; a number that does not start with digits reads as 0.
Settings LoadSettings(const std::filesystem::path& file, const std::string& profileFolder);
Settings SettingsFromIni(const IniFile& ini, const std::string& profileFolder);
FileTypes LoadFileTypes(const std::filesystem::path& file);

// The dialog's keys ("Layouts" and the dialog part of "sonstiges"), written into the file while every
// other key and line of it stays, so the login, pending deletions and presets survive a dialog save.
// Both writes report a failure on stderr as well as in the result; the user is not told.
WriteResult SaveSettingsDialog(const std::filesystem::path& file, const Settings& settings);
std::vector<SettingKey> SettingsDialogKeys(const Settings& settings);

// The values of the run: presets, file types, then the window keys of the windows that exist.
WriteResult SaveShutdownSettings(const std::filesystem::path& file, const Settings& settings,
                                 const FileTypes& fileTypes, bool controlWindowExists, bool songOrderWindowExists);
std::vector<SettingKey> ShutdownKeys(const Settings& settings, const FileTypes& fileTypes, bool controlWindowExists,
                                     bool songOrderWindowExists);

}  // namespace psalmora
