// Layout settings window: the chooser and the form filled from the layout files, style changes through
// the font dialog (seven fields), the shown flag, the outline colour, saving on switch / refresh /
// "speichern und schließen", the close box discarding, new layouts from "layout.ini" and deleting.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "core/language.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "platform/page_view.h"
#include "render/ui/layout_window.h"
#include "render/ui/style_editing.h"
#include "songdb/ui/record_form.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

const QByteArray kLayout1 =
    "Hell\r\nVorschau\r\nwhite\r\nkein\r\n #$3#<br><br>#$text1#\r\nak|1|Arial|0|700|16|0,0,255\r\n"
    "te|1|Arial|0|700|16|0,0,0\r\nub|1|Arial|0|400|16|255,0,0\r\nko|0|Arial|0|400|14|0,0,0\r\n1-16711680\r\n";
const QByteArray kLayout2 =
    "Beamer dunkel\r\nBeamer\r\nblack\r\nkein\r\n<div>#$text1#</div>\r\nak|0|Verdana|0|700|30|255,255,0|navy\r\n"
    "te|1|Verdana|-1|400|32|255,255,255\r\nub|1|Verdana|0|400|28|200,200,200\r\nko|0|Verdana|0|400|20|0,0,0\r\n";

class FakeDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return file; }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice& initial, const QString& title) override {
    fontStarts.push_back(initial);
    fontTitles << title;
    return font;
  }
  std::optional<QColor> ChooseColour(QWidget*, const QColor& initial, const QString&) override {
    colourStarts.push_back(initial);
    return colour;
  }
  QString file;
  std::optional<FontChoice> font;
  std::optional<QColor> colour;
  std::vector<FontChoice> fontStarts;
  std::vector<QColor> colourStarts;
  QStringList fontTitles;
};

struct Fixture {
  QTemporaryDir temp;
  AppState state;
  uitest::RecordingMessages messages;
  FakeDialogs dialogs;
  QString layouts;

  Fixture() {
    const QString program = temp.path() + "/programm";
    layouts = program + "/layouts";
    uitest::WriteBytes(layouts + "/1.lay", kLayout1);
    uitest::WriteBytes(layouts + "/2.lay", kLayout2);
    uitest::WriteBytes(layouts + "/layout.ini", "[Layout]\r\nid=5\r\n");
    state.programFolder = program.toStdString();
    state.dataFiles = DataFiles::For((temp.path() + "/daten").toStdString());
    QDir().mkpath(temp.path() + "/daten");
    state.settings.layouts.beamer = "2";
    state.language.Load(uitest::LanguageFile(), kGerman);
  }
  LayoutWindowServices Services() { return {&messages, &dialogs}; }
  QByteArray Layout(const QString& key) const { return uitest::ReadBytes(layouts + "/" + key + ".lay"); }
  QList<QByteArray> Lines(const QString& key) const { return Layout(key).split('\n'); }
};

const FormRow& RowOf(LayoutWindow& window, std::string_view label) {
  return window.Form()->Rows()[static_cast<std::size_t>(window.Form()->RowOfLabel(label))];
}

}  // namespace

class LayoutWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void opensOnTheBeamerLayoutWithItsFields() {
    Fixture f;
    LayoutWindow window(f.state, f.Services());
    QCOMPARE(window.windowTitle(), QString("Einstellungen Layouts"));
    QCOMPARE(window.Chooser()->count(), 2);
    QCOMPARE(window.Chooser()->itemText(0), QString("Hell"));
    QCOMPARE(window.Chooser()->currentText(), QString("Beamer dunkel"));
    QCOMPARE(window.ShownKey(), std::string("2"));
    QCOMPARE(window.NewButton()->toolTip(), QString("Neues Layout erstellen"));
    QCOMPARE(window.DeleteButton()->toolTip(), QString("Layout löschen"));
    QCOMPARE(window.RefreshButton()->text(), QString("Vorschau aktualisieren"));
    QCOMPARE(window.SaveCloseButton()->text(), QString("speichern und schließen"));

    QCOMPARE(RowOf(window, "Name").line->text(), QString("Beamer dunkel"));
    QCOMPARE(RowOf(window, "Hintergrundfarbe").line->text(), QString("black"));
    QCOMPARE(RowOf(window, "LayoutCode").multi->toPlainText(), QString("<div>#$text1#</div>"));
    const FormRow& chords = RowOf(window, "Akkorde");
    QCOMPARE(chords.button->text(), QString("Akkorde"));
    QVERIFY(!chords.check->isChecked());
    QVERIFY(RowOf(window, "Text").check->isChecked());
    QCOMPARE(chords.kept, std::string("ak|0|Verdana|0|700|30|255,255,0|navy"));
    const FormRow& outline = RowOf(window, "Textumrandung");
    QCOMPARE(outline.label->text(), QString("Textumrandung"));
    QCOMPARE(outline.button->text(), QString("Farbe"));
    QVERIFY(!outline.check->isChecked());  // a nine-line layout has no outline

    QStringList labels;
    for (QLabel* label : window.findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains("Formatierung Textteile"));
    QStringList frames;
    for (QGroupBox* box : window.findChildren<QGroupBox*>()) frames << box->title();
    QVERIFY(frames.contains("Vorschau"));

    // The preview renders the sample song through the shown layout into "layout.htm".
    QVERIFY(window.LastPreview().written);
    QCOMPARE(window.LastPreview().page.filename().string(), std::string("layout.htm"));
    const QByteArray page = uitest::ReadBytes(QString::fromStdString(window.LastPreview().page.string()));
    QVERIFY(page.contains("Verdana"));
    QVERIFY(page.contains("Und hier die"));  // the built-in sample text
    QCOMPARE(window.Preview()->PageFile(), window.LastPreview().page);
  }

  void previewChordsFollowTheMainWindowsTransposition() {
    Fixture f;
    LayoutWindowServices services = f.Services();
    services.transposeOffset = "2";
    LayoutWindow window(f.state, services);
    window.Chooser()->setCurrentIndex(0);  // "Hell" shows its chords
    const QByteArray page = uitest::ReadBytes(QString::fromStdString(window.LastPreview().page.string()));
    QVERIFY(page.contains("<font id=ak>H"));
    QVERIFY(!page.contains("<font id=ak>A"));
  }

  void styleChangeWritesSevenFields() {
    Fixture f;
    LayoutWindow window(f.state, f.Services());
    const int row = window.Form()->RowOfLabel("Text");
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSize(24);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    f.dialogs.font = FontChoice{font, QColor(10, 20, 30)};
    window.Form()->Rows()[static_cast<std::size_t>(row)].button->click();

    // The dialog started from the style specification: Verdana, italic, normal weight, 32 points, white.
    QCOMPARE(f.dialogs.fontStarts.size(), std::size_t{1});
    const FontChoice& start = f.dialogs.fontStarts[0];
    QCOMPARE(start.font.family(), QString("Verdana"));
    QVERIFY(start.font.italic());
    QCOMPARE(start.font.weight(), int(QFont::Normal));
    QCOMPARE(start.font.pointSize(), 32);
    QCOMPARE(start.colour, QColor(255, 255, 255));
    QCOMPARE(f.dialogs.fontTitles, QStringList{"Schrift: Text"});

    QCOMPARE(window.Form()->Rows()[static_cast<std::size_t>(row)].kept,
             std::string("te|1|Liberation Serif|-1|700|24|10,20,30"));
    window.SaveLayout();
    QCOMPARE(f.Lines("2")[6], QByteArray("te|1|Liberation Serif|-1|700|24|10,20,30\r"));

    // A cancelled dialog keeps the style specification; the background colour survives until a change.
    f.dialogs.font.reset();
    const int chords = window.Form()->RowOfLabel("Akkorde");
    window.Form()->Rows()[static_cast<std::size_t>(chords)].button->click();
    QCOMPARE(window.Form()->Rows()[static_cast<std::size_t>(chords)].kept,
             std::string("ak|0|Verdana|0|700|30|255,255,0|navy"));
  }

  void shownFlagRebuildsTheSpecification() {
    Fixture f;
    LayoutWindow window(f.state, f.Services());
    const FormRow& chords = RowOf(window, "Akkorde");
    chords.check->click();
    QCOMPARE(RowOf(window, "Akkorde").kept, std::string("ak|1|Verdana|0|700|30|255,255,0|"));
    RowOf(window, "Text").check->click();
    QCOMPARE(RowOf(window, "Text").kept, std::string("te|0|Verdana|-1|400|32|255,255,255|"));
    // Nothing is written until the layout is saved.
    QCOMPARE(f.Layout("2"), kLayout2);
    QTest::mouseClick(window.SaveCloseButton(), Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    const QList<QByteArray> lines = f.Lines("2");
    QCOMPARE(lines[5], QByteArray("ak|1|Verdana|0|700|30|255,255,0|\r"));
    QCOMPARE(lines[6], QByteArray("te|0|Verdana|-1|400|32|255,255,255|\r"));
    QCOMPARE(lines[9], QByteArray("0-\r"));  // the outline line is written with the form
  }

  void outlineColourIsStoredWithRedInTheLowByte() {
    Fixture f;
    f.state.settings.layouts.beamer = "1";
    LayoutWindow window(f.state, f.Services());
    const FormRow& outline = RowOf(window, "Textumrandung");
    QVERIFY(outline.check->isChecked());
    QCOMPARE(outline.kept, std::string("16711680"));
    f.dialogs.colour = QColor(0x12, 0x34, 0x56);
    outline.button->click();
    QCOMPARE(f.dialogs.colourStarts.at(0), QColor(0, 0, 255));              // 16711680 = blue in the high byte
    QCOMPARE(RowOf(window, "Textumrandung").kept, std::string("5649426"));  // 0x563412
    QVERIFY(RowOf(window, "Textumrandung").swatch->styleSheet().contains("#123456"));
    RowOf(window, "Textumrandung").check->click();
    window.SaveLayout();
    QCOMPARE(f.Lines("1")[9], QByteArray("0-5649426\r"));

    QCOMPARE(OutlineColourText(QColor(255, 0, 0)), std::string("255"));
    QCOMPARE(OutlineColour("65280"), QColor(0, 255, 0));
  }

  void closeBoxSavesNothing() {
    Fixture f;
    QWidget main;
    QPointer<LayoutWindow> window = LayoutWindow::Open(f.state, f.Services(), &main);
    QCOMPARE(window->windowModality(), Qt::WindowModal);
    RowOf(*window, "Name").line->setText("Geändert");
    RowOf(*window, "Akkorde").check->click();
    window->close();
    QTRY_VERIFY(window.isNull());
    QCOMPARE(f.Layout("2"), kLayout2);
  }

  void switchingAndRefreshingSaveTheShownLayout() {
    Fixture f;
    LayoutWindow window(f.state, f.Services());
    RowOf(window, "Beschreibung").line->setText("Für den Beamer");
    RowOf(window, "LayoutCode").multi->setPlainText("<h1>#$3#</h1>\r\n#$text1#");
    window.RefreshButton()->click();
    QCOMPARE(f.Lines("2")[1], QByteArray("Für den Beamer\r").replace("ü", "\xFC"));
    QCOMPARE(f.Lines("2")[4], QByteArray("<h1>#$3#</h1> #$text1#\r"));  // line breaks become one blank
    QCOMPARE(window.ShownKey(), std::string("2"));

    RowOf(window, "Name").line->setText("Dunkel");
    window.Chooser()->setCurrentIndex(0);
    QCOMPARE(window.ShownKey(), std::string("1"));
    QCOMPARE(f.Lines("2")[0], QByteArray("Dunkel\r"));
    QCOMPARE(window.Chooser()->itemText(1), QString("Dunkel"));
    QCOMPARE(RowOf(window, "Name").line->text(), QString("Hell"));
    QCOMPARE(f.Layout("1"), kLayout1);  // showing a layout writes nothing
  }

  void lineBreaksInOneLineFieldsCannotShiftTheLayoutLines() {
    Fixture f;
    LayoutWindow window(f.state, f.Services());
    // A pasted or dropped text can bring line breaks into a one-line field.
    RowOf(window, "Name").line->setText("Beamer\ndunkel");
    RowOf(window, "Hintergrundfarbe").line->setText("black\r\n");
    window.SaveLayout();
    const QList<QByteArray> lines = f.Lines("2");
    QCOMPARE(lines.size(), 11);  // ten lines, then the nothing after the last line end
    QCOMPARE(lines[0], QByteArray("Beamer dunkel\r"));
    QCOMPARE(lines[2], QByteArray("black \r"));
    QCOMPARE(lines[4], QByteArray("<div>#$text1#</div>\r"));
    QCOMPARE(lines[5], QByteArray("ak|0|Verdana|0|700|30|255,255,0|navy\r"));
  }

  void newLayoutGetsTheNextIdAndTheNewLayoutContents() {
    Fixture f;
    LayoutWindow window(f.state, f.Services());
    window.NewButton()->click();
    QCOMPARE(window.ShownKey(), std::string("6"));
    QCOMPARE(uitest::ReadBytes(f.layouts + "/layout.ini"), QByteArray("[Layout]\r\nid=6\r\n"));
    QCOMPARE(f.Layout("6"), QByteArray("-- Layout Neu --\r\nLayoutbeschreibung\r\n\r\nkein\r\n #$3#<br><br>#$text1#\r\n"
                                       "ak|1|Arial|0|700|16|0,0,255\r\nte|1|Arial|0|700|16|0,0,0\r\n"
                                       "ub|1|Arial|0|400|16|255,0,0\r\nko|0|Arial|0|400|14|0,0,0\r\n"));
    QCOMPARE(window.Chooser()->count(), 3);
    QCOMPARE(window.Chooser()->currentText(), QString("-- Layout Neu --"));
    QCOMPARE(RowOf(window, "Name").line->text(), QString("-- Layout Neu --"));
    QVERIFY(f.messages.shown.empty());
  }

  void newLayoutWithoutReadableIdShowsTheMessage() {
    Fixture f;
    QFile::remove(f.layouts + "/layout.ini");
    LayoutWindow window(f.state, f.Services());
    window.NewButton()->click();
    QCOMPARE(f.messages.shown.size(), std::size_t{1});
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Warning);
    QCOMPARE(f.messages.shown[0].title, QString("Fehler"));  // "Error", translated
    QCOMPARE(f.messages.shown[0].text, QString("ID konnte nicht geladen werden"));
    QCOMPARE(window.Chooser()->count(), 2);
    QCOMPARE(window.ShownKey(), std::string("2"));
    QVERIFY(!QFile::exists(f.layouts + "/layout.ini"));
  }

  void deleteAsksAndRemovesTheFile() {
    Fixture f;
    f.state.settings.layouts.beamer = "1";
    LayoutWindow window(f.state, f.Services());
    window.Chooser()->setCurrentIndex(1);
    f.messages.answer = false;
    window.DeleteButton()->click();
    QCOMPARE(f.messages.shown.back().title, QString("Layout löschen"));
    QCOMPARE(f.messages.shown.back().text, QString("Layout Beamer dunkel wirklich löschen?"));
    QVERIFY(QFile::exists(f.layouts + "/2.lay"));
    QCOMPARE(window.ShownKey(), std::string("1"));  // opened again from the start

    window.Chooser()->setCurrentIndex(1);
    f.messages.answer = true;
    window.DeleteButton()->click();
    QVERIFY(!QFile::exists(f.layouts + "/2.lay"));
    QCOMPARE(window.Chooser()->count(), 1);
    QCOMPARE(window.ShownKey(), std::string("1"));
    QCOMPARE(f.messages.shown.size(), std::size_t{2});
  }

  void deleteFailureIsReported() {
    Fixture f;
    LayoutWindow window(f.state, f.Services());
    // A non-empty folder in the place of the file cannot be removed as a file.
    QFile::remove(f.layouts + "/2.lay");
    QDir().mkpath(f.layouts + "/2.lay/inhalt");
    f.messages.answer = true;
    window.DeleteButton()->click();
    QCOMPARE(f.messages.shown.back().icon, MessageIcon::Warning);
    QCOMPARE(f.messages.shown.back().text, QString("Layout konnte nicht gelöscht werden!"));
  }

  void missingLayoutFolderIsReported() {
    Fixture f;
    QDir(f.layouts).removeRecursively();
    LayoutWindow window(f.state, f.Services());
    QCOMPARE(f.messages.shown.size(), std::size_t{1});
    QCOMPARE(f.messages.shown[0].title, QString("Fehler"));
    QCOMPARE(f.messages.shown[0].text, QString("Layoutordner konnte nicht geöffnet werden!"));
    QCOMPARE(window.Chooser()->count(), 0);
    QVERIFY(window.ShownKey().empty());
    window.SaveLayout();  // nothing shown: nothing written
    QVERIFY(!QDir(f.layouts).exists());
  }

  void styleSpecificationsConvertBothWays() {
    const FontChoice choice = StyleFontChoice("ko|0|Arial|0|400|14|1,2,3");
    QCOMPARE(choice.font.family(), QString("Arial"));
    QVERIFY(!choice.font.italic());
    QCOMPARE(choice.font.pointSize(), 14);
    QCOMPARE(choice.colour, QColor(1, 2, 3));
    QCOMPARE(StyleSpecFromChoice("ko|0|Arial|0|400|14|1,2,3|yellow", choice), std::string("ko|0|Arial|0|400|14|1,2,3"));
    // A family list the dialog left alone keeps its fallbacks; the new size and colour are taken.
    FontChoice list = StyleFontChoice("te|1|Arial, Helvetica, sans-serif|0|700|46|255,255,255");
    QCOMPARE(list.font.families(), (QStringList{"Arial", "Helvetica", "Sans Serif"}));
    list.font.setPointSize(40);
    list.colour = QColor(0, 0, 0);
    QCOMPARE(StyleSpecFromChoice("te|1|Arial, Helvetica, sans-serif|0|700|46|255,255,255", list),
             std::string("te|1|Arial, Helvetica, sans-serif|0|700|40|0,0,0"));
    QFont pixels(QStringLiteral("Arial"));
    pixels.setPixelSize(20);
    const std::string fromPixels = StyleSpecFromChoice("te|1|x|0|400|1|0,0,0", FontChoice{pixels, QColor()});
    QVERIFY2(fromPixels.rfind("te|1|Arial|0|400|", 0) == 0, fromPixels.c_str());
    QVERIFY(fromPixels.find("|0|0,0,0") == std::string::npos);  // a real point size, black colour
  }
};

}  // namespace psalmora

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  psalmora::LayoutWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "layout_window_test.moc"
