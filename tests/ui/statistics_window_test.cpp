// "Statistik Präsentation" from the menu item "Statistik": the years in file order after "Alle", the
// counts per song sorted as text, trashed and purged songs left out, header clicks sorting by number or
// text, an empty or missing file, the window blocking the main window, and the licence report.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/controller_wiring.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "core/ui/common_dialogs.h"
#include "song_folder_fixture.h"
#include "songdb/ui/statistics_controller.h"
#include "songdb/ui/statistics_window.h"

namespace psalmora {
namespace {

const QByteArray k2017 = "1496275200";  // 2017-06-01 00:00
const QByteArray k2018 = "1519862400";  // 2018-03-01 00:00

class ReportDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString SaveFile(QWidget*, const QString&, const QString& start, const QString&) override {
    starts << start;
    return answer;
  }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return {}; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return {}; }
  QString answer;
  QStringList starts;
};

struct Folder {
  uitest::SongFolder folder;
  uitest::RecordingMessages messages;
  ReportDialogs dialogs;

  explicit Folder(const QByteArray& statistics, bool write = true) {
    uitest::WriteBytes(folder.data + "/lieder.dat",
                       uitest::SongLine("5", "F\xFCnf") + uitest::SongLine("12", "Zw\xF6lf") +
                           uitest::DeletedLine("7", "Sieben") + uitest::SongLine("40", "Vierzig"));
    folder.state.songs.LoadSongList();
    if (write) uitest::WriteBytes(folder.data + "/statistik.dat", statistics);
  }
};

QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

// "id:count" of each row, top to bottom.
QStringList Rows(QTreeWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    rows << list->topLevelItem(i)->text(0) + ":" + list->topLevelItem(i)->text(2);
  return rows;
}

void ClickHeader(QTreeWidget* list, int column) {
  QHeaderView* header = list->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
}

const QByteArray kThreeLines = "5\t" + k2017 + "\r\n12\t" + k2018 + "\r\n5\t" + k2018 + "\r\n";

}  // namespace

class StatisticsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void threeLinesOverTwoYears() {
    Folder f(kThreeLines);
    StatisticsWindow window(f.folder.state, f.messages, f.dialogs);
    QCOMPARE(window.windowTitle(), QStringLiteral("Statistik Präsentation"));
    QCOMPARE(Items(window.YearChooser()), (QStringList{"Alle", "2017", "2018"}));
    QCOMPARE(window.YearChooser()->currentText(), QStringLiteral("Alle"));
    QCOMPARE(Rows(window.List()), (QStringList{"12:1", "5:2"}));
    QCOMPARE(window.List()->topLevelItem(1)->text(1), QStringLiteral("Fünf"));
    window.YearChooser()->setCurrentText(QStringLiteral("2018"));
    QCOMPARE(Rows(window.List()), (QStringList{"12:1", "5:1"}));
    window.YearChooser()->setCurrentText(QStringLiteral("2017"));
    QCOMPARE(Rows(window.List()), (QStringList{"5:1"}));
  }

  void trashedAndPurgedSongsAreLeftOut() {
    Folder f(kThreeLines + "7\t" + k2018 + "\r\n99\t" + k2018 + "\r\n\r\n");
    StatisticsWindow window(f.folder.state, f.messages, f.dialogs);
    QCOMPARE(Rows(window.List()), (QStringList{"12:1", "5:2"}));
    QCOMPARE(f.folder.File("statistik.dat").count('\n'), 6);
  }

  void anEmptyMissingOrUnreadableFileShowsAnEmptyList() {
    for (const bool write : {true, false}) {
      Folder f("", write);
      StatisticsWindow window(f.folder.state, f.messages, f.dialogs);
      QCOMPARE(Items(window.YearChooser()), QStringList{"Alle"});
      QCOMPARE(window.List()->topLevelItemCount(), 0);
      QVERIFY(f.messages.shown.empty());
    }
    // A file that is there but cannot be read is said to be so, and left alone.
    Folder f("", false);
    QVERIFY(QDir().mkdir(f.folder.data + "/statistik.dat"));
    StatisticsWindow window(f.folder.state, f.messages, f.dialogs);
    QCOMPARE(window.List()->topLevelItemCount(), 0);
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QVERIFY(f.messages.shown.front().text.contains("statistik.dat"));
  }

  void headerClicksSortByNumberOrText() {
    Folder f(kThreeLines + "40\t" + k2018 + "\r\n40\t" + k2018 + "\r\n40\t" + k2018 + "\r\n");
    StatisticsWindow window(f.folder.state, f.messages, f.dialogs);
    window.show();
    QCOMPARE(Rows(window.List()), (QStringList{"12:1", "40:3", "5:2"}));
    ClickHeader(window.List(), 0);
    QCOMPARE(Rows(window.List()), (QStringList{"5:2", "12:1", "40:3"}));
    ClickHeader(window.List(), 2);
    QCOMPARE(Rows(window.List()), (QStringList{"12:1", "5:2", "40:3"}));
    ClickHeader(window.List(), 2);
    QCOMPARE(Rows(window.List()), (QStringList{"40:3", "5:2", "12:1"}));
    ClickHeader(window.List(), 1);  // Fünf, Vierzig, Zwölf
    QCOMPARE(Rows(window.List()), (QStringList{"5:2", "40:3", "12:1"}));
  }

  void theMenuItemOpensTheWindowOverTheBlockedMainWindow() {
    Folder f(kThreeLines);
    MainWindow main(f.folder.state);
    new StatisticsController(f.folder.state, main, f.messages, &f.dialogs);
    ConnectControllers(main);
    main.show();
    bool seen = false;
    uitest::WhenModal<StatisticsWindow>([&](StatisticsWindow* window) {
      seen = true;
      QCOMPARE(window->windowModality(), Qt::WindowModal);
      QCOMPARE(window->parentWidget(), &main);
      QCOMPARE(Rows(window->List()), (QStringList{"12:1", "5:2"}));
      window->CancelButton()->click();
    });
    main.Menu()->Action(MenuCommand::Statistics)->trigger();
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
  }

  void theReportHoldsTheYearShownAsUtf8CsvWithBom() {
    Folder f(kThreeLines);
    StatisticsWindow window(f.folder.state, f.messages, f.dialogs);
    window.YearChooser()->setCurrentText(QStringLiteral("2018"));
    f.dialogs.answer = f.folder.temp.path() + "/bericht";
    window.ReportButton()->click();
    QVERIFY(f.dialogs.starts.front().endsWith(QStringLiteral("/Lizenzbericht 2018.csv")));
    QCOMPARE(uitest::ReadBytes(f.dialogs.answer + ".csv"),
             QByteArray("\xEF\xBB\xBFID,Titel,Text u. Musik,Copyright,CCLI Liednummer,Anzahl\r\n"
                        "5,F\xC3\xBCnf,,,,1\r\n12,Zw\xC3\xB6lf,,,,1\r\n"));
    // A folder that is not there: the report is not written, and the user is told.
    f.dialogs.answer = f.folder.temp.path() + "/fehlt/bericht.csv";
    window.ReportButton()->click();
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown.front().icon, MessageIcon::Error);
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::StatisticsWindowTest)
#include "statistics_window_test.moc"
