// The Bible page: filling the book tree, loading a translation (also when the page is first shown),
// choosing book and chapter, the passage field, importing a Zefania file beside the interface thread,
// and sending the passage to the beamer.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "bible/ui/bible_controller.h"
#include "bible/ui/bible_page.h"
#include "core/startup_files.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "presentation_fixture.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;

// A chooser that answers with a fixed file.
class FixedFileDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return file; }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return std::nullopt; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return std::nullopt; }
  QString file;
};

void WriteBibleFiles(const fs::path& program) {
  const QString bibel = QString::fromStdString((program / "bibel").string());
  uitest::WriteBytes(bibel + "/index.dat", "G B 1-50\r\nG C 1-2\r\nNT Johannes 1-21\r\n");
  uitest::WriteBytes(bibel + "/uebersetzungen.dat", "eins.dat\tErste\r\nzwei.dat\tZweite\r\nfehlt.dat\tFehlt\r\n");
  // Chapter 2 of B twice: the later line is shown.
  uitest::WriteBytes(bibel + "/eins.dat",
                     "G\tB\t1\t1 Erster Vers|2 Zweiter Vers\r\nG\tB\t2\talt\r\nG\tB\t2\t1 neu\r\n"
                     "NT\tJohannes\t3\t16 Denn also|17 Denn Gott|18 Wer glaubt\r\n");
  uitest::WriteBytes(bibel + "/zwei.dat", "G\tB\t1\t1 Aus der zweiten\r\n");
}

struct PageFixture {
  QTemporaryDir temp;
  AppState state;
  std::unique_ptr<BiblePage> page;
  BibleController* controller = nullptr;

  explicit PageFixture(int bibel = 0) {
    state.programFolder = temp.path().toStdString();
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.settings.bibel = bibel;
    WriteBibleFiles(state.programFolder);
    state.bibleIndex = LoadBibleIndex(state.programFolder);
    page = std::make_unique<BiblePage>(state);
    controller = BibleController::Of(*page);
  }
  QTreeWidgetItem* Item(int group, int book = -1) const {
    QTreeWidgetItem* item = page->BookTree()->topLevelItem(group);
    return book < 0 ? item : item->child(book);
  }
  void Choose(QTreeWidgetItem* item) const { page->BookTree()->setCurrentItem(item); }
  void ChooseChapter(int row) const { page->ChapterList()->setCurrentRow(row); }
  QString FreeText() const { return page->FreeTextField()->toPlainText(); }
  QString Header() const { return page->HeaderTextField()->text(); }
  void TypePassage(const QString& text) const {
    page->PassageField()->setText(text);
    QTest::keyClick(page->PassageField(), Qt::Key_Return);
  }
};

}  // namespace

class BiblePageTest : public QObject {
  Q_OBJECT

 private slots:
  void bookTreeAndChapterListFollowTheIndex() {
    PageFixture f;
    QTreeWidget* tree = f.page->BookTree();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(f.Item(0)->text(0), QString("G"));
    QCOMPARE(f.Item(0, 0)->text(0), QString("B (50)"));
    QCOMPARE(f.Item(0, 1)->text(0), QString("C (2)"));
    QCOMPARE(f.Item(1, 0)->text(0), QString("Johannes (21)"));

    f.Choose(f.Item(0, 0));
    QCOMPARE(f.page->ChapterList()->count(), 50);
    QCOMPARE(f.page->ChapterList()->item(49)->text(), QString("50"));
    QCOMPARE(f.Header(), QString("G B"));
    // A group entry takes the header from its first book and leaves the chapter list alone.
    f.Choose(f.Item(1));
    QCOMPARE(f.Header(), QString("NT Johannes"));
    QCOMPARE(f.page->ChapterList()->count(), 50);
  }

  void showingThePageLoadsTheChosenTranslation() {
    PageFixture f(1);
    QCOMPARE(f.page->TranslationChooser()->count(), 3);
    QCOMPARE(f.page->TranslationChooser()->currentText(), QString("Zweite"));
    QVERIFY(f.controller->BibleText().empty());
    f.page->show();
    QCOMPARE(f.controller->BibleText().size(), std::size_t{1});

    // Switching the chooser alone keeps the text; the load button reads the other file.
    f.page->TranslationChooser()->setCurrentIndex(0);
    QCOMPARE(f.controller->BibleText().size(), std::size_t{1});
    f.page->LoadButton()->click();
    QCOMPARE(f.controller->BibleText().size(), std::size_t{4});
    // A translation whose file is missing leaves the loaded text as it was.
    f.page->TranslationChooser()->setCurrentIndex(2);
    f.page->LoadButton()->click();
    QCOMPARE(f.controller->BibleText().size(), std::size_t{4});
  }

  void chaptersShowOneVersePerLineOrNichtVorhanden() {
    PageFixture f;
    f.page->LoadButton()->click();
    f.Choose(f.Item(0, 0));
    f.ChooseChapter(0);
    QCOMPARE(f.Header(), QString("G B, 1"));
    QCOMPARE(f.FreeText(), QString("1 Erster Vers\n2 Zweiter Vers"));
    f.ChooseChapter(1);
    QCOMPARE(f.FreeText(), QString("1 neu"));
    f.ChooseChapter(2);
    QCOMPARE(f.FreeText(), QString("<Nicht vorhanden>"));
  }

  void passageFieldTakesReferencesAsTyped() {
    PageFixture f;
    f.page->show();
    const struct {
      const char* typed;
      const char* header;
      const char* text;
      const char* status;
    } cases[] = {
        {"Joh 3,16-17", "Johannes 3,16-17", "16 Denn also\n17 Denn Gott", ""},
        {"John 3:18", "Johannes 3,18", "18 Wer glaubt", ""},
        {"Xyz 3", "Johannes 3,18", "18 Wer glaubt", "Unbekanntes Buch"},
        {"Joh 9", "Johannes 3,18", "18 Wer glaubt", "Kapitel 9 fehlt in dieser Übersetzung"},
        {"Ps 23", "Johannes 3,18", "18 Wer glaubt", "Das Buch fehlt in dieser Übersetzung"},
        {"Joh", "Johannes 3,18", "18 Wer glaubt", "Kapitel fehlt"},
    };
    for (const auto& c : cases) {
      f.TypePassage(QString::fromUtf8(c.typed));
      QCOMPARE(f.Header(), QString::fromUtf8(c.header));
      QCOMPARE(f.FreeText(), QString::fromUtf8(c.text));
      QCOMPARE(f.page->PassageStatus()->text(), QString::fromUtf8(c.status));
    }
  }

  void importAddsATranslationBesideTheInterfaceThread() {
    PageFixture f;
    FixedFileDialogs dialogs;
    f.controller->SetDialogs(&dialogs);
    QSignalSpy finished(f.controller, &BibleController::importFinished);

    const QString broken = f.temp.path() + "/kaputt.xml";
    uitest::WriteBytes(broken, "<XMLBIBLE><BIBLEBOOK");
    dialogs.file = broken;
    const QByteArray listBefore = uitest::ReadBytes(f.temp.path() + "/bibel/uebersetzungen.dat");
    f.page->ImportButton()->click();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.takeFirst().at(0).toBool(), false);
    QVERIFY(f.page->PassageStatus()->text().startsWith("Import fehlgeschlagen: not well-formed XML"));
    QCOMPARE(uitest::ReadBytes(f.temp.path() + "/bibel/uebersetzungen.dat"), listBefore);

    const QString file = f.temp.path() + "/psalter.xml";
    uitest::WriteBytes(file,
                       "<XMLBIBLE biblename=\"Erste\"><BIBLEBOOK bnumber=\"19\"><CHAPTER cnumber=\"23\">"
                       "<VERS vnumber=\"1\">Der Herr ist mein Hirte</VERS><VERS vnumber=\"2\">Er weidet mich</VERS>"
                       "</CHAPTER></BIBLEBOOK></XMLBIBLE>");
    dialogs.file = file;
    f.page->ImportButton()->click();
    QVERIFY(!f.page->ImportButton()->isEnabled());
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.takeFirst().at(0).toBool(), true);
    QVERIFY(f.page->ImportProgress()->isHidden());
    // The name was taken, so the new translation is "Erste (2)"; it is chosen and loaded.
    QCOMPARE(f.page->TranslationChooser()->count(), 4);
    QCOMPARE(f.page->TranslationChooser()->currentText(), QString("Erste (2)"));
    QCOMPARE(f.page->PassageStatus()->text(), QString("Übersetzung importiert: Erste (2)"));
    // The new book stands before the first later book of the table (John), after the index's own group.
    QCOMPARE(f.page->BookTree()->topLevelItem(1)->text(0), QString("AT"));
    QCOMPARE(f.page->BookTree()->topLevelItem(1)->child(0)->text(0), QString("Psalmen (23)"));
    f.TypePassage("Ps 23,2");
    QCOMPARE(f.FreeText(), QString("2 Er weidet mich"));
    QCOMPARE(f.Header(), QString("Psalmen 23,2"));
  }

  void sendPutsThePassageOnTheBeamer() {
    presentationtest::Fixture f;
    WriteBibleFiles(f.state.programFolder);
    f.state.bibleIndex = LoadBibleIndex(f.state.programFolder);
    BiblePage* page = f.window->Left()->Bible();
    BibleController* controller = BibleController::Of(*page);
    controller->FillTranslationChooser();
    controller->FillBookTree();
    controller->LoadTranslation();
    f.presentation->OpenPresentation(1);
    page->PassageField()->setText("Joh 3,16-17");
    QTest::keyClick(page->PassageField(), Qt::Key_Return);
    page->SendButton()->click();
    QVERIFY(f.Page("beamer.htm").find("16 Denn also<br>17 Denn Gott") != std::string::npos);
    QVERIFY(f.Page("akkord.htm").find("Johannes 3,16-17") != std::string::npos);
  }

  void cleanup() { uitest::CancelDrivers(); }
};

}  // namespace psalmora

PSALMORA_PRESENTATION_TEST_MAIN(psalmora::BiblePageTest)
#include "bible_page_test.moc"
