// Selections and groups from the main window: the song toolbar (add with the duplicate message, block
// moves, remove), the Space keys of the three lists, the group submenu, "aus aktueller Gruppe entfernen"
// with its enabling rule, and the chooser texts that follow every change.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
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
#include "songdb/ui/search_controller.h"
#include "songdb/ui/search_page.h"

namespace psalmora {
namespace {

using uitest::FileLines;
using uitest::RowIds;
using uitest::SelectIds;

// A window with the collection commands served, recording its messages.
struct Window {
  uitest::SongFolder folder;
  uitest::RecordingMessages messages;
  MainWindow window{folder.state};

  Window() {
    new CollectionController(folder.state, window, messages);
    new SearchController(folder.state, window);
    ConnectControllers(window);
  }
  QAction* Toolbar(SongToolbarCommand command) const { return window.Left()->SongToolbarAction(command); }
  QByteArray SelectionLine(int position) const { return FileLines(folder.File("auswahl.dat")).value(position); }
  QByteArray GroupLine(int position) const { return FileLines(folder.File("gruppierung.dat")).value(position); }
  QAction* RemoveFromGroup() const { return window.ContextMenu()->Action(SongMenuCommand::RemoveFromGroup); }
};

// What a drag of the mouse delivers to the list it ends over: entering it, then the drop.
void Drop(SongListWidget* list, const QPoint& at, QMimeData* carried) {
  QDragEnterEvent enter(at, Qt::MoveAction, carried, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &enter);
  QDropEvent drop(at, Qt::MoveAction, carried, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &drop);
}

}  // namespace

class CollectionsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void addingNamesTheSongsAlreadyChosenAndAddsTheRest() {
    Window w;
    w.window.Left()->Pages()->setCurrentIndex(LeftColumn::kGroupsPage);
    // Sorted by title: Abend (4) comes before Zion (1), which the selection has.
    SelectIds(w.window.GroupSongList(), {"1", "4"});
    w.Toolbar(SongToolbarCommand::AddToSelection)->trigger();

    QCOMPARE(w.window.CurrentSongList(), SongListId::Group);
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].title, QString("Meldung"));
    QCOMPARE(w.messages.shown[0].text, QString("'Zion' wurde schon ausgewählt"));
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|1|2|3|4\t"));
    QVERIFY(w.SelectionLine(0).endsWith("\tu17\t"));
    QCOMPARE(w.SelectionLine(1), QByteArray("Leer\t\t"));
    QCOMPARE(w.window.SelectionChooser()->itemText(0), QString("Sonntag (4)"));
    QCOMPARE(RowIds(w.window.SelectionSongList()), (QStringList{"1", "2", "3", "4"}));

    // Nothing chosen: nothing happens.
    w.window.GroupSongList()->clearSelection();
    w.Toolbar(SongToolbarCommand::AddToSelection)->trigger();
    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|1|2|3|4\t"));
  }

  void theChosenSelectionReceivesTheSongsOfTheShownPage() {
    Window w;
    w.window.SelectionChooser()->setCurrentIndex(1);
    QCOMPARE(w.window.SelectionSongList()->RowCount(), 0);
    w.window.Search()->SearchField()->setText(QStringLiteral("e"));
    SearchController::Of(w.window)->RunSearch();
    SelectIds(w.window.SearchHitList(), {"9", "6"});
    SelectIds(w.window.GroupSongList(), {"1"});
    w.window.Left()->Pages()->setCurrentIndex(LeftColumn::kSearchPage);
    w.Toolbar(SongToolbarCommand::AddToSelection)->trigger();
    QCOMPARE(w.window.CurrentSongList(), SongListId::SearchHits);
    // Hits keep the song list order: 6 before 9.
    QVERIFY(w.SelectionLine(1).startsWith("Leer\t|6|9\t"));
    QCOMPARE(w.window.SelectionChooser()->itemText(1), QString("Leer (2)"));
    QCOMPARE(w.window.SelectionChooser()->currentIndex(), 1);
    QCOMPARE(RowIds(w.window.SelectionSongList()), (QStringList{"6", "9"}));
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|1|2|3\t"));
  }

  void spaceAddsFromGroupAndSearchListsAndRemovesFromTheSelection() {
    Window w;
    w.window.show();
    SongListWidget* groups = w.window.GroupSongList();
    SelectIds(groups, {"6"});
    groups->setFocus();
    QTest::keyClick(groups, Qt::Key_Space);
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|1|2|3|6\t"));

    w.window.Left()->Pages()->setCurrentIndex(LeftColumn::kSearchPage);
    w.window.Search()->SearchField()->setText(QStringLiteral("neun"));
    SearchController::Of(w.window)->RunSearch();
    SongListWidget* hits = w.window.SearchHitList();
    SelectIds(hits, {"9"});
    QTest::keyClick(hits, Qt::Key_Space);
    QCOMPARE(w.window.CurrentSongList(), SongListId::SearchHits);
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|1|2|3|6|9\t"));
    QCOMPARE(w.window.SelectionChooser()->itemText(0), QString("Sonntag (5)"));

    SongListWidget* selection = w.window.SelectionSongList();
    SelectIds(selection, {"2", "6"});
    QTest::keyClick(selection, Qt::Key_Space);
    QCOMPARE(w.window.CurrentSongList(), SongListId::Selection);
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|1|3|9\t"));
    QCOMPARE(RowIds(selection), (QStringList{"1", "3", "9"}));
    QCOMPARE(w.window.SelectionChooser()->itemText(0), QString("Sonntag (3)"));
    QVERIFY(w.messages.shown.empty());
  }

  void removeButtonTakesEveryOccurrenceOutOfTheSelection() {
    Window w;
    uitest::WriteBytes(w.folder.data + "/auswahl.dat", "Sonntag\t|1|2|1|3\t\t\t\t\t\t\t\r\n");
    w.window.FillSelections();
    SelectIds(w.window.SelectionSongList(), {"1"});
    w.Toolbar(SongToolbarCommand::RemoveFromSelection)->trigger();
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|2|3\t"));
    QCOMPARE(RowIds(w.window.SelectionSongList()), (QStringList{"2", "3"}));
  }

  void aChosenBlockMovesTogetherAndStopsAtTheEnds() {
    Window w;
    uitest::WriteBytes(w.folder.data + "/auswahl.dat", "Sonntag\t|1|2|3|4\t\t\t\t\t\t\t\r\nLeer\t\t\r\n");
    w.window.FillSelections();
    SongListWidget* list = w.window.SelectionSongList();
    SelectIds(list, {"2", "3"});

    w.Toolbar(SongToolbarCommand::MoveUp)->trigger();
    QCOMPARE(RowIds(list), (QStringList{"2", "3", "1", "4"}));
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|2|3|1|4\t"));
    QCOMPARE(list->SelectedIds(), (QStringList{"2", "3"}));
    // At the top the block stays where it is.
    w.Toolbar(SongToolbarCommand::MoveUp)->trigger();
    QCOMPARE(RowIds(list), (QStringList{"2", "3", "1", "4"}));

    w.Toolbar(SongToolbarCommand::MoveDown)->trigger();
    w.Toolbar(SongToolbarCommand::MoveDown)->trigger();
    QCOMPARE(RowIds(list), (QStringList{"1", "4", "2", "3"}));
    w.Toolbar(SongToolbarCommand::MoveDown)->trigger();
    QCOMPARE(RowIds(list), (QStringList{"1", "4", "2", "3"}));
    QVERIFY(w.SelectionLine(0).startsWith("Sonntag\t|1|4|2|3\t"));
    QCOMPARE(list->SelectedIds(), (QStringList{"2", "3"}));
    QCOMPARE(w.SelectionLine(1), QByteArray("Leer\t\t"));
    QCOMPARE(w.window.SelectionChooser()->itemText(0), QString("Sonntag (4)"));
  }

  void draggingInTheSetListMovesAsTheButtonsDoAndNumbersTheRows() {
    enum class Spot { UpperHalf, LowerHalf, BelowTheRows };
    struct Row {
      const char* name;
      QStringList chosen;
      int dragRow;
      int targetRow;
      Spot spot;
      QStringList order;
    };
    const Row rows[] = {
        {"down onto the lower half", {"1"}, 0, 2, Spot::LowerHalf, {"2", "3", "1", "4"}},
        {"up onto the upper half", {"4"}, 3, 0, Spot::UpperHalf, {"4", "1", "2", "3"}},
        {"a block stops at the end", {"2", "3"}, 1, 0, Spot::BelowTheRows, {"1", "4", "2", "3"}},
        {"onto itself", {"2"}, 1, 1, Spot::UpperHalf, {"1", "2", "3", "4"}},
    };
    for (const Row& row : rows) {
      Window w;
      const QByteArray before = "Sonntag\t|1|2|3|4\t\t\t\t\t\t\t\r\nLeer\t\t\r\n";
      uitest::WriteBytes(w.folder.data + "/auswahl.dat", before);
      w.window.FillSelections();
      w.window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w.window));
      SongListWidget* list = w.window.SelectionSongList();
      QCOMPARE(list->model()->data(list->model()->index(2, SongListModel::kTitleColumn)).toString(),
               "3. " + list->Model().RowAt(2).title);
      SelectIds(list, row.chosen);

      const QRect target = list->visualRect(list->Model().index(row.targetRow, 0));
      QPoint at = target.center() + QPoint(0, row.spot == Spot::LowerHalf ? target.height() / 4 : -target.height() / 4);
      if (row.spot == Spot::BelowTheRows) at = QPoint(target.center().x(), list->viewport()->height() - 2);
      std::unique_ptr<QMimeData> carried(list->ReorderMimeData(row.dragRow));
      Drop(list, at, carried.get());

      QVERIFY2(RowIds(list) == row.order, row.name);
      if (row.order == QStringList{"1", "2", "3", "4"}) {
        QCOMPARE(uitest::ReadBytes(w.folder.data + "/auswahl.dat"), before);
      } else {
        QVERIFY2(w.SelectionLine(0).startsWith("Sonntag\t|" + row.order.join('|').toLatin1() + "\t"), row.name);
        QCOMPARE(list->SelectedIds(), row.chosen);
      }
      QCOMPARE(w.SelectionLine(1), QByteArray("Leer\t\t"));
    }

    // A drag from another list is no reorder of the set list.
    Window w;
    uitest::WriteBytes(w.folder.data + "/auswahl.dat", "Sonntag\t|1|2|3|4\t\t\t\t\t\t\t\r\n");
    w.window.FillSelections();
    SongListWidget* list = w.window.SelectionSongList();
    std::unique_ptr<QMimeData> foreign(w.window.GroupSongList()->ReorderMimeData(0));
    Drop(list, QPoint(5, 5), foreign.get());
    QCOMPARE(RowIds(list), (QStringList{"1", "2", "3", "4"}));
  }

  void groupSubmenuAddsToThatGroupAndRefillsTheGroups() {
    Window w;
    QMenu* submenu = w.window.ContextMenu()->GroupSubmenu();
    QCOMPARE(submenu->actions().size(), 2);
    QCOMPARE(submenu->actions().at(0)->text(), QString("Lobpreis\t7"));
    w.window.SetCurrentSongList(SongListId::Group);
    SelectIds(w.window.GroupSongList(), {"2", "9"});
    submenu->actions().at(1)->trigger();

    QCOMPARE(w.messages.shown.size(), std::size_t{1});
    QCOMPARE(w.messages.shown[0].text, QString("'über den Wolken' wurde schon ausgewählt"));
    QVERIFY(w.GroupLine(1).startsWith("Advent\t|2|9\t"));
    QVERIFY(w.GroupLine(0).startsWith("Lobpreis\t7|4|1\t"));
    QCOMPARE(w.window.GroupChooser()->itemText(2), QString("Advent (2)"));
    QCOMPARE(w.window.ContextMenu()->GroupSubmenu()->actions().size(), 2);

    // Songs added to the group with a pool id get the shared icon in the whole database.
    SelectIds(w.window.GroupSongList(), {"9"});
    w.window.ContextMenu()->GroupSubmenu()->actions().at(0)->trigger();
    QVERIFY(w.GroupLine(0).startsWith("Lobpreis\t7|4|1|9\t"));
    SongListWidget* list = w.window.GroupSongList();
    for (int row = 0; row < list->RowCount(); ++row) {
      if (list->Model().RowAt(row).id == "9") QVERIFY(list->Model().RowAt(row).shared);
    }
  }

  void theChosenCollectionStaysChosenWhenTheEditorAddsOneAbove() {
    struct Case {
      CollectionKind kind;
      int chosen;
      QString rename;  // empty: kept as it is
      QString shown;
    };
    const Case cases[] = {
        {CollectionKind::Selection, 1, QStringLiteral("Karfreitag"), QStringLiteral("Karfreitag (0)")},
        {CollectionKind::Group, 2, QString(), QStringLiteral("Advent (1)")},
    };
    for (const Case& c : cases) {
      Window w;
      const bool selections = c.kind == CollectionKind::Selection;
      QComboBox* chooser = selections ? w.window.SelectionChooser() : w.window.GroupChooser();
      chooser->setCurrentIndex(c.chosen);
      uitest::WhenModal<CollectionEditor>([&](CollectionEditor* editor) {
        editor->NewButton()->click();
        if (!c.rename.isEmpty()) {
          // The chosen one moved down a row with the new one above it.
          editor->List()->clearSelection();
          editor->List()->topLevelItem(c.chosen + 1)->setSelected(true);
          uitest::WhenModal<CollectionNameWindow>([&](CollectionNameWindow* name) {
            name->NameField()->setText(c.rename);
            name->SaveButton()->click();
          });
          editor->EditButton()->click();
        }
        editor->OkButton()->click();
      });
      QTest::mouseClick(selections ? w.window.Middle()->EditSelectionsButton() : w.window.Left()->EditGroupsButton(),
                        Qt::LeftButton);
      QCOMPARE(chooser->currentText(), c.shown);
    }

    // The next song goes into the selection still chosen.
    Window w;
    w.window.SelectionChooser()->setCurrentIndex(1);
    w.window.Left()->Pages()->setCurrentIndex(LeftColumn::kGroupsPage);
    uitest::WhenModal<CollectionEditor>([](CollectionEditor* editor) {
      editor->NewButton()->click();
      editor->OkButton()->click();
    });
    QTest::mouseClick(w.window.Middle()->EditSelectionsButton(), Qt::LeftButton);
    SelectIds(w.window.GroupSongList(), {"4"});
    w.Toolbar(SongToolbarCommand::AddToSelection)->trigger();
    QVERIFY(w.SelectionLine(2).startsWith("Leer\t|4\t"));
    QVERIFY(w.SelectionLine(1).startsWith("Sonntag\t|1|2|3\t"));
  }

  void removeFromGroupFollowsItsEnablingRule() {
    Window w;
    QVERIFY(!w.RemoveFromGroup()->isEnabled());
    w.window.SetCurrentSongList(SongListId::Group);
    // "Gesamte Datenbank": disabled, and triggering it anyway changes nothing.
    QVERIFY(!w.RemoveFromGroup()->isEnabled());
    SelectIds(w.window.GroupSongList(), {"4"});
    CollectionController::Of(w.window)->RemoveFromCurrentGroup();
    QVERIFY(w.GroupLine(0).startsWith("Lobpreis\t7|4|1\t"));

    w.window.GroupChooser()->setCurrentIndex(1);
    QCOMPARE(RowIds(w.window.GroupSongList()), (QStringList{"4", "1"}));
    QVERIFY(w.RemoveFromGroup()->isEnabled());
    w.window.SetCurrentSongList(SongListId::Selection);
    QVERIFY(!w.RemoveFromGroup()->isEnabled());
    w.window.SetCurrentSongList(SongListId::Group);
    QVERIFY(w.RemoveFromGroup()->isEnabled());

    SelectIds(w.window.GroupSongList(), {"4"});
    w.RemoveFromGroup()->trigger();
    QVERIFY(w.GroupLine(0).startsWith("Lobpreis\t7|1\t"));
    QCOMPARE(RowIds(w.window.GroupSongList()), QStringList{"1"});
    QCOMPARE(w.window.GroupChooser()->itemText(1), QString("Lobpreis (1)"));
    QCOMPARE(w.window.Left()->Pages()->tabText(LeftColumn::kGroupsPage), QString("(1)"));
    QVERIFY(w.RemoveFromGroup()->isEnabled());

    w.window.GroupChooser()->setCurrentIndex(0);
    QVERIFY(!w.RemoveFromGroup()->isEnabled());
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::CollectionsTest)
#include "collections_test.moc"
