// Song lists: rows from record lines, the sort orders (German title collation, ids as numbers, dates as
// dates), the type-ahead, row refreshes across lists and the shared-group icon set.
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "collections/collection_file.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_rows.h"

namespace psalmora {
namespace {

// A record line: id, stamp, title (Windows-1252), then empty fields.
std::string Record(const std::string& id, const std::string& stamp, const std::string& title) {
  return id + "\t" + stamp + "\t" + title + "\t\t\t\t";
}

QStringList Titles(const SongListWidget& list) {
  QStringList titles;
  for (int row = 0; row < list.RowCount(); ++row) titles << list.Model().RowAt(row).title;
  return titles;
}

QStringList SelectedTitles(const SongListWidget& list) {
  QStringList titles;
  for (const QString& id : list.SelectedIds()) {
    for (int row = 0; row < list.RowCount(); ++row) {
      if (list.Model().RowAt(row).id == id) titles << list.Model().RowAt(row).title;
    }
  }
  return titles;
}

void ClickHeader(SongListWidget& list, int column) {
  QHeaderView* header = list.header();
  const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

// The four titles of the umlaut cases, in store order (not sorted).
void FillUmlautSongs(SongListWidget& list) {
  list.AddSongRow(Record("10", "05.03.2018-14:07", "Zion"), false);
  list.AddSongRow(Record("2", "01.12.2017-09:05",
                         "\xFC"
                         "ber den Wolken"),
                  false);                                                // über
  list.AddSongRow(Record("33", "17.01.2019-10:00", "\xC4rger"), false);  // Ärger
  list.AddSongRow(Record("4", "30.06.2016-23:59", "Abend"), false);
}

}  // namespace

class SongListTest : public QObject {
  Q_OBJECT

 private slots:
  void rowsShowIdTitleAndTheDatePartAndSkipTheTrash() {
    SongListWidget list(3);
    list.AddSongRow(Record("7", "05.03.2018-14:07", "Gro\xDF ist unser Gott"), true);
    list.AddSongRow("#gel\xF6scht#\t8\t05.03.2018-14:07\tWeg\t", false);
    list.AddSongRow("9\t\tNur ein Titel", false);  // short line: missing fields read as empty
    QCOMPARE(list.RowCount(), 2);
    const SongRow& first = list.Model().RowAt(0);
    QCOMPARE(first.id, QString("7"));
    QCOMPARE(first.title, QString("Groß ist unser Gott"));
    QCOMPARE(first.created, QString("05.03.2018"));
    QVERIFY(first.shared);
    QCOMPARE(list.Model().RowAt(1).created, QString());
    QVERIFY(!list.Model().data(list.Model().index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
  }

  void titleSortUsesGermanCollationWithUmlautsAndNumbers() {
    SongListWidget list(3);
    FillUmlautSongs(list);
    list.AddSongRow(Record("5", "", "Psalm 10"), false);
    list.AddSongRow(Record("6", "", "Psalm 9"), false);
    list.AddSongRow(Record("8", "", "abend"), false);
    list.SortByTitle();
    QCOMPARE(Titles(list), (QStringList{"Abend", "abend", "Ärger", "Psalm 9", "Psalm 10", "über den Wolken", "Zion"}));
  }

  void headerClicksSortIdsAsNumbersDatesAsDatesAndReverse() {
    SongListWidget list(3);
    list.SetHeaderSorting(true);
    list.resize(400, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    FillUmlautSongs(list);

    ClickHeader(list, SongListModel::kIdColumn);
    QStringList ids;
    for (int row = 0; row < list.RowCount(); ++row) ids << list.Model().RowAt(row).id;
    QCOMPARE(ids, (QStringList{"2", "4", "10", "33"}));  // not "10" < "2" as text

    ClickHeader(list, SongListModel::kCreatedColumn);
    QCOMPARE(Titles(list), (QStringList{"Abend", "über den Wolken", "Zion", "Ärger"}));  // 2016, 2017, 2018, 2019

    ClickHeader(list, SongListModel::kTitleColumn);
    QCOMPARE(Titles(list), (QStringList{"Abend", "Ärger", "über den Wolken", "Zion"}));
    ClickHeader(list, SongListModel::kTitleColumn);
    QCOMPARE(Titles(list), (QStringList{"Zion", "über den Wolken", "Ärger", "Abend"}));
  }

  void headerClicksLeaveOrderedListsAlone() {
    SongListWidget list(2);  // a selection keeps its order
    list.resize(400, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    FillUmlautSongs(list);
    ClickHeader(list, SongListModel::kTitleColumn);
    QCOMPARE(Titles(list), (QStringList{"Zion", "über den Wolken", "Ärger", "Abend"}));
  }

  void selectionFollowsItsSongWhenSorted() {
    SongListWidget list(3);
    FillUmlautSongs(list);
    list.SelectRow(0);  // Zion
    list.SortByTitle();
    QCOMPARE(SelectedTitles(list), QStringList{"Zion"});
    QCOMPARE(list.currentIndex().row(), 3);
  }

  void typeAheadSelectsTheFirstTitleWithTheLetterOrKeepsTheSelection() {
    SongListWidget list(3);
    list.SetTypeAheadEnabled(true);
    list.resize(300, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    FillUmlautSongs(list);
    list.SortByTitle();

    QTest::keyClick(&list, Qt::Key_Z);
    QCOMPARE(SelectedTitles(list), QStringList{"Zion"});
    QTest::keyClick(&list, Qt::Key_Q);  // no title starts with q
    QCOMPARE(SelectedTitles(list), QStringList{"Zion"});
    QTest::keyClick(&list, Qt::Key_U);  // "über" starts with ü, not u
    QCOMPARE(SelectedTitles(list), QStringList{"Zion"});
    list.selectAll();
    QTest::keyClick(&list, Qt::Key_A);  // the first A title; every other row deselected
    QCOMPARE(SelectedTitles(list), QStringList{"Abend"});
    list.TypeAheadSelect(QStringLiteral("3"));  // a number picks that row, counted from 1
    QCOMPARE(SelectedTitles(list), QStringList{"über den Wolken"});
  }

  void typeAheadScrollsTheMatchToTheTop() {
    SongListWidget list(3);
    list.SetTypeAheadEnabled(true);
    list.resize(300, 150);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    for (int i = 0; i < 60; ++i) list.AddSongRow(Record(std::to_string(i + 1), "", "Lied " + std::to_string(i)), false);
    list.AddSongRow(Record("100", "", "Morgenstern"), false);
    for (int i = 0; i < 60; ++i)
      list.AddSongRow(Record(std::to_string(i + 200), "", "Weg " + std::to_string(i)), false);
    list.SortByTitle();
    QTest::keyClick(&list, Qt::Key_M);
    QCOMPARE(SelectedTitles(list), QStringList{"Morgenstern"});
    QCOMPARE(list.indexAt(QPoint(2, 2)).row(), 60);
  }

  void choosingARowNeverShiftsTheColumnsSideways() {
    SongListWidget list(3);
    list.resize(140, 200);  // narrower than the three columns
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    for (int i = 0; i < 20; ++i)
      list.AddSongRow(Record(std::to_string(i + 1), "", "Ein recht langer Liedtitel"), false);
    list.setCurrentIndex(list.Model().index(12, 2));  // a cell of the date column, out of sight
    QCOMPARE(list.horizontalScrollBar()->value(), 0);
    QVERIFY(list.verticalScrollBar()->value() > 0);  // rows still come into view
  }

  void keysOfTheListsAreReported() {
    SongListWidget list(2);
    FillUmlautSongs(list);
    QSignalSpy space(&list, &SongListWidget::spacePressed);
    QSignalSpy enter(&list, &SongListWidget::enterPressed);
    QTest::keyClick(&list, Qt::Key_Space);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(space.count(), 1);
    QCOMPARE(enter.count(), 1);
  }

  void refreshSongRowsRenamesAndRemovesInEveryList() {
    SongListWidget group(3), selection(2), hits(2);
    for (SongListWidget* list : {&group, &selection, &hits}) FillUmlautSongs(*list);
    selection.AddSongRow(Record("2", "",
                                "\xFC"
                                "ber den Wolken"),
                         false);  // twice in a selection
    RefreshSongRows({&group, &selection, &hits}, "2",
                    Record("2", "",
                           "\xDC"
                           "ber allem"));
    QCOMPARE(group.Model().RowAt(1).title, QString("Über allem"));
    QCOMPARE(selection.Model().RowAt(4).title, QString("Über allem"));
    QCOMPARE(hits.Model().RowAt(0).title, QString("Zion"));  // other rows unchanged
    RefreshSongRows({&group, &selection, &hits}, "2", "kill");
    QCOMPARE(group.RowCount(), 3);
    QCOMPARE(selection.RowCount(), 3);
    QCOMPARE(hits.RowCount(), 3);
    RefreshSongRows({&group}, "1", "kill");  // "1" must not match "10"
    QCOMPARE(group.RowCount(), 3);
  }

  void sharedGroupIdsAgreeWithTheGroupMembershipTest() {
    const std::vector<std::string> groups = {
        "Lobpreis\t7|12||15\t\t\t\t\t\t\t",  // empty place in the middle
        "Ohne Pool\t|3|4\t\t",               // no pool id
        "Null\t0|5\t",                       // pool id 0
        "Weihnachten\t9|44\t",               // last id
        "Kaputt",                            // no second field
    };
    const std::unordered_set<std::string> shared = SharedGroupSongIds(groups);
    for (const std::string id : {"12", "15", "3", "4", "5", "44", "7", "9", "1", "", "124"}) {
      QCOMPARE(shared.count(id) > 0, IsGroupedSong(groups, id));
    }
    QVERIFY(shared.count("") > 0);  // the empty place of "7|12||15" counts, as in the file search
  }

  void wholeDatabaseFillCountsActiveSongsAndMarksSharedOnes() {
    SongListWidget list(3);
    const std::vector<std::string> songs = {Record("3", "01.01.2020-10:00", "Drei"),
                                            "#gel\xF6scht#\t2\t01.01.2020-10:00\tZwei\t",
                                            Record("1", "01.01.2019-10:00", "Eins")};
    const std::vector<std::string> groups = {"Geteilt\t4|1\t"};
    QCOMPARE(ShowWholeDatabase(list, songs, groups), 2);
    QCOMPARE(list.Model().RowAt(0).id, QString("3"));
    QVERIFY(!list.Model().RowAt(0).shared);
    QVERIFY(list.Model().RowAt(1).shared);
    QCOMPARE(ShowWholeDatabase(list, {}, {}), 0);  // a refill replaces the rows
    QCOMPARE(list.RowCount(), 0);
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::SongListTest)
#include "song_list_test.moc"
