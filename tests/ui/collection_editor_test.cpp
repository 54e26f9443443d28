// The collection editor for selections and groups: new, rename (with the pool-id check of groups),
// delete with its question and the bookkeeping for the synchronisation, and the main window's choosers
// refilled however the editor closes.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/controller_wiring.h"
#include "app/left_column.h"
#include "app/main_window.h"
#include "app/selection_column.h"
#include "app/song_context_menu.h"
#include "collections/ui/collection_controller.h"
#include "collections/ui/collection_editor.h"
#include "song_folder_fixture.h"

namespace psalmora {
namespace {

using uitest::FileLines;

QStringList RowTexts(QTreeWidget* list, int column) {
  QStringList texts;
  for (int row = 0; row < list->topLevelItemCount(); ++row) texts << list->topLevelItem(row)->text(column);
  return texts;
}

void ChooseRow(QTreeWidget* list, int row) {
  list->clearSelection();
  list->topLevelItem(row)->setSelected(true);
}

// Renames the chosen row through the name window.
void Rename(CollectionEditor* editor, const QString& name, const QString& poolId = QString()) {
  uitest::WhenModal<CollectionNameWindow>([name, poolId](CollectionNameWindow* window) {
    window->NameField()->setText(name);
    if (window->PoolIdField()) window->PoolIdField()->setText(poolId);
    window->SaveButton()->click();
  });
  editor->EditButton()->click();
}

QStringList ChooserTexts(QComboBox* chooser) {
  QStringList texts;
  for (int i = 0; i < chooser->count(); ++i) texts << chooser->itemText(i);
  return texts;
}

}  // namespace

class CollectionEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void anUnreadableFileIsNeverReplacedByANewEntry() {
    uitest::SongFolder f;
    const QString file = f.data + "/auswahl.dat";
    QFile::remove(file);
    QVERIFY(QFile::link(file, file));  // there, but it cannot be read
    uitest::RecordingMessages messages;
    CollectionEditor editor(f.state, messages, CollectionKind::Selection, nullptr);
    editor.NewButton()->click();
    QVERIFY(!messages.shown.empty());
    QVERIFY(messages.shown.back().text.contains("auswahl.dat"));
    QVERIFY(QFileInfo(file).isSymLink());
    QCOMPARE(QFileInfo(file).symLinkTarget(), file);
  }

  void selectionsAreCreatedRenamedAndDeleted() {
    uitest::SongFolder f;
    uitest::WriteBytes(f.data + "/auswahl.dat", "Sonntag\t|1|2|3\tPL-1\t\t\t\t\t\t\r\nLeer\t\t\r\n");
    uitest::RecordingMessages messages;
    MainWindow window(f.state);
    new CollectionController(f.state, window, messages);
    ConnectControllers(window);
    window.show();

    bool ran = false;
    uitest::WhenModal<CollectionEditor>([&](CollectionEditor* editor) {
      ran = true;
      QCOMPARE(editor->windowTitle(), QString("Auswahl bearbeiten"));
      QVERIFY(editor->windowModality() == Qt::WindowModal);
      QCOMPARE(editor->List()->columnCount(), 2);
      QCOMPARE(RowTexts(editor->List(), 0), (QStringList{"Sonntag", "Leer"}));
      QCOMPARE(RowTexts(editor->List(), 1), (QStringList{"3", "0"}));

      editor->DeleteButton()->click();
      QCOMPARE(messages.shown.back().title, QString("Auswahl löschen"));
      QCOMPARE(messages.shown.back().text, QString("Keine Auswahl getroffen!"));
      editor->EditButton()->click();
      QCOMPARE(messages.shown.back().title, QString("Auswahl bearbeiten"));

      editor->NewButton()->click();
      QCOMPARE(RowTexts(editor->List(), 0), (QStringList{"-Neue Auswahlliste-", "Sonntag", "Leer"}));
      QVERIFY(FileLines(f.File("auswahl.dat")).value(0).startsWith("-Neue Auswahlliste-\t\t\t\t"));
      QVERIFY(FileLines(f.File("auswahl.dat")).value(0).endsWith("\tu17"));

      ChooseRow(editor->List(), 0);
      Rename(editor, QStringLiteral("Ostern & Pfingsten"));
      QCOMPARE(editor->List()->topLevelItem(0)->text(0), QString("Ostern & Pfingsten"));
      QVERIFY(FileLines(f.File("auswahl.dat")).value(0).startsWith("Ostern & Pfingsten\t\t\t\t"));
      // An empty name saves nothing.
      Rename(editor, QString());
      QCOMPARE(editor->List()->topLevelItem(0)->text(0), QString("Ostern & Pfingsten"));

      // Deleting asks first; No keeps the selection.
      ChooseRow(editor->List(), 1);
      messages.answer = false;
      editor->DeleteButton()->click();
      QCOMPARE(messages.shown.back().text, QString("Die Auswahl wirklich löschen?"));
      QCOMPARE(editor->List()->topLevelItemCount(), 3);
      messages.answer = true;
      editor->DeleteButton()->click();
      QCOMPARE(RowTexts(editor->List(), 0), (QStringList{"Ostern & Pfingsten", "Leer"}));
      QCOMPARE(FileLines(f.File("auswahl.dat")).size(), 2);
      editor->OkButton()->click();
    });
    QTest::mouseClick(window.Middle()->EditSelectionsButton(), Qt::LeftButton);
    QVERIFY(ran);
    // The synchronisation learns that the shared selection is gone.
    QVERIFY(f.SettingsFile().contains("loeschstringplaylistclient=PL-1|"));
    QCOMPARE(ChooserTexts(window.SelectionChooser()), (QStringList{"Ostern & Pfingsten (0)", "Leer (0)"}));
    QVERIFY(window.isEnabled());
  }

  void groupsKeepTheirPoolIdsUniqueAndTheCloseBoxStillRefills() {
    uitest::SongFolder f;
    uitest::WriteBytes(f.data + "/datenpool/7.dat", "pool\r\n");
    uitest::RecordingMessages messages;
    MainWindow window(f.state);
    new CollectionController(f.state, window, messages);
    ConnectControllers(window);
    window.show();

    bool ran = false;
    uitest::WhenModal<CollectionEditor>([&](CollectionEditor* editor) {
      ran = true;
      QCOMPARE(editor->windowTitle(), QString("Gruppierung bearbeiten"));
      QCOMPARE(editor->List()->columnCount(), 3);
      QCOMPARE(RowTexts(editor->List(), 1), (QStringList{"2", "1"}));
      QCOMPARE(RowTexts(editor->List(), 2), (QStringList{"7", ""}));

      // Pool id 7 belongs to "Lobpreis": refused with a warning, the new name is kept.
      ChooseRow(editor->List(), 1);
      Rename(editor, QStringLiteral("Advent 2"), QStringLiteral("7"));
      QCOMPARE(messages.shown.back().icon, MessageIcon::Warning);
      QCOMPARE(messages.shown.back().title, QString("Gruppierung bearbeiten"));
      QCOMPARE(messages.shown.back().text, QString("Pool ID bereits für Gruppe Lobpreis vergeben!"));
      QCOMPARE(FileLines(f.File("gruppierung.dat")).value(1), QByteArray("Advent 2\t|2\t"));

      Rename(editor, QStringLiteral("Advent 2"), QStringLiteral("9"));
      QCOMPARE(RowTexts(editor->List(), 2), (QStringList{"7", "9"}));
      QCOMPARE(FileLines(f.File("gruppierung.dat")).value(1), QByteArray("Advent 2\t9|2\t"));

      // Deleting a pool group removes its data-pool file; groups never touch the selection bookkeeping.
      ChooseRow(editor->List(), 0);
      messages.answer = true;
      editor->DeleteButton()->click();
      QVERIFY(!QFile::exists(f.data + "/datenpool/7.dat"));
      QCOMPARE(RowTexts(editor->List(), 0), QStringList{"Advent 2"});
      editor->reject();  // the close box
    });
    QTest::mouseClick(window.Left()->EditGroupsButton(), Qt::LeftButton);
    QVERIFY(ran);
    QVERIFY(!f.SettingsFile().contains("loeschstringplaylistclient"));
    QCOMPARE(ChooserTexts(window.GroupChooser()), (QStringList{"Gesamte Datenbank", "Advent 2 (1)"}));
    QCOMPARE(window.ContextMenu()->GroupSubmenu()->actions().size(), 1);
    QCOMPARE(window.ContextMenu()->GroupSubmenu()->actions().at(0)->text(), QString("Advent 2\t9"));
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::CollectionEditorTest)
#include "collection_editor_test.moc"
