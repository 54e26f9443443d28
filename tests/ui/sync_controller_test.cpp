// "Mit Cantabox synchronisieren" from the main window's menu: the login questions, the synchronisation
// against a real psalmora-server (when the build has one) with the lists refreshed and the success
// message, and the cases that change nothing: no network, an unreachable server, a refused login.
#include <QComboBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <memory>

#include "app/controller_wiring.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "online/ui/sync_controller.h"
#include "song_folder_fixture.h"

namespace psalmora {
namespace {

using uitest::FileLines;
using uitest::SongLine;

// A song-management server on a free port with one account, stopped with the test.
class Server {
 public:
  static constexpr const char* kEmail = "anna@example.org";
  static constexpr const char* kPassword = "Psalm 23";

  Server() {
#ifdef PSALMORA_SERVER_PATH
    program_ = PSALMORA_SERVER_PATH;
#endif
    if (program_.isEmpty() || !QFileInfo(program_).isExecutable()) return;
    const QString db = temp_.path() + "/service.db";
    QProcess adduser;
    adduser.start(program_, {"adduser", kEmail, "--db", db});
    adduser.write(QByteArray(kPassword) + "\n");
    adduser.closeWriteChannel();
    if (!adduser.waitForFinished(20000) || adduser.exitCode() != 0) return;
    serve_.start(program_, {"serve", "--port", "0", "--db", db});
    const QRegularExpression ready(QStringLiteral("listening on (http://[^\\s]+)"));
    while (serve_.waitForReadyRead(10000)) {
      output_ += serve_.readAllStandardOutput();
      const QRegularExpressionMatch match = ready.match(QString::fromUtf8(output_));
      if (match.hasMatch()) {
        address_ = match.captured(1);
        return;
      }
    }
  }
  ~Server() {
    if (serve_.state() == QProcess::NotRunning) return;
    serve_.terminate();
    if (!serve_.waitForFinished(5000)) serve_.kill();
  }
  // Empty when there is no server binary or it did not start.
  QString Address() const {
    return address_;
  }

 private:
  QTemporaryDir temp_;
  QString program_;
  QProcess serve_;
  QByteArray output_;
  QString address_;
};

// A data folder with two songs the service does not know yet and one selection, shown in a main window
// with the synchronisation wired to its menu.
struct Window {
  QTemporaryDir temp;
  AppState state;
  QString data;
  uitest::RecordingMessages messages;
  std::unique_ptr<MainWindow> window;
  SyncController* sync = nullptr;
  bool online = true;

  explicit Window(const QString& serverAddress, const QByteArray& userId = {}) {
    data = temp.path() + "/daten";
    uitest::WriteBytes(data + "/lieder.dat", SongLine("1", "Zion") + SongLine("2", "Gro\xDF ist der Herr"));
    uitest::WriteBytes(data + "/1.dat", "Halleluja!!\r\n#und Amen\r\n");
    uitest::WriteBytes(data + "/2.dat", "Gro\xDF ist der Herr\r\n");
    uitest::WriteBytes(data + "/auswahl.dat", "Sonntag\t|1|2\t\t\t\t\t\t\r\n");
    uitest::WriteBytes(SettingsPath(),
                       "[sonstiges]\r\nserveradresse=" + serverAddress.toUtf8() + "\r\nuseridcb=" + userId + "\r\n");
    state.programFolder = (temp.path() + "/programm").toStdString();
    state.dataFiles = DataFiles::For(data.toStdString());
    state.settings = LoadSettings(state.programFolder / kSettingsFileName, temp.path().toStdString());
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();
    state.songTexts.Attach(state.songs);
    window = std::make_unique<MainWindow>(state);
    SyncController::Services services;
    services.isOnline = [this] { return online; };
    sync = new SyncController(state, *window, messages, services);
    ConnectControllers(*window);
    window->FillSelections();
    window->RefreshMainSongList();
  }
  QString SettingsPath() const { return temp.path() + "/programm/config/einstellungen.ini"; }
  std::string Setting(const char* key) const {
    return IniFile::Load(SettingsPath().toStdString()).ValueOr("sonstiges", key, "<missing>");
  }
  QByteArray File(const QString& name) const { return uitest::ReadBytes(data + "/" + name); }
  // Chooses the menu item and waits until the synchronisation has said how it ended.
  bool RunSync() {
    QSignalSpy finished(sync, &SyncController::syncFinished);
    window->Menu()->Action(MenuCommand::SyncCantabox)->trigger();
    return !finished.isEmpty() || finished.wait(30000);
  }
};

QByteArray GlobalIdOf(const QByteArray& line) {
  return line.split('\t').value(18);
}

}  // namespace

class SyncControllerTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void withoutANetworkNothingIsAskedOrSent() {
    Window w("https://lieder.example.org");
    w.online = false;
    QVERIFY(w.RunSync());
    QVERIFY(w.messages.asked.empty());
    QCOMPARE(w.messages.shown.size(), std::size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Es besteht keine Internetverbindung!"));
    QCOMPARE(w.messages.shown[0].title, QString("Datenabgleich mit Cantabox"));
  }

  void anEmptyAnswerEndsTheLogin() {
    Window w("http://127.0.0.1:1");
    w.messages.textAnswers = {QString("anna@example.org"), QString()};
    QVERIFY(w.RunSync());
    QCOMPARE(w.messages.asked.size(), std::size_t(2));
    QCOMPARE(w.messages.asked[0].title, QString("Login Cantabox"));
    QCOMPARE(w.messages.asked[0].text, QString("Emailadresse:"));
    QCOMPARE(w.messages.asked[1].text, QString("Passwort:"));
    QCOMPARE(w.messages.askedSecret, (std::vector<bool>{false, true}));
    QVERIFY(w.messages.shown.empty());
    QVERIFY(!w.sync->Running());
  }

  void anUnreachableServerChangesNothingAndIsNamed() {
    // Port 1 on this machine: the connection is refused at once.
    Window w("http://127.0.0.1:1", "0123456789abcdef0123456789abcdef");
    const QByteArray songs = w.File("lieder.dat");
    const QByteArray settings = uitest::ReadBytes(w.SettingsPath());
    QVERIFY(w.RunSync());
    QCOMPARE(w.messages.shown.size(), std::size_t(1));
    QCOMPARE(w.messages.shown[0].title, QString("Datenabgleich mit Cantabox"));
    QVERIFY(w.messages.shown[0].text.startsWith("Der Server antwortet nicht."));
    QVERIFY(w.messages.shown[0].text.endsWith("\nhttp://127.0.0.1:1"));
    QCOMPARE(w.File("lieder.dat"), songs);
    QCOMPARE(uitest::ReadBytes(w.SettingsPath()), settings);
    QVERIFY(!w.sync->Progress());
  }

  void cancellingStopsBetweenRequestsAndNoRequestRunsOnTheInterfaceThread() {
    Window w("https://lieder.example.org", "0123456789abcdef0123456789abcdef");
    auto onInterfaceThread = std::make_shared<std::atomic<bool>>(false);
    SyncController::Services services;
    services.isOnline = [] { return true; };
    services.transport = [onInterfaceThread] {
      return HttpGet([onInterfaceThread](const std::string& url, const HttpOptions&) -> std::string {
        if (QThread::currentThread() == qApp->thread()) *onInterfaceThread = true;
        QThread::msleep(20);
        if (url.find("aktion=ping") != std::string::npos) return "ok|psalmora-server";
        return url.find("aktion=neuersong") != std::string::npos ? "ok|0123456789abcdef0123456789abcdea" : "ok";
      });
    };
    delete w.sync;
    w.sync = new SyncController(w.state, *w.window, w.messages, services);
    ConnectControllers(*w.window);
    const QByteArray songs = w.File("lieder.dat");
    QSignalSpy finished(w.sync, &SyncController::syncFinished);
    w.window->Menu()->Action(MenuCommand::SyncCantabox)->trigger();
    QVERIFY(w.sync->Progress());
    QCOMPARE(w.sync->Progress()->labelText(), QString("0 von 2 Liedern"));
    QPushButton* cancel = w.sync->Progress()->findChild<QPushButton*>();
    QVERIFY(cancel);
    QCOMPARE(cancel->text(), QString("Abbrechen"));
    cancel->click();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QCOMPARE(w.messages.shown.size(), std::size_t(1));
    QVERIFY(w.messages.shown[0].text.startsWith("Die Synchronisation wurde abgebrochen."));
    QCOMPARE(w.File("lieder.dat"), songs);
    QVERIFY(!*onInterfaceThread);
  }

  void aRefusedLoginShowsTheServicesMessage() {
    Server server;
    if (server.Address().isEmpty()) QSKIP("psalmora-server is not built");
    Window w(server.Address());
    const QByteArray songs = w.File("lieder.dat");
    w.messages.textAnswers = {QString(Server::kEmail), QString("falsch")};
    QVERIFY(w.RunSync());
    QCOMPARE(w.messages.shown.size(), std::size_t(1));
    QCOMPARE(w.messages.shown[0].title, QString("Fehler"));
    QCOMPARE(w.messages.shown[0].icon, MessageIcon::None);
    QVERIFY(w.messages.shown[0].text.startsWith("Anmeldung fehlgeschlagen"));
    QCOMPARE(w.Setting("useridcb"), std::string(""));
    QCOMPARE(w.File("lieder.dat"), songs);
  }

  void theLoginThenTheSyncUploadsTheSongsAndASecondComputerGetsThem() {
    Server server;
    if (server.Address().isEmpty()) QSKIP("psalmora-server is not built");
    Window first(server.Address());
    first.messages.textAnswers = {QString(Server::kEmail), QString(Server::kPassword)};
    QSignalSpy finished(first.sync, &SyncController::syncFinished);
    first.window->Menu()->Action(MenuCommand::SyncCantabox)->trigger();
    // The requests run beside the window, which shows how far they are.
    if (finished.isEmpty()) {
      QVERIFY(first.sync->Progress());
      QCOMPARE(first.sync->Progress()->windowTitle(), QString("Datenabgleich mit Cantabox"));
    }
    QVERIFY(!finished.isEmpty() || finished.wait(30000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(first.messages.shown.size(), std::size_t(1));
    QCOMPARE(first.messages.shown[0].title, QString("Datenabgleich mit Cantabox"));
    QCOMPARE(first.messages.shown[0].text, QString("Synchronisation erfolgreich abgeschlossen"));
    const std::string userId = first.Setting("useridcb");
    QCOMPARE(userId.size(), std::size_t(32));
    QCOMPARE(first.state.settings.useridcb, userId);
    for (const QByteArray& line : FileLines(first.File("lieder.dat"))) QVERIFY(!GlobalIdOf(line).isEmpty());
    QVERIFY(!first.File("auswahl.dat").split('\t').value(2).isEmpty());  // the selection's global_id

    // Another computer of the same account, already logged in, with no songs of its own.
    Window second(server.Address(), QByteArray::fromStdString(userId));
    uitest::WriteBytes(second.data + "/lieder.dat", "");
    uitest::WriteBytes(second.data + "/auswahl.dat", "");
    second.state.songs.LoadSongList();
    second.window->RefreshMainSongList();
    second.window->FillSelections();
    QVERIFY(second.RunSync());
    QVERIFY(second.messages.asked.empty());
    QCOMPARE(second.messages.shown.size(), std::size_t(1));
    QCOMPARE(second.messages.shown[0].text, QString("Synchronisation erfolgreich abgeschlossen"));
    QCOMPARE(second.state.songs.SongList().size(), std::size_t(2));
    QVERIFY(uitest::AnyViewShows(second.window.get(), QString::fromUtf8("Groß ist der Herr")));
    // The selection came along with its songs, under their local ids here.
    QComboBox* chooser = second.window->SelectionChooser();
    const int sunday = chooser->findText(QStringLiteral("Sonntag (2)"));
    QVERIFY(sunday >= 0);
    chooser->setCurrentIndex(sunday);
    QCOMPARE(second.window->SelectionSongList()->RowCount(), 2);
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::SyncControllerTest)
#include "sync_controller_test.moc"
