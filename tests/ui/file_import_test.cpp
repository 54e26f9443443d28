// Text and presentation files through the main window: the menu items "Textdateien" and "Powerpoint",
// the dialog "Import anderer Dateien" with its rule editor, and the import with its progress.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>

#include "app/controller_wiring.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "core/ui/common_dialogs.h"
#include "song_folder_fixture.h"
#include "transfer/ui/assignment_rule_editor.h"
#include "transfer/ui/file_import_controller.h"
#include "transfer/ui/file_import_dialog.h"

namespace psalmora {
namespace {

using uitest::FileLines;
using uitest::RowIds;

class FakeDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QStringList OpenFiles(QWidget*, const QString& title, const QString&, const QString& filter) override {
    titles << title;
    filters << filter;
    return filesAnswer;
  }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return {}; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return {}; }

  QStringList filesAnswer, titles, filters;
};

// No office program installed.
class NoOffice : public OfficeAutomation {
 public:
  PresentationText ExtractPresentationText(const std::filesystem::path&) override { return {OfficeStatus::kNoOffice, {}}; }
  SlideConversion ConvertPresentationToImages(const std::filesystem::path&, const std::filesystem::path&) override {
    return {OfficeStatus::kNoOffice, 0};
  }
  OfficeStatus ShowPresentationInViewer(const std::filesystem::path&, int) override { return OfficeStatus::kNoOffice; }
};

// A flat OpenDocument presentation with two slides.
constexpr char kTwoSlides[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.presentation">
 <office:body><office:presentation>
  <draw:page draw:name="a"><draw:frame svg:x="2cm" svg:y="2cm" svg:width="20cm" svg:height="5cm">
   <draw:text-box><text:p>Eins</text:p><text:p>zwei</text:p></draw:text-box></draw:frame></draw:page>
  <draw:page draw:name="b"><draw:frame svg:x="2cm" svg:y="2cm" svg:width="20cm" svg:height="5cm">
   <draw:text-box><text:p>Drei</text:p></draw:text-box></draw:frame></draw:page>
 </office:presentation></office:body>
</office:document>
)";

struct Window {
  uitest::SongFolder folder;
  uitest::RecordingMessages messages;
  FakeDialogs dialogs;
  MainWindow window{folder.state};

  // realOffice: LibreOffice through QProcess, as the program uses it.
  explicit Window(bool realOffice = false) {
    FileImportController::OfficeFactory office;
    if (!realOffice) office = [] { return std::make_unique<NoOffice>(); };
    new FileImportController(folder.state, window, messages, &dialogs, office);
    ConnectControllers(window);
  }
  FileImportController* Controller() { return FileImportController::Of(window); }
  QString Path(const QString& name) const { return folder.temp.path() + "/" + name; }
};

}  // namespace

class FileImportTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void textFilesBecomeSongsByTheEditedRulesWhichAreKeptOnlyOnStart() {
    Window w;
    uitest::WriteBytes(w.Path("Lied.eins.txt"), "Titel|Autorin\r\n   G  D\r\nText\r\n");
    w.dialogs.filesAnswer = {w.Path("Lied.eins.txt"), w.Path("fehlt.txt")};
    emit w.window.menuCommand(MenuCommand::ImportText);
    QCOMPARE(w.dialogs.titles.value(0), QString("zu importierende Dateien auswählen"));
    FileImportDialog* dialog = w.Controller()->Dialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Import anderer Dateien"));
    QVERIFY(dialog->TextOption()->isChecked());
    QCOMPARE(dialog->FileList()->topLevelItemCount(), 2);
    QCOMPARE(dialog->FieldList()->topLevelItemCount(), 19);
    QVERIFY(w.folder.SettingsFile().contains("pfadimport=" + w.folder.temp.path().toUtf8() + "/"));

    // Double click: title from the first line.
    QTreeWidgetItem* title = dialog->FieldList()->topLevelItem(0);
    emit dialog->FieldList()->itemDoubleClicked(title, 0);
    AssignmentRuleEditor* editor = dialog->Editor();
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), QString("Zuordnungsregel editieren"));
    QVERIFY(!editor->SeparatorField()->isEnabled());
    editor->SourceBox()->setCurrentIndex(1);
    editor->ApplyButton()->click();
    QCOMPARE(title->text(1), QString("Zugeordnet"));

    // Context menu: Copyright from the first line, second part at "|" (a separator that ends a rule
    // in the setting unless it is written as a word).
    dialog->FieldList()->setCurrentItem(dialog->FieldList()->topLevelItem(5));
    dialog->FieldMenu()->actions().value(0)->trigger();
    QVERIFY((editor = dialog->Editor()));
    editor->SourceBox()->setCurrentIndex(1);
    editor->SplitBox()->setChecked(true);
    QVERIFY(editor->SeparatorField()->isEnabled());
    editor->SeparatorField()->setText("|");
    editor->PartBox()->setCurrentIndex(1);
    editor->ApplyButton()->click();
    // A third rule, removed again through the context menu.
    dialog->FieldList()->setCurrentItem(dialog->FieldList()->topLevelItem(2));
    emit dialog->FieldList()->itemDoubleClicked(dialog->FieldList()->topLevelItem(2), 0);
    QVERIFY((editor = dialog->Editor()));
    editor->ApplyButton()->click();
    QCOMPARE(dialog->FieldList()->topLevelItem(2)->text(1), QString("Zugeordnet"));
    dialog->FieldMenu()->actions().value(1)->trigger();
    QCOMPARE(dialog->FieldList()->topLevelItem(2)->text(1), QString());

    dialog->StartButton()->click();
    QTRY_VERIFY(!w.Controller()->Running() && !w.Controller()->Dialog());
    const QList<QByteArray> songs = FileLines(w.folder.File("lieder.dat"));
    const QList<QByteArray> fields = songs.value(0).split('\t');
    QCOMPARE(fields.size(), 21);
    QCOMPARE(fields.value(0), QByteArray("10"));
    QCOMPARE(fields.value(2), QByteArray("Titel|Autorin"));
    QCOMPARE(fields.value(7), QByteArray("Autorin"));
    QCOMPARE(fields.value(4), QByteArray());
    QCOMPARE(w.folder.File("10.dat"), QByteArray(">  G  D\rText\r\n"));
    QVERIFY(RowIds(w.window.GroupSongList()).contains("10"));
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].title, QString("Powerpoint Import"));
    QCOMPARE(w.messages.shown[0].text, w.Path("fehlt.txt") + " konnte nicht geöffnet werden!");
    QVERIFY(w.folder.SettingsFile().contains("importregel=1\t0\t\t0\t0\t\t|||||1\t1\t{STRICH}\t2\t0\t\t|"));

    // Cancelled: nothing imported, the stored rules stay.
    const QByteArray settings = w.folder.SettingsFile();
    emit w.window.menuCommand(MenuCommand::ImportText);
    QVERIFY(w.Controller()->Dialog());
    QCOMPARE(w.Controller()->Dialog()->FieldList()->topLevelItem(5)->text(1), QString("Zugeordnet"));
    w.Controller()->Dialog()->RemoveAssignment(0);
    w.Controller()->Dialog()->CancelButton()->click();
    QTRY_VERIFY(!w.Controller()->Dialog());
    QCOMPARE(w.folder.SettingsFile(), settings);
    QCOMPARE(FileLines(w.folder.File("lieder.dat")).size(), songs.size());
  }

  void presentationsWithoutOfficeProgramGiveSongsWithoutTextAndSaySo() {
    Window w;
    uitest::WriteBytes(w.Path("Gnade.ppt"), "x");
    w.dialogs.filesAnswer = {w.Path("Gnade.ppt")};
    emit w.window.menuCommand(MenuCommand::ImportPowerpoint);
    QVERIFY(w.dialogs.filters.value(0).startsWith("Powerpoint (*.ppt *.pps"));
    FileImportDialog* dialog = w.Controller()->Dialog();
    QVERIFY(dialog && dialog->PresentationOption()->isChecked());
    dialog->RemoveAssignment(0);
    emit dialog->FieldList()->itemDoubleClicked(dialog->FieldList()->topLevelItem(0), 0);
    AssignmentRuleEditor* editor = dialog->Editor();
    QVERIFY(editor);
    editor->ApplyButton()->click();  // "Dateiname"
    dialog->StartButton()->click();
    QTRY_VERIFY(!w.Controller()->Running() && !w.Controller()->Dialog());
    QVERIFY(FileLines(w.folder.File("lieder.dat")).value(0).startsWith("10\t"));
    QCOMPARE(FileLines(w.folder.File("lieder.dat")).value(0).split('\t').value(2), QByteArray("Gnade"));
    QCOMPARE(w.folder.File("10.dat"), QByteArray("\r\n"));
    QCOMPARE(w.folder.File("convert/Gnade.dat"), QByteArray("\r\n"));
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].text,
             QString("Zum Lesen von Präsentationen muss LibreOffice Impress installiert sein."));
    w.Controller()->ShowPresentationInViewer(w.Path("Gnade.ppt"), 1);
    QCOMPARE(w.messages.shown.size(), std::size_t{2});
  }

  void aPresentationIsReadByLibreOfficeOnTheWorkerAndABrokenOneIsReported() {
    if (QStandardPaths::findExecutable("soffice").isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty()) {
      QSKIP("LibreOffice (soffice) or poppler-utils is not installed");
    }
    Window w(true);
    uitest::WriteBytes(w.Path("Folien.fodp"), kTwoSlides);
    uitest::WriteBytes(w.Path("kaputt.ppt"), QByteArray("\xD0\xCF\x11\xE0 kein Inhalt\0\1", 17));
    w.dialogs.filesAnswer = {w.Path("kaputt.ppt"), w.Path("Folien.fodp")};
    emit w.window.menuCommand(MenuCommand::ImportPowerpoint);
    FileImportDialog* dialog = w.Controller()->Dialog();
    QVERIFY(dialog);
    dialog->StartButton()->click();
    QVERIFY(w.Controller()->Running());
    QCOMPARE(dialog->Counter()->text(), QString("0/2"));
    QVERIFY(!dialog->StartButton()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!w.Controller()->Running() && !w.Controller()->Dialog(), 120000);
    QVERIFY(FileLines(w.folder.File("lieder.dat")).value(0).startsWith("10\t"));
    QVERIFY(!FileLines(w.folder.File("lieder.dat")).value(1).startsWith("11\t"));
    QCOMPARE(w.folder.File("10.dat"), QByteArray("Eins\rzwei\r-\rDrei\r\n"));
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].text, w.Path("kaputt.ppt") + " konnte nicht geöffnet werden!");
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::FileImportTest)
#include "file_import_test.moc"
