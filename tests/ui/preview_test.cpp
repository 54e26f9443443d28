// The live preview in the main window: the page rendered and loaded for the chosen song, transposition
// and two columns re-rendering it, the tempo label and video buttons set from the record, slide markers
// reported, the page view's refusal of remote requests from local pages, and "songcopy speichern".
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <memory>
#include <utility>

#include "../support/file_size_limit.h"
#include "app/controller_wiring.h"
#include "app/left_column.h"
#include "app/main_window.h"
#include "app/right_column.h"
#include "collections/collection_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/text_lines.h"
#include "core/ui/app_state.h"
#include "platform/page_view.h"
#include "render/ui/preview_controller.h"
#include "render/ui/preview_pane.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/trash_controller.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceData = fs::path(PSALMORA_SOURCE_DIR) / "data";

std::string Record(std::vector<std::pair<int, std::string>> values) {
  std::vector<std::string> fields(21);
  for (auto& [field, value] : values) fields[static_cast<std::size_t>(field - 1)] = value;
  std::string record;
  for (const std::string& field : fields) record += field + "\t";
  return record;
}

// Three songs: 1 with chords, tempo 120, no video, a song order; 2 with a video and no tempo; 3 with five
// blocks. One group "Lobpreis" with song 2, one selection with all three.
struct Fixture {
  QTemporaryDir temp;
  AppState state;

  explicit Fixture(int folie = 0) {
    const fs::path root = temp.path().toStdString();
    const fs::path data = root / "daten";
    fs::create_directories(data);
    fs::create_directories(root / "programm");
    fs::copy(kSourceData / "layouts", root / "programm" / "layouts", fs::copy_options::recursive);
    uitest::WriteBytes(
        QString::fromStdString((data / "lieder.dat").string()),
        QByteArray::fromStdString(
            Record(
                {{1, "1"}, {2, "05.03.2018-14:07"}, {3, "Zion"}, {13, "0"}, {14, "Strophe\x81Refrain"}, {16, "120"}}) +
            "\r\n" + Record({{1, "2"}, {2, "01.12.2017-09:05"}, {3, "Wolken"}, {13, "7"}}) + "\r\n" +
            Record({{1, "3"},
                    {2, "01.12.2017-09:05"},
                    {3,
                     "Bl\xF6"
                     "cke"},
                    {13, "x"}}) +
            "\r\n"));
    uitest::WriteBytes(QString::fromStdString((data / "id.dat").string()), "3\r\n");
    uitest::WriteBytes(QString::fromStdString((data / "1.dat").string()),
                       ">G       D\r\nZion hoch und sch\xF6n\r\n#Zion high\r\n");
    uitest::WriteBytes(QString::fromStdString((data / "2.dat").string()), "Nur Text\r\n");
    uitest::WriteBytes(QString::fromStdString((data / "3.dat").string()),
                       "Eins\r\n\r\nZwei\r\n\r\nDrei\r\n\r\nVier\r\n");
    uitest::WriteBytes(QString::fromStdString((data / "gruppierung.dat").string()), "Lobpreis\t|2\t\t\t\t\t\t\t\r\n");
    uitest::WriteBytes(QString::fromStdString((data / "auswahl.dat").string()), "Sonntag\t|1|2|3\t\t\t\t\t\t\t\r\n");
    state.programFolder = root / "programm";
    state.dataFiles = DataFiles::For(data);
    state.settings.folie = folie;
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(kSourceData / "config/sprachen.spr", kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();
  }

  std::string PreviewPage() const {
    return uitest::ReadBytes(QString::fromStdString((state.dataFiles.folder / "vorschau.htm").string())).toStdString();
  }
};

// The window with its preview, shown, and a way to choose a song of the selection list and wait until
// the view has loaded the page.
struct Window {
  MainWindow window;
  PreviewController* preview;

  explicit Window(AppState& state, Messages* messages = nullptr)
      : window(state), preview(new PreviewController(state, window, messages)) {
    ConnectControllers(window);
    window.resize(1200, 800);
    window.show();
  }
  bool ChooseSelectionRow(int row) {
    QSignalSpy loaded(preview, &PreviewController::previewLoaded);
    window.SelectionSongList()->SelectRow(row);
    return loaded.wait(20000) && loaded.first().first().toBool();
  }
  bool Trigger(QAction* action) {
    QSignalSpy loaded(preview, &PreviewController::previewLoaded);
    action->trigger();
    return loaded.wait(20000);
  }
  // The text the view shows (its DOM's innerText); empty when the engine does not answer in time. The
  // answer may come after that: it writes into storage it shares.
  QString ShownText() {
    auto answer = std::make_shared<std::pair<bool, QString>>(false, QString());
    preview->View()->page()->runJavaScript(QStringLiteral("document.body.innerText"), [answer](const QVariant& value) {
      *answer = {true, value.toString()};
    });
    if (!QTest::qWaitFor([&] { return answer->first; }, 10000)) return {};
    return answer->second;
  }
};

// A loopback HTTP server that answers every request with a small page and counts the connections.
class CountingServer : public QTcpServer {
 public:
  CountingServer() {
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = nextPendingConnection()) {
        ++connections;
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
          socket->readAll();
          socket->write(
              "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 13\r\nConnection: close\r\n\r\n"
              "<p>remote</p>");
          socket->disconnectFromHost();
        });
      }
    });
  }
  QString Address(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(path);
  }
  int connections = 0;
};

}  // namespace

class PreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void choosingASongRendersAndLoadsThePreview() {
    Fixture f;
    Window w(f.state);
    QVERIFY(w.ChooseSelectionRow(0));
    const std::string page = f.PreviewPage();
    QVERIFY(page.find("<font id=ak>G") != std::string::npos);
    QVERIFY(page.find("sch\xF6n") != std::string::npos);
    QCOMPARE(w.preview->View()->PageFile(), f.state.dataFiles.folder / "vorschau.htm");
    // Windows-1252 bytes without a charset arrive as the right characters.
    QVERIFY(w.ShownText().contains(QStringLiteral("schön")));
    QCOMPARE(w.window.Preview()->ShownRecord(), f.state.songs.FindSongRecord("1"));
    QCOMPARE(w.window.Right()->ShownPane(), RightPane::Preview);

    QVERIFY(w.ChooseSelectionRow(1));
    QVERIFY(f.PreviewPage().find("Nur Text") != std::string::npos);
    QVERIFY(w.ShownText().contains(QStringLiteral("Nur Text")));
    QCOMPARE(w.window.Preview()->ShownRecord(), f.state.songs.FindSongRecord("2"));
  }

  void transpositionButtonsAndFieldRenderTheChordsAgain() {
    Fixture f;
    Window w(f.state);
    QVERIFY(w.ChooseSelectionRow(0));
    PreviewPane* pane = w.window.Preview();
    QVERIFY(w.Trigger(pane->Action(PreviewCommand::TransposeUp)));
    QCOMPARE(pane->TransposeField()->text(), QString("1"));
    QVERIFY(f.PreviewPage().find("<font id=ak>G#") != std::string::npos);
    QVERIFY(w.Trigger(pane->Action(PreviewCommand::TransposeUp)));
    QVERIFY(f.PreviewPage().find("<font id=ak>A") != std::string::npos);
    // The same file rewritten: the view shows the new chords, not the page it had.
    QVERIFY(w.ShownText().contains(QStringLiteral("E")));
    QVERIFY(!w.ShownText().contains(QStringLiteral("G#")));
    QVERIFY(w.Trigger(pane->Action(PreviewCommand::TransposeDown)));
    QVERIFY(w.Trigger(pane->Action(PreviewCommand::TransposeDown)));
    QVERIFY(w.Trigger(pane->Action(PreviewCommand::TransposeDown)));
    QCOMPARE(pane->TransposeField()->text(), QString("-1"));
    QVERIFY(f.PreviewPage().find("<font id=ak>F#") != std::string::npos);

    // A typed offset counts when the field is left.
    QSignalSpy loaded(w.preview, &PreviewController::previewLoaded);
    pane->TransposeField()->setText(QStringLiteral("5"));
    emit pane->TransposeField()->editingFinished();
    QVERIFY(loaded.wait(20000));
    QVERIFY(f.PreviewPage().find("<font id=ak>C") != std::string::npos);

    // Choosing a song sets the field back to 0.
    QVERIFY(w.ChooseSelectionRow(1));
    QVERIFY(w.ChooseSelectionRow(0));
    QCOMPARE(pane->TransposeField()->text(), QString("0"));
    QVERIFY(f.PreviewPage().find("<font id=ak>G") != std::string::npos);
  }

  void twoColumnToggleRendersAgain() {
    Fixture f;
    Window w(f.state);
    QVERIFY(w.ChooseSelectionRow(2));
    QVERIFY(f.PreviewPage().find("</td><td valign='top'>") == std::string::npos);
    QVERIFY(w.Trigger(w.window.Preview()->TwoColumnsToggle()));
    const std::string page = f.PreviewPage();
    const std::size_t columnBreak = page.find("</td><td valign='top'>");
    QVERIFY(columnBreak != std::string::npos);
    QVERIFY(page.find("Zwei") < columnBreak && page.find("Drei") > columnBreak);
  }

  void tempoLabelAndSongOrderFollowTheShownSong() {
    Fixture f;
    Window w(f.state);
    QSignalSpy order(w.preview, &PreviewController::songOrderTextChanged);
    QLabel* tempo = w.window.Preview()->TempoLabel();
    QVERIFY(w.ChooseSelectionRow(0));
    QCOMPARE(tempo->text(), QString("Tempo: 120 bpm"));
    QCOMPARE(tempo->palette().color(QPalette::Window), QColor(242, 242, 242));
    QCOMPARE(order.last().first().toString(), QString("Strophe\nRefrain"));
    QCOMPARE(w.preview->SongOrderText(), QString("Strophe\nRefrain"));
    QVERIFY(w.ChooseSelectionRow(1));
    QCOMPARE(tempo->text(), QString("kein Tempo"));
    QCOMPARE(tempo->palette().color(QPalette::Window), QColor(242, 242, 242));
    QCOMPARE(order.last().first().toString(), QString());
  }

  void videoButtonsFollowTheVideoField() {
    Fixture f;
    Window w(f.state);
    PreviewPane* pane = w.window.Preview();
    QAction* background = pane->Action(PreviewCommand::VideoInBackground);
    QAction* beamer = pane->Action(PreviewCommand::VideoOnBeamer);
    QAction* stop = pane->Action(PreviewCommand::VideoStop);
    QVERIFY(!background->isEnabled() && !beamer->isEnabled() && stop->isEnabled());  // as built
    QVERIFY(w.ChooseSelectionRow(1));                                                // field 13 "7"
    QVERIFY(background->isEnabled() && beamer->isEnabled() && stop->isEnabled());
    QVERIFY(w.ChooseSelectionRow(0));  // "0"
    QVERIFY(!background->isEnabled() && !beamer->isEnabled() && stop->isEnabled());
    QVERIFY(w.ChooseSelectionRow(1));
    QVERIFY(w.ChooseSelectionRow(2));  // "x" reads as 0
    QVERIFY(!background->isEnabled() && !beamer->isEnabled() && stop->isEnabled());
  }

  void slideMarkersReportTheirNumberEveryClick() {
    Fixture f(/*folie=*/1);
    Window w(f.state);
    QVERIFY(w.ChooseSelectionRow(2));
    QVERIFY(f.PreviewPage().find(">Folie 4</span>") != std::string::npos);
    QSignalSpy slides(w.preview, &PreviewController::slideMarkerClicked);
    const auto click = [&](int marker) {
      w.preview->View()->page()->runJavaScript(
          QStringLiteral("document.querySelectorAll('span')[%1].click()").arg(marker - 1));
    };
    click(3);
    QTRY_COMPARE_WITH_TIMEOUT(slides.size(), 1, 10000);
    QCOMPARE(slides.at(0).first().toInt(), 3);
    click(3);  // the same marker again is a new request
    QTRY_COMPARE_WITH_TIMEOUT(slides.size(), 2, 10000);
    QCOMPARE(slides.at(1).first().toInt(), 3);
    click(1);
    QTRY_COMPARE_WITH_TIMEOUT(slides.size(), 3, 10000);
    QCOMPARE(slides.at(2).first().toInt(), 1);
  }

  void localPagesCannotReachRemoteAddresses() {
    CountingServer server;
    QVERIFY(server.isListening());
    QTemporaryDir temp;
    const QString file = temp.path() + "/seite.htm";
    uitest::WriteBytes(file, ("<html><body><p>lokal</p><img src='" + server.Address("bild.png") + "'><iframe src='" +
                              server.Address("rahmen") +
                              "'></iframe>"
                              "<script src='" +
                              server.Address("skript.js") +
                              "'></script>"
                              "<link rel=stylesheet href='" +
                              server.Address("stil.css") + "'></body></html>")
                                 .toUtf8());
    PageView view;
    view.resize(400, 300);
    view.show();
    QSignalSpy loaded(&view, &PageView::pageLoaded);
    view.LoadPageFile(file.toStdString());
    QVERIFY(loaded.wait(20000));
    // A script of the page cannot send it there either. The engine's own setting turns these away
    // before the guard sees them, so there is no event to wait for: the wait is a fixed time.
    view.page()->runJavaScript(QStringLiteral("fetch('%1').catch(function(){}); location.href='%2';")
                                   .arg(server.Address("fetch"), server.Address("weg")));
    QTest::qWait(1500);
    QCOMPARE(server.connections, 0);
    QVERIFY(view.url().isLocalFile());

    // The request guard holds on its own, even where the engine's own setting would let the page out.
    PageView loose;
    loose.page()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    QSignalSpy looseLoaded(&loose, &PageView::pageLoaded);
    const int blockedBeforeLoose = loose.Guard()->BlockedCount();
    loose.LoadPageFile(file.toStdString());
    QVERIFY(looseLoaded.wait(20000));
    // Counted from this load alone: the views share the profile's guard.
    QTRY_VERIFY_WITH_TIMEOUT(loose.Guard()->BlockedCount() - blockedBeforeLoose >= 3, 10000);
    QCOMPARE(server.connections, 0);

    // The same view may still open a remote page the program asks for.
    loaded.clear();
    view.load(QUrl(server.Address("direkt")));
    QVERIFY(loaded.wait(20000));
    QVERIFY(server.connections > 0);
  }

  void guardDecidesByTheRequestingPage() {
    const QUrl local = QUrl::fromLocalFile(QStringLiteral("/tmp/vorschau.htm"));
    const QUrl remote(QStringLiteral("https://example.org/x.png"));
    QVERIFY(LocalPageGuard::Blocks(remote, local, QUrl(QStringLiteral("file://"))));
    QVERIFY(LocalPageGuard::Blocks(QUrl(QStringLiteral("ftp://example.org/a")), local, QUrl()));
    QVERIFY(LocalPageGuard::Blocks(QUrl(QStringLiteral("wss://example.org/a")),
                                   QUrl(QStringLiteral("data:text/html,x")), QUrl()));
    QVERIFY(!LocalPageGuard::Blocks(QUrl::fromLocalFile(QStringLiteral("/tmp/bild.png")), local, QUrl()));
    QVERIFY(!LocalPageGuard::Blocks(remote, remote, QUrl(QStringLiteral("https://example.org"))));
    QVERIFY(!LocalPageGuard::Blocks(remote, remote, QUrl()));
  }

  void songCopyGoesToTheTopOfTheListAndIntoTheShownGroup() {
    Fixture f;
    Window w(f.state);
    QVERIFY(w.ChooseSelectionRow(0));
    PreviewPane* pane = w.window.Preview();
    pane->SetTransposeValue(2);
    QSignalSpy copied(w.preview, &PreviewController::songCopied);
    pane->Action(PreviewCommand::SaveSongCopy)->trigger();
    QCOMPARE(copied.size(), 1);
    QCOMPARE(copied.first().first().toString(), QString("4"));
    SongListWidget* list = w.window.GroupSongList();
    QCOMPARE(list->Model().RowAt(0).id, QString("4"));
    QCOMPARE(list->Model().RowAt(0).title, QString("Zion kopie"));
    QCOMPARE(list->RowCount(), 4);
    const std::vector<std::string> index =
        SplitLines(uitest::ReadBytes(QString::fromStdString(f.state.dataFiles.lieder.string())).toStdString());
    QCOMPARE(QString::fromStdString(std::string(RecordField(index.at(0), 3))), QString("Zion kopie"));
    const QByteArray text = uitest::ReadBytes(QString::fromStdString((f.state.dataFiles.folder / "4.dat").string()));
    QVERIFY(text.startsWith(">A       E"));
    // The whole database is shown: the group file stays as it was.
    QCOMPARE(uitest::ReadBytes(QString::fromStdString(f.state.dataFiles.gruppierung.string())),
             QByteArray("Lobpreis\t|2\t\t\t\t\t\t\t\r\n"));

    // With the group shown, the next copy joins it and the chooser shows the new count.
    w.window.GroupChooser()->setCurrentIndex(1);
    QCOMPARE(w.window.GroupSongList()->RowCount(), 1);
    QVERIFY(w.ChooseSelectionRow(1));
    pane->Action(PreviewCommand::SaveSongCopy)->trigger();
    QCOMPARE(copied.size(), 2);
    QCOMPARE(copied.last().first().toString(), QString("5"));
    QCOMPARE(list->Model().RowAt(0).title, QString("Wolken kopie"));
    QCOMPARE(list->RowCount(), 2);
    const std::vector<std::string> groups = LoadCollectionFile(f.state.dataFiles.gruppierung);
    QCOMPARE(groups.size(), std::size_t{1});
    QCOMPARE(CollectionSongIds(groups[0]), (std::vector<std::string>{"2", "5"}));
    QCOMPARE(w.window.GroupChooser()->currentText(), QString("Lobpreis (2)"));
  }

  void aCopyThatCannotBeSavedIsReportedAndAddsNoRow() {
    Fixture f;
    uitest::RecordingMessages messages;
    Window w(f.state, &messages);
    QVERIFY(w.ChooseSelectionRow(0));
    const QByteArray songsBefore = uitest::ReadBytes(QString::fromStdString(f.state.dataFiles.lieder.string()));
    const int rowsBefore = w.window.GroupSongList()->RowCount();

    QVERIFY(!testing::WithFileSizeLimit(16, [&] { return w.preview->SaveSongCopy(); }));
    QVERIFY(messages.Has("Fehler"));
    QCOMPARE(w.window.GroupSongList()->RowCount(), rowsBefore);
    QCOMPARE(uitest::ReadBytes(QString::fromStdString(f.state.dataFiles.lieder.string())), songsBefore);
  }

  void aSongDeletedLeavesThePreview() {
    Fixture f;
    Window w(f.state);
    uitest::RecordingMessages messages;
    messages.answer = true;
    auto* trash = new TrashController(f.state, w.window, messages);
    QVERIFY(w.ChooseSelectionRow(0));
    QTRY_VERIFY_WITH_TIMEOUT(w.ShownText().contains("Zion high"), 10000);
    QCOMPARE(trash->DeleteChosenSongs(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!w.ShownText().contains("Zion high"), 10000);
    QVERIFY(w.window.Preview()->ShownRecord().empty());
    QVERIFY(!w.preview->SaveSongCopy());
  }

  void nothingShownMeansNothingToCopy() {
    Fixture f;
    Window w(f.state);
    QVERIFY(!w.preview->SaveSongCopy());
    QCOMPARE(f.state.songs.SongList().size(), std::size_t{3});
  }
};

}  // namespace psalmora

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  psalmora::PreviewTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "preview_test.moc"
