// Hostile replies: seeded random mutations of well-formed service replies must neither crash the
// synchronisation nor leave a store that cannot be read or holds a broken record.
#include <gtest/gtest.h>

#include <random>

#include "core/record_fields.h"
#include "core/settings.h"
#include "fake_service.h"
#include "online/song_sync.h"
#include "songdb/song_store.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::FakeService;
using testing::Query;
using testing::TempDir;
using testing::WriteFileBytes;

const std::string kSongReply =
    "g2|gx|[zeile]gneu[spalte]Neu[spalte]A[spalte]C[spalte]1[spalte]B[spalte]D[spalte]L[spalte][spalte]90"
    "[spalte]a\\nb[spalte]86400[spalte][spalte]03.03.2026-10:00[spalte][spalte]G[spalte]f[zeile2]gneu2[spalte]X"
    "[zeile]g1,g3[zeile]g1[spalte]Ge\xC3\xA4ndert[spalte][spalte][spalte][spalte][spalte][spalte][spalte][spalte]"
    "[spalte]x\\ny[spalte]0[spalte][spalte]04.04.2026-10:00";
const std::string kSelectionReply =
    "p1|[zeile]pn[spalte]Neu[spalte]g1|g3[spalte]1[spalte]u[spalte]2[spalte]u[spalte]r[zeile]p2,[zeile]p2[spalte]A";
const std::string kTokens[] = {"[zeile]", "[zeile2]", "[spalte]", "|", ",", "\t", "\r\n", "\\n", "\xC3", "\0", "-"};

std::string Mutate(std::string text, std::mt19937& random) {
  const int steps = std::uniform_int_distribution<int>(1, 6)(random);
  for (int i = 0; i < steps; ++i) {
    const std::size_t at = text.empty() ? 0 : std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random);
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
      case 0:
        text.resize(at);
        break;  // cut off
      case 1:
        if (!text.empty()) text[at] = static_cast<char>(random());
        break;
      case 2:
        text.insert(at, kTokens[random() % std::size(kTokens)]);
        break;
      case 3:
        text.insert(at, text.substr(at, 200));
        break;  // repeated
      default:
        if (!text.empty()) text.erase(at, std::uniform_int_distribution<std::size_t>(1, 20)(random));
        break;
    }
  }
  return text;
}

TEST(SyncFuzzTest, MutatedRepliesNeverBreakTheStore) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 60; ++round) {
    TempDir dir;
    std::filesystem::create_directories(dir / "config");
    WriteFileBytes(dir / "lieder.dat",
                   "1\t\tEins\t\t\t\t\t\t\t\t\t01.01.2026-10:00\t\t\t\t\t\t\tg1\t\t\t\r\n"
                   "2\t\tZwei\t\t\t\t\t\t\t\t\t01.01.2026-10:00\t\t\t\t\t\t\tg2\t\t\t\r\n"
                   "3\t\tDrei\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
    WriteFileBytes(dir / "auswahl.dat", "Sonntag\t|1|2\tp1\t\t1\tu\t2\tu\t\r\nMontag\t|3\tp2\t\t1\tu\t2\tu\t\r\n");
    SongStore store(DataFiles::For(dir.path()));
    store.LoadSongList();
    Settings settings;
    settings.useridcb = "u1";
    FakeService service;
    const std::string songReply = Mutate(kSongReply, random);
    const std::string selectionReply = Mutate(kSelectionReply, random);
    const std::string newId = Mutate("ok|gneu3", random);
    service.handlers["abgleich"] = [&](const Query& q) { return q.at("part") == "fertig" ? songReply : "ok"; };
    service.handlers["abgleichplaylist"] = [&](const Query& q) {
      return q.at("part") == "fertig" ? selectionReply : "ok";
    };
    service.handlers["neuersong"] = [&](const Query&) { return newId; };
    SyncWithCantabox(store, {settings, dir / "config" / "einstellungen.ini"}, service.Transport());

    SongStore again(DataFiles::For(dir.path()));
    again.LoadSongList();
    ASSERT_FALSE(again.SongListUnreadable());
    for (const std::string& record : again.SongList()) {
      EXPECT_TRUE(IsValidSongId(SongIdOfRecord(record))) << "round " << round << ": " << record;
      EXPECT_EQ(record.find_first_of("\r\n"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace psalmora
