// The search page: Return in the search field or in the field chooser runs the search, the hits fill
// `SearchHitList` in song list order and the status text counts them; songs in the trash never appear.
// With search as you type, the search starts once the typing pauses. The text index is kept in the
// cache folder and made again when damaged.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/left_column.h"
#include "app/main_window.h"
#include "song_folder_fixture.h"
#include "songdb/ui/search_controller.h"
#include "songdb/ui/search_index_keeper.h"
#include "songdb/ui/search_page.h"
#include "songdb/ui/song_list_widget.h"

namespace psalmora {
namespace {

QStringList Titles(SongListWidget* list) {
  QStringList titles;
  for (int row = 0; row < list->RowCount(); ++row) titles << list->Model().RowAt(row).title;
  return titles;
}

QStringList Ids(SongListWidget* list) {
  QStringList ids;
  for (int row = 0; row < list->RowCount(); ++row) ids << list->Model().RowAt(row).id;
  return ids;
}

int ScopeEntry(SearchPage* left, const QString& label) {
  return left->SearchScope()->findText(label, Qt::MatchExactly);
}

}  // namespace

class SearchPageTest : public QObject {
  Q_OBJECT

 private slots:
  void titleSearchFromTheFieldFindsUmlautsInEitherCase() {
    uitest::SongFolder f;
    MainWindow window(f.state);
    new SearchController(f.state, window);
    window.show();
    SearchPage* left = window.Search();
    QCOMPARE(left->SearchScope()->currentText(), QString("Titel"));
    QCOMPARE(left->SearchStatus()->text(), QString("Suchergebnis:"));

    // Typed as UTF-8, compared as Windows-1252: "ÜBER" finds "über"; "strasse" does not find "Straße".
    left->SearchField()->setText(QStringLiteral("ÜBER"));
    left->SearchField()->setFocus();
    QTest::keyClick(left->SearchField(), Qt::Key_Return);
    QCOMPARE(Titles(left->SearchHitList()), QStringList{"über den Wolken"});
    QCOMPARE(left->SearchStatus()->text(), QString("1 Lied gefunden"));
    QVERIFY(window.isEnabled());

    left->SearchField()->setText(QStringLiteral("strasse"));
    QTest::keyClick(left->SearchField(), Qt::Key_Return);
    QCOMPARE(left->SearchHitList()->RowCount(), 0);
    QCOMPARE(left->SearchStatus()->text(), QString("Kein Lied gefunden!"));

    left->SearchField()->setText(QStringLiteral("straße"));
    QTest::mouseClick(left->SearchButton(), Qt::LeftButton);
    QCOMPARE(Ids(left->SearchHitList()), QStringList{"6"});
  }

  void hitsComeInSongListOrderAndSkipTheTrash() {
    uitest::SongFolder f;
    MainWindow window(f.state);
    new SearchController(f.state, window);
    SearchPage* left = window.Search();
    // "e" is in every title, "Gelöscht", "Sieben" and "Acht" (in the trash) included.
    left->SearchField()->setText(QStringLiteral("e"));
    QCOMPARE(SearchController::Of(window)->RunSearch(), 5);
    QCOMPARE(Ids(left->SearchHitList()), (QStringList{"6", "2", "3", "4", "9"}));
    QCOMPARE(left->SearchStatus()->text(), QString("5 Lieder gefunden"));

    // A new search replaces the hits; an empty text finds nothing.
    left->SearchField()->clear();
    QCOMPARE(SearchController::Of(window)->RunSearch(), 0);
    QCOMPARE(left->SearchHitList()->RowCount(), 0);
    QCOMPARE(left->SearchStatus()->text(), QString("Kein Lied gefunden!"));
  }

  void textSearchFromTheChooserJoinsTheLinesAndSeesNewTexts() {
    uitest::SongFolder f;
    MainWindow window(f.state);
    new SearchController(f.state, window);
    window.show();
    SearchPage* left = window.Search();
    left->SearchScope()->setCurrentIndex(ScopeEntry(left, "Liedtext"));
    QVERIFY(left->SearchScope()->currentIndex() > 0);
    // The phrase spans a line break; song 5 has it too but is in the trash.
    left->SearchField()->setText(QStringLiteral("HALLELUJA!!#und"));
    left->SearchScope()->setFocus();
    QTest::keyClick(left->SearchScope(), Qt::Key_Return);
    QCOMPARE(Ids(left->SearchHitList()), QStringList{"1"});
    QCOMPARE(left->SearchStatus()->text(), QString("1 Lied gefunden"));

    // A text written through the store reaches the next search through the cache.
    QVERIFY(f.state.songs.WriteSongText("4", "Halleluja!!\r\n#und Abend"));
    QCOMPARE(SearchController::Of(window)->RunSearch(), 2);
    QCOMPARE(Ids(left->SearchHitList()), (QStringList{"1", "4"}));
  }

  void searchAsYouTypeSearchesOnceTheTypingPausesAndIsRemembered() {
    uitest::SongFolder f;
    MainWindow window(f.state);
    new SearchController(f.state, window);
    window.show();
    SearchPage* left = window.Search();
    QVERIFY(!left->SearchAsYouType()->isChecked());
    QTest::keyClicks(left->SearchField(), "Zi");
    QTest::qWait(SearchPage::kTypingPauseMs * 2);
    QCOMPARE(left->SearchHitList()->RowCount(), 0);  // off: typing alone searches nothing

    left->SearchAsYouType()->setChecked(true);
    QVERIFY(f.SettingsFile().contains("suchebeimtippen=1"));
    left->SearchField()->clear();
    QSignalSpy fills(&left->SearchHitList()->Model(), &QAbstractItemModel::modelReset);
    // Each key within the pause replaces the search of the one before: only "abe" is searched.
    QTest::keyClicks(left->SearchField(), "a");
    QTest::keyClicks(left->SearchField(), "be");
    QCOMPARE(fills.count(), 0);
    QTRY_COMPARE(Ids(left->SearchHitList()), QStringList{"4"});
    QTest::qWait(SearchPage::kTypingPauseMs * 2);
    QCOMPARE(fills.count(), 2);  // cleared, then filled once
    QVERIFY(window.isEnabled());

    left->SearchAsYouType()->setChecked(false);
    QVERIFY(f.SettingsFile().contains("suchebeimtippen=0"));
  }

  void theTextIndexGoesToTheCacheFolderAndADamagedOneIsMadeAgain() {
    uitest::SongFolder f;
    std::filesystem::path file;
    {
      MainWindow window(f.state);
      auto* controller = new SearchController(f.state, window);
      file = controller->IndexKeeper().IndexFile();
      QVERIFY(file.string().starts_with(f.temp.path().toStdString()));
      QTRY_VERIFY(!controller->IndexKeeper().Preparing());
      QVERIFY(f.state.songTexts.Index() != nullptr);
    }
    QVERIFY(uitest::ReadBytes(QString::fromStdString(file.string())).startsWith("PSLMIDX"));
    uitest::WriteBytes(QString::fromStdString(file.string()), "PSLMIDX kaputt");
    MainWindow window(f.state);
    new SearchController(f.state, window);
    SearchPage* left = window.Search();
    left->SearchScope()->setCurrentIndex(ScopeEntry(left, "Liedtext"));
    left->SearchField()->setText(QStringLiteral("halleluja!!#und"));
    QCOMPARE(SearchController::Of(window)->RunSearch(), 1);
    QCOMPARE(Ids(left->SearchHitList()), QStringList{"1"});
    QVERIFY(uitest::ReadBytes(QString::fromStdString(file.string())).size() > 100);
  }

  void specialSearchTextsInAFieldSearch() {
    uitest::SongFolder f;
    MainWindow window(f.state);
    new SearchController(f.state, window);
    SearchPage* left = window.Search();
    left->SearchScope()->setCurrentIndex(ScopeEntry(left, "globalid"));
    QCOMPARE(left->SearchScope()->currentIndex(), 18);
    left->SearchField()->setText(QStringLiteral("*"));
    QCOMPARE(SearchController::Of(window)->RunSearch(), 1);
    QCOMPARE(Ids(left->SearchHitList()), QStringList{"2"});
    left->SearchField()->setText(QStringLiteral("$leer$"));
    QCOMPARE(SearchController::Of(window)->RunSearch(), 5);
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::SearchPageTest)
#include "search_page_test.moc"
