#include "online/song_sync.h"

#include <gtest/gtest.h>

#include <map>

#include "collections/pending_deletions.h"
#include "core/ini_file.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "fake_service.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::FakeService;
using testing::Query;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

const std::string kMarker = "#gel\xF6scht#";

std::string Song(const std::string& id, const std::string& title, const std::string& globalId = "",
                 const std::string& changed = "01.02.2026-10:00") {
  std::map<int, std::string> fields{{1, id}, {2, "01.02.2026-09:00"}, {3, title}, {12, changed}, {19, globalId}};
  std::string record;
  for (int field = 1; field <= 21; ++field) record += fields[field] + "\t";
  return record;
}

// A song entry of the service: 17 fields.
std::string Entry(const std::string& globalId, const std::string& title, const std::string& lyrics,
                  const std::string& changed = "02.02.2026-10:00") {
  std::map<int, std::string> fields{{1, globalId}, {2, title},    {3, "Autor"},  {10, "120"},
                                    {11, lyrics},  {12, "86400"}, {14, changed}, {16, "G"}};
  std::string entry;
  for (int field = 1; field <= 17; ++field) entry += (field > 1 ? "[spalte]" : "") + fields[field];
  return entry;
}

class SongSyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "config");
    settings_.useridcb = "u1";
    settings_.serveradresse = "http://fake:1";
  }
  void Songs(const std::vector<std::string>& records) {
    std::string list;
    for (const std::string& record : records) {
      list += record + "\r\n";
      const std::string_view id = IsDeletedRecord(record) ? RecordField(record, 2) : RecordField(record, 1);
      WriteFileBytes(dir_ / (std::string(id) + ".dat"), "Zeile 1\rZeile 2\r\n");
    }
    WriteFileBytes(dir_ / "lieder.dat", list);
    WriteFileBytes(dir_ / "id.dat", std::to_string(records.size()) + "\r\n");
    store_.LoadSongList();
  }
  SyncReport Sync() { return SyncWithCantabox(store_, {settings_, SettingsFile()}, service_.Transport()); }
  std::filesystem::path SettingsFile() const { return dir_ / "config" / "einstellungen.ini"; }
  std::string Record(std::string_view id) const { return store_.FindSongRecord(id); }
  void CompareReply(std::string reply) {
    service_.handlers["abgleich"] = [reply](const Query& q) { return q.at("part") == "fertig" ? reply : "ok"; };
  }
  void SelectionCompareReply(std::string reply) {
    service_.handlers["abgleichplaylist"] = [reply](const Query& q) { return q.at("part") == "fertig" ? reply : "ok"; };
  }

  TempDir dir_;
  SongStore store_{DataFiles::For(dir_.path())};
  Settings settings_;
  FakeService service_;
};

TEST_F(SongSyncTest, UploadsActiveSongsWithoutGlobalIdButNeverTheTrash) {
  Songs({Song("1", "A&O"), kMarker + "\t" + Song("2", "Im Papierkorb"), Song("3", "Bekannt", "g-old"),
         kMarker + "\t" + Song("4", "Weg", "gweg")});
  const SyncReport report = Sync();
  ASSERT_TRUE(report.Ok()) << report.errorText;
  const std::vector<Query> uploads = service_.Requests("neuersong");
  ASSERT_EQ(uploads.size(), 1u);
  const Query& upload = uploads[0];
  EXPECT_EQ(upload.at("titel"), "A&O");
  EXPECT_EQ(upload.at("userid"), "u1");
  EXPECT_EQ(upload.at("id"), "1");
  EXPECT_EQ(upload.at("liedtext"), "Zeile 1\\nZeile 2");
  EXPECT_EQ(upload.at("erstellt_am"), "1769936400");
  EXPECT_EQ(upload.at("geaendert_am"), "01.02.2026-10:00");
  EXPECT_NE(service_.urls[1].find("titel=A%26O&"), std::string::npos) << service_.urls[1];
  EXPECT_EQ(RecordField(Record("1"), 19), "g1");
  EXPECT_EQ(report.uploaded, std::vector<std::string>{"A&O"});
  // The compare lists the known song and the uploaded one, never a song in the trash.
  const std::vector<Query> compares = service_.Requests("abgleich");
  ASSERT_EQ(compares.size(), 1u);
  EXPECT_EQ(compares[0].at("songstring"), "g1-01.02.2026-10:00[spalte]g-old-01.02.2026-10:00[spalte]");
  EXPECT_EQ(compares[0].at("userid"), "u1");
}

TEST_F(SongSyncTest, ComparesInBatchesOf101) {
  std::vector<std::string> songs;
  for (int i = 1; i <= 250; ++i) songs.push_back(Song(std::to_string(i), "Lied", "g" + std::to_string(i)));
  Songs(songs);
  ASSERT_TRUE(Sync().Ok());
  const std::vector<Query> compares = service_.Requests("abgleich");
  ASSERT_EQ(compares.size(), 3u);
  const auto items = [](const Query& q) {
    int count = 0;
    for (std::size_t at = q.at("songstring").find("[spalte]"); at != std::string::npos;
         at = q.at("songstring").find("[spalte]", at + 1)) {
      ++count;
    }
    return count;
  };
  EXPECT_EQ(items(compares[0]), 101);
  EXPECT_EQ(items(compares[1]), 101);
  EXPECT_EQ(items(compares[2]), 48);
  EXPECT_EQ(compares[0].at("part"), "teil");
  EXPECT_EQ(compares[1].at("part"), "teil");
  EXPECT_EQ(compares[2].at("part"), "fertig");
}

TEST_F(SongSyncTest, EmptySectionsChangeNothing) {
  Songs({Song("1", "Eins", "ga"), Song("2", "Zwei", "gb")});
  WriteFileBytes(dir_ / "auswahl.dat", "Sonntag\t|1|2\tpa\t\t100\tu1\t200\tu1\t\r\n");
  const std::string songs = ReadFileBytes(dir_ / "lieder.dat");
  const SyncReport report = Sync();
  ASSERT_TRUE(report.Ok());
  EXPECT_EQ(ReadFileBytes(dir_ / "lieder.dat"), songs);
  EXPECT_EQ(ReadFileBytes(dir_ / "auswahl.dat"), "Sonntag\t|1|2\tpa\t\t100\tu1\t200\tu1\t\r\n");
  EXPECT_TRUE(report.uploaded.empty() && report.downloaded.empty() && report.changed.empty() && report.deleted.empty());
}

TEST_F(SongSyncTest, AnUnreachableServerChangesNothing) {
  Songs({Song("1", "Neu"), Song("2", "Zwei", "gb")});
  WriteFileBytes(dir_ / "auswahl.dat", "Sonntag\t|1|2\t\t\t100\t\t200\tu1\t\r\n");
  settings_.loeschstringclient = "gx|";
  service_.handlers["ping"] = [](const Query&) { return std::string(); };
  const std::string songs = ReadFileBytes(dir_ / "lieder.dat");
  const SyncReport report = Sync();
  EXPECT_EQ(report.error, SyncError::kUnreachable);
  EXPECT_NE(report.errorText.find("http://fake:1"), std::string::npos) << report.errorText;
  EXPECT_EQ(service_.requests.size(), 1u);
  EXPECT_EQ(ReadFileBytes(dir_ / "lieder.dat"), songs);
  EXPECT_EQ(settings_.loeschstringclient, "gx|");
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(SongSyncTest, AppliesEverySectionOfTheCompareReply) {
  Songs({Song("1", "Alt", "g1"), Song("2", "Geht", "g2"), Song("3", "Lokal neuer", "g3")});
  CompareReply("g2|[zeile]" + Entry("gneu", "Neu", "a\\nb") + "[zeile]g3,[zeile]" +
               Entry("g1", "Ge\xC3\xA4ndert", "x\\ny"));
  const SyncReport report = Sync();
  ASSERT_TRUE(report.Ok()) << report.errorText;
  // Section 1: to the trash, and not reported back as a local deletion.
  EXPECT_TRUE(store_.FindTrashPosition("2").has_value());
  EXPECT_EQ(settings_.loeschstringclient, "");
  EXPECT_EQ(report.deleted, std::vector<std::string>{"Geht"});
  // Section 2: a new song at the head with the next id.
  const std::string created = store_.SongList().front();
  EXPECT_EQ(RecordField(created, 1), "4");
  EXPECT_EQ(RecordField(created, 2), FormatTimestamp(86400));
  EXPECT_EQ(RecordField(created, 3), "Neu");
  EXPECT_EQ(RecordField(created, 7), "Autor");
  EXPECT_EQ(RecordField(created, 16), "120");
  EXPECT_EQ(RecordField(created, 19), "gneu");
  EXPECT_EQ(RecordField(created, 20), "G");
  EXPECT_EQ(ReadFileBytes(dir_ / "4.dat"), "a\rb\r\n");
  // Section 4: fields and text from the service (its UTF-8 read as Windows-1252).
  EXPECT_EQ(RecordField(Record("1"), 3), "Ge\xE4ndert");
  EXPECT_EQ(RecordField(Record("1"), 12), "02.02.2026-10:00");
  EXPECT_EQ(RecordField(Record("1"), 2), "01.02.2026-09:00");
  EXPECT_EQ(ReadFileBytes(dir_ / "1.dat"), "x\ry\r\n");
  // Section 3: the local version goes to the service.
  const std::vector<Query> sent = service_.Requests("changesong");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].at("global_id"), "g3");
  EXPECT_EQ(sent[0].at("titel"), "Lokal neuer");
  EXPECT_EQ(sent[0].at("geaendert_von"), "u1");
  EXPECT_EQ(report.downloaded.size(), 1u);
  EXPECT_EQ(report.changed.size(), 1u);
  EXPECT_EQ(report.sent, std::vector<std::string>{"Lokal neuer"});
}

TEST_F(SongSyncTest, AnEmptyOrBadGlobalIdMatchesNothing) {
  Songs({Song("1", "Ohne"), kMarker + "\t" + Song("2", "Im Papierkorb", "gtrash")});
  service_.handlers["neuersong"] = [](const Query&) { return std::string(); };  // the upload fails
  CompareReply("|[zeile]" + Entry("", "Leer", "") + "[zeile2]" + Entry("gtrash", "Wieder da", "") + "[zeile2]" +
               Entry("g\tx", "Tab", "") + "[zeile],[zeile]" + Entry("", "Leer", ""));
  const std::string songs = ReadFileBytes(dir_ / "lieder.dat");
  const SyncReport report = Sync();
  ASSERT_TRUE(report.Ok());
  EXPECT_EQ(ReadFileBytes(dir_ / "lieder.dat"), songs);  // the failed upload keeps its empty global id
  EXPECT_TRUE(report.uploaded.empty() && report.downloaded.empty() && report.changed.empty());
  EXPECT_TRUE(service_.Requests("changesong").empty());
}

TEST_F(SongSyncTest, AnEntryCutShortChangesNothing) {
  Songs({Song("1", "Alt", "g1")});
  const std::string full = Entry("g1", "Neu", "x");
  CompareReply("[zeile]" + Entry("g2", "Auch neu", "y").substr(0, 40) + "[zeile][zeile]" +
               full.substr(0, full.find("[spalte]120")));
  const std::string songs = ReadFileBytes(dir_ / "lieder.dat");
  const SyncReport report = Sync();
  ASSERT_TRUE(report.Ok());
  EXPECT_EQ(ReadFileBytes(dir_ / "lieder.dat"), songs);
  EXPECT_EQ(ReadFileBytes(dir_ / "1.dat"), "Zeile 1\rZeile 2\r\n");
}

TEST_F(SongSyncTest, TheDeletionListIsClearedOnlyWhenTheServiceTookIt) {
  Songs({Song("1", "Eins", "g1")});
  settings_.loeschstringclient = "gx|gy|";
  service_.handlers["deletesongs"] = [](const Query&) { return std::string(); };
  ASSERT_TRUE(Sync().Ok());
  EXPECT_EQ(settings_.loeschstringclient, "gx|gy|");
  service_.handlers.erase("deletesongs");
  ASSERT_TRUE(Sync().Ok());
  EXPECT_EQ(settings_.loeschstringclient, "");
  EXPECT_EQ(IniFile::Load(SettingsFile()).ValueOr("sonstiges", "loeschstringclient", "?"), "");
  const Query sent = service_.Requests("deletesongs").back();
  EXPECT_EQ(sent.at("songstring"), "gx|gy");
  EXPECT_EQ(sent.at("userid"), "u1");
}

TEST_F(SongSyncTest, ARefusingServiceStopsTheRunAndSaysWhy) {
  Songs({Song("1", "Eins")});
  service_.handlers["neuersong"] = [](const Query&) { return std::string("error|Unbekannter Benutzer"); };
  const std::string songs = ReadFileBytes(dir_ / "lieder.dat");
  const SyncReport report = Sync();
  EXPECT_EQ(report.error, SyncError::kRejected);
  EXPECT_EQ(report.errorText, "Unbekannter Benutzer");
  EXPECT_TRUE(service_.Requests("abgleich").empty());
  EXPECT_EQ(ReadFileBytes(dir_ / "lieder.dat"), songs);
}

TEST_F(SongSyncTest, NotLoggedInSendsNothing) {
  Songs({Song("1", "Eins")});
  settings_.useridcb.clear();
  EXPECT_EQ(Sync().error, SyncError::kNotLoggedIn);
  EXPECT_TRUE(service_.requests.empty());
}

TEST_F(SongSyncTest, SelectionsGoOutWithGlobalSongIdsAndComeBackWithLocalOnes) {
  Songs({Song("1", "Eins", "ga"), Song("2", "Zwei", "gb"), Song("3", "Ohne")});
  service_.handlers["neuersong"] = [](const Query&) { return std::string(); };
  WriteFileBytes(dir_ / "auswahl.dat", "Sonntag\t|1|3|2\t\t\t100\t\t200\tu1\t\r\nAlt\t|1\tpalt\t\t1\tu1\t2\tu1\t\r\n");
  settings_.loeschstringplaylistclient = "pweg|";
  SelectionCompareReply(
      "palt|[zeile]pn[spalte]Neu[spalte]gb|gz|ga[spalte]10[spalte]u2[spalte]20[spalte]u2"
      "[spalte]r[zeile][zeile]");
  const SyncReport report = Sync();
  ASSERT_TRUE(report.Ok()) << report.errorText;
  const std::vector<Query> uploads = service_.Requests("neueplaylist");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(uploads[0].at("allesongids"), "ga|gb");
  EXPECT_EQ(uploads[0].at("erstellt_von"), "u1");
  EXPECT_EQ(uploads[0].at("global_id"), "");
  const Query deletion = service_.Requests("deleteplaylist").at(0);
  EXPECT_EQ(deletion.at("songstring"), "pweg");
  EXPECT_EQ(settings_.loeschstringplaylistclient, "");
  // The uploaded selection takes its global id; the one deleted on the service goes; the new one
  // comes with local song ids (a song unknown here left out).
  EXPECT_EQ(ReadFileBytes(dir_ / "auswahl.dat"),
            "Sonntag\t|1|3|2\tp1\t\t100\t\t200\tu1\t\r\nNeu\t|2|1\tpn\tr\t10\tu2\t20\tu2\r\n");
  EXPECT_EQ(report.selectionsUploaded, 1);
  EXPECT_EQ(report.selectionsDeleted, 1);
  EXPECT_EQ(report.selectionsDownloaded, 1);
}

TEST_F(SongSyncTest, ThePoolMappingGivesGlobalIdsBeforeAnyUpload) {
  Songs({Song("1", "Aus dem Pool"), Song("2", "Eigenes")});
  std::filesystem::create_directories(dir_ / "datenpool");
  WriteFileBytes(dir_ / "datenpool" / "43.dat", "7\t1\r\n");
  service_.handlers["getids43"] = [](const Query&) { return std::string("7|gpool[zeile]8|gandere"); };
  ASSERT_TRUE(Sync().Ok());
  EXPECT_EQ(RecordField(Record("1"), 19), "gpool");
  ASSERT_EQ(service_.Requests("neuersong").size(), 1u);
  EXPECT_EQ(service_.Requests("neuersong")[0].at("id"), "2");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "datenpool" / "43.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "datenpool" / "43-alt.dat"));
}

TEST_F(SongSyncTest, ACancelledRunKeepsTheUploadsTheServiceTook) {
  Songs({Song("1", "Eins"), Song("2", "Zwei")});
  std::atomic<bool> cancel = false;
  const SyncSnapshot snapshot = TakeSyncSnapshot(store_, settings_);
  const SyncOutcome outcome = RunSyncRequests(
      snapshot, service_.Transport(),
      [&](const SyncProgress& progress) {
        EXPECT_EQ(progress.text, std::to_string(progress.done) + " von 2 Liedern");
        cancel = true;
      },
      &cancel);
  EXPECT_EQ(outcome.error, SyncError::kCancelled);
  const SyncReport report = ApplySyncOutcome(snapshot, outcome, store_, {settings_, SettingsFile()});
  EXPECT_EQ(report.uploaded.size(), 1u);
  EXPECT_EQ(RecordField(Record("1"), 19), "g1");
  EXPECT_EQ(RecordField(Record("2"), 19), "");
  EXPECT_TRUE(service_.Requests("abgleich").empty());
}

TEST(LoginCantaboxTest, TakesTheUserIdOrTheServicesMessage) {
  FakeService service;
  std::string reply;
  service.handlers["login"] = [&](const Query&) { return reply; };
  reply = "0123abcd[spalte]a+b@x.de";
  LoginResult login = LoginCantabox(service.Transport(), "http://fake:1", "a+b@x.de", "p&w 1");
  EXPECT_TRUE(login.ok);
  EXPECT_EQ(login.userId, "0123abcd");
  EXPECT_NE(service.urls.back().find("email=a%2Bb%40x.de&password=p%26w%201&aktion=login"), std::string::npos);
  reply = "error|Anmeldung fehlgeschlagen: E-Mail-Adresse oder Passwort falsch";
  login = LoginCantabox(service.Transport(), "http://fake:1", "a@x.de", "falsch");
  EXPECT_FALSE(login.ok);
  EXPECT_EQ(login.error, "Anmeldung fehlgeschlagen: E-Mail-Adresse oder Passwort falsch");
  for (const std::string garbage : {"", "<html>", "a b[spalte]"}) {
    reply = garbage;
    EXPECT_FALSE(LoginCantabox(service.Transport(), "http://fake:1", "a@x.de", "p").ok) << garbage;
  }
  service.handlers["ping"] = [](const Query&) { return std::string(); };
  login = LoginCantabox(service.Transport(), "http://fake:1", "a@x.de", "p");
  EXPECT_FALSE(login.ok);
  EXPECT_NE(login.error.find("nicht erreichbar"), std::string::npos);
}

}  // namespace
}  // namespace psalmora
