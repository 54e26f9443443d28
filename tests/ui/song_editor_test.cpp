// Song editor and record form: new songs saved and cancelled (store, text file, id counter, group list,
// shown group), edits keeping the fields the form does not show, song order lines <-> 0x81 parts, TAB
// warning and six blanks, pick lists, the "letzte Änderung" stamp, marker colouring, picture chooser, help.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

#include "../support/file_size_limit.h"
#include "app/main_window.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/help_viewer.h"
#include "songdb/schema.h"
#include "songdb/timestamp.h"
#include "songdb/ui/record_form.h"
#include "songdb/ui/song_editor.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_text_edit.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

// A record of 21 fields from the given ones (position -> value), every field followed by a TAB.
std::string Record(std::initializer_list<std::pair<int, std::string>> fields) {
  std::vector<std::string> values(song_field::kCount);
  for (const auto& [position, value] : fields) values[static_cast<std::size_t>(position - 1)] = value;
  std::string record;
  for (const std::string& value : values) record += value + "\t";
  return record;
}

// Song 1 carries every field the form does not show; song 2 a song order; both have text files.
const std::string kSong1 = Record({{1, "1"},
                                   {2, "05.03.2018-14:07"},
                                   {3, "Zion"},
                                   {5, "2"},
                                   {12, "1700000000"},
                                   {13, "9"},
                                   {16, "120"},
                                   {17, "1"},
                                   {18, "2"},
                                   {19, "G-77"},
                                   {20, "E"},
                                   {21, "1"}});
const std::string kSong2 =
    Record({{1, "2"}, {2, "01.12.2017-09:05"}, {3, "Abend"}, {14, "Strophe 1\x81Refrain\x81Strophe 2"}});

class FakeDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString& title, const QString& start, const QString& filter) override {
    openTitles << title;
    starts << start;
    filters << filter;
    return file;
  }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return std::nullopt; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return std::nullopt; }
  QString file;
  QStringList openTitles, starts, filters;
};

struct Fixture {
  QTemporaryDir temp;
  AppState state;
  uitest::RecordingMessages messages;
  FakeDialogs dialogs;
  QStringList helpTopics;
  QString data;

  explicit Fixture(bool withPickFile = true) {
    data = temp.path() + "/daten";
    uitest::WriteBytes(data + "/lieder.dat", QByteArray::fromStdString(kSong1 + "\r\n" + kSong2 + "\r\n"));
    uitest::WriteBytes(data + "/id.dat", "5\r\n");
    uitest::WriteBytes(data + "/1.dat", ">D     A\r\nZion, Stadt\r\n#Zion, city\r\n;leise\r\n-Refrain\r\n");
    uitest::WriteBytes(data + "/2.dat", "Abendlied\r\n");
    uitest::WriteBytes(data + "/gruppierung.dat", "Lobpreis\t7|1\t\t\t\t\t\t\t\r\nAdvent\t|2\t\r\n");
    uitest::WriteBytes(data + "/auswahl.dat", "Sonntag\t|1|2\t\t\t\t\t\t\t\r\n");
    const QString program = temp.path() + "/programm";
    if (withPickFile)
      uitest::WriteBytes(program + "/config/pick-4.dat", "0\tAllgemein\r\n1\tLobpreis\r\n2\tAnbetung\r\n");
    state.programFolder = program.toStdString();
    state.dataFiles = DataFiles::For(data.toStdString());
    state.settings.containerlinks = 300;
    state.settings.containermitte = 220;
    state.settings.pfadhgbild = "/bilder";
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();
  }

  SongEditorServices Services() {
    return {&messages, &dialogs, [this](const QString& topic) { helpTopics << topic; }};
  }
  QByteArray File(const QString& name) const { return uitest::ReadBytes(data + "/" + name); }
  std::vector<std::string> StoreLines() const {
    std::vector<std::string> lines;
    for (const QByteArray& line : File("lieder.dat").split('\n'))
      if (!line.isEmpty()) lines.push_back(line.chopped(line.endsWith('\r') ? 1 : 0).toStdString());
    return lines;
  }
};

QLineEdit* LineOf(SongEditor& editor, std::string_view label) {
  const int row = editor.Form()->RowOfLabel(label);
  return row < 0 ? nullptr : editor.Form()->Rows()[static_cast<std::size_t>(row)].line;
}

QComboBox* PickOf(SongEditor& editor) {
  return editor.Form()->Rows()[static_cast<std::size_t>(editor.Form()->RowOfLabel("Kategorie"))].pick;
}

int RowOfId(SongListWidget* list, const QString& id) {
  for (int row = 0; row < list->RowCount(); ++row)
    if (list->Model().RowAt(row).id == id) return row;
  return -1;
}

// Opens song id for editing the way the context menu does: chosen in the group list.
SongEditor* EditFromGroupList(Fixture& f, MainWindow& window, const QString& id) {
  window.GroupSongList()->SelectRow(RowOfId(window.GroupSongList(), id));
  window.SetCurrentSongList(SongListId::Group);
  return SongEditor::OpenExisting(f.state, f.Services(), &window);
}

// The format of the first character of a text block, as the highlighter left it.
std::optional<QTextCharFormat> FirstCharFormat(const QTextBlock& block) {
  for (const QTextLayout::FormatRange& range : block.layout()->formats())
    if (range.start == 0 && range.length >= 1) return range.format;
  return std::nullopt;
}

}  // namespace

class SongEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void newSongIsSavedAtTheTopOfTheStoreAndTheGroupList() {
    Fixture f;
    MainWindow window(f.state);
    QPointer<SongEditor> editor = SongEditor::OpenNew(f.state, f.Services(), &window);
    QVERIFY(editor);
    QCOMPARE(f.File("id.dat"), QByteArray("6\r\n"));  // taken when the editor opens
    QCOMPARE(editor->windowTitle(), QString("Neues Lied anlegen"));
    QCOMPARE(editor->windowModality(), Qt::WindowModal);
    QCOMPARE(LineOf(*editor, "ID")->text(), QString("6"));
    QCOMPARE(LineOf(*editor, "Titel")->text(), QString("- Neuer Titel -"));
    QVERIFY(LineOf(*editor, "ID")->isReadOnly());
    QVERIFY(editor->TextEditor()->toPlainText().isEmpty());

    LineOf(*editor, "Titel")->setText("Großer Gott");
    LineOf(*editor, "Tempo")->setText("96");
    editor->TextEditor()->setPlainText(">C\nGroßer Gott, wir loben dich");
    const long long before = CurrentTimeValue();
    QTest::mouseClick(editor->SaveButton(), Qt::LeftButton);
    QTRY_VERIFY(editor.isNull());  // closed and deleted

    const std::vector<std::string> lines = f.StoreLines();
    QCOMPARE(lines.size(), std::size_t{3});
    QCOMPARE(std::string(RecordField(lines[0], 1)), std::string("6"));
    QCOMPARE(std::string(RecordField(lines[0], 3)), std::string("Gro\xDF"
                                                                "er Gott"));
    QCOMPARE(std::string(RecordField(lines[0], 16)), std::string("96"));
    QCOMPARE(CountOf(lines[0], '\t'), 21);
    QVERIFY(LeadingNumber(RecordField(lines[0], 12)) >= before);
    QCOMPARE(lines[1], kSong1);
    QCOMPARE(f.File("6.dat"), QByteArray(">C\r\nGro\xDF"
                                         "er Gott, wir loben dich\r\n"));
    QCOMPARE(f.state.songs.SongList().front(), lines[0]);

    SongListWidget* list = window.GroupSongList();
    QCOMPARE(list->Model().RowAt(0).id, QString("6"));
    QCOMPARE(list->Model().RowAt(0).title, QString("Großer Gott"));
    QCOMPARE(list->Model().RowAt(0).created,
             QString::fromStdString(std::string(RecordField(lines[0], 2).substr(0, 10))));
    QCOMPARE(list->RowCount(), 3);
    // No group shown: the group file is as it was.
    QCOMPARE(f.File("gruppierung.dat"), QByteArray("Lobpreis\t7|1\t\t\t\t\t\t\t\r\nAdvent\t|2\t\r\n"));
  }

  void cancelledNewSongLeavesTheStoreButUsesUpTheId() {
    Fixture f;
    MainWindow window(f.state);
    const QByteArray store = f.File("lieder.dat");
    QPointer<SongEditor> editor = SongEditor::OpenNew(f.state, f.Services(), &window);
    LineOf(*editor, "Titel")->setText("verworfen");
    QTest::mouseClick(editor->CancelButton(), Qt::LeftButton);
    QTRY_VERIFY(editor.isNull());
    QCOMPARE(f.File("lieder.dat"), store);
    QCOMPARE(f.File("id.dat"), QByteArray("6\r\n"));
    QVERIFY(!QFile::exists(f.data + "/6.dat"));
    QCOMPARE(window.GroupSongList()->RowCount(), 2);

    // The close box discards as well, and the next new song gets the next id.
    editor = SongEditor::OpenNew(f.state, f.Services(), &window);
    QCOMPARE(LineOf(*editor, "ID")->text(), QString("7"));
    editor->close();
    QTRY_VERIFY(editor.isNull());
    QCOMPARE(f.File("lieder.dat"), store);
    QCOMPARE(f.File("id.dat"), QByteArray("7\r\n"));
  }

  void newSongJoinsTheGroupThatIsShown() {
    Fixture f;
    MainWindow window(f.state);
    window.GroupChooser()->setCurrentIndex(1);  // "Lobpreis" (pool id 7)
    QCOMPARE(window.GroupSongList()->RowCount(), 1);
    QPointer<SongEditor> editor = SongEditor::OpenNew(f.state, f.Services(), &window);
    LineOf(*editor, "Titel")->setText("Neu in Lobpreis");
    QVERIFY(editor->Save());

    const QByteArray groups = f.File("gruppierung.dat");
    QVERIFY2(groups.startsWith("Lobpreis\t7|1|6\t"), groups.constData());
    QVERIFY(groups.contains("\r\nAdvent\t|2\t"));
    QCOMPARE(window.GroupChooser()->itemText(1), QString("Lobpreis (2)"));
    QCOMPARE(window.GroupSongList()->Model().RowAt(0).id, QString("6"));
    QVERIFY(window.GroupSongList()->Model().RowAt(0).shared);  // a group with a pool id
  }

  void editingKeepsTheFieldsTheFormDoesNotShow() {
    Fixture f;
    MainWindow window(f.state);
    QPointer<SongEditor> editor = EditFromGroupList(f, window, "1");
    QVERIFY(editor);
    QVERIFY(!editor->IsNew());
    QCOMPARE(editor->windowTitle(), QString("Lied bearbeiten"));
    QCOMPARE(f.File("id.dat"), QByteArray("5\r\n"));  // editing takes no id
    QCOMPARE(LineOf(*editor, "Titel")->text(), QString("Zion"));
    QCOMPARE(editor->TextEditor()->toPlainText(), QString(">D     A\nZion, Stadt\n#Zion, city\n;leise\n-Refrain"));
    LineOf(*editor, "Titel")->setText("Zion, Stadt Gottes");
    QSignalSpy previewRequests(&window, &MainWindow::showPreviewRequested);
    QVERIFY(editor->Save());
    QTRY_COMPARE(previewRequests.size(), 1);  // the preview follows the saved song

    const std::vector<std::string> lines = f.StoreLines();
    QCOMPARE(lines.size(), std::size_t{2});
    const std::string& saved = lines[0];
    QCOMPARE(std::string(RecordField(saved, 3)), std::string("Zion, Stadt Gottes"));
    for (int field : {1, 2, 5, 13, 16, 17, 18, 19, 20, 21})
      QCOMPARE(std::string(RecordField(saved, field)), std::string(RecordField(kSong1, field)));
    QCOMPARE(CountOf(saved, '\t'), 21);
    QCOMPARE(lines[1], kSong2);
    QCOMPARE(f.File("1.dat"), QByteArray(">D     A\r\nZion, Stadt\r\n#Zion, city\r\n;leise\r\n-Refrain\r\n"));
    QCOMPARE(window.GroupSongList()->Model().RowAt(RowOfId(window.GroupSongList(), "1")).title,
             QString("Zion, Stadt Gottes"));
    QCOMPARE(window.GroupSongList()->RowCount(), 2);
  }

  void editingWithoutAChosenSongOpensNothing() {
    Fixture f;
    MainWindow window(f.state);
    window.SetCurrentSongList(SongListId::Group);
    window.GroupSongList()->clearSelection();
    QVERIFY(SongEditor::OpenExisting(f.state, f.Services(), &window) == nullptr);
    QVERIFY(window.isEnabled());
  }

  void songOrderLinesAreStoredAsPartsSeparatedBy0x81() {
    Fixture f;
    MainWindow window(f.state);
    QPointer<SongEditor> editor = EditFromGroupList(f, window, "2");
    QCOMPARE(editor->OrderEditor()->toPlainText(), QString("Strophe 1\nRefrain\nStrophe 2"));
    QCOMPARE(editor->OrderEditor()->document()->blockCount(), 3);

    editor->OrderEditor()->clear();
    QTest::keyClicks(editor->OrderEditor(), "Intro");
    QTest::keyClick(editor->OrderEditor(), Qt::Key_Return);
    QTest::keyClicks(editor->OrderEditor(), "Vers");
    QTest::keyClick(editor->OrderEditor(), Qt::Key_Return);
    QTest::keyClicks(editor->OrderEditor(), "Schluss");
    QVERIFY(editor->Save());
    const std::string order(RecordField(f.StoreLines()[1], 14));
    QCOMPARE(order, std::string("Intro\x81Vers\x81Schluss"));

    // A single-line order (no 0x81) shows as one line; the conversion keeps the undefined byte.
    QCOMPARE(SongOrderText("Nur eine Zeile"), QString("Nur eine Zeile"));
    QCOMPARE(SongOrderValue(QString("a\r\nb\rc")), std::string("a\x81"
                                                               "b\x81"
                                                               "c"));
  }

  void tabWarnsAndIsStoredAsSixBlanks() {
    Fixture f;
    MainWindow window(f.state);
    QPointer<SongEditor> editor = SongEditor::OpenNew(f.state, f.Services(), &window);
    QTest::keyClicks(editor->TextEditor(), "a");
    QTest::keyClick(editor->TextEditor(), Qt::Key_Tab);
    QTest::keyClicks(editor->TextEditor(), "b");
    QCOMPARE(f.messages.shown.size(), std::size_t{1});
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Information);
    QCOMPARE(f.messages.shown[0].title, QString("Meldung"));
    QCOMPARE(f.messages.shown[0].text, QString("Keine Tabulatoren verwenden!"));
    QCOMPARE(editor->TextEditor()->toPlainText(), QString("a\tb"));  // the key is not blocked
    QVERIFY(editor->Save());
    QCOMPARE(f.File("6.dat"), QByteArray("a      b\r\n"));
  }

  void pickFieldShowsThePickFileAndStoresThePosition() {
    Fixture f;
    QPointer<SongEditor> editor = new SongEditor(f.state, f.Services(), nullptr, false, kSong1);
    QComboBox* pick = PickOf(*editor);
    QCOMPARE(pick->count(), 3);
    QCOMPARE(pick->itemText(2), QString("Anbetung"));
    QCOMPARE(pick->currentIndex(), 2);
    pick->setCurrentIndex(1);
    QCOMPARE(editor->Form()->Values()[4], std::string("1"));
    delete editor;

    // An empty value selects the first entry; a value past the list selects none and stores -1.
    SongEditor empty(f.state, f.Services(), nullptr, false, Record({{1, "1"}}));
    QCOMPARE(PickOf(empty)->currentIndex(), 0);
    SongEditor outside(f.state, f.Services(), nullptr, false, Record({{1, "1"}, {5, "7"}}));
    QCOMPARE(PickOf(outside)->currentIndex(), -1);
    QCOMPARE(outside.Form()->Values()[4], std::string("-1"));
  }

  void pickFieldWithoutPickFileStoresMinusOne() {
    Fixture f(/*withPickFile=*/false);
    MainWindow window(f.state);
    QPointer<SongEditor> editor = EditFromGroupList(f, window, "1");
    QCOMPARE(PickOf(*editor)->count(), 0);
    QVERIFY(editor->Save());
    QCOMPARE(std::string(RecordField(f.StoreLines()[0], 5)), std::string("-1"));
  }

  void lastChangeShowsAsStampAndIsStoredAsSeconds() {
    Fixture f;
    MainWindow window(f.state);
    QPointer<SongEditor> editor = EditFromGroupList(f, window, "1");
    QLineEdit* lastChange = LineOf(*editor, "letzte \xC4nderung");
    QVERIFY(lastChange);
    QCOMPARE(lastChange->text(), QString("14.11.2023-22:13"));
    QVERIFY(lastChange->isReadOnly());
    QCOMPARE(LineOf(*editor, "Erstellt am")->text(), QString("05.03.2018-14:07"));
    const long long before = CurrentTimeValue();
    QVERIFY(editor->Save());
    const std::string stored(RecordField(f.StoreLines()[0], 12));
    QVERIFY(!stored.empty());
    QVERIFY(stored.find_first_not_of("0123456789") == std::string::npos);
    QVERIFY(LeadingNumber(stored) >= before && LeadingNumber(stored) <= CurrentTimeValue());

    // A new song has no last change yet: the box stays empty.
    QPointer<SongEditor> fresh = SongEditor::OpenNew(f.state, f.Services(), &window);
    QVERIFY(LineOf(*fresh, "letzte \xC4nderung")->text().isEmpty());
    fresh->reject();
  }

  void markersAreColouredInALoadedAndInATypedText() {
    Fixture f;
    MainWindow window(f.state);
    QPointer<SongEditor> editor = EditFromGroupList(f, window, "1");
    editor->show();
    QTextDocument* document = editor->TextEditor()->document();
    QCOMPARE(document->blockCount(), 5);
    for (int line : {0, 2, 3, 4}) {
      const std::optional<QTextCharFormat> format = FirstCharFormat(document->findBlockByNumber(line));
      QVERIFY2(format.has_value(), qPrintable(document->findBlockByNumber(line).text()));
      QCOMPARE(format->foreground().color(), QColor(0, 0, 255));
      QCOMPARE(format->background().color(), QColor(255, 255, 255));
    }
    QVERIFY(!FirstCharFormat(document->findBlockByNumber(1)).has_value());  // lyrics stay black
    const QTextCharFormat separator = *FirstCharFormat(document->findBlockByNumber(4));
    QCOMPARE(separator.fontWeight(), int(QFont::Bold));
    QCOMPARE(separator.font().pointSize(), 12);
    QCOMPARE(FirstCharFormat(document->findBlockByNumber(0))->font().pointSize(), 10);
    QCOMPARE(FirstCharFormat(document->findBlockByNumber(0))->fontWeight(), int(QFont::Normal));

    // Typing a marker at the start of a lyrics line colours it; removing it clears the colour.
    QTextCursor cursor(document->findBlockByNumber(1));
    editor->TextEditor()->setTextCursor(cursor);
    QTest::keyClicks(editor->TextEditor(), "#");
    QVERIFY(FirstCharFormat(document->findBlockByNumber(1)).has_value());
    QTest::keyClick(editor->TextEditor(), Qt::Key_Backspace);
    QVERIFY(!FirstCharFormat(document->findBlockByNumber(1)).has_value());
    QCOMPARE(editor->TextEditor()->font().pointSize(), 10);
    QVERIFY(QFontInfo(editor->TextEditor()->font()).fixedPitch());
  }

  void pictureChooserFillsTheBoxAndRemembersThePath() {
    Fixture f;
    SongEditor editor(f.state, f.Services(), nullptr, false, Record({{1, "1"}, {10, "/alt.jpg"}}));
    const FormRow& row = editor.Form()->Rows()[static_cast<std::size_t>(editor.Form()->RowOfLabel("Hintergrundbild"))];
    QCOMPARE(row.line->text(), QString("/alt.jpg"));
    f.dialogs.file = "/bilder/Berge.jpg";
    row.pictureButton->click();
    QCOMPARE(f.dialogs.openTitles, QStringList{"Wähle dein Hintergrundbild..."});
    QCOMPARE(f.dialogs.starts, QStringList{"/bilder"});
    QCOMPARE(f.dialogs.filters, QStringList{"Alle (*)"});
    QCOMPARE(row.line->text(), QString("/bilder/Berge.jpg"));
    QCOMPARE(f.state.settings.pfadhgbild, std::string("/bilder/Berge.jpg"));

    // Cancelling keeps the path that was there (and the remembered one).
    f.dialogs.file.clear();
    row.pictureButton->click();
    QCOMPARE(row.line->text(), QString("/bilder/Berge.jpg"));
    QCOMPARE(editor.Form()->Values()[9], std::string("/bilder/Berge.jpg"));
  }

  void windowHasItsFramesAndHelpOpensTheTopic() {
    Fixture f;
    SongEditor editor(f.state, f.Services(), nullptr, true, "6\t01.01.2024-10:00\t- Neuer Titel -");
    QStringList frames;
    for (QGroupBox* box : editor.findChildren<QGroupBox*>()) frames << box->title();
    QCOMPARE(frames, (QStringList{"Datenbankeinträge", "Liedablauf", "Liedtext"}));
    QCOMPARE(editor.SaveButton()->text(), QString("Speichern"));
    QCOMPARE(editor.CancelButton()->text(), QString("Abbrechen"));
    QCOMPARE(editor.HelpButton()->text(), QString("Hilfe"));
    QStringList labels;
    for (const FormRow& row : editor.Form()->Rows())
      if (row.label) labels << row.label->text();
    QCOMPARE(labels.size(), 14);  // "no" and "ablauf" rows have no label
    QCOMPARE(labels.front(), QString("ID"));
    QVERIFY(labels.contains("Letzte Änderung"));
    QVERIFY(!labels.contains("Favourit"));

    editor.HelpButton()->click();
    QCOMPARE(f.helpTopics, QStringList{"Neues Lied erstellen"});
    const QUrl help = HelpUrl(f.state.programFolder, f.helpTopics.front());
    QVERIFY(help.isLocalFile());
    QCOMPARE(help.fragment(), QString("neues-lied-erstellen"));
    const QByteArray page = uitest::ReadBytes(help.toLocalFile());
    QVERIFY(page.contains("id=\"neues-lied-erstellen\""));
    for (const char* marker : {"&gt;", "#", ";", "-"}) QVERIFY(page.contains(marker));
  }

  void failedSaveIsReportedAndKeepsTheEditorOpen() {
    Fixture f;
    MainWindow window(f.state);
    QPointer<SongEditor> editor = SongEditor::OpenNew(f.state, f.Services(), &window);
    LineOf(*editor, "Titel")->setText("Kommt noch");
    // A full disk: the store file cannot be replaced.
    QVERIFY(!testing::WithFileSizeLimit(16, [&] { return editor->Save(); }));
    QCOMPARE(window.GroupSongList()->RowCount(), 2);  // no row for a song the list does not hold
    QVERIFY(!editor.isNull());
    QCOMPARE(f.messages.shown.size(), std::size_t{1});
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Warning);
    QCOMPARE(f.messages.shown[0].text, QString("Das Lied konnte nicht gespeichert werden!"));

    // With room again the same editor saves the song exactly once.
    QVERIFY(editor->Save());
    const std::vector<std::string> lines = f.StoreLines();
    QCOMPARE(lines.size(), std::size_t{3});
    QCOMPARE(std::string(RecordField(lines[0], 3)), std::string("Kommt noch"));
    QCOMPARE(RowOfId(window.GroupSongList(), "6"), 0);
    QCOMPARE(window.GroupSongList()->RowCount(), 3);
  }
};

}  // namespace psalmora

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  psalmora::SongEditorTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "song_editor_test.moc"
