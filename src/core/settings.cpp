// Loading and saving the settings table of "config/einstellungen.ini".
#include "core/settings.h"

#include <iostream>

namespace psalmora {
namespace {

// The settings writes stay silent towards the user; the reason of a failure goes to stderr.
WriteResult WriteReported(const std::filesystem::path& file, const std::vector<SettingKey>& keys) {
  WriteResult result = WriteSettingKeys(file, keys);
  if (!result) std::cerr << "psalmora: " << result.error << '\n';
  return result;
}

void AddNumber(std::vector<SettingKey>& keys, std::string_view group, std::string_view key, int value) {
  keys.push_back({std::string(group), std::string(key), std::to_string(value)});
}

void AddText(std::vector<SettingKey>& keys, std::string_view group, std::string_view key, const std::string& value) {
  keys.push_back({std::string(group), std::string(key), value});
}

}  // namespace

Settings SettingsFromIni(const IniFile& ini, const std::string& profileFolder) {
  Settings s;
  LayoutAssignment& l = s.layouts;
  l.vorschau = ini.ValueOr(kGroupLayouts, "vorschau", l.vorschau);
  l.beamer = ini.ValueOr(kGroupLayouts, "beamer", l.beamer);
  l.format = ini.ValueOr(kGroupLayouts, "format", l.format);
  l.kopfzeile = ini.ValueOr(kGroupLayouts, "kopfzeile", l.kopfzeile);
  l.fusszeile = ini.ValueOr(kGroupLayouts, kKeyFooterLayout, l.fusszeile);

  const std::string_view m = kGroupMisc;
  s.autoopen = ini.IntOr(m, "autoopen", s.autoopen);
  s.warnungmaus = ini.IntOr(m, "warnungmaus", s.warnungmaus);
  s.akkordzeilehoehe = ini.IntOr(m, "akkordzeilehoehe", s.akkordzeilehoehe);
  s.fusszeilenhoehe = ini.IntOr(m, kKeyFooterHeight, s.fusszeilenhoehe);
  s.scrollweite = ini.IntOr(m, "scrollweite", s.scrollweite);
  s.beamertextanpassen = ini.IntOr(m, "beamertextanpassen", s.beamertextanpassen);
  s.suchebeimtippen = ini.IntOr(m, kKeySearchAsYouType, s.suchebeimtippen);
  s.videodownloader = ini.ValueOr(m, kKeyVideoDownloader, s.videodownloader);
  s.pmoUsername = ini.ValueOr(m, "ein_pmo_username", "");
  s.pmoPassword = ini.ValueOr(m, "ein_pmo_passwort", "");
  s.useridcb = ini.ValueOr(m, kKeyUserIdCb, "");
  s.loeschstringclient = ini.ValueOr(m, kKeyDeletedSongs, "");
  s.loeschstringplaylistclient = ini.ValueOr(m, kKeyDeletedSelections, "");
  s.serveradresse = ini.ValueOr(m, kKeyServerAddress, s.serveradresse);
  s.ultimateGuitarSite = ini.ValueOr(m, kKeyUltimateGuitarSite, s.ultimateGuitarSite);
  s.googleSite = ini.ValueOr(m, kKeyGoogleSite, s.googleSite);
  s.songSelectSite = ini.ValueOr(m, kKeySongSelectSite, s.songSelectSite);

  const std::string_view v = kGroupPresets;
  s.haupt = ini.IntOr(v, "haupt", s.haupt);
  s.vor = ini.IntOr(v, "vor", s.vor);
  s.bibel = ini.IntOr(v, "bibel", s.bibel);
  s.frametop = ini.IntOr(v, "frametop", s.frametop);
  s.framefeet = ini.IntOr(v, "framefeet", s.framefeet);
  s.pfadhgbild = ini.ValueOr(v, "pfadhgbild", profileFolder);
  s.pfadimport = ini.ValueOr(v, "pfadimport", profileFolder);
  s.folie = ini.IntOr(v, "folie", s.folie);
  s.updateauto = ini.IntOr(v, "updateauto", s.updateauto);
  s.showwindowkontroll = ini.IntOr(v, "showwindowkontroll", s.showwindowkontroll);
  s.showwindowablauf = ini.IntOr(v, "showwindowablauf", s.showwindowablauf);
  s.windowkontrollx = ini.IntOr(v, "windowkontrollx", s.windowkontrollx);
  s.windowkontrolly = ini.IntOr(v, "windowkontrolly", s.windowkontrolly);
  s.windowablaufx = ini.IntOr(v, "windowablaufx", s.windowablaufx);
  s.windowablaufy = ini.IntOr(v, "windowablaufy", s.windowablaufy);
  s.windowablaufweite = ini.IntOr(v, "windowablaufweite", s.windowablaufweite);
  s.windowablaufhohe = ini.IntOr(v, "windowablaufhohe", s.windowablaufhohe);
  s.sprache = ini.IntOr(v, "sprache", s.sprache);
  s.containerlinks = ini.IntOr(v, "containerlinks", s.containerlinks);
  s.containermitte = ini.IntOr(v, "containermitte", s.containermitte);
  return s;
}

Settings LoadSettings(const std::filesystem::path& file, const std::string& profileFolder) {
  return SettingsFromIni(IniFile::Load(file), profileFolder);
}

FileTypes LoadFileTypes(const std::filesystem::path& file) {
  const IniFile ini = IniFile::Load(file);
  FileTypes types;
  types.film = ini.ValueOr(kGroupFileTypes, "film", types.film);
  types.music = ini.ValueOr(kGroupFileTypes, "music", types.music);
  types.ppt = ini.ValueOr(kGroupFileTypes, "ppt", types.ppt);
  types.bild = ini.ValueOr(kGroupFileTypes, "bild", types.bild);
  return types;
}

std::vector<SettingKey> SettingsDialogKeys(const Settings& settings) {
  std::vector<SettingKey> keys;
  const LayoutAssignment& l = settings.layouts;
  AddText(keys, kGroupLayouts, "vorschau", l.vorschau);
  AddText(keys, kGroupLayouts, "beamer", l.beamer);
  AddText(keys, kGroupLayouts, "format", l.format);
  AddText(keys, kGroupLayouts, "kopfzeile", l.kopfzeile);
  AddText(keys, kGroupLayouts, kKeyFooterLayout, l.fusszeile);
  AddNumber(keys, kGroupMisc, "autoopen", settings.autoopen);
  AddNumber(keys, kGroupMisc, "warnungmaus", settings.warnungmaus);
  AddNumber(keys, kGroupMisc, "akkordzeilehoehe", settings.akkordzeilehoehe);
  AddNumber(keys, kGroupMisc, kKeyFooterHeight, settings.fusszeilenhoehe);
  AddNumber(keys, kGroupMisc, "scrollweite", settings.scrollweite);
  AddNumber(keys, kGroupMisc, "beamertextanpassen", settings.beamertextanpassen);
  AddText(keys, kGroupMisc, "ein_pmo_username", settings.pmoUsername);
  AddText(keys, kGroupMisc, "ein_pmo_passwort", settings.pmoPassword);
  AddText(keys, kGroupMisc, kKeyServerAddress, settings.serveradresse);
  AddText(keys, kGroupMisc, kKeyVideoDownloader, settings.videodownloader);
  return keys;
}

WriteResult SaveSettingsDialog(const std::filesystem::path& file, const Settings& settings) {
  return WriteReported(file, SettingsDialogKeys(settings));
}

std::vector<SettingKey> ShutdownKeys(const Settings& s, const FileTypes& fileTypes, bool controlWindowExists,
                                     bool songOrderWindowExists) {
  std::vector<SettingKey> keys;
  const std::string_view v = kGroupPresets;
  AddNumber(keys, v, "haupt", s.haupt);
  AddNumber(keys, v, "vor", s.vor);
  AddNumber(keys, v, "bibel", s.bibel);
  AddNumber(keys, v, "frametop", s.frametop);
  AddNumber(keys, v, "framefeet", s.framefeet);
  AddText(keys, v, "pfadhgbild", s.pfadhgbild);
  AddText(keys, v, "pfadimport", s.pfadimport);
  AddNumber(keys, v, "folie", s.folie);
  AddNumber(keys, v, "updateauto", s.updateauto);
  AddNumber(keys, v, "sprache", s.sprache);
  AddNumber(keys, v, "containerlinks", s.containerlinks);
  AddNumber(keys, v, "containermitte", s.containermitte);
  AddText(keys, kGroupFileTypes, "film", fileTypes.film);
  AddText(keys, kGroupFileTypes, "music", fileTypes.music);
  AddText(keys, kGroupFileTypes, "bild", fileTypes.bild);
  AddText(keys, kGroupFileTypes, "ppt", fileTypes.ppt);
  AddNumber(keys, v, "showwindowkontroll", s.showwindowkontroll);
  if (controlWindowExists) {
    AddNumber(keys, v, "windowkontrollx", s.windowkontrollx);
    AddNumber(keys, v, "windowkontrolly", s.windowkontrolly);
  }
  AddNumber(keys, v, "showwindowablauf", s.showwindowablauf);
  if (songOrderWindowExists) {
    AddNumber(keys, v, "windowablaufx", s.windowablaufx);
    AddNumber(keys, v, "windowablaufy", s.windowablaufy);
    AddNumber(keys, v, "windowablaufweite", s.windowablaufweite);
    AddNumber(keys, v, "windowablaufhohe", s.windowablaufhohe);
  }
  return keys;
}

WriteResult SaveShutdownSettings(const std::filesystem::path& file, const Settings& settings,
                                 const FileTypes& fileTypes, bool controlWindowExists, bool songOrderWindowExists) {
  return WriteReported(file, ShutdownKeys(settings, fileTypes, controlWindowExists, songOrderWindowExists));
}

}  // namespace psalmora
