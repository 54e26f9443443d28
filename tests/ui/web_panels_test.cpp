// The web panels against pages served by a small HTTP server of the test: a chord page of the old
// "tf_" form and one with only a <pre> block become songs; a missing page and a page without a song
// store nothing and say why; the search goes out encoded; the news page comes from psalmora-server's
// --news file; remote pages stay out of local files.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <memory>

#include "app/controller_wiring.h"
#include "app/main_window.h"
#include "app/online_panels.h"
#include "app/right_column.h"
#include "core/record_fields.h"
#include "online/ui/web_panels.h"
#include "platform/remote_page_view.h"
#include "song_folder_fixture.h"

namespace psalmora {
namespace {

// Answers GET requests with the fixture page of the path; every other path is 404. Remembers the
// request targets.
class FixtureServer {
 public:
  FixtureServer() {
    tcp_.listen(QHostAddress::LocalHost);
    QObject::connect(&tcp_, &QTcpServer::newConnection, &tcp_, [this] {
      while (QTcpSocket* socket = tcp_.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
      }
    });
  }
  QString Address() const { return QStringLiteral("http://127.0.0.1:%1").arg(tcp_.serverPort()); }
  QStringList targets;

 private:
  void Answer(QTcpSocket* socket) {
    buffers_[socket] += socket->readAll();
    const QByteArray& request = buffers_[socket];
    if (!request.contains("\r\n\r\n")) return;
    const QByteArray target = request.split(' ').value(1);
    targets << QString::fromLatin1(target);
    const QString name = QString::fromLatin1(target.mid(1).split('?').value(0));
    QFile page(QStringLiteral(PSALMORA_TEST_DATA_DIR "/webimport/") + name);
    QByteArray reply;
    if (!name.isEmpty() && page.open(QIODevice::ReadOnly)) {
      const QByteArray body = page.readAll();
      reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    } else {
      reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    }
    socket->write(reply);
    socket->disconnectFromHost();
    buffers_.remove(socket);
  }

  QTcpServer tcp_;
  QHash<QTcpSocket*, QByteArray> buffers_;
};

struct Shell {
  uitest::SongFolder folder;
  uitest::RecordingMessages messages;
  std::unique_ptr<MainWindow> window;
  WebPanelsController* web = nullptr;

  explicit Shell(const QString& site, const QString& serverAddress = QStringLiteral("http://127.0.0.1:9")) {
    folder.state.settings.ultimateGuitarSite = site.toStdString();
    folder.state.settings.googleSite = site.toStdString();
    folder.state.settings.songSelectSite = site.toStdString();
    folder.state.settings.serveradresse = serverAddress.toStdString();
    window = std::make_unique<MainWindow>(folder.state);
    CreateOnlineControllers(folder.state, *window, messages);
    ConnectControllers(*window);
    window->RefreshMainSongList();
    web = WebPanelsController::Of(*window);
  }

  bool Show(WebPanel panel, const QString& url) {
    RemotePageView* view = web->View(panel);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    view->LoadRemote(QUrl(url));
    return loaded.wait(20000) && loaded.first().at(0).toBool();
  }
  // The import of the page the panel shows: the new song's id, or "" with the failure message.
  QString Import(WebPanel panel, QString* failure = nullptr) {
    QSignalSpy imported(web, &WebPanelsController::songImported);
    QSignalSpy failed(web, &WebPanelsController::importFailed);
    web->ImportSongFromPage(panel);
    if (!QTest::qWaitFor([&] { return !imported.isEmpty() || !failed.isEmpty(); }, 20000)) return {};
    if (!failed.isEmpty() && failure) *failure = failed.first().at(0).toString();
    return imported.isEmpty() ? QString() : imported.first().at(0).toString();
  }
  QString TopRecord() const { return QString::fromLatin1(uitest::FileLines(folder.File("lieder.dat")).value(0)); }
};

QByteArray Field(const QString& record, int n) {
  return QByteArray(RecordField(record.toLatin1().toStdString(), n).data(),
                    static_cast<int>(RecordField(record.toLatin1().toStdString(), n).size()));
}

}  // namespace

class WebPanelsTest : public QObject {
  Q_OBJECT

 private slots:
  void theOldPageFormBecomesASong() {
    FixtureServer site;
    Shell shell(site.Address());
    QVERIFY(shell.Show(WebPanel::Search, site.Address() + "/old_form.html"));
    // The download goes through a temporary file of its own, which is gone afterwards.
    QTemporaryDir temporaries;
    qputenv("TMPDIR", temporaries.path().toUtf8());
    const QString id = shell.Import(WebPanel::Search);
    qunsetenv("TMPDIR");
    QVERIFY(QDir(temporaries.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
    QVERIFY(!id.isEmpty());
    const QString record = shell.TopRecord();
    QCOMPARE(Field(record, 1), id.toLatin1());
    QCOMPARE(Field(record, 3), QByteArray("Shout to the Lord"));
    QCOMPARE(Field(record, 7), QByteArray("Darlene Zschech"));
    QCOMPARE(record.count(QLatin1Char('\t')), 11);
    const QByteArray text = shell.folder.File(id + ".dat");
    QVERIFY2(text.startsWith("\r>Bb        F/A       Gm\rMy Jesus, my Saviour\r"), text.constData());
    QVERIFY2(text.endsWith("\r>Eb   F\r"), text.constData());
    QVERIFY(uitest::RowIds(shell.window->GroupSongList()).contains(id));
  }

  void aPageWithOnlyAPreBlockTakesItsTitleAndBlock() {
    FixtureServer site;
    Shell shell(site.Address());
    QVERIFY(shell.Show(WebPanel::SongSelect, site.Address() + "/pre_only.html"));
    const QString id = shell.Import(WebPanel::SongSelect);
    QVERIFY(!id.isEmpty());
    QCOMPARE(Field(shell.TopRecord(), 3), QByteArray("Gro\xDF ist der Herr & K\xF6nig Chords"));
    QCOMPARE(shell.folder.File(id + ".dat"),
             QByteArray("[Verse 1]\r>D          G\rGro\xDF ist der Herr\r\r[Chorus]\r>A     D\rHalleluja\r"));
  }

  void aPageThatGivesNoSongStoresNothingAndSaysWhy() {
    FixtureServer site;
    Shell shell(site.Address());
    const QByteArray before = shell.folder.File("lieder.dat");
    QVERIFY(shell.Show(WebPanel::Search, site.Address() + "/no_song.html"));
    QString failure;
    QVERIFY(shell.Import(WebPanel::Search, &failure).isEmpty());
    QVERIFY2(failure.contains(QStringLiteral("kein Liedtext")), qPrintable(failure));
    // A page that was there when shown and is gone when downloaded.
    shell.Show(WebPanel::Search, site.Address() + "/geloescht.html");
    QVERIFY(shell.Import(WebPanel::Search, &failure).isEmpty());
    QVERIFY2(failure.contains(QStringLiteral("nicht geladen")), qPrintable(failure));
    QCOMPARE(shell.folder.File("lieder.dat"), before);
    QCOMPARE(shell.messages.shown.size(), std::size_t{2});
  }

  void theSearchGoesOutEncodedAndSongSelectOpensInTheBrowser() {
    FixtureServer site;
    Shell shell(site.Address());
    shell.web->SearchTerm()->setText(QStringLiteral("Rock & Roll #1"));
    shell.web->SearchFieldChooser()->setCurrentIndex(1);
    QSignalSpy loaded(shell.web->View(WebPanel::Search), &QWebEngineView::loadFinished);
    shell.web->SearchSongsOnWeb();
    QVERIFY(loaded.wait(20000));
    QVERIFY2(site.targets.contains(QStringLiteral("/search.php?s=Rock%20%26%20Roll%20%231&w=bands")),
             qPrintable(site.targets.join(' ')));
    QCOMPARE(shell.window->Right()->ShownPane(), RightPane::WebSearch);

    QList<QUrl> opened;
    shell.web->SetBrowserOpener([&opened](const QUrl& url) { opened << url; });
    shell.web->OpenSongSelect();
    QCOMPARE(opened, QList<QUrl>{QUrl(site.Address() + "/")});
    QSignalSpy songSelect(shell.web->View(WebPanel::SongSelect), &QWebEngineView::loadFinished);
    shell.web->ShowSongSelect();
    QVERIFY(songSelect.wait(20000));
    QCOMPARE(shell.window->Right()->ShownPane(), RightPane::SongSelect);
  }

  void remotePagesStayOutOfLocalFiles() {
    FixtureServer site;
    Shell shell(site.Address());
    RemotePageView* view = shell.web->View(WebPanel::Search);
    QVERIFY(view->page()->profile() != QWebEngineProfile::defaultProfile());
    QVERIFY(!view->LoadRemote(QUrl::fromLocalFile(shell.folder.data + "/lieder.dat")));
    QVERIFY(shell.Show(WebPanel::Search, site.Address() + "/old_form.html"));
    // A script of the page cannot read a local file, nor take the panel there.
    QVariant answer;
    bool done = false;
    const QString file = QUrl::fromLocalFile(shell.folder.data + "/lieder.dat").toString();
    view->page()->runJavaScript(
        QStringLiteral("var r = new XMLHttpRequest(); try { r.open('GET', '%1', false); r.send(); r.responseText }"
                       " catch (e) { 'refused' }")
            .arg(file),
        [&](const QVariant& value) {
          answer = value;
          done = true;
        });
    QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
    QVERIFY(!answer.toString().contains(QStringLiteral("Zion")));
    view->page()->runJavaScript(QStringLiteral("location.href = '%1';").arg(file));
    QTest::qWait(500);
    QCOMPARE(view->url().scheme(), QStringLiteral("http"));
    QVERIFY(RemotePageGuard::Allows(QUrl(QStringLiteral("https://x/"))));
    QVERIFY(!RemotePageGuard::Allows(QUrl(QStringLiteral("qrc:/icons/x.png"))));
  }

  void theNewsComeFromTheServersNewsFile() {
#ifdef PSALMORA_SERVER_PATH
    const QString program = PSALMORA_SERVER_PATH;
#else
    const QString program;
#endif
    if (program.isEmpty() || !QFileInfo(program).isExecutable()) QSKIP("psalmora-server is not built");
    QTemporaryDir temp;
    uitest::WriteBytes(temp.path() + "/news.html", "<html><head><title>Neuigkeiten 4711</title></head></html>");
    QProcess serve;
    serve.start(program, {"serve", "--port", "0", "--quiet", "--db", temp.path() + "/s.db", "--news",
                          temp.path() + "/news.html"});
    QVERIFY(serve.waitForReadyRead(10000));
    const QString address = QRegularExpression(QStringLiteral("listening on (\\S+)"))
                                .match(QString::fromUtf8(serve.readAllStandardOutput()))
                                .captured(1);
    Shell shell(QStringLiteral("http://127.0.0.1:9"), address);
    QSignalSpy loaded(shell.web->View(WebPanel::News), &QWebEngineView::loadFinished);
    ShowNewsAtStart(*shell.window);
    QVERIFY(loaded.wait(20000));
    QCOMPARE(shell.web->View(WebPanel::News)->title(), QStringLiteral("Neuigkeiten 4711"));
    QCOMPARE(shell.window->Right()->ShownPane(), RightPane::Preview);  // the start-up does not switch panes
    shell.web->ShowNews();
    QCOMPARE(shell.window->Right()->ShownPane(), RightPane::News);
    serve.terminate();
    serve.waitForFinished(5000);
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::WebPanelsTest)
#include "web_panels_test.moc"
