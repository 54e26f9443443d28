// The beamer on two offscreen monitors: where the window opens and where it goes when screens change,
// the band toggles, slides and paging, font size, the keys, the mirror of the preview, free text and
// scrolling.
#include "presentation_fixture.h"

namespace psalmora {
namespace {

using namespace presentationtest;

class PresentationTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void opensBorderlessOnTheSecondMonitorWithTheStartPages() {
    QCOMPARE(QGuiApplication::screens().size(), 2);
    Fixture f;
    QVERIFY(!f.presentation->IsOpen());
    f.window->Menu()->Action(MenuCommand::ShowOnSecondMonitor)->trigger();
    QVERIFY(f.presentation->IsOpen());
    PresentationWindow* beamer = f.Beamer();
    QVERIFY(QTest::qWaitForWindowExposed(beamer));
    QCOMPARE(beamer->geometry(), kSecond);
    QCOMPARE(beamer->windowHandle()->screen(), QGuiApplication::screens().at(1));
    QVERIFY(beamer->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(beamer->windowFlags() & Qt::WindowType_Mask, Qt::Tool);  // no task-bar entry
    QCOMPARE(beamer->windowTitle(), QString("Präsentationsfenster"));
    QCOMPARE(beamer->MainFrame()->geometry(), QRect(0, 0, 1024, 768));
    QCOMPARE(beamer->HeaderFrame()->height(), 0);
    QCOMPARE(beamer->FooterFrame()->geometry(), QRect(0, 768, 1024, 0));
    QCOMPARE(beamer->MediaLayer()->geometry(), QRect(0, 0, 1024, 768));
    QVERIFY(!beamer->MediaLayer()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(PageHtml(beamer->MainFrame()).contains("Psalmora"), 15000);
    QVERIFY(PageHtml(beamer->MainFrame()).contains("bgcolor=\"#000000\""));
    QVERIFY(PageHtml(beamer->MainFrame()).contains("www.psalmora.org"));
    // The operator's keys stay in the main window.
    QTRY_COMPARE(QApplication::activeWindow(), f.window.get());
    // The beamer layout hides chords and shows the translation: the toggles follow it.
    QVERIFY(!f.window->PresentationBar()->ChordsToggle()->isChecked());
    QVERIFY(f.window->PresentationBar()->TranslationToggle()->isChecked());

    // Opened again on the first monitor, the old window is replaced.
    QPointer<PresentationWindow> old = beamer;
    f.presentation->OpenPresentation(0);
    QVERIFY(old.isNull());
    QCOMPARE(f.Beamer()->geometry(), kFirst);
    QCOMPARE(f.presentation->PresentationMode(), 0);
  }

  void monitorInfoShowsBothSizes() {
    Fixture f;
    f.window->Menu()->Action(MenuCommand::MonitorInfo)->trigger();
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].title, QString("Monitor Info"));
    QCOMPARE(f.messages.shown[0].text, QString("Monitor 1\n1280 x 1024\nMonitor 2\n1024 x 768"));
    Monitors one;
    one.first = kFirst;
    QCOMPARE(MonitorInfoText(one, "A", "B"), QString("A\n1280 x 1024\nB\n0 x 0"));
  }

  void theSecondMonitorIsTakenWhereItReallyIs() {
    // A projector left of and above the laptop screen: the beamer goes there, not "right of monitor 1".
    Fixture f;
    f.presentation->SetMonitorSource([] {
      Monitors monitors = CurrentMonitors();
      monitors.second = QRect(-800, -600, 800, 600);
      return monitors;
    });
    f.presentation->OpenPresentation(1);
    QCOMPARE(f.Beamer()->Placement(), QRect(-800, -600, 800, 600));
    QCOMPARE(f.Beamer()->size(), QSize(800, 600));
  }

  void aRemovedScreenMovesTheBeamerAndAnAddedOneTakesItBack() {
    Fixture f;
    bool secondPresent = true;
    f.presentation->SetMonitorSource([&secondPresent] {
      Monitors monitors = CurrentMonitors();
      if (!secondPresent) {
        monitors.second = QRect();
        monitors.secondScreen = nullptr;
      }
      return monitors;
    });
    f.presentation->OpenPresentation(1);
    QCOMPARE(f.Beamer()->geometry(), kSecond);

    secondPresent = false;
    emit qApp->screenRemoved(QGuiApplication::screens().at(1));
    QTRY_COMPARE(f.Beamer()->geometry(), kFirst);
    QVERIFY(f.Beamer()->isVisible());

    secondPresent = true;
    emit qApp->screenAdded(QGuiApplication::screens().at(1));
    QTRY_COMPARE(f.Beamer()->geometry(), kSecond);

    // Opened for monitor 2 without one, it is a framed window on the only screen to rehearse with, the
    // status bar says so, and the projector plugged in later takes it over.
    secondPresent = false;
    f.window->Menu()->Action(MenuCommand::ShowOnSecondMonitor)->trigger();
    QVERIFY(f.presentation->IsOpen());
    PresentationWindow* beamer = f.Beamer();
    QVERIFY(beamer->isVisible());
    QVERIFY(!beamer->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(kFirst.contains(beamer->geometry()));
    QVERIFY(beamer->width() < kFirst.width() && beamer->height() < kFirst.height());
    QCOMPARE(f.window->Status()->currentMessage(),
             QString("Kein zweiter Bildschirm gefunden: die Präsentation wird in einem Fenster gezeigt"));
    // A screen change without a projector leaves the window as it is.
    const QRect moved = beamer->geometry().translated(-20, -10);
    beamer->setGeometry(moved);
    emit qApp->screenRemoved(QGuiApplication::screens().at(1));
    QTest::qWait(20);
    QCOMPARE(beamer->geometry(), moved);
    QVERIFY(beamer->isVisible());

    secondPresent = true;
    emit qApp->screenAdded(QGuiApplication::screens().at(1));
    QTRY_COMPARE(beamer->geometry(), kSecond);
    QVERIFY(beamer->isVisible());
    QVERIFY(beamer->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(beamer->windowHandle()->screen(), QGuiApplication::screens().at(1));
  }

  void headerAndFooterToggleWithTheirHeights() {
    Fixture f;
    f.presentation->OpenPresentation(1);
    PresentationWindow* beamer = f.Beamer();
    const QRect full(0, 0, 1024, 768);
    QTest::keyClick(f.window.get(), Qt::Key_F8);
    QCOMPARE(beamer->HeaderFrame()->geometry(), QRect(0, 0, 1024, 40));
    QCOMPARE(beamer->MainFrame()->geometry(), QRect(0, 40, 1024, 728));
    QTest::keyClick(f.window.get(), Qt::Key_F7);
    QCOMPARE(beamer->FooterFrame()->geometry(), QRect(0, 743, 1024, 25));
    QCOMPARE(beamer->MainFrame()->geometry(), QRect(0, 40, 1024, 703));
    QTest::keyClick(f.window.get(), Qt::Key_F8);
    QCOMPARE(beamer->HeaderFrame()->height(), 0);
    QCOMPARE(beamer->MainFrame()->geometry(), QRect(0, 0, 1024, 743));
    QTest::keyClick(f.window.get(), Qt::Key_F7);
    QCOMPARE(beamer->MainFrame()->geometry(), full);
    QCOMPARE(beamer->FooterFrame()->height(), 0);

    // A band shown with one height and hidden after the setting changed gives back what it took.
    f.presentation->ToggleHeader();
    f.state.settings.akkordzeilehoehe = 90;
    f.presentation->ToggleHeader();
    QCOMPARE(beamer->MainFrame()->geometry(), full);

    // The band flags carry over to a window opened again in this run, and into the shutdown values.
    f.presentation->ToggleFooter();
    f.presentation->OpenPresentation(1);
    QCOMPARE(f.Beamer()->FooterFrame()->geometry(), QRect(0, 743, 1024, 25));
    Settings settings;
    f.presentation->StoreRunValues(settings);
    QCOMPARE(settings.framefeet, 1);
    QCOMPARE(settings.frametop, 0);
  }

  void functionKeysDoNothingWhileTheWindowIsClosed() {
    Fixture f;
    f.ChooseSong(0);
    const std::string layoutBefore = Fixture::ReadText(f.BeamerLayout());
    QSignalSpy changed(f.presentation, &PresentationController::beamerChanged);
    for (Qt::Key key : {Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12}) {
      QTest::keyClick(f.window.get(), key);
    }
    QCOMPARE(changed.count(), 0);
    QCOMPARE(Fixture::ReadText(f.BeamerLayout()), layoutBefore);
    QVERIFY(!fs::exists(f.DataFile("beamer.htm")));
    QVERIFY(!f.presentation->IsOpen());

    // Open, the same keys act: F10 makes the beamer text larger.
    f.presentation->OpenPresentation(1);
    f.presentation->SendSongToBeamer();
    QTest::keyClick(f.window.get(), Qt::Key_F10);
    QVERIFY(Fixture::ReadText(f.BeamerLayout()).find("te|1|Arial, Helvetica, sans-serif|0|700|48|") !=
            std::string::npos);
    QTest::keyClick(f.window.get(), Qt::Key_F9);
    QTest::keyClick(f.window.get(), Qt::Key_F9);
    QVERIFY(Fixture::ReadText(f.BeamerLayout()).find("|700|44|") != std::string::npos);
    QVERIFY(changed.count() >= 3);
  }

  void sendingRendersTheThreeFramesAndPagingRestartsAtSlideOne() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    PresentationWindow* beamer = f.Beamer();
    f.ChooseSong(0);
    f.window->PresentationBar()->Action(PresentationCommand::SendToBeamer)->trigger();
    QCOMPARE(f.state.render.paging.currentSlide, 1);
    QCOMPARE(beamer->MainFrame()->PageFile(), f.DataFile("beamer.htm"));
    QCOMPARE(beamer->HeaderFrame()->PageFile(), f.DataFile("akkord.htm"));
    QCOMPARE(beamer->FooterFrame()->PageFile(), f.DataFile("fuss.htm"));
    QVERIFY(f.Page("beamer.htm").find("Erste Zeile") != std::string::npos);
    QVERIFY(f.Page("beamer.htm").find("Zweite Zeile") == std::string::npos);
    QCOMPARE(f.window->Status()->TitleLabel()->text(), QString("Zion"));
    PresentationToolbar* bar = f.window->PresentationBar();
    QVERIFY(bar->SlideButton(4)->isEnabled());
    QVERIFY(!bar->SlideButton(5)->isEnabled());

    bar->SlideButton(3)->trigger();
    QCOMPARE(f.state.render.paging.currentSlide, 3);
    QVERIFY(f.Page("beamer.htm").find("Dritte Zeile") != std::string::npos);
    // The font size changes on slide 3 stay on slide 3.
    f.presentation->ChangeFontSize(StyleAdjustment::kLarger);
    QCOMPARE(f.state.render.paging.currentSlide, 3);
    QVERIFY(f.Page("beamer.htm").find("Dritte Zeile") != std::string::npos);
    QVERIFY(f.Page("beamer.htm").find("font-size:48px") != std::string::npos);
    // So do the chord and translation toggles.
    bar->TranslationToggle()->trigger();
    QCOMPARE(f.state.render.paging.currentSlide, 3);
    QVERIFY(Fixture::ReadText(f.BeamerLayout()).find("ub|0|") != std::string::npos);

    // Sending the song again starts at slide 1.
    f.presentation->SendSongToBeamer();
    QCOMPARE(f.state.render.paging.currentSlide, 1);
    QVERIFY(f.Page("beamer.htm").find("Erste Zeile") != std::string::npos);

    // A preview slide marker reaches slides beyond the nine buttons' keys.
    f.presentation->ShowPreviewSlide(4);
    QCOMPARE(f.state.render.paging.currentSlide, 4);
    QVERIFY(f.Page("beamer.htm").find("Vierte Zeile") != std::string::npos);
  }

  void everyBeamerOperationActsOnTheSongSentNotTheOneChosenSince() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    PresentationToolbar* bar = f.window->PresentationBar();
    struct Operation {
      const char* name;
      std::function<void()> act;
    };
    const Operation operations[] = {
        {"F9", [&] { QTest::keyClick(f.window.get(), Qt::Key_F9); }},
        {"F10", [&] { QTest::keyClick(f.window.get(), Qt::Key_F10); }},
        {"chords", [&] { bar->ChordsToggle()->trigger(); }},
        {"translation", [&] { bar->TranslationToggle()->trigger(); }},
        {"slide key", [&] { QTest::keyClick(f.window.get(), Qt::Key_2); }},
        {"slide button", [&] { bar->SlideButton(2)->trigger(); }},
        {"Folien verwenden", [&] { bar->UseSlidesBox()->setChecked(false); }},
    };
    for (const Operation& operation : operations) {
      f.ChooseSong(0);
      f.presentation->SendSongToBeamer();
      // "Abend" is chosen for the preview only; the congregation still sees "Zion".
      f.ChooseSong(1);
      f.window->SelectionSongList()->setFocus();
      operation.act();
      const std::string page = f.Page("beamer.htm");
      QVERIFY2(page.find("Erste") != std::string::npos || page.find("Zweite") != std::string::npos, operation.name);
      QVERIFY2(page.find("Block") == std::string::npos, operation.name);
      QCOMPARE(f.window->Status()->TitleLabel()->text(), QString("Zion"));
    }
  }

  void keysStillReachTheBeamerAfterAClickIntoIt() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    PresentationWindow* beamer = f.Beamer();
    QVERIFY(QTest::qWaitForWindowExposed(beamer));
    QTRY_COMPARE(QApplication::activeWindow(), f.window.get());
    // The click, and what a window manager does with it: it activates the window clicked on unless that
    // window declines the keyboard focus.
    QTest::mouseClick(beamer->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
    if (!beamer->windowHandle()->flags().testFlag(Qt::WindowDoesNotAcceptFocus)) beamer->activateWindow();
    QTest::qWait(100);
    // The keys go to the window that is active now.
    QWidget* keys = QApplication::activeWindow();
    QVERIFY(keys);
    QTest::keyClick(keys, Qt::Key_F10);
    QVERIFY(Fixture::ReadText(f.BeamerLayout()).find("|700|48|") != std::string::npos);
    QTest::keyClick(keys, Qt::Key_3);
    QCOMPARE(f.state.render.paging.currentSlide, 3);
  }

  void slideMarkersOfThePreviewPageDriveTheBeamer() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    f.ChooseSong(0);
    PreviewController* preview = PreviewController::Of(*f.window);
    QVERIFY(preview);
    preview->ShowPreview();
    QVERIFY(WaitForLoad(preview->View()));
    // The marker's own click handler sets the title, as a click on "Folie 3" does.
    preview->View()->page()->runJavaScript(QStringLiteral("document.title='3';"));
    QTRY_COMPARE_WITH_TIMEOUT(f.state.render.paging.currentSlide, 3, 15000);
    QVERIFY(f.Page("beamer.htm").find("Dritte Zeile") != std::string::npos);

    // Slides past the ninth button are reached through their markers only.
    f.ChooseSong(1);
    preview->ShowPreview();
    QVERIFY(WaitForLoad(preview->View()));
    preview->View()->page()->runJavaScript(QStringLiteral("document.title='11';"));
    QTRY_COMPARE_WITH_TIMEOUT(f.state.render.paging.currentSlide, 11, 15000);
    QVERIFY(f.Page("beamer.htm").find("Block 11") != std::string::npos);
    QVERIFY(f.Page("beamer.htm").find("Block 10") == std::string::npos);
    QVERIFY(f.window->PresentationBar()->SlideButton(9)->isEnabled());
    QCOMPARE(f.presentation->Recorder().PresentedSongId(), std::string("2"));
  }

  void digitKeysSelectSlidesOnlyWhilePagingIsOn() {
    Fixture f(0);
    f.presentation->OpenPresentation(1);
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    f.window->SelectionSongList()->setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_3);
    QCOMPARE(f.state.render.paging.currentSlide, 0);
    QVERIFY(!f.window->SlideKeysRegistered());

    f.window->PresentationBar()->UseSlidesBox()->setChecked(true);
    QCOMPARE(f.state.settings.folie, 1);
    QVERIFY(f.window->SlideKeysRegistered());
    QTest::keyClick(f.window.get(), Qt::Key_3);
    QCOMPARE(f.state.render.paging.currentSlide, 3);

    f.window->PresentationBar()->UseSlidesBox()->setChecked(false);
    QCOMPARE(f.state.render.paging.currentSlide, 0);
    QVERIFY(!f.window->PresentationBar()->SlideButton(1)->isEnabled());
    QTest::keyClick(f.window.get(), Qt::Key_2);
    QCOMPARE(f.state.render.paging.currentSlide, 0);
    // Paging off: the whole song is on the beamer.
    QVERIFY(f.Page("beamer.htm").find("Vierte Zeile") != std::string::npos);
    QVERIFY(f.Page("beamer.htm").find("Erste Zeile") != std::string::npos);
  }

  void theMirrorPutsThePreviewOnTheBeamerAndEnterDoesNotSend() {
    Fixture f;
    f.presentation->OpenPresentation(1);
    PresentationWindow* beamer = f.Beamer();
    f.ChooseSong(1);
    SongListWidget* list = f.window->SelectionSongList();
    list->setFocus();

    f.window->Preview()->MirrorBeamerToggle()->setChecked(true);
    PreviewController::Of(*f.window)->ShowPreview();
    QCOMPARE(beamer->MainFrame()->PageFile(), f.DataFile("vorschau.htm"));
    QVERIFY(WaitForLoad(beamer->MainFrame()));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!fs::exists(f.DataFile("beamer.htm")));
    QCOMPARE(beamer->MainFrame()->PageFile(), f.DataFile("vorschau.htm"));

    f.window->Preview()->MirrorBeamerToggle()->setChecked(false);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(beamer->MainFrame()->PageFile(), f.DataFile("beamer.htm"));
    QCOMPARE(f.presentation->Recorder().PresentedSongId(), std::string("2"));
  }

  void doubleClickSendsOnlyWhileTheWindowIsOpen() {
    Fixture f;
    f.ChooseSong(0);
    emit f.window->SelectionSongList()->songDoubleClicked();
    QVERIFY(!fs::exists(f.DataFile("beamer.htm")));
    f.presentation->OpenPresentation(1);
    emit f.window->SelectionSongList()->songDoubleClicked();
    QVERIFY(fs::exists(f.DataFile("beamer.htm")));
    QCOMPARE(f.Beamer()->MainFrame()->PageFile(), f.DataFile("beamer.htm"));
  }

  void freeTextGoesToTheMainFrameAndItsHeaderToTheHeaderFrame() {
    Fixture f;
    f.presentation->OpenPresentation(1);
    BiblePage* bible = f.window->Left()->Bible();
    bible->HeaderTextField()->setText("Psalm 23");
    bible->FreeTextField()->setPlainText("Der Herr ist mein Hirte,\nmir wird nichts mangeln.");
    bible->SendButton()->click();
    QVERIFY(f.Page("beamer.htm").find("Der Herr ist mein Hirte,<br>mir wird nichts mangeln.") != std::string::npos);
    QVERIFY(f.Page("akkord.htm").find("Psalm 23") != std::string::npos);
    QCOMPARE(f.Beamer()->MainFrame()->PageFile(), f.DataFile("beamer.htm"));
    QCOMPARE(f.Beamer()->HeaderFrame()->PageFile(), f.DataFile("akkord.htm"));
  }

  void freeTextAndTheMirrorTakeTheSongsBandsAlong() {
    Fixture f;
    f.presentation->OpenPresentation(1);
    PresentationWindow* beamer = f.Beamer();
    BiblePage* bible = f.window->Left()->Bible();
    struct Change {
      const char* name;
      std::function<void()> act;
      std::function<bool()> shown;
    };
    const Change changes[] = {
        {"free text",
         [&] {
           bible->FreeTextField()->setPlainText("Gemeindefest");
           bible->SendButton()->click();
         },
         // F10 makes the announcement larger instead of bringing the song back.
         [&] {
           QTest::keyClick(f.window.get(), Qt::Key_F10);
           return f.Page("beamer.htm").find("Gemeindefest") != std::string::npos;
         }},
        {"mirror",
         [&] {
           f.ChooseSong(1);
           f.window->Preview()->MirrorBeamerToggle()->setChecked(true);
           PreviewController::Of(*f.window)->ShowPreview();
         },
         [&] { return f.Page("akkord.htm").find("Abend") != std::string::npos; }},
    };
    for (const Change& change : changes) {
      f.window->Preview()->MirrorBeamerToggle()->setChecked(false);
      f.ChooseSong(0);
      f.presentation->SendSongToBeamer();
      QTRY_VERIFY_WITH_TIMEOUT(PageHtml(beamer->FooterFrame()).contains("Anna Autorin"), 15000);
      change.act();
      QTRY_VERIFY2_WITH_TIMEOUT(
          [&] {
            const QString footer = PageHtml(beamer->FooterFrame());
            return !footer.isEmpty() && !footer.contains("Anna Autorin");
          }(),
          change.name, 15000);
      QVERIFY2(change.shown(), change.name);
    }
  }

  void scrollingMovesTheMainPageByTheScrollStep() {
    Fixture f;
    f.state.settings.scrollweite = 35;
    f.presentation->OpenPresentation(1);
    // A page taller than the frame.
    QString tall;
    for (int i = 0; i < 200; ++i) tall += QStringLiteral("<p>Zeile %1</p>").arg(i);
    PageView* main = f.Beamer()->MainFrame();
    main->setHtml(tall);
    QVERIFY(WaitForLoad(main));
    QTest::keyClick(f.window.get(), Qt::Key_F12);
    QTest::keyClick(f.window.get(), Qt::Key_F12);
    QTRY_COMPARE_WITH_TIMEOUT(main->page()->scrollPosition().y(), 70.0, 10000);
    QTest::keyClick(f.window.get(), Qt::Key_F11);
    QTRY_COMPARE_WITH_TIMEOUT(main->page()->scrollPosition().y(), 35.0, 10000);
  }
};

}  // namespace
}  // namespace psalmora

PSALMORA_PRESENTATION_TEST_MAIN(psalmora::PresentationTest)

#include "presentation_test.moc"
