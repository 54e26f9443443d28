// MainWindow: the menu bar in two languages, the song lists filled from the data folder, the current
// song list with the context menu's enabling rule, the toolbars and shortcuts, and the run's values
// read back for the shutdown.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "app/left_column.h"
#include "app/main_menu_bar.h"
#include "app/main_status_bar.h"
#include "app/main_window.h"
#include "app/song_context_menu.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "media/ui/media_pages.h"
#include "render/ui/presentation_toolbar.h"
#include "render/ui/preview_pane.h"
#include "songdb/ui/search_page.h"
#include "songdb/ui/song_list_widget.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

// A program folder and a data folder with five songs (one in the trash), two groups and two selections.
struct Fixture {
  QTemporaryDir temp;
  AppState state;

  explicit Fixture(int folie = 0) {
    const QString data = temp.path() + "/daten";
    uitest::WriteBytes(data + "/lieder.dat",
                       "1\t05.03.2018-14:07\tZion\t\t\t\t\t\t\t\t\t\t0\t\t\t120\t\t\t\t\t\t\r\n"
                       "2\t01.12.2017-09:05\t\xFC"
                       "ber den Wolken\t\t\t\t\t\t\t\t\t\t3\t\t\t\t\t\t\t\t\t\r\n"
                       "#gel\xF6scht#\t5\t01.12.2017-09:05\tGel\xF6scht\t\r\n"
                       "3\t17.01.2019-10:00\t\xC4rger\t\r\n"
                       "4\t30.06.2016-23:59\tAbend\t\r\n");
    uitest::WriteBytes(data + "/gruppierung.dat", "Lobpreis\t7|4|1\t\t\t\t\t\t\t\r\nAdvent\t|2\t\r\n");
    uitest::WriteBytes(data + "/auswahl.dat", "Sonntag\t|1|2|3\t\t\t\t\t\t\t\r\nLeer\t\t\r\n");
    state.programFolder = (temp.path() + "/programm").toStdString();
    state.dataFiles = DataFiles::For(data.toStdString());
    state.settings.folie = folie;
    state.settings.containerlinks = 300;
    state.settings.containermitte = 220;
    state.fileTypes.film = "avi, mkv";
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();
  }
};

QStringList ItemTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* action : menu->actions()) texts << (action->isSeparator() ? QStringLiteral("—") : action->text());
  return texts;
}

QMenu* TopMenu(MainWindow& window, int position) {
  return window.menuBar()->actions().at(position)->menu<QMenu*>();
}

QStringList MenuTitles(MainWindow& window) {
  QStringList titles;
  for (QAction* action : window.menuBar()->actions()) titles << action->text();
  return titles;
}

QStringList ListTitles(SongListWidget* list) {
  QStringList titles;
  for (int row = 0; row < list->RowCount(); ++row) titles << list->Model().RowAt(row).title;
  return titles;
}

void ClickRow(SongListWidget* list, int row) {
  const QRect rect = list->visualRect(list->model()->index(row, 1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

QAction* ActionWithShortcut(QWidget& window, const QKeySequence& keys) {
  for (QAction* action : window.findChildren<QAction*>()) {
    if (action->shortcut() == keys) return action;
  }
  return nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void menuBarHasEveryItemInOrderInGerman() {
    Fixture f;
    MainWindow window(f.state);
    QCOMPARE(MenuTitles(window), (QStringList{"Liederverwaltung", "Einstellungen", "Präsentation", "Hilfe"}));
    QCOMPARE(ItemTexts(TopMenu(window, 0)),
             (QStringList{"Neues Lied\tStrg+N", "—", "Lieder importieren", "—", "Mit Cantabox synchronisieren", "—",
                          "Papierkorb", "—", "Beenden"}));
    QMenu* import = TopMenu(window, 0)->actions().at(2)->menu<QMenu*>();
    QVERIFY(import);
    QCOMPARE(ItemTexts(import), (QStringList{"Exportdatei (*.exp)", "Powerpoint (*.ppt;*.pps)",
                                             "Lieder von CCLI (*.usr)", "Textdateien (*.txt)"}));
    QCOMPARE(ItemTexts(TopMenu(window, 1)), (QStringList{"Allgemein", "Layouts", "Sprachen"}));
    QCOMPARE(ItemTexts(TopMenu(window, 2)), (QStringList{"Anzeigen am Hauptmonitor", "Anzeigen am Beamer",
                                                         "Kontrollfenster", "—", "Monitor Info",
                                                         "Bühnenansicht und Fernbedienung", "—", "Statistik"}));
    QVERIFY(!TopMenu(window, 2)->actions().at(0)->icon().isNull());
    QVERIFY(!TopMenu(window, 2)->actions().at(1)->icon().isNull());
    QCOMPARE(ItemTexts(TopMenu(window, 3)), (QStringList{"Hilfe\tF1", "Online-Update", "Psalmora aktuell", "Info"}));
  }

  void menuBarIsRebuiltInTheNewLanguage() {
    Fixture f;
    MainWindow window(f.state);
    const QString presentationTip = window.PresentationBar()->Action(PresentationCommand::ToggleFooter)->toolTip();
    QVERIFY(f.state.language.Load(uitest::LanguageFile(), kEnglish));
    window.RebuildMenuBar();
    QCOMPARE(MenuTitles(window), (QStringList{"Song management", "Settings", "Presentation", "Help"}));
    QCOMPARE(TopMenu(window, 0)->actions().at(0)->text(), QString("New song\tStrg+N"));
    QCOMPARE(TopMenu(window, 0)->actions().last()->text(), QString("Exit"));
    QCOMPARE(TopMenu(window, 3)->actions().last()->text(), QString("About"));
    // Items of the new bar still reach the window; existing toolbars keep their texts until a restart.
    QSignalSpy languages(&window, &MainWindow::languagesRequested);
    TopMenu(window, 1)->actions().at(2)->trigger();
    QCOMPARE(languages.count(), 1);
    QCOMPARE(window.PresentationBar()->Action(PresentationCommand::ToggleFooter)->toolTip(), presentationTip);
  }

  void untranslatedKeysShowTheKeyWithParenthesesAndUnknownKeysNotFound() {
    Fixture f;
    // "Papierkorb" has an empty English text; "Hilfe" is missing from this table.
    f.state.language.LoadFromText("Liederv\tLiederverwaltung\tSongs\r\nPapierkorb\tPapierkorb\t\r\n", kEnglish);
    MainWindow window(f.state);
    QCOMPARE(MenuTitles(window).at(0), QString("Songs"));
    QVERIFY(ItemTexts(TopMenu(window, 0)).contains("Papierkorb()"));
    QCOMPARE(MenuTitles(window).at(3), QString("not found"));
  }

  void menuCommandsReachTheStartupSignals() {
    Fixture f;
    MainWindow window(f.state);
    QSignalSpy settings(&window, &MainWindow::settingsRequested);
    QSignalSpy about(&window, &MainWindow::aboutRequested);
    QSignalSpy quit(&window, &MainWindow::quitRequested);
    QSignalSpy commands(&window, &MainWindow::menuCommand);
    window.Menu()->Action(MenuCommand::SettingsGeneral)->trigger();
    window.Menu()->Action(MenuCommand::About)->trigger();
    window.Menu()->Action(MenuCommand::Trash)->trigger();
    QCOMPARE(settings.count(), 1);
    QCOMPARE(about.count(), 1);
    QCOMPARE(commands.count(), 3);
    QCOMPARE(commands.at(2).at(0).value<MenuCommand>(), MenuCommand::Trash);
    window.show();
    window.Menu()->Action(MenuCommand::Quit)->trigger();
    QCOMPARE(quit.count(), 1);
    QVERIFY(!window.isVisible());
  }

  void groupListShowsTheWholeDatabaseSortedWithTheCountInTheTab() {
    Fixture f;
    MainWindow window(f.state);
    QCOMPARE(ListTitles(window.GroupSongList()), (QStringList{"Abend", "Ärger", "über den Wolken", "Zion"}));
    QCOMPARE(window.Left()->Pages()->tabText(LeftColumn::kGroupsPage), QString("(4)"));
    QCOMPARE(window.GroupChooser()->count(), 3);
    QCOMPARE(window.GroupChooser()->itemText(0), QString("Gesamte Datenbank"));
    QCOMPARE(window.GroupChooser()->itemText(1), QString("Lobpreis (2)"));
    // Songs of a group with a pool id carry the shared icon.
    SongListWidget* list = window.GroupSongList();
    for (int row = 0; row < list->RowCount(); ++row) {
      const SongRow& song = list->Model().RowAt(row);
      QCOMPARE(song.shared, song.id == "4" || song.id == "1");
    }

    window.GroupChooser()->setCurrentIndex(1);
    QCOMPARE(ListTitles(list), (QStringList{"Abend", "Zion"}));
    QCOMPARE(window.Left()->Pages()->tabText(LeftColumn::kGroupsPage), QString("(2)"));
    QCOMPARE(window.GroupChooserPosition(), 1);
  }

  void groupAndSelectionChoosersStartAtTheStoredPositions() {
    Fixture f;
    f.state.settings.haupt = 2;
    f.state.settings.vor = 0;
    MainWindow window(f.state);
    QCOMPARE(window.GroupChooser()->currentIndex(), 2);
    QCOMPARE(ListTitles(window.GroupSongList()), QStringList{"über den Wolken"});
    QCOMPARE(window.SelectionChooser()->itemText(0), QString("Sonntag (3)"));
    QCOMPARE(ListTitles(window.SelectionSongList()), (QStringList{"Zion", "über den Wolken", "Ärger"}));
    window.SelectionChooser()->setCurrentIndex(1);
    QCOMPARE(window.SelectionSongList()->RowCount(), 0);

    // Songs in the trash (5), purged or never there (9) are not rows of a list.
    Fixture inactive;
    uitest::WriteBytes(QString::fromStdString(inactive.state.dataFiles.auswahl.string()), "Sonntag\t|5|1|9|2\t\r\n");
    MainWindow withInactive(inactive.state);
    QCOMPARE(ListTitles(withInactive.SelectionSongList()), (QStringList{"Zion", "über den Wolken"}));

    Fixture gone;
    gone.state.settings.haupt = 9;  // the group no longer exists
    MainWindow other(gone.state);
    QCOMPARE(other.GroupChooser()->currentIndex(), 0);
    QCOMPARE(other.GroupSongList()->RowCount(), 4);
  }

  void choosingASongMakesItsListCurrentAndResetsTheTransposition() {
    Fixture f;
    MainWindow window(f.state);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy preview(&window, &MainWindow::showPreviewRequested);
    window.Preview()->SetTransposeValue(5);
    ClickRow(window.GroupSongList(), 1);
    QCOMPARE(window.CurrentSongList(), SongListId::Group);
    QCOMPARE(window.Preview()->TransposeField()->text(), QString("0"));
    QTRY_COMPARE(preview.count(), 1);  // press, row change and click give one preview
    QCOMPARE(window.CurrentSongListWidget(), window.GroupSongList());

    ClickRow(window.SelectionSongList(), 0);
    QCOMPARE(window.CurrentSongList(), SongListId::Selection);
    QTRY_COMPARE(preview.count(), 2);
  }

  void theTranspositionStaysWhileTheSameSongIsChosenAgain() {
    Fixture f;
    MainWindow window(f.state);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    SongListWidget* group = window.GroupSongList();
    ClickRow(group, 1);
    const QString chosen = group->SelectedIds().value(0);
    window.Preview()->SetTransposeValue(3);
    ClickRow(group, 1);
    QCOMPARE(window.Preview()->TransposeValue(), 3);
    QTest::mouseDClick(group->viewport(), Qt::LeftButton, Qt::NoModifier,
                       group->visualRect(group->model()->index(1, 1)).center());
    QTest::qWait(20);  // the deferred preview request
    QCOMPARE(window.Preview()->TransposeValue(), 3);
    QCOMPARE(group->SelectedIds(), QStringList{chosen});

    // The transposition buttons never reset it; another song does.
    window.Preview()->Action(PreviewCommand::TransposeUp)->trigger();
    QTest::qWait(20);
    QCOMPARE(window.Preview()->TransposeValue(), 4);
    ClickRow(group, 0);
    QCOMPARE(window.Preview()->TransposeValue(), 0);
    window.Preview()->SetTransposeValue(2);
    QTest::keyClick(group, Qt::Key_Down);
    QTRY_COMPARE(window.Preview()->TransposeValue(), 0);
  }

  void removeFromGroupIsEnabledOnlyForTheGroupListShowingAGroup() {
    Fixture f;
    MainWindow window(f.state);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAction* remove = window.ContextMenu()->Action(SongMenuCommand::RemoveFromGroup);
    QVERIFY(!remove->isEnabled());
    ClickRow(window.GroupSongList(), 0);  // "Gesamte Datenbank"
    QVERIFY(!remove->isEnabled());
    window.GroupChooser()->setCurrentIndex(1);
    QVERIFY(remove->isEnabled());
    ClickRow(window.SelectionSongList(), 0);
    QVERIFY(!remove->isEnabled());
    ClickRow(window.GroupSongList(), 0);
    QVERIFY(remove->isEnabled());
    window.GroupChooser()->setCurrentIndex(0);
    QVERIFY(!remove->isEnabled());
  }

  void contextMenuListsTheGroupsAndIsRebuiltWithThem() {
    Fixture f;
    MainWindow window(f.state);
    QMenu* groups = window.ContextMenu()->GroupSubmenu();
    QCOMPARE(ItemTexts(groups), (QStringList{"Lobpreis\t7", "Advent\t"}));
    QCOMPARE(ItemTexts(window.ContextMenu()),
             (QStringList{"Neues Lied anlegen", "Lied bearbeiten", "Lied löschen", "—", "Zur Gruppe hinzufügen",
                          "Aus aktueller Gruppe entfernen", "—", "In Datei exportieren", "Drucken"}));
    QSignalSpy chosen(window.ContextMenu(), &SongContextMenu::addToGroupTriggered);
    groups->actions().at(1)->trigger();
    QCOMPARE(chosen.at(0).at(0).toInt(), 1);

    uitest::WriteBytes(QString::fromStdString(f.state.dataFiles.gruppierung.string()),
                       "Lob & Dank\t|1\r\nAdvent\t|2\r\nOstern\t3|3\r\n");
    window.RefreshMainSongList();
    QCOMPARE(ItemTexts(groups), (QStringList{"Lob && Dank\t", "Advent\t", "Ostern\t3"}));
  }

  void songRowsAreRefreshedInEveryList() {
    Fixture f;
    MainWindow window(f.state);
    window.RefreshSongRows("1", "1\t\tZion neu\t");
    QVERIFY(ListTitles(window.GroupSongList()).contains("Zion neu"));
    QCOMPARE(ListTitles(window.SelectionSongList()).at(0), QString("Zion neu"));
    window.RefreshSongRows("1", "kill");
    QCOMPARE(window.GroupSongList()->RowCount(), 3);
    QCOMPARE(window.SelectionSongList()->RowCount(), 2);
  }

  void presentationToolbarHasItsButtonsWithFunctionKeySuffixes() {
    Fixture f(1);
    MainWindow window(f.state);
    PresentationToolbar* bar = window.PresentationBar();
    QCOMPARE(bar->Action(PresentationCommand::ToggleFooter)->toolTip(), QString("Fußzeile einblenden (F7)"));
    QCOMPARE(bar->Action(PresentationCommand::ScrollDown)->toolTip(), QString("Liedtext runterscrollen (F12)"));
    QCOMPARE(bar->ChordsToggle()->toolTip(), QString("Akkorde ein/aus"));
    QVERIFY(bar->ChordsToggle()->isCheckable());
    QVERIFY(bar->UseSlidesBox()->isChecked());
    QCOMPARE(bar->UseSlidesBox()->text(), QString("Folien verwenden"));
    for (int slide = 1; slide <= 9; ++slide) {
      QVERIFY(!bar->SlideButton(slide)->isEnabled());
      QCOMPARE(bar->SlideButton(slide)->toolTip(), QString("Folie %1").arg(slide));
    }
    bar->SetSlideButtonsEnabled(3);
    QVERIFY(bar->SlideButton(3)->isEnabled());
    QVERIFY(!bar->SlideButton(4)->isEnabled());
    QVERIFY(bar->findChild<QLabel*>("presentationTitle"));
    QCOMPARE(bar->findChild<QLabel*>("presentationTitle")->text(), QString("Präsentationssteuerung"));
  }

  void shortcutsAreRegistered() {
    Fixture f(1);
    MainWindow window(f.state);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const Qt::Key functionKeys[] = {Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12};
    for (Qt::Key key : functionKeys) QVERIFY2(ActionWithShortcut(window, QKeySequence(key)), "function key");
    QVERIFY(ActionWithShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_N)));
    QVERIFY(ActionWithShortcut(window, QKeySequence(Qt::Key_F1)));
    QVERIFY(window.SlideKeysRegistered());

    QSignalSpy presentation(&window, &MainWindow::presentationCommand);
    QSignalSpy slides(&window, &MainWindow::slideChosen);
    QSignalSpy newSong(&window, &MainWindow::newSongRequested);
    QSignalSpy help(&window, &MainWindow::helpRequested);
    window.GroupSongList()->setFocus();
    QTest::keyClick(&window, Qt::Key_F7);
    QTest::keyClick(&window, Qt::Key_F12);
    QTest::keyClick(&window, Qt::Key_3);
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(presentation.count(), 2);
    QCOMPARE(presentation.at(0).at(0).value<PresentationCommand>(), PresentationCommand::ToggleFooter);
    QCOMPARE(presentation.at(1).at(0).value<PresentationCommand>(), PresentationCommand::ScrollDown);
    QCOMPARE(slides.count(), 1);
    QCOMPARE(slides.at(0).at(0).toInt(), 3);
    QCOMPARE(newSong.count(), 1);
    QCOMPARE(help.count(), 1);

    // A text field still takes the digits.
    QLineEdit* search = window.Search()->SearchField();
    window.Left()->Pages()->setCurrentIndex(LeftColumn::kSearchPage);
    search->setFocus();
    QTest::keyClick(search, Qt::Key_5);
    QCOMPARE(search->text(), QString("5"));
    QCOMPARE(slides.count(), 1);
  }

  void digitKeysAreNotTakenWithoutSlides() {
    Fixture f(0);
    MainWindow window(f.state);
    QVERIFY(!window.SlideKeysRegistered());
    QVERIFY(!ActionWithShortcut(window, QKeySequence(Qt::Key_1)));
    QVERIFY(!window.PresentationBar()->UseSlidesBox()->isChecked());
  }

  void previewToolbarTransposesAndSetsTheSongState() {
    Fixture f;
    MainWindow window(f.state);
    PreviewPane* preview = window.Preview();
    QCOMPARE(preview->TransposeField()->text(), QString("0"));
    QSignalSpy requested(preview, &PreviewPane::previewRequested);
    preview->Action(PreviewCommand::TransposeUp)->trigger();
    preview->Action(PreviewCommand::TransposeUp)->trigger();
    preview->Action(PreviewCommand::TransposeDown)->trigger();
    QCOMPARE(preview->TransposeValue(), 1);
    QCOMPARE(requested.count(), 3);

    preview->SetShownRecord(f.state.songs.FindSongRecord("2"));  // video link 3, no tempo
    QVERIFY(preview->Action(PreviewCommand::VideoInBackground)->isEnabled());
    QVERIFY(preview->Action(PreviewCommand::VideoOnBeamer)->isEnabled());
    QCOMPARE(preview->TempoLabel()->text(), QString("kein Tempo"));
    preview->SetShownRecord(f.state.songs.FindSongRecord("1"));  // video link 0, tempo 120
    QVERIFY(!preview->Action(PreviewCommand::VideoInBackground)->isEnabled());
    QVERIFY(!preview->Action(PreviewCommand::VideoOnBeamer)->isEnabled());
    QVERIFY(preview->Action(PreviewCommand::VideoStop)->isEnabled());
    QCOMPARE(preview->TempoLabel()->text(), QString("Tempo: 120 bpm"));
  }

  void tempoLabelBlinksInTheSongsTempoOnlyWithTheToggleDown() {
    QCOMPARE(TempoBlinkPeriodMs(120), 500);
    QCOMPARE(TempoBlinkPeriodMs(61), 984);
    QCOMPARE(TempoBlinkPeriodMs(0), 0);
    QCOMPARE(TempoBlinkPeriodMs(-5), 0);

    Fixture f;
    MainWindow window(f.state);
    PreviewPane* preview = window.Preview();
    const QColor grey(242, 242, 242), red(255, 0, 0);
    auto colour = [preview] { return preview->TempoLabel()->palette().color(QPalette::Window); };
    // Only a running timer can change the colour later, so "no blinking" is checked on the timers
    // instead of by waiting a period and hoping the machine was fast enough to show a change.
    auto blinking = [preview] {
      for (QTimer* timer : preview->findChildren<QTimer*>())
        if (timer->isActive()) return true;
      return false;
    };
    // 120 bpm, but the toggle is up.
    preview->SetShownRecord(f.state.songs.FindSongRecord("1"));
    QVERIFY(!blinking());
    QCOMPARE(colour(), grey);
    preview->TempoToggle()->setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(colour(), red, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(colour(), grey, 5000);

    preview->SetShownRecord(f.state.songs.FindSongRecord("2"));  // no tempo: the colour stays
    QVERIFY(!blinking());
    QCOMPARE(colour(), grey);
  }

  void statusBarAndColumnsAreBuiltAsStored() {
    Fixture f;
    MainWindow window(f.state);
    QCOMPARE(window.windowTitle(), QString("Psalmora 3.12"));
    QCOMPARE(window.Status()->TitleLabel()->text(), QString("Psalmora 3.12"));
    QCOMPARE(window.Status()->Progress()->minimum(), 0);
    QCOMPARE(window.Status()->Progress()->maximum(), 100);
    QCOMPARE(window.Left()->Pages()->count(), 5);
    QCOMPARE(window.Search()->SearchScope()->currentText(), QString("Titel"));
    QCOMPARE(window.Search()->SearchScope()->itemText(window.Search()->SearchScope()->count() - 1),
             QString("Liedtext"));
    QCOMPARE(window.LeftColumnWidth(), 300);  // not shown yet: the stored widths
    QCOMPARE(window.MiddleColumnWidth(), 220);

    window.resize(1400, 900);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.LeftColumnWidth(), 300);
    QCOMPARE(window.MiddleColumnWidth(), 220);
  }

  // An untouched run writes back the widths it started with, also the narrow defaults of a first start.
  void defaultColumnWidthsSurviveARun() {
    Fixture f;
    f.state.settings.containerlinks = Settings().containerlinks;
    f.state.settings.containermitte = Settings().containermitte;
    MainWindow window(f.state);
    window.resize(1280, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.LeftColumnWidth(), 265);
    QCOMPARE(window.MiddleColumnWidth(), 250);
  }

  void runValuesAreReadBackForTheShutdown() {
    Fixture f(1);
    f.state.settings.haupt = 1;
    MainWindow window(f.state);
    window.SelectionChooser()->setCurrentIndex(1);
    window.PresentationBar()->UseSlidesBox()->setChecked(false);
    window.Left()->Files()->MusicField()->setText("mp3, ogg");

    Settings settings;
    FileTypes types;
    window.StoreRunValues(settings, types);
    QCOMPARE(settings.haupt, 1);
    QCOMPARE(settings.vor, 1);
    QCOMPARE(settings.bibel, 0);
    QCOMPARE(settings.folie, 0);
    QCOMPARE(settings.containerlinks, 300);
    QCOMPARE(settings.containermitte, 220);
    QCOMPARE(types.film, std::string("avi, mkv"));
    QCOMPARE(types.music, std::string("mp3, ogg"));
    QCOMPARE(types.ppt, FileTypes().ppt);
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::MainWindowTest)
#include "main_window_test.moc"
