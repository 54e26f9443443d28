// The data pool between two main windows and a real psalmora-server over loopback: one member's
// preview song (a title with "&" and "#") reaches the other's activities window, "Song" selects it in
// the song list; a member outside the pool sees nothing; a server that never answers holds neither
// window nor a second request.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <memory>

#include "app/controller_wiring.h"
#include "app/main_window.h"
#include "app/online_panels.h"
#include "core/settings.h"
#include "online/ui/activities_window.h"
#include "online/ui/data_pool_controller.h"
#include "render/ui/preview_controller.h"
#include "song_folder_fixture.h"

namespace psalmora {
namespace {

using uitest::SongLine;

// psalmora-server with three accounts, anna and bernd in the pool "Lobpreis".
class PoolServer {
 public:
  PoolServer() {
#ifdef PSALMORA_SERVER_PATH
    program_ = PSALMORA_SERVER_PATH;
#endif
    if (program_.isEmpty() || !QFileInfo(program_).isExecutable()) return;
    db_ = temp_.path() + "/service.db";
    for (const char* email : {"anna@example.org", "bernd@example.org", "carla@example.org"}) {
      const QString id = Run({"adduser", email, "--db", db_}, "geheim\n");
      if (id.isEmpty()) return;
      userIds_ << id;
    }
    poolId_ = Run({"addpool", "Lobpreis", "anna@example.org", "bernd@example.org", "--db", db_}, {});
    serve_.start(program_, {"serve", "--port", "0", "--db", db_, "--quiet"});
    const QRegularExpression ready(QStringLiteral("listening on (http://[^\\s]+)"));
    QByteArray output;
    while (serve_.waitForReadyRead(10000)) {
      output += serve_.readAllStandardOutput();
      const QRegularExpressionMatch match = ready.match(QString::fromUtf8(output));
      if (match.hasMatch()) {
        address_ = match.captured(1);
        return;
      }
    }
  }
  ~PoolServer() {
    serve_.terminate();
    if (!serve_.waitForFinished(5000)) serve_.kill();
  }
  QString Address() const { return address_; }
  QString PoolId() const { return poolId_; }
  QString UserId(int index) const { return userIds_.value(index); }

 private:
  QString Run(const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.start(program_, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  }

  QTemporaryDir temp_;
  QString program_, db_, address_, poolId_;
  QStringList userIds_;
  QProcess serve_;
};

// A member's main window: its songs, its group with the pool id, the pool's id mapping, the account.
struct Member {
  QTemporaryDir temp;
  AppState state;
  QString data;
  uitest::RecordingMessages messages;
  std::unique_ptr<MainWindow> window;
  DataPoolController* pool = nullptr;

  Member(const QString& address, const QByteArray& user, const QByteArray& poolId, const QByteArray& songs,
         const QByteArray& groupSongs, const QByteArray& mapping) {
    data = temp.path() + "/daten";
    uitest::WriteBytes(data + "/lieder.dat", songs);
    uitest::WriteBytes(data + "/gruppierung.dat", "Team\t" + poolId + groupSongs + "\t\t\t\t\t\t\t\r\n");
    uitest::WriteBytes(data + "/auswahl.dat", "Sonntag\t|1|2\t\t\t\t\t\t\t\r\n");
    if (!mapping.isEmpty()) uitest::WriteBytes(data + "/datenpool/" + QString::fromLatin1(poolId) + ".dat", mapping);
    uitest::WriteBytes(temp.path() + "/programm/config/einstellungen.ini",
                       "[sonstiges]\r\nserveradresse=" + address.toUtf8() + "\r\nein_pmo_username=" + user +
                           "\r\nein_pmo_passwort=geheim\r\n");
    qputenv("XDG_CACHE_HOME", (temp.path() + "/cache").toUtf8());
    state.programFolder = (temp.path() + "/programm").toStdString();
    state.dataFiles = DataFiles::For(data.toStdString());
    state.settings = LoadSettings(state.programFolder / kSettingsFileName, temp.path().toStdString());
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();
    state.songTexts.Attach(state.songs);
    window = std::make_unique<MainWindow>(state);
    new PreviewController(state, *window, &messages);
    CreateOnlineControllers(state, *window, messages);
    ConnectControllers(*window);
    window->FillSelections();
    window->RefreshMainSongList();
    window->GroupChooser()->setCurrentIndex(1);  // the group "Team" with the pool id
    pool = DataPoolController::Of(*window);
  }

  // Shows the song with this id in the preview, as a click in the group's song list does.
  void Preview(const QString& id) {
    uitest::SelectIds(window->GroupSongList(), {id});
    window->SetCurrentSongList(SongListId::Group);
    PreviewController::Of(*window)->ShowPreview();
  }
  QByteArray File(const QString& name) const { return uitest::ReadBytes(data + "/" + name); }
};

// Takes connections and never answers them.
struct DeadServer {
  QTcpServer tcp;
  QList<QTcpSocket*> held;
  DeadServer() {
    tcp.listen(QHostAddress::LocalHost);
    QObject::connect(&tcp, &QTcpServer::newConnection, &tcp, [this] {
      while (QTcpSocket* socket = tcp.nextPendingConnection()) held << socket;
    });
  }
  QString Address() const { return QStringLiteral("http://127.0.0.1:%1").arg(tcp.serverPort()); }
  // Hangs up on every request held, so the test does not wait for their time limits.
  void HangUp() {
    for (QTcpSocket* socket : held) socket->abort();
  }
};

}  // namespace

class DataPoolTest : public QObject {
  Q_OBJECT

 private slots:
  void theOtherMemberSeesTheShownSongAndSongSelectsIt() {
    PoolServer server;
    if (server.Address().isEmpty()) QSKIP("psalmora-server is not built");
    const QByteArray pool = server.PoolId().toLatin1();
    Member anna(server.Address(), "anna@example.org", pool,
                SongLine("1", "Zion") + SongLine("2", "Rock & Roll #1"), "|1|2", "P1\t1\r\nP2\t2\r\n");
    Member bernd(server.Address(), "bernd@example.org", pool,
                 SongLine("5", "Zion") + SongLine("6", "Anderes") + SongLine("7", "Rock & Roll #1"), "|5|6|7",
                 "P2\t7\r\nP1\t5\r\n");

    // Sharing off: nothing is reported.
    QSignalSpy reported(anna.pool, &DataPoolController::activityReported);
    anna.Preview("2");
    QTest::qWait(300);
    QCOMPARE(reported.count(), 0);
    anna.pool->SharingToggle()->setChecked(true);
    anna.Preview("2");
    QVERIFY(reported.wait(20000));
    QCOMPARE(reported.takeFirst().at(0).toBool(), true);

    bernd.pool->OpenActivityWindow();
    ActivitiesWindow* window = bernd.pool->Window();
    QVERIFY(window);
    QTRY_COMPARE_WITH_TIMEOUT(window->UserChooser()->count(), 2, 20000);
    QCOMPARE(window->PoolChooser()->currentText(), QStringLiteral("Lobpreis"));
    window->UserChooser()->setCurrentIndex(window->UserChooser()->findText(QStringLiteral("anna@example.org")));
    QTRY_COMPARE_WITH_TIMEOUT(window->ActiveSongTitle()->text(), QStringLiteral("Rock & Roll #1"), 20000);
    QCOMPARE(window->ActiveSongId()->text(), QStringLiteral("7"));
    const QByteArray activity = bernd.File("datenpool/aktivitaet-" + server.UserId(0) + ".dat");
    QVERIFY2(activity.contains("titel\tRock & Roll #1\r\n"), activity.constData());
    QVERIFY2(activity.contains("auswahl\tP1-P2-\r\n"), activity.constData());

    // The next song shows within two seconds of its report.
    anna.Preview("1");
    QVERIFY(reported.wait(20000));
    QTRY_COMPARE_WITH_TIMEOUT(window->ActiveSongId()->text(), QStringLiteral("5"), 2000);
    QCOMPARE(window->ActiveSongTitle()->text(), QStringLiteral("Zion"));

    window->SongButton()->click();
    QCOMPARE(bernd.window->GroupSongList()->SelectedIds(), QStringList{"5"});

    // Two songs shown at once are both reported, one after the other.
    reported.clear();
    anna.Preview("2");
    anna.Preview("1");
    QTRY_COMPARE_WITH_TIMEOUT(reported.count(), 2, 20000);
  }

  void refreshesAreAtLeastTwoSecondsApart() {
    // A server that knows the session and has no activity to give.
    QTcpServer tcp;
    tcp.listen(QHostAddress::LocalHost);
    int downloads = 0;
    QObject::connect(&tcp, &QTcpServer::newConnection, &tcp, [&] {
      while (QTcpSocket* socket = tcp.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [&downloads, socket] {
          const QByteArray request = socket->readAll();
          QByteArray body = "<!--session=S1|alleuser=101.Team|pools=u1.anna-->";
          if (request.contains("/aktivitaeten/")) {
            ++downloads;
            body.clear();
          }
          socket->write("HTTP/1.1 " + QByteArray(body.isEmpty() ? "404 Not Found" : "200 OK") +
                        "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" +
                        body);
          socket->disconnectFromHost();
        });
      }
    });
    Member member(QStringLiteral("http://127.0.0.1:%1").arg(tcp.serverPort()), "anna@example.org", "101",
                  SongLine("1", "Zion"), "|1", {});
    member.pool->OpenActivityWindow();
    QTRY_COMPARE_WITH_TIMEOUT(member.pool->Window()->UserChooser()->count(), 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(downloads >= 1, 5000);
    const int first = downloads;
    QTest::qWait(4100);
    QVERIFY2(downloads - first >= 1 && downloads - first <= 3, qPrintable(QString::number(downloads - first)));
  }

  void aMemberOutsideThePoolSeesNeitherPoolNorSongs() {
    PoolServer server;
    if (server.Address().isEmpty()) QSKIP("psalmora-server is not built");
    Member carla(server.Address(), "carla@example.org", server.PoolId().toLatin1(), SongLine("1", "Zion"), "|1", {});
    carla.pool->OpenActivityWindow();
    ActivitiesWindow* window = carla.pool->Window();
    QTRY_VERIFY_WITH_TIMEOUT(!window->StatusLine()->text().startsWith(QStringLiteral("Verbindung")), 20000);
    QCOMPARE(window->UserChooser()->count(), 0);
    QVERIFY(!window->StatusLine()->text().isEmpty());
  }

  void aGroupWithoutPoolIdSaysSoWithoutAsking() {
    DeadServer dead;
    Member member(dead.Address(), "anna@example.org", "", SongLine("1", "Zion"), "|1", {});
    member.pool->OpenActivityWindow();
    QCOMPARE(member.pool->Window()->StatusLine()->text(), QStringLiteral("Die gewählte Gruppe hat keine Datenpool ID"));
    QTest::qWait(200);
    QCOMPARE(dead.held.size(), 0);
  }

  void aServerThatNeverAnswersHoldsNothing() {
    DeadServer dead;
    Member member(dead.Address(), "anna@example.org", "101", SongLine("1", "Zion") + SongLine("2", "Zwei"), "|1|2",
                  {});
    member.pool->SharingToggle()->setChecked(true);
    member.Preview("1");
    // The preview returned while the server holds the login; the window goes on with its events.
    QTRY_COMPARE_WITH_TIMEOUT(dead.held.size(), 1, 5000);
    member.Preview("2");
    member.Preview("1");
    QTest::qWait(500);
    QCOMPARE(dead.held.size(), 1);  // one request of a kind at a time
    QCOMPARE(member.window->GroupSongList()->SelectedIds(), QStringList{"1"});
    dead.HangUp();
  }

  void theClosedWindowStopsThePoll() {
    DeadServer dead;
    Member member(dead.Address(), "anna@example.org", "101", SongLine("1", "Zion"), "|1", {});
    member.pool->OpenActivityWindow();
    QPointer<ActivitiesWindow> window = member.pool->Window();
    window->close();
    QTRY_VERIFY(window.isNull());
    member.pool->RefreshActivity();  // nothing to refresh for
    QVERIFY(!member.pool->Window());
    QTRY_COMPARE(dead.held.size(), 1);  // the pool request of the opening
    dead.HangUp();
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::DataPoolTest)
#include "data_pool_test.moc"
