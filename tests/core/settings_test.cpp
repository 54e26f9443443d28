#include "core/settings.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

const std::string kProfile = "/home/anna";

TEST(LoadSettings, MissingFileGivesTheDefaults) {
  TempDir dir;
  const Settings s = LoadSettings(dir / "missing.ini", kProfile);
  EXPECT_EQ(s.layouts.vorschau, "1");
  EXPECT_EQ(s.layouts.beamer, "2");
  EXPECT_EQ(s.layouts.format, "5");
  EXPECT_EQ(s.layouts.kopfzeile, "3");
  EXPECT_EQ(s.layouts.fusszeile, "4");
  EXPECT_EQ(s.autoopen, 1);
  EXPECT_EQ(s.warnungmaus, 0);
  EXPECT_EQ(s.akkordzeilehoehe, 30);
  EXPECT_EQ(s.fusszeilenhoehe, 30);
  EXPECT_EQ(s.scrollweite, 20);
  EXPECT_EQ(s.beamertextanpassen, 0);
  EXPECT_EQ(s.suchebeimtippen, 0);
  EXPECT_EQ(s.updateauto, -1);
  EXPECT_EQ(s.sprache, 0);
  EXPECT_EQ(s.containerlinks, 265);
  EXPECT_EQ(s.containermitte, 250);
  EXPECT_EQ(s.windowablaufweite, 300);
  EXPECT_EQ(s.windowablaufhohe, 300);
  EXPECT_EQ(s.pfadhgbild, kProfile);
  EXPECT_EQ(s.pfadimport, kProfile);
  EXPECT_EQ(s.useridcb, "");

  const FileTypes types = LoadFileTypes(dir / "missing.ini");
  EXPECT_EQ(types.film, "avi, mpg, wmv");
  EXPECT_EQ(types.music, "wav, mp3, wma");
  EXPECT_EQ(types.ppt, "ppt, pps");
  EXPECT_EQ(types.bild, "jpg, jpeg, ico, png, bmp, gif, tif, tiff");
}

TEST(LoadSettings, ReadsEveryGroupIncludingTheWindows1252Keys) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  WriteFileBytes(file,
                 "[layouts]\r\nvorschau=4\r\nFU\xDFZEILE=9\r\n"
                 "[sonstiges]\r\nfu\xDFzeilenhoehe=44\r\nautoopen=0\r\nein_pmo_username=m\xFCller\r\n"
                 "useridcb=u7\r\nloeschstringclient=g1|g2|\r\nloeschstringplaylistclient=p1|\r\n"
                 "[voreinstellung]\r\nsprache=2\r\nupdateauto=1\r\npfadhgbild=C:\\Bilder\\a.jpg\r\n"
                 "containerlinks=300px\r\nhaupt=abc\r\n"
                 "[dateitypen]\r\nfilm=mkv, mp4\r\n");
  const Settings s = LoadSettings(file, kProfile);
  EXPECT_EQ(s.layouts.vorschau, "4");
  EXPECT_EQ(s.layouts.fusszeile, "9");
  EXPECT_EQ(s.fusszeilenhoehe, 44);
  EXPECT_EQ(s.autoopen, 0);
  EXPECT_EQ(s.pmoUsername, "m\xFCller");
  EXPECT_EQ(s.useridcb, "u7");
  EXPECT_EQ(s.loeschstringclient, "g1|g2|");
  EXPECT_EQ(s.loeschstringplaylistclient, "p1|");
  EXPECT_EQ(s.sprache, 2);
  EXPECT_EQ(s.updateauto, 1);
  EXPECT_EQ(s.pfadhgbild, "C:\\Bilder\\a.jpg");
  EXPECT_EQ(s.pfadimport, kProfile);
  EXPECT_EQ(s.containerlinks, 300);
  EXPECT_EQ(s.haupt, 0);  // non-numeric text reads as 0
  EXPECT_EQ(LoadFileTypes(file).film, "mkv, mp4");
  EXPECT_EQ(LoadFileTypes(file).bild, "jpg, jpeg, ico, png, bmp, gif, tif, tiff");
}

TEST(LoadSettings, GarbageFileStillLoads) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  std::string bytes(std::string("\0\xFF\xFE garbage", 11));
  bytes += "\r\n" + std::string(10 * 1024 * 1024, '[') + "\r\n[sonstiges]\r\nscrollweite=35\r\n\x01\x02=\r\n";
  WriteFileBytes(file, bytes);
  const Settings s = LoadSettings(file, kProfile);
  EXPECT_EQ(s.scrollweite, 35);
  EXPECT_EQ(s.akkordzeilehoehe, 30);
  // A folder in the file's place reads as a missing file.
  std::filesystem::create_directory(dir / "folder.ini");
  EXPECT_EQ(LoadSettings(dir / "folder.ini", kProfile).containermitte, 250);
}

TEST(SaveSettingsDialog, WritesTheDialogKeysAndKeepsEverythingElse) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  WriteFileBytes(file,
                 "[Layouts]\r\nvorschau=1\r\n"
                 "[sonstiges]\r\nuseridcb=u7\r\nloeschstringclient=g1|\r\nloeschstringplaylistclient=p1|\r\n"
                 "importregel=a|b\r\n"
                 "[voreinstellung]\r\nvor=2\r\nsprache=1\r\n"
                 "[dateitypen]\r\nfilm=mkv\r\n");
  Settings s = LoadSettings(file, kProfile);
  s.layouts.vorschau = "2";
  s.layouts.fusszeile = "5";
  s.autoopen = 0;
  s.fusszeilenhoehe = 41;
  s.scrollweite = 25;
  s.pmoUsername = "anna";
  s.updateauto = 1;  // taken from the dialog but written only at shutdown
  ASSERT_TRUE(SaveSettingsDialog(file, s));

  const Settings reread = LoadSettings(file, kProfile);
  EXPECT_EQ(reread.layouts.vorschau, "2");
  EXPECT_EQ(reread.layouts.fusszeile, "5");
  EXPECT_EQ(reread.autoopen, 0);
  EXPECT_EQ(reread.fusszeilenhoehe, 41);
  EXPECT_EQ(reread.scrollweite, 25);
  EXPECT_EQ(reread.pmoUsername, "anna");
  EXPECT_EQ(reread.updateauto, -1);
  // What the dialog does not own survives the save.
  EXPECT_EQ(reread.useridcb, "u7");
  EXPECT_EQ(reread.loeschstringclient, "g1|");
  EXPECT_EQ(reread.loeschstringplaylistclient, "p1|");
  EXPECT_EQ(reread.vor, 2);
  EXPECT_EQ(reread.sprache, 1);
  EXPECT_EQ(IniFile::Load(file).Value("sonstiges", "importregel"), "a|b");
  EXPECT_EQ(LoadFileTypes(file).film, "mkv");
}

TEST(SaveSettingsDialog, FreshFileHoldsTheTwoDialogGroupsInOrder) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  ASSERT_TRUE(SaveSettingsDialog(file, Settings{}));
  EXPECT_EQ(ReadFileBytes(file),
            "[Layouts]\r\nvorschau=1\r\nbeamer=2\r\nformat=5\r\nkopfzeile=3\r\nfu\xDFzeile=4\r\n"
            "[sonstiges]\r\nautoopen=1\r\nwarnungmaus=0\r\nakkordzeilehoehe=30\r\nfu\xDFzeilenhoehe=30\r\n"
            "scrollweite=20\r\nbeamertextanpassen=0\r\nein_pmo_username=\r\nein_pmo_passwort=\r\n"
            "serveradresse=http://localhost:8750\r\nvideodownloader=yt-dlp\r\n");
}

TEST(LoadSettings, SearchAsYouTypeIsReadFromTheMiscGroup) {
  TempDir dir;
  WriteFileBytes(dir / "einstellungen.ini", "[sonstiges]\r\nsuchebeimtippen=1\r\n");
  EXPECT_EQ(LoadSettings(dir / "einstellungen.ini", kProfile).suchebeimtippen, 1);
}

TEST(LoadSettings, TheShippedSettingsOfANewProgramFolderFitTheBeamerText) {
  const Settings s =
      LoadSettings(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/einstellungen.ini", kProfile);
  EXPECT_EQ(s.beamertextanpassen, 1);
  EXPECT_EQ(s.scrollweite, 20);
}

TEST(SaveShutdownSettings, WritesPresetsFileTypesAndTheExistingWindows) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  Settings s;
  s.haupt = 2;
  s.updateauto = 0;
  s.pfadhgbild = kProfile;
  s.pfadimport = kProfile;
  s.windowkontrollx = 11;
  s.windowablaufx = 12;
  ASSERT_TRUE(SaveShutdownSettings(file, s, FileTypes{}, /*controlWindowExists=*/false,
                                   /*songOrderWindowExists=*/true));
  EXPECT_EQ(ReadFileBytes(file),
            "[voreinstellung]\r\nhaupt=2\r\nvor=0\r\nbibel=0\r\nframetop=0\r\nframefeet=0\r\n"
            "pfadhgbild=/home/anna\r\npfadimport=/home/anna\r\nfolie=0\r\nupdateauto=0\r\nsprache=0\r\n"
            "containerlinks=265\r\ncontainermitte=250\r\nshowwindowkontroll=0\r\nshowwindowablauf=0\r\n"
            "windowablaufx=12\r\nwindowablaufy=0\r\nwindowablaufweite=300\r\nwindowablaufhohe=300\r\n"
            "[dateitypen]\r\nfilm=avi, mpg, wmv\r\nmusic=wav, mp3, wma\r\nbild=jpg, jpeg, ico, png, bmp, gif, tif, "
            "tiff\r\nppt=ppt, pps\r\n");
}

TEST(SaveShutdownSettings, KeepsWindowPositionsOfWindowsThatNeverExisted) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  WriteFileBytes(file, "[voreinstellung]\r\nwindowkontrollx=400\r\n[sonstiges]\r\nuseridcb=u1\r\n");
  Settings s = LoadSettings(file, kProfile);
  s.windowkontrollx = 0;  // would be the value of a window that is not there
  ASSERT_TRUE(SaveShutdownSettings(file, s, FileTypes{}, false, false));
  const Settings reread = LoadSettings(file, kProfile);
  EXPECT_EQ(reread.windowkontrollx, 400);
  EXPECT_EQ(reread.useridcb, "u1");
  ASSERT_TRUE(SaveShutdownSettings(file, s, FileTypes{}, true, false));
  EXPECT_EQ(LoadSettings(file, kProfile).windowkontrollx, 0);
}

TEST(SaveShutdownSettings, RoundTripsEveryValue) {
  TempDir dir;
  const auto file = dir / "einstellungen.ini";
  Settings s;
  s.haupt = 1, s.vor = 2, s.bibel = 3, s.frametop = 1, s.framefeet = 1, s.folie = 4, s.updateauto = 1;
  s.pfadhgbild = "/bilder/\xC4pfel.jpg";
  s.pfadimport = "/import";
  s.sprache = 3, s.containerlinks = 280, s.containermitte = 260;
  s.showwindowkontroll = 1, s.windowkontrollx = -5, s.windowkontrolly = 7;
  s.showwindowablauf = 1, s.windowablaufx = 8, s.windowablaufy = 9, s.windowablaufweite = 310;
  s.windowablaufhohe = 320;
  FileTypes types;
  types.music = "ogg";
  ASSERT_TRUE(SaveShutdownSettings(file, s, types, true, true));
  const Settings r = LoadSettings(file, kProfile);
  EXPECT_EQ(r.haupt, 1);
  EXPECT_EQ(r.vor, 2);
  EXPECT_EQ(r.bibel, 3);
  EXPECT_EQ(r.frametop, 1);
  EXPECT_EQ(r.framefeet, 1);
  EXPECT_EQ(r.folie, 4);
  EXPECT_EQ(r.updateauto, 1);
  EXPECT_EQ(r.pfadhgbild, s.pfadhgbild);
  EXPECT_EQ(r.pfadimport, "/import");
  EXPECT_EQ(r.sprache, 3);
  EXPECT_EQ(r.containerlinks, 280);
  EXPECT_EQ(r.containermitte, 260);
  EXPECT_EQ(r.showwindowkontroll, 1);
  EXPECT_EQ(r.windowkontrollx, -5);
  EXPECT_EQ(r.windowkontrolly, 7);
  EXPECT_EQ(r.showwindowablauf, 1);
  EXPECT_EQ(r.windowablaufx, 8);
  EXPECT_EQ(r.windowablaufy, 9);
  EXPECT_EQ(r.windowablaufweite, 310);
  EXPECT_EQ(r.windowablaufhohe, 320);
  EXPECT_EQ(LoadFileTypes(file).music, "ogg");
}

TEST(SaveShutdownSettings, ReportsAFailedWrite) {
  TempDir dir;
  EXPECT_FALSE(SaveShutdownSettings(dir / "missing-folder" / "einstellungen.ini", Settings{}, FileTypes{}, true, true));
  EXPECT_FALSE(SaveSettingsDialog(dir / "missing-folder" / "einstellungen.ini", Settings{}));
}

TEST(SaveShutdownSettings, AFailedWriteNamesItsReasonOnStderr) {
  TempDir dir;
  const std::filesystem::path file = dir / "missing-folder" / "einstellungen.ini";
  ::testing::internal::CaptureStderr();
  SaveShutdownSettings(file, Settings{}, FileTypes{}, false, false);
  const std::string shutdownError = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(shutdownError.find("psalmora: "), std::string::npos);
  EXPECT_NE(shutdownError.find(file.string()), std::string::npos);
  ::testing::internal::CaptureStderr();
  SaveSettingsDialog(file, Settings{});
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(file.string()), std::string::npos);
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(SaveSettingsDialog(dir / "einstellungen.ini", Settings{}));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace psalmora
