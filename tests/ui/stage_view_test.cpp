// The stage and remote pages in a real browser engine, served by the program's own stage server: chords
// over their syllables at phone, tablet and desktop widths and several font sizes, a phone's own capo,
// a song sent in the program reaching the page without a reload, and the remote's PIN, song list and
// slide buttons acting on the beamer.
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "core/record_fields.h"
#include "presentation_fixture.h"
#include "stage/ui/stage_controller.h"
#include "stage/ui/stage_window.h"

namespace psalmora {
namespace {

using presentationtest::Fixture;

// Song 1 with one long line of chords, so narrow screens must wrap it; written over the fixture's text.
constexpr char kChordSong[] =
    ">G          D/F#        Em     C        G/H      Am7    D\r\n"
    "Erste Zeile mit vielen Akkorden \xFC" "ber den Silben bis ans Ende der Zeile hin\r\n"
    "\r\n"
    ">C     G     Em\r\n"
    "Zweite Zeile\r\n"
    "\r\n"
    "Dritte Zeile\r\n"
    "\r\n"
    "Vierte Zeile\r\n";

QVariant Eval(QWebEngineView& view, const QString& script) {
  auto answer = std::make_shared<std::pair<bool, QVariant>>(false, QVariant());
  view.page()->runJavaScript(script, [answer](const QVariant& value) { *answer = {true, value}; });
  if (!QTest::qWaitFor([&] { return answer->first; }, 10000)) return {};
  return answer->second;
}

bool WaitForScript(QWebEngineView& view, const QString& condition, int timeout = 10000) {
  return QTest::qWaitFor([&] { return Eval(view, condition).toBool(); }, timeout);
}

// Every chord starts where its syllables start and sits above them; chords of one row never overlap;
// nothing sticks out of the screen sideways. Gives the faults found, empty when none.
constexpr char kAlignmentCheck[] = R"JS((function () {
  var bad = [], boxes = [];
  document.querySelectorAll('.cell').forEach(function (cell) {
    var ch = cell.querySelector('.ch'), tx = cell.querySelector('.tx');
    if (!ch.textContent) return;
    var a = ch.getBoundingClientRect(), b = tx.getBoundingClientRect();
    if (Math.abs(a.left - b.left) > 0.5) bad.push('left ' + ch.textContent);
    if (a.bottom > b.top + 0.5) bad.push('below ' + ch.textContent);
    // A chord over no text keeps a text row under it, or it would sink into the text line.
    if (b.height < 0.8 * a.height) bad.push('no text row under ' + ch.textContent);
    boxes.push([a, ch.textContent]);
  });
  for (var i = 0; i < boxes.length; ++i)
    for (var j = i + 1; j < boxes.length; ++j) {
      var a = boxes[i][0], b = boxes[j][0];
      if (Math.abs(a.top - b.top) < 1 && a.left < b.right - 0.5 && b.left < a.right - 0.5)
        bad.push('overlap ' + boxes[i][1] + ' ' + boxes[j][1]);
    }
  if (document.documentElement.scrollWidth > window.innerWidth + 1) bad.push('wider than the screen');
  if (boxes.length < 10) bad.push('chords missing: ' + boxes.length);
  return bad.join('; ');
})())JS";

// With PSALMORA_STAGE_SHOTS set to a folder, the pages as the engine drew them, to look at.
void SaveShot(QWebEngineView& view, const char* name) {
  const QString folder = qEnvironmentVariable("PSALMORA_STAGE_SHOTS");
  if (folder.isEmpty()) return;
  QTest::qWait(300);
  view.grab().save(folder + QLatin1Char('/') + QLatin1String(name));
}

class StageViewTest : public QObject {
  Q_OBJECT

 private:
  struct Stage {
    Fixture f{1};
    StageController* stage = nullptr;
    QWebEngineView view;

    Stage() {
      uitest::WriteBytes(QString::fromStdString(f.DataFile("1.dat").string()), kChordSong);
      std::filesystem::create_directories(f.state.programFolder / "config");
      stage = new StageController(f.state, *f.window, f.messages, 0);
      ConnectControllers(*f.window);
    }
    QString Url(const char* path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(stage->Port()).arg(path); }
    bool Open(const char* path, QSize size) {
      view.resize(size);
      view.show();
      QSignalSpy loaded(view.page(), &QWebEnginePage::loadFinished);
      view.load(QUrl(Url(path)));
      return loaded.wait(20000) && loaded.first().first().toBool();
    }
    void SendSong(int row) {
      f.ChooseSong(row);
      f.presentation->SendSongToBeamer();
    }
  };

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void switchedOnItShowsTheAddressAndItsCode() {
    Stage s;
    QVERIFY(s.stage->IsServing());
    QVERIFY(QTest::qWaitFor([&] { return s.stage->Window() && s.stage->Window()->isVisible(); }, 5000));
    StageWindow* window = s.stage->Window();
    QVERIFY(window->StageAddressLabel()->text().contains(QStringLiteral(":%1/").arg(s.stage->Port())));
    QVERIFY(!window->StageCode()->pixmap().isNull());
    QVERIFY(window->RemoteAddressLabel()->text().contains(QStringLiteral("/remote")));
    // A PIN was made for the remote and kept in the settings.
    QCOMPARE(s.stage->Settings().pin.size(), std::size_t{4});
    QVERIFY(Fixture::ReadText(s.f.state.programFolder / "config/einstellungen.ini")
                .find("pin=" + s.stage->Settings().pin) != std::string::npos);
  }

  void chordsLineUpAtEveryWidthAndFontSize() {
    Stage s;
    s.SendSong(0);
    QVERIFY(s.Open("/stage", QSize(360, 740)));
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.querySelectorAll('.cell').length >= 10")));
    for (const QSize size : {QSize(320, 640), QSize(412, 900), QSize(820, 1180), QSize(1280, 800)}) {
      s.view.resize(size);
      for (const int font : {14, 24, 40}) {
        Eval(s.view, QStringLiteral("psalmoraStage.settings.f = %1; psalmoraStage.apply();").arg(font));
        QVERIFY(WaitForScript(s.view, QStringLiteral("window.innerWidth == %1").arg(size.width())));
        const QString faults = Eval(s.view, QString::fromLatin1(kAlignmentCheck)).toString();
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1px wide, font %2: %3").arg(size.width()).arg(font).arg(faults)));
        if (size.width() == 320 && font == 24) SaveShot(s.view, "stage-320-font24.png");
      }
    }
  }

  void eachPhoneHasItsOwnCapo() {
    Stage s;
    s.SendSong(0);
    QVERIFY(s.Open("/stage", QSize(412, 900)));
    const QString firstChord = QStringLiteral("document.querySelector('.ch:not(:empty)').textContent");
    QVERIFY(WaitForScript(s.view, firstChord + " == 'G'"));
    // Capo 5 on a song in G: the D shape. The key shown stays G.
    Eval(s.view, QStringLiteral("psalmoraStage.settings.c = 5; psalmoraStage.apply();"));
    QVERIFY(WaitForScript(s.view, firstChord + " == 'D'"));
    QVERIFY(Eval(s.view, QStringLiteral("document.getElementById('key').textContent")).toString().contains("Kapodaster 5"));
    // Transposed up two with capo 2: the shapes of the original, the key A.
    Eval(s.view, QStringLiteral("psalmoraStage.settings.c = 2; psalmoraStage.settings.t = 2; psalmoraStage.apply();"));
    QVERIFY(WaitForScript(s.view, firstChord + " == 'G'"));
    Eval(s.view, QStringLiteral("psalmoraStage.settings.light = true; psalmoraStage.apply();"
                                "document.getElementById('gear').click();"));
    SaveShot(s.view, "stage-light-capo.png");
    QVERIFY(Eval(s.view, QStringLiteral("[...document.querySelectorAll('.ch')].map(e => e.textContent).join(' ')"))
                .toString()
                .startsWith(QStringLiteral("G D/F# Em C G/H Am7 D C G Em")));
    // Kept in this browser: a reload comes back with the same settings.
    QVERIFY(s.Open("/stage", QSize(412, 900)));
    QVERIFY(WaitForScript(s.view, firstChord + " == 'G' && psalmoraStage.settings.c == 2"));
  }

  void aSongSentAndASlideChosenReachThePageWithoutReload() {
    Stage s;
    QVERIFY(s.Open("/stage", QSize(412, 900)));
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.getElementById('empty') != null")));
    Eval(s.view, QStringLiteral("window.samePage = 42;"));
    s.SendSong(1);
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.getElementById('title').textContent == 'Abend'")));
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.querySelector('.block.current').dataset.slide == '1'")));
    s.f.presentation->SelectSlide(3);
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.querySelector('.block.current').dataset.slide == '3' && "
                                                 "document.querySelector('.block.next').dataset.slide == '4'")));
    s.SendSong(0);
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.getElementById('title').textContent == 'Zion' && "
                                                 "document.getElementById('tempo').textContent.indexOf('120') >= 0 && "
                                                 "document.getElementById('order').textContent == 'Strophe 1Refrain'")));
    QCOMPARE(Eval(s.view, QStringLiteral("window.samePage")).toInt(), 42);
  }

  void aWrongPinIsRefused() {
    Stage s;
    QVERIFY(s.Open("/remote", QSize(412, 900)));
    QVERIFY(WaitForScript(s.view, QStringLiteral("!document.getElementById('login').hidden")));
    Eval(s.view, QStringLiteral("document.getElementById('pin').value = 'x%1'; document.getElementById('enter').click();")
                     .arg(QString::fromStdString(s.stage->Settings().pin)));
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.getElementById('msg').textContent.indexOf('Falsche PIN') == 0")));
    // The right PIN at once after a wrong one waits its turn too.
    Eval(s.view, QStringLiteral("document.getElementById('msg').textContent = '';"
                                "document.getElementById('pin').value = '%1'; document.getElementById('enter').click();")
                     .arg(QString::fromStdString(s.stage->Settings().pin)));
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.getElementById('msg').textContent.indexOf('warten') > 0")));
    QVERIFY(Eval(s.view, QStringLiteral("document.getElementById('remote').hidden")).toBool());
    QVERIFY(s.f.presentation->BeamerRecord().empty());
  }

  void theRemoteSendsSongsAndPagesSlides() {
    Stage s;
    s.f.presentation->OpenPresentation(1);
    QVERIFY(s.Open("/remote", QSize(412, 900)));
    QVERIFY(WaitForScript(s.view, QStringLiteral("!document.getElementById('login').hidden")));
    Eval(s.view, QStringLiteral("document.getElementById('pin').value = '%1'; document.getElementById('enter').click();")
                     .arg(QString::fromStdString(s.stage->Settings().pin)));
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.querySelectorAll('#songs button').length == 2")));
    Eval(s.view, QStringLiteral("document.querySelector('#songs button[data-row=\"1\"]').click();"));
    // Through the presentation controller: the main window's selection and status bar follow.
    QVERIFY(QTest::qWaitFor([&] { return RecordField(s.f.presentation->BeamerRecord(), 1) == "2"; }, 10000));
    QCOMPARE(s.f.window->SelectionSongList()->SelectedIds(), QStringList{"2"});
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.querySelector('#songs button.beamer').dataset.row == '1'")));
    SaveShot(s.view, "remote.png");
    Eval(s.view, QStringLiteral("document.getElementById('next').click();"));
    QVERIFY(QTest::qWaitFor([&] { return s.f.presentation->BeamerSlide() == 2; }, 10000));
    Eval(s.view, QStringLiteral("document.getElementById('prev').click();"));
    QVERIFY(QTest::qWaitFor([&] { return s.f.presentation->BeamerSlide() == 1; }, 10000));
    Eval(s.view, QStringLiteral("document.getElementById('black').click();"));
    QVERIFY(QTest::qWaitFor([&] { return s.f.presentation->IsBlack(); }, 10000));
    QVERIFY(s.f.window->PresentationBar()->BlackToggle()->isChecked());
    QVERIFY(WaitForScript(s.view, QStringLiteral("document.getElementById('black').classList.contains('on')")));
    Eval(s.view, QStringLiteral("document.getElementById('paging').click();"));
    QVERIFY(QTest::qWaitFor([&] { return !s.f.window->PresentationBar()->UseSlidesBox()->isChecked(); }, 10000));
    Eval(s.view, QStringLiteral("document.getElementById('freehead').value = 'Ansage';"
                                "document.getElementById('freetext').value = 'Kaffee im Saal';"
                                "document.getElementById('freesend').click();"));
    QVERIFY(QTest::qWaitFor([&] { return s.f.presentation->BeamerFreeText() == std::optional<std::string>("Kaffee im Saal"); }, 10000));
    QCOMPARE(s.f.window->Left()->Bible()->FreeTextField()->toPlainText(), QStringLiteral("Kaffee im Saal"));
  }
};

}  // namespace
}  // namespace psalmora

PSALMORA_PRESENTATION_TEST_MAIN(psalmora::StageViewTest)
#include "stage_view_test.moc"
