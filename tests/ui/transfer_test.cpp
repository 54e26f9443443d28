// Songs in and out through the main window: "in Datei exportieren" of the context menu, the menu item
// "Exportdatei (*.exp)" with the chooser "Import...", and the CCLI import with its report of skipped files.
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/controller_wiring.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "app/song_context_menu.h"
#include "core/ui/common_dialogs.h"
#include "song_folder_fixture.h"
#include "transfer/ui/import_chooser.h"
#include "transfer/ui/transfer_controller.h"

namespace psalmora {
namespace {

using uitest::FileLines;
using uitest::RowIds;
using uitest::SelectIds;

class FakeDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString& title, const QString& start, const QString&) override {
    titles << title;
    starts << start;
    return openAnswer;
  }
  QString SaveFile(QWidget*, const QString& title, const QString& start, const QString&) override {
    titles << title;
    starts << start;
    return saveAnswer;
  }
  QStringList OpenFiles(QWidget*, const QString& title, const QString& start, const QString&) override {
    titles << title;
    starts << start;
    return filesAnswer;
  }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return {}; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return {}; }

  QString openAnswer, saveAnswer;
  QStringList filesAnswer, titles, starts;
};

struct Window {
  uitest::SongFolder folder;
  uitest::RecordingMessages messages;
  FakeDialogs dialogs;
  MainWindow window{folder.state};

  Window() {
    new TransferController(folder.state, window, messages, &dialogs);
    ConnectControllers(window);
  }
};

QStringList Titles(QTreeWidget* list) {
  QStringList titles;
  for (int row = 0; row < list->topLevelItemCount(); ++row) titles << list->topLevelItem(row)->text(0);
  return titles;
}

}  // namespace

class TransferTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void exportedSongsComeBackThroughTheChooserInListOrder() {
    Window w;
    w.window.show();
    w.window.SetCurrentSongList(SongListId::Selection);
    SelectIds(w.window.SelectionSongList(), {"1", "2", "3"});
    w.dialogs.saveAnswer = w.folder.temp.path() + "/lieder";  // no extension: ".exp" is added
    w.window.ContextMenu()->Action(SongMenuCommand::ExportToFile)->trigger();
    QCOMPARE(w.dialogs.titles.value(0), QString("Exportdatei Speichern unter..."));
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].title, QString("Exportdatei speichern"));
    QCOMPARE(w.messages.shown[0].text, QString("Lieder wurden erfolgreich in Exportdatei gespeichert!"));

    w.dialogs.openAnswer = w.folder.temp.path() + "/lieder.exp";
    emit w.window.menuCommand(MenuCommand::ImportExportFile);
    ImportChooser* chooser = TransferController::Of(w.window)->Chooser();
    QVERIFY(chooser);
    QVERIFY(chooser->isVisible());
    QCOMPARE(chooser->windowTitle(), QString("Import..."));
    QCOMPARE(chooser->Count(), 3);
    QCOMPARE(Titles(chooser->List()), (QStringList{"Zion", "über den Wolken", "Ärger"}));
    QVERIFY(w.folder.SettingsFile().contains("pfadimport=" + w.dialogs.openAnswer.toUtf8()));

    // Nothing chosen: the chooser says so and stays.
    chooser->ImportButton()->click();
    QCOMPARE(w.messages.shown.back().text, QString("Keine Auswahl getroffen!"));
    QCOMPARE(w.messages.shown.back().title, QString("Daten importieren"));
    QVERIFY(TransferController::Of(w.window)->Chooser());

    // Chosen bottom-up, imported top-down.
    chooser->List()->setCurrentItem(chooser->List()->topLevelItem(2));
    chooser->List()->topLevelItem(0)->setSelected(true);
    chooser->ImportButton()->click();
    QTRY_VERIFY(!TransferController::Of(w.window)->Chooser());
    const QList<QByteArray> songs = FileLines(w.folder.File("lieder.dat"));
    QVERIFY(songs.value(0).startsWith("11\t01.12.2017-09:05\t\xC4rger\t"));
    QVERIFY(songs.value(1).startsWith("10\t01.12.2017-09:05\tZion\t"));
    QCOMPARE(w.folder.File("10.dat"), QByteArray("Halleluja!!\r\n#und Amen\r\n"));
    QVERIFY(RowIds(w.window.GroupSongList()).contains("11"));
  }

  void ccliFilesBecomeSongsAndSkippedOnesAreListedOnce() {
    Window w;
    const QString dir = w.folder.temp.path();
    uitest::WriteBytes(dir + "/a.usr",
                       "\xEF\xBB\xBF[S A5]\r\nTitle=\xC3\x9C"
                       "ber alles\r\nWords=x/ny/t\r\n");
    uitest::WriteBytes(dir + "/b.usr", "kein Lied");
    w.dialogs.filesAnswer = {dir + "/a.usr", dir + "/b.usr"};
    emit w.window.menuCommand(MenuCommand::ImportCcli);
    QCOMPARE(w.dialogs.titles.value(0), QString("zu importierende Dateien auswählen"));
    QVERIFY(FileLines(w.folder.File("lieder.dat")).value(0).startsWith("10\t"));
    QCOMPARE(w.folder.File("10.dat"), QByteArray("x\ry\r\n"));
    QVERIFY(RowIds(w.window.GroupSongList()).contains("10"));
    QVERIFY(w.folder.SettingsFile().contains("pfadimport=" + dir.toUtf8() + "/"));
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].text,
             "Folgende Dateien wurden nicht importiert:\n" + dir + "/b.usr: enthält kein Lied");

    // All files fine: no message at all.
    w.messages.shown.clear();
    w.dialogs.filesAnswer = {dir + "/a.usr"};
    emit w.window.menuCommand(MenuCommand::ImportCcli);
    QVERIFY(w.messages.shown.empty());
    QVERIFY(FileLines(w.folder.File("lieder.dat")).value(0).startsWith("11\t"));
  }

  void filesOpenedFromTheDesktopAreImportedWithoutAFileDialog() {
    Window w;
    w.window.show();
    const QString dir = w.folder.temp.path();
    w.window.SetCurrentSongList(SongListId::Selection);
    SelectIds(w.window.SelectionSongList(), {"1"});
    w.dialogs.saveAnswer = dir + "/eins.exp";
    w.window.ContextMenu()->Action(SongMenuCommand::ExportToFile)->trigger();
    uitest::WriteBytes(dir + "/a.usr", "[S A5]\r\nTitle=Vom Desktop\r\nWords=x/ny/t\r\n");
    w.dialogs.titles.clear();

    TransferController::Of(w.window)->ImportFiles({dir + "/a.usr", dir + "/eins.exp"});
    QVERIFY(w.dialogs.titles.isEmpty());
    QVERIFY(FileLines(w.folder.File("lieder.dat")).value(0).startsWith("10\t"));
    QCOMPARE(w.folder.File("10.dat"), QByteArray("x\ry\r\n"));
    ImportChooser* chooser = TransferController::Of(w.window)->Chooser();
    QVERIFY(chooser);
    QCOMPARE(Titles(chooser->List()), QStringList{"Zion"});
  }

  void aFileThatIsNoExportFileIsRefused() {
    Window w;
    uitest::WriteBytes(w.folder.temp.path() + "/text.exp", "pmexport\r\nHallo\r\n");
    w.dialogs.openAnswer = w.folder.temp.path() + "/text.exp";
    emit w.window.menuCommand(MenuCommand::ImportExportFile);
    QVERIFY(!TransferController::Of(w.window)->Chooser());
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].title, QString("Exportdatei öffnen"));
    QVERIFY(w.messages.shown[0].text.endsWith(" ist keine Exportdatei!"));
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::TransferTest)
#include "transfer_test.moc"
