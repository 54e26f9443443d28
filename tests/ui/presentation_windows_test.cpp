// Around the beamer: the control window's miniature, the song-order window, the mouse warning, the tempo
// blink, the presentation statistics, and the automatic opening and shutdown values of the application.
#include "presentation_fixture.h"

namespace psalmora {
namespace {

using namespace presentationtest;

class PresentationWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void controlWindowShowsTheBeamerAfterTheSecondHasPassed() {
    Fixture f;
    f.window->move(0, 0);
    f.presentation->OpenPresentation(1);
    f.window->Menu()->Action(MenuCommand::ControlWindow)->trigger();
    ControlWindow* control = f.presentation->Control();
    QVERIFY(control);
    QCOMPARE(control->windowTitle(), QString("Präsentation Kontrollfenster"));
    QCOMPARE(control->size(), QSize(300, 225));
    QCOMPARE(f.state.settings.showwindowkontroll, 1);
    const int before = control->MiniatureCount();
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    QVERIFY(f.presentation->MiniatureRefreshPending());
    QTRY_VERIFY_WITH_TIMEOUT(!f.presentation->MiniatureRefreshPending(), 10000);
    QCOMPARE(control->MiniatureCount(), before + 1);
    QCOMPARE(control->Miniature().size(), QSize(300, 225));  // 1024 x 768 scaled to 300 wide

    // Closing hides it; it comes back where it was, and its place is kept for the shutdown.
    control->move(40, 60);
    control->close();
    QVERIFY(!control->isVisible());
    QCOMPARE(f.state.settings.showwindowkontroll, 0);
    QCOMPARE(f.presentation->Control(), control);
    f.presentation->OpenControlWindow();
    QVERIFY(control->isVisible());
    QCOMPARE(control->pos(), QPoint(40, 60));
    Settings settings;
    f.presentation->StoreRunValues(settings);
    QCOMPARE(settings.windowkontrollx, 40);
    QCOMPARE(settings.windowkontrolly, 60);
    QCOMPARE(settings.showwindowkontroll, 1);
    QVERIFY(f.presentation->ControlWindowExists());
    QVERIFY(!f.presentation->SongOrderWindowExists());
    QCOMPARE(ScaleToMiniature(QPixmap(1280, 1024)).size(), QSize(300, 240));
    QVERIFY(ScaleToMiniature(QPixmap()).isNull());
  }

  void songOrderWindowShowsTheOrderOfThePreviewedSong() {
    Fixture f;
    f.state.settings.windowablaufx = 30;
    f.state.settings.windowablaufy = 50;
    f.state.settings.windowablaufweite = 320;
    f.state.settings.windowablaufhohe = 240;
    f.ChooseSong(0);
    PreviewController::Of(*f.window)->ShowPreview();
    f.window->Preview()->Action(PreviewCommand::SongOrder)->trigger();
    SongOrderWindow* order = f.presentation->SongOrder();
    QVERIFY(order);
    QVERIFY(order->isVisible());
    QCOMPARE(order->windowTitle(), QString("Liedablauf"));  // the key "liedablauf" translated
    QCOMPARE(order->size(), QSize(320, 240));
    QCOMPARE(order->TextArea()->toPlainText(), QString("Strophe 1\nRefrain"));
    QCOMPARE(order->TextArea()->font().pointSize(), 13);
    // While it is open it follows the preview.
    f.ChooseSong(1);
    PreviewController::Of(*f.window)->ShowPreview();
    QCOMPARE(order->TextArea()->toPlainText(), QString());
    order->close();
    QVERIFY(!order->isVisible());
    QCOMPARE(f.presentation->SongOrder(), order);
    QCOMPARE(f.state.settings.showwindowablauf, 0);
    order->resize(400, 300);
    Settings settings;
    f.presentation->StoreRunValues(settings);
    QCOMPARE(settings.windowablaufweite, 400);
    QCOMPARE(settings.windowablaufhohe, 300);
  }

  void windowsShownLastTimeComeBackAtStart() {
    Fixture f;
    QVERIFY(!f.presentation->Control());
    f.state.settings.showwindowkontroll = 1;
    f.state.settings.showwindowablauf = 1;
    auto* again = new PresentationController(f.state, *f.window, f.messages);
    QVERIFY(again->Control() && again->Control()->isVisible());
    QVERIFY(again->SongOrder() && again->SongOrder()->isVisible());
    delete again;
  }

  void mouseWarningAppearsOverThePresentationMonitor() {
    Monitors two = CurrentMonitors();
    QVERIFY(PointerOnPresentation(QPoint(1300, 10), two));
    QVERIFY(PointerOnPresentation(QPoint(1279, 500), two));  // the last column before it
    QVERIFY(!PointerOnPresentation(QPoint(1200, 10), two));
    QVERIFY(!PointerOnPresentation(QPoint(1300, 900), two));  // below the smaller projector
    Monitors one;
    one.first = kFirst;
    QVERIFY(!PointerOnPresentation(QPoint(1279, 10), one));

    bool enabled = false;
    MouseOverWarning warning([&enabled] { return enabled; }, [two] { return two; }, "Maus befindet sich",
                             QString::fromUtf8("über der Präsentation!"));
    warning.Check(QPoint(1300, 10));
    QVERIFY(!warning.InfoWindow());
    enabled = true;
    warning.Check(QPoint(1300, 10));
    QVERIFY(warning.InfoWindow());
    QCOMPARE(warning.InfoWindow()->size(), QSize(200, 100));
    QCOMPARE(warning.InfoWindow()->windowTitle(), QString("Info"));
    QCOMPARE(warning.InfoWindow()->pos(), kFirst.center() - QPoint(100, 50));
    QStringList texts;
    for (QLabel* label : warning.InfoWindow()->findChildren<QLabel*>()) texts << label->text();
    QCOMPARE(texts, QStringList({"Maus befindet sich", QString::fromUtf8("über der Präsentation!")}));
    warning.Check(QPoint(100, 10));
    QVERIFY(!warning.InfoWindow());
  }

  void tempoLabelBlinksWithTheSongsPeriod() {
    Fixture f;
    PreviewPane* pane = f.window->Preview();
    pane->TempoToggle()->setChecked(true);
    auto activeTimer = [pane]() -> QTimer* {
      for (QTimer* timer : pane->findChildren<QTimer*>()) {
        if (timer->isActive()) return timer;
      }
      return nullptr;
    };
    pane->SetShownRecord(f.state.songs.FindSongRecord("1"));  // 120 bpm
    QVERIFY(activeTimer());
    QCOMPARE(activeTimer()->interval(), 500);
    pane->SetShownRecord(f.state.songs.FindSongRecord("2"));  // 61 bpm
    QCOMPARE(activeTimer()->interval(), 984);
    const QColor before = pane->TempoLabel()->palette().color(QPalette::Window);
    QTRY_VERIFY_WITH_TIMEOUT(pane->TempoLabel()->palette().color(QPalette::Window) != before, 3000);
    pane->TempoToggle()->setChecked(false);
    QVERIFY(!activeTimer());
  }

  void aSongShownForMoreThanTwentySecondsIsCountedOnce() {
    Fixture f;
    f.presentation->OpenPresentation(1);
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    QCOMPARE(f.presentation->Recorder().PresentedSongId(), std::string("1"));
    QCOMPARE(f.presentation->Recorder().PresentationStart(), 1700000000LL);
    // Moving through its slides does not start the count again.
    f.statsNow += 15;
    f.presentation->SelectSlide(2);
    f.statsNow += 6;
    // The recorder's once-a-second turn writes the line.
    QTRY_VERIFY_WITH_TIMEOUT(fs::exists(f.DataFile("statistik.dat")), 10000);
    QCOMPARE(f.Page("statistik.dat"), std::string("1\t1700000021\r\n"));
    // A later turn of the recorder's timer leaves the line alone. Waiting for the turn itself, not for
    // a time, makes sure one really happened on a slow machine.
    QTimer* recordTimer = nullptr;
    for (QTimer* timer : f.presentation->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly))
      if (!timer->isSingleShot() && timer->interval() == 1000) recordTimer = timer;
    QVERIFY(recordTimer);
    QSignalSpy turns(recordTimer, &QTimer::timeout);
    f.statsNow += 100;
    QVERIFY(turns.wait(5000));
    QCOMPARE(f.Page("statistik.dat"), std::string("1\t1700000021\r\n"));
  }

  void aSongSentWithoutAVisibleBeamerIsNotCounted() {
    Fixture f;
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    QVERIFY(fs::exists(f.DataFile("beamer.htm")));  // the pages are written all the same
    QCOMPARE(f.presentation->Recorder().PresentationStart(), 0LL);
    // Monitor 2 asked for without a second screen: a framed window to rehearse with, no audience.
    f.presentation->SetMonitorSource([] {
      Monitors monitors = CurrentMonitors();
      monitors.second = QRect();
      monitors.secondScreen = nullptr;
      return monitors;
    });
    f.presentation->OpenPresentation(1);
    QVERIFY(f.Beamer()->IsFramed());
    f.presentation->SendSongToBeamer();
    QCOMPARE(f.presentation->Recorder().PresentationStart(), 0LL);
    f.statsNow += 30;
    QVERIFY(!f.presentation->Recorder().RecordPresentation());
    QVERIFY(!fs::exists(f.DataFile("statistik.dat")));
  }

  void opensAtStartWhenAskedAndKeepsTheControlWindowsPlaceAtShutdown() {
    QTemporaryDir temp;
    const QString settingsFile = temp.path() + "/program/config/einstellungen.ini";
    uitest::WriteBytes(settingsFile,
                       "[sonstiges]\r\nautoopen=1\r\n[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n"
                       "showwindowkontroll=1\r\nwindowkontrollx=70\r\nwindowkontrolly=80\r\nshowwindowablauf=0\r\n"
                       "windowablaufx=11\r\n");
    StartOptions options;
    options.programDir = (temp.path() + "/program").toStdString();
    options.dataDir = (temp.path() + "/daten").toStdString();
    options.registryFile = (temp.path() + "/registry.ini").toStdString();
    options.instanceFolder = temp.path() + "/run";
    StartupServices services;
    services.canPlayMovies = [] { return true; };
    services.startProgram = [](const QString&, const QStringList&, const QString&) { return true; };
    uitest::RecordingMessages messages;
    Application app(options, messages, services);
    QVERIFY(!app.Start().has_value());
    PresentationController* presentation = PresentationController::Of(*app.Window());
    QVERIFY(presentation);
    QVERIFY(presentation->IsOpen());
    QCOMPARE(presentation->Window()->geometry(), kSecond);
    QVERIFY(presentation->Control());
    QCOMPARE(presentation->Control()->pos(), QPoint(70, 80));
    QVERIFY(!presentation->SongOrder());

    presentation->Control()->move(90, 100);
    app.Shutdown();
    const QByteArray settings = uitest::ReadBytes(settingsFile);
    QVERIFY(settings.contains("windowkontrollx=90\r\n"));
    QVERIFY(settings.contains("windowkontrolly=100\r\n"));
    QVERIFY(settings.contains("showwindowkontroll=1\r\n"));
    // The song-order window never existed in this run: its place stays as it was.
    QVERIFY(settings.contains("windowablaufx=11\r\n"));
  }
};

}  // namespace
}  // namespace psalmora

PSALMORA_PRESENTATION_TEST_MAIN(psalmora::PresentationWindowsTest)

#include "presentation_windows_test.moc"
