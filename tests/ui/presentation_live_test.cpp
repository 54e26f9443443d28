// The live hour on two offscreen monitors: the paging keys of the keyboard and the presenter clicker in
// the main window and the beamer window, the move through the selection list, and the black screen.
#include "presentation_fixture.h"
#include "render/ui/beamer_keys.h"

namespace psalmora {
namespace {

using namespace presentationtest;

// Where the keyboard focus is put before a key.
enum class Focus { None, List, Text };

void PutFocus(Fixture& f, Focus focus) {
  QWidget* target = nullptr;
  if (focus == Focus::List) target = f.window->SelectionSongList();
  if (focus == Focus::Text) target = f.window->Left()->Bible()->HeaderTextField();
  if (target) {
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
  } else if (QWidget* now = QApplication::focusWidget()) {
    now->clearFocus();
  }
}

// The value of a script in the page (invalid when the engine does not answer within five seconds).
QVariant Evaluate(PageView* view, const QString& script) {
  auto answer = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
  view->page()->runJavaScript(script, [answer](const QVariant& value) { *answer = {true, value}; });
  if (!QTest::qWaitFor([&] { return answer->first; }, 5000)) return {};
  return answer->second;
}

// How far the main frame's page reaches (the bottom of its text, as the engine lays it out, and how far
// it lets itself be scrolled), the room the frame gives it, and the page's zoom. Positions of single
// elements are not used: under CSS zoom the engine reports them in unzoomed units.
struct TextFit {
  double pageHeight = 0;
  double scrolled = 0;
  double room = 0;
  QString zoom;
};

TextFit MeasureFit(PageView* view) {
  const QVariantList values =
      Evaluate(view, QStringLiteral("(function () {"
                                    "  window.scrollTo(0, 100000);"
                                    "  var result = [document.documentElement.scrollHeight, window.scrollY,"
                                    "                window.innerHeight, document.body.style.zoom];"
                                    "  window.scrollTo(0, 0);"
                                    "  return result;"
                                    "})()"))
          .toList();
  if (values.size() != 4) return {};
  return {values[0].toDouble(), values[1].toDouble(), values[2].toDouble(), values[3].toString()};
}

class PresentationLiveTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void keysAreSortedByWhereTheFocusIs() {
    struct Row {
      Qt::Key key;
      KeyFocus focus;
      BeamerKey expected;
    };
    const Row rows[] = {
        {Qt::Key_PageDown, KeyFocus::Other, BeamerKey::Next}, {Qt::Key_PageDown, KeyFocus::List, BeamerKey::Next},
        {Qt::Key_PageDown, KeyFocus::Text, BeamerKey::None},  {Qt::Key_PageUp, KeyFocus::List, BeamerKey::Previous},
        {Qt::Key_Right, KeyFocus::List, BeamerKey::Next},     {Qt::Key_Left, KeyFocus::Other, BeamerKey::Previous},
        {Qt::Key_Down, KeyFocus::Other, BeamerKey::Next},     {Qt::Key_Down, KeyFocus::List, BeamerKey::None},
        {Qt::Key_Space, KeyFocus::Other, BeamerKey::Next},    {Qt::Key_Space, KeyFocus::List, BeamerKey::None},
        {Qt::Key_Up, KeyFocus::Other, BeamerKey::Previous},   {Qt::Key_Up, KeyFocus::List, BeamerKey::None},
        {Qt::Key_B, KeyFocus::List, BeamerKey::Black},        {Qt::Key_Period, KeyFocus::Other, BeamerKey::Black},
        {Qt::Key_B, KeyFocus::Text, BeamerKey::None},         {Qt::Key_Left, KeyFocus::Text, BeamerKey::None},
        {Qt::Key_A, KeyFocus::Other, BeamerKey::None},
    };
    for (const Row& row : rows) {
      QCOMPARE(BeamerKeyFor(row.key, Qt::NoModifier, row.focus), row.expected);
    }
    QCOMPARE(BeamerKeyFor(Qt::Key_PageDown, Qt::ControlModifier, KeyFocus::Other), BeamerKey::None);
  }

  void keysPageTheBeamerAndMoveThroughTheSelection() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    QWidget* main = f.window.get();
    QWidget* beamer = f.Beamer();
    // "Zion" (song 1) has four slides, "Abend" (song 2) eleven; the selection holds them in that order.
    struct Step {
      const char* name;
      QWidget* receiver;
      Focus focus;
      Qt::Key key;
      const char* title;
      int slide;
    };
    const Step steps[] = {
        {"Right", main, Focus::None, Qt::Key_Right, "Zion", 2},
        {"Down", main, Focus::None, Qt::Key_Down, "Zion", 3},
        {"Space", main, Focus::None, Qt::Key_Space, "Zion", 4},
        {"PageDown past the last slide", main, Focus::None, Qt::Key_PageDown, "Abend", 1},
        {"PageUp before the first slide", main, Focus::None, Qt::Key_PageUp, "Zion", 4},
        {"Left", main, Focus::None, Qt::Key_Left, "Zion", 3},
        {"Up", main, Focus::None, Qt::Key_Up, "Zion", 2},
        {"PageUp in a list", main, Focus::List, Qt::Key_PageUp, "Zion", 1},
        {"PageUp before the first song", main, Focus::None, Qt::Key_PageUp, "Zion", 1},
        {"Down in a list moves the list", main, Focus::List, Qt::Key_Down, "Zion", 1},
        {"PageDown in a text field", main, Focus::Text, Qt::Key_PageDown, "Zion", 1},
        {"PageDown to the beamer window", beamer, Focus::None, Qt::Key_PageDown, "Zion", 2},
        {"Right to the beamer window", beamer, Focus::None, Qt::Key_Right, "Zion", 3},
    };
    for (const Step& step : steps) {
      PutFocus(f, step.focus);
      QTest::keyClick(step.receiver, step.key);
      QVERIFY2(f.window->Status()->TitleLabel()->text() == QString(step.title), step.name);
      QVERIFY2(f.presentation->BeamerSlide() == step.slide, step.name);
    }
    // The list's choice followed the songs sent: the preview shows the song on the beamer.
    QCOMPARE(f.window->SelectionSongList()->SelectedIds(), QStringList{"1"});

    // From the last slide of the last song there is nowhere to go.
    f.ChooseSong(1);
    f.presentation->SendSongToBeamer();
    PutFocus(f, Focus::None);
    for (int press = 0; press < 20; ++press) QTest::keyClick(main, Qt::Key_PageDown);
    const int last = f.presentation->BeamerSlide();
    QVERIFY(last >= 11);
    QTest::keyClick(main, Qt::Key_PageDown);
    QCOMPARE(f.presentation->BeamerSlide(), last);
    QCOMPARE(f.window->Status()->TitleLabel()->text(), QString("Abend"));
  }

  void aSongFromAnotherListStaysAtItsEnds() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    // "Zion" from the song list (sorted by title: "Abend", "Zion").
    f.window->GroupSongList()->SelectRow(1);
    f.window->SetCurrentSongList(SongListId::Group);
    f.presentation->SendSongToBeamer();
    f.presentation->SelectSlide(4);
    PutFocus(f, Focus::None);
    QTest::keyClick(f.window.get(), Qt::Key_PageDown);
    QCOMPARE(f.window->Status()->TitleLabel()->text(), QString("Zion"));
    QCOMPARE(f.presentation->BeamerSlide(), 4);
  }

  void withPagingOffTheKeysScrollByTheScrollStep() {
    Fixture f(0);
    f.state.settings.scrollweite = 35;
    f.presentation->OpenPresentation(1);
    QString tall;
    for (int i = 0; i < 200; ++i) tall += QStringLiteral("<p>Zeile %1</p>").arg(i);
    PageView* frame = f.Beamer()->MainFrame();
    frame->setHtml(tall);
    QVERIFY(WaitForLoad(frame));
    PutFocus(f, Focus::None);
    QTest::keyClick(f.window.get(), Qt::Key_PageDown);
    QTest::keyClick(f.window.get(), Qt::Key_Space);
    QTRY_COMPARE_WITH_TIMEOUT(frame->page()->scrollPosition().y(), 70.0, 10000);
    QTest::keyClick(f.window.get(), Qt::Key_PageUp);
    QTRY_COMPARE_WITH_TIMEOUT(frame->page()->scrollPosition().y(), 35.0, 10000);
  }

  void keysDoNothingWhileTheBeamerIsClosed() {
    Fixture f(1);
    f.ChooseSong(0);
    f.window->GroupSongList()->setFocus();
    QTest::keyClick(f.window->GroupSongList(), Qt::Key_PageDown);
    QTest::keyClick(f.window->GroupSongList(), Qt::Key_B);
    QVERIFY(!fs::exists(f.DataFile("beamer.htm")));
    QVERIFY(!f.presentation->IsBlack());
  }

  void aLongSongFitsBetweenTheBandsOnBothMonitors() {
    struct Row {
      int monitor;
      int fitSetting;
      bool fits;
    };
    const Row rows[] = {{0, 1, true}, {1, 1, true}, {1, 0, false}};
    for (const Row& row : rows) {
      Fixture f(0);
      f.state.settings.beamertextanpassen = row.fitSetting;
      QByteArray sixty;
      for (int line = 1; line <= 60; ++line) sixty += "Zeile " + QByteArray::number(line) + " des langen Liedes\r\n";
      uitest::WriteBytes(QString::fromStdString(f.DataFile("2.dat").string()), sixty);
      f.presentation->OpenPresentation(row.monitor);
      f.presentation->ToggleHeader();
      f.presentation->ToggleFooter();
      PageView* frame = f.Beamer()->MainFrame();
      QSignalSpy loaded(frame, &PageView::pageLoaded);
      f.ChooseSong(1);
      f.presentation->SendSongToBeamer();
      QVERIFY(loaded.wait(15000));
      const TextFit fit = MeasureFit(frame);
      const int frameHeight = (row.monitor == 0 ? kFirst : kSecond).height() - 40 - 25;
      QCOMPARE(fit.room, double(frameHeight));
      QCOMPARE(fit.scrolled == 0, row.fits);
      QCOMPARE(fit.pageHeight <= fit.room, row.fits);
      QCOMPARE(!fit.zoom.isEmpty(), row.fits);

      // A short song keeps the layout's size: the text is never made larger.
      f.ChooseSong(0);
      f.presentation->SendSongToBeamer();
      QVERIFY(loaded.wait(15000));
      QCOMPARE(MeasureFit(frame).zoom, QString());
    }
  }

  void thePreviewMarksTheSlideOnTheBeamer() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    PreviewController* preview = PreviewController::Of(*f.window);
    const QString marked = QStringLiteral(
        "(function () {"
        "  var markers = document.querySelectorAll('span[onclick]');"
        "  for (var i = 0; i < markers.length; ++i) if (markers[i].getAttribute('data-beamer') == '1') return i + 1;"
        "  return 0;"
        "})()");
    QSignalSpy loaded(preview->View(), &PageView::pageLoaded);
    f.ChooseSong(0);
    preview->ShowPreview();
    QVERIFY(loaded.wait(15000));
    f.presentation->SendSongToBeamer();
    QTRY_COMPARE_WITH_TIMEOUT(Evaluate(preview->View(), marked).toInt(), 1, 10000);
    f.presentation->SelectSlide(3);
    QTRY_COMPARE_WITH_TIMEOUT(Evaluate(preview->View(), marked).toInt(), 3, 10000);
    PutFocus(f, Focus::None);
    QTest::keyClick(f.window.get(), Qt::Key_PageDown);
    QTRY_COMPARE_WITH_TIMEOUT(Evaluate(preview->View(), marked).toInt(), 4, 10000);

    // Another song in the preview: none of its markers is the beamer's.
    f.ChooseSong(1);
    preview->ShowPreview();
    QVERIFY(loaded.wait(15000));
    QTest::qWait(200);
    QCOMPARE(Evaluate(preview->View(), marked).toInt(), 0);
    // Back on the beamer's song, its slide is marked again once the page has loaded.
    f.ChooseSong(0);
    preview->ShowPreview();
    QTRY_COMPARE_WITH_TIMEOUT(Evaluate(preview->View(), marked).toInt(), 4, 10000);
  }

  void theBlackScreenStaysAcrossSendsAndSlidesUntilLifted() {
    Fixture f(1);
    f.presentation->OpenPresentation(1);
    f.ChooseSong(0);
    f.presentation->SendSongToBeamer();
    QAction* toggle = f.window->PresentationBar()->BlackToggle();
    PutFocus(f, Focus::List);
    QTest::keyClick(f.window->SelectionSongList(), Qt::Key_B);
    QVERIFY(f.presentation->IsBlack());
    QVERIFY(f.Beamer()->IsBlack());
    QVERIFY(toggle->isChecked());
    auto* black = f.Beamer()->findChild<QWidget*>(QStringLiteral("blackScreen"));
    QVERIFY(black && black->isVisible());
    QCOMPARE(black->geometry(), f.Beamer()->rect());

    f.ChooseSong(1);
    f.presentation->SendSongToBeamer();
    f.presentation->SelectSlide(2);
    QVERIFY(f.Beamer()->IsBlack());
    QVERIFY(f.Page("beamer.htm").find("Block 2") != std::string::npos);
    // A window opened again is black as well.
    f.presentation->OpenPresentation(1);
    QVERIFY(f.Beamer()->IsBlack());

    // The clicker's "." lifts it; the button follows, and the button alone works the same way.
    QTest::keyClick(f.window.get(), Qt::Key_Period);
    QVERIFY(!f.Beamer()->IsBlack());
    QVERIFY(!toggle->isChecked());
    toggle->trigger();
    QVERIFY(f.Beamer()->IsBlack());
  }
};

}  // namespace
}  // namespace psalmora

PSALMORA_PRESENTATION_TEST_MAIN(psalmora::PresentationLiveTest)

#include "presentation_live_test.moc"
