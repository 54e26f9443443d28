// "Lied löschen" from the main window (question, progress bar and text, every list cleaned up) and the
// trash window ("Papierkorb"): restoring several rows at once and emptying the trash for good.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/controller_wiring.h"
#include "app/left_column.h"
#include "app/main_menu_bar.h"
#include "app/main_status_bar.h"
#include "app/main_window.h"
#include "app/song_context_menu.h"
#include "song_folder_fixture.h"
#include "songdb/ui/search_controller.h"
#include "songdb/ui/search_page.h"
#include "songdb/ui/trash_controller.h"
#include "songdb/ui/trash_window.h"

namespace psalmora {
namespace {

using uitest::FileLines;
using uitest::RowIds;
using uitest::SelectIds;

struct Window {
  uitest::SongFolder folder;
  uitest::RecordingMessages messages;
  MainWindow window{folder.state};

  Window() {
    new TrashController(folder.state, window, messages);
    new SearchController(folder.state, window);
    ConnectControllers(window);
  }
  QList<QByteArray> Songs() const { return FileLines(folder.File("lieder.dat")); }
  bool HasLineStarting(const QByteArray& start) const {
    for (const QByteArray& line : Songs())
      if (line.startsWith(start)) return true;
    return false;
  }
};

QStringList Column(QTreeWidget* list, int column) {
  QStringList texts;
  for (int row = 0; row < list->topLevelItemCount(); ++row) texts << list->topLevelItem(row)->text(column);
  return texts;
}

}  // namespace

class TrashTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void deletingTwoSongsShowsTheProgressAndClearsEveryList() {
    Window w;
    w.window.show();
    w.window.Search()->SearchField()->setText(QStringLiteral("e"));
    SearchController::Of(w.window)->RunSearch();
    QVERIFY(RowIds(w.window.SearchHitList()).contains("2"));
    w.window.SetCurrentSongList(SongListId::Selection);
    SelectIds(w.window.SelectionSongList(), {"1", "2"});

    QSignalSpy progress(TrashController::Of(w.window), &TrashController::deleteProgress);
    w.messages.answer = true;
    w.window.ContextMenu()->Action(SongMenuCommand::DeleteSong)->trigger();

    QCOMPARE(progress.size(), 3);
    QCOMPARE(progress.at(0).at(0).toInt(), 1);
    QCOMPARE(progress.at(0).at(1).toString(), QString("0/2"));
    QCOMPARE(progress.at(1).at(0).toInt(), 50);
    QCOMPARE(progress.at(1).at(1).toString(), QString("1/2"));
    QCOMPARE(progress.at(2).at(0).toInt(), 100);
    QCOMPARE(progress.at(2).at(1).toString(), QString("2/2"));
    QCOMPARE(w.window.Status()->Progress()->value(), 0);
    QVERIFY(w.window.Status()->SmallText()->text().isEmpty());

    QCOMPARE(w.messages.shown.size(), std::size_t{2});
    QCOMPARE(w.messages.shown[0].title, QString("Lied löschen"));
    QCOMPARE(w.messages.shown[0].text, QString("Lied wirklich löschen?"));
    QCOMPARE(w.messages.shown[1].title, QString("Lied löschen"));
    QCOMPARE(w.messages.shown[1].text, QString("Lied in den Papierkorb verschoben"));

    // Gone from the three lists, the selection, both groups; the shared song is remembered.
    QCOMPARE(RowIds(w.window.SelectionSongList()), QStringList{"3"});
    QVERIFY(!RowIds(w.window.GroupSongList()).contains("1"));
    QVERIFY(!RowIds(w.window.GroupSongList()).contains("2"));
    QVERIFY(!RowIds(w.window.SearchHitList()).contains("2"));
    QCOMPARE(w.window.Left()->Pages()->tabText(LeftColumn::kGroupsPage), QString("(4)"));
    QCOMPARE(w.window.SelectionChooser()->itemText(0), QString("Sonntag (1)"));
    QCOMPARE(w.window.GroupChooser()->itemText(1), QString("Lobpreis (1)"));
    QCOMPARE(w.window.GroupChooser()->itemText(2), QString("Advent (0)"));
    QVERIFY(FileLines(w.folder.File("auswahl.dat")).value(0).startsWith("Sonntag\t|3\t"));
    QVERIFY(FileLines(w.folder.File("gruppierung.dat")).value(0).startsWith("Lobpreis\t7|4\t"));
    QVERIFY(w.HasLineStarting("#gel\xF6scht#\t1\t"));
    QVERIFY(w.HasLineStarting("#gel\xF6scht#\t2\t"));
    QVERIFY(w.folder.SettingsFile().contains("loeschstringclient=G-22|"));
    // The text files stay until the trash is emptied.
    QVERIFY(QFile::exists(w.folder.data + "/2.dat"));
  }

  void deletingAsksFirstAndNeedsAChosenRow() {
    Window w;
    w.window.SetCurrentSongList(SongListId::Group);
    QCOMPARE(TrashController::Of(w.window)->DeleteChosenSongs(), 0);
    QVERIFY(w.messages.shown.empty());
    SelectIds(w.window.GroupSongList(), {"4"});
    w.messages.answer = false;
    QCOMPARE(TrashController::Of(w.window)->DeleteChosenSongs(), 0);
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QVERIFY(w.HasLineStarting("4\t"));
    QVERIFY(RowIds(w.window.GroupSongList()).contains("4"));
  }

  void trashWindowRestoresSeveralChosenRows() {
    Window w;
    w.window.show();
    bool ran = false;
    uitest::WhenModal<TrashWindow>([&](TrashWindow* trash) {
      ran = true;
      QCOMPARE(trash->windowTitle(), QString("Papierkorb"));
      QVERIFY(trash->windowModality() == Qt::WindowModal);
      QCOMPARE(trash->CountLabel()->text(), QString("3"));
      QCOMPARE(Column(trash->List(), 0), (QStringList{"Gelöscht", "Sieben", "Acht"}));
      QCOMPARE(Column(trash->List(), 1), (QStringList{"5", "7", "8"}));

      trash->RestoreButton()->click();
      QCOMPARE(w.messages.shown.back().title, QString("Daten wiederherstellen"));
      QCOMPARE(w.messages.shown.back().text, QString("Keine Auswahl getroffen!"));
      QVERIFY(w.HasLineStarting("#gel\xF6scht#\t5\t"));

      trash->List()->selectAll();
      trash->RestoreButton()->click();
      QCOMPARE(w.messages.shown.back().title, QString("Daten wiederherstellen"));
      QCOMPARE(w.messages.shown.back().text, QString("Erfolgreich wiederhergestellt"));
      QCOMPARE(trash->List()->topLevelItemCount(), 0);
      QCOMPARE(trash->CountLabel()->text(), QString("0"));
      trash->CancelButton()->click();
    });
    w.window.Menu()->Action(MenuCommand::Trash)->trigger();
    QVERIFY(ran);
    QVERIFY(w.window.isEnabled());

    // Every restored line is the old record; the service's id is dropped.
    QVERIFY(!w.HasLineStarting("#gel"));
    QVERIFY(w.Songs().contains(uitest::SongLine("7", "Sieben").chopped(2)));
    QVERIFY(w.Songs().contains(uitest::SongLine("5", "Gel\xF6scht").chopped(2)));
    // The restored songs head the whole-database list until its next refill.
    QCOMPARE(RowIds(w.window.GroupSongList()).mid(0, 3), (QStringList{"8", "7", "5"}));
    QCOMPARE(w.window.Left()->Pages()->tabText(LeftColumn::kGroupsPage), QString("(9)"));
  }

  void restoredSongsStayOutOfAShownGroup() {
    Window w;
    w.window.GroupChooser()->setCurrentIndex(1);
    uitest::WhenModal<TrashWindow>([&](TrashWindow* trash) {
      trash->List()->topLevelItem(0)->setSelected(true);
      trash->RestoreButton()->click();
      trash->reject();
    });
    TrashController::Of(w.window)->OpenTrash();
    QVERIFY(w.HasLineStarting("5\t"));
    QCOMPARE(RowIds(w.window.GroupSongList()), (QStringList{"4", "1"}));
  }

  void emptyingTheTrashRemovesRecordsAndTextFilesAfterTheQuestion() {
    Window w;
    bool ran = false;
    uitest::WhenModal<TrashWindow>([&](TrashWindow* trash) {
      ran = true;
      w.messages.answer = false;
      trash->EmptyButton()->click();
      QCOMPARE(w.messages.shown.back().title, QString("Papierkorb leeren"));
      QCOMPARE(w.messages.shown.back().text, QString("Alle Daten unwiderruflich löschen?"));
      QCOMPARE(trash->List()->topLevelItemCount(), 3);
      QVERIFY(QFile::exists(w.folder.data + "/5.dat"));

      w.messages.answer = true;
      trash->EmptyButton()->click();
      QCOMPARE(w.messages.shown.back().title, QString("Papierkorb leeren"));
      QCOMPARE(w.messages.shown.back().text, QString("Papierkorb erfolgreich geleert!"));
      QCOMPARE(trash->List()->topLevelItemCount(), 0);
      QCOMPARE(trash->CountLabel()->text(), QString("0"));
      trash->reject();
    });
    TrashController::Of(w.window)->OpenTrash();
    QVERIFY(ran);
    QVERIFY(!w.HasLineStarting("#gel"));
    QCOMPARE(w.Songs().size(), 6);
    for (const char* id : {"5", "7", "8"}) QVERIFY(!QFile::exists(w.folder.data + "/" + id + ".dat"));
    QVERIFY(QFile::exists(w.folder.data + "/1.dat"));
  }

  // A song file that cannot be written is reported, never passed off as a success.
  void aSongFileThatCannotBeWrittenIsReportedAsAnError() {
    Window w;
    // A folder in the file's place makes every save of "lieder.dat" fail, also as root.
    QVERIFY(QFile::remove(w.folder.data + "/lieder.dat"));
    QVERIFY(QDir().mkpath(w.folder.data + "/lieder.dat/keep"));

    uitest::WhenModal<TrashWindow>([&](TrashWindow* trash) {
      trash->List()->topLevelItem(0)->setSelected(true);
      trash->RestoreButton()->click();
      QCOMPARE(w.messages.shown.back().title, QString("Fehler"));
      QVERIFY(w.messages.shown.back().text.startsWith("Die Liederdatei konnte nicht gespeichert werden!"));
      w.messages.answer = true;
      trash->EmptyButton()->click();
      QVERIFY(w.messages.shown.back().text.startsWith("Die Liederdatei konnte nicht gespeichert werden!"));
      trash->reject();
    });
    TrashController::Of(w.window)->OpenTrash();

    w.window.SetCurrentSongList(SongListId::Group);
    SelectIds(w.window.GroupSongList(), {"4"});
    TrashController::Of(w.window)->DeleteChosenSongs();
    QVERIFY(w.messages.shown.back().text.startsWith("Die Liederdatei konnte nicht gespeichert werden!"));
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::TrashTest)
#include "trash_test.moc"
