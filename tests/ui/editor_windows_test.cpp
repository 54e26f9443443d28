// The main window's commands reach the editor windows: Ctrl+N / "Neues Lied anlegen" and "Lied
// bearbeiten" open the song editor over the blocked main window, "Layouts" the layout window, F1 and the
// editor's "Hilfe" the help page (at the topic for the editor).
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "app/editor_windows.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "app/song_context_menu.h"
#include "core/language.h"
#include "core/ui/app_state.h"
#include "core/ui/help_viewer.h"
#include "platform/page_view.h"
#include "render/ui/layout_window.h"
#include "songdb/ui/song_editor.h"
#include "songdb/ui/song_list_widget.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

struct Fixture {
  QTemporaryDir temp;
  AppState state;
  uitest::RecordingMessages messages;
  QString data;

  Fixture() {
    data = temp.path() + "/daten";
    uitest::WriteBytes(data + "/lieder.dat", "1\t05.03.2018-14:07\tZion\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
    uitest::WriteBytes(data + "/id.dat", "1\r\n");
    const QString program = temp.path() + "/programm";
    uitest::WriteBytes(program + "/layouts/1.lay", "Standard\r\n\r\nwhite\r\nkein\r\n #$text1#\r\n");
    uitest::WriteBytes(program + "/layouts/layout.ini", "[Layout]\r\nid=1\r\n");
    state.programFolder = program.toStdString();
    state.dataFiles = DataFiles::For(data.toStdString());
    state.settings.containerlinks = 300;
    state.settings.containermitte = 220;
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();
  }
};

}  // namespace

class EditorWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void songCommandsOpenTheEditorOverTheBlockedMainWindow() {
    Fixture f;
    MainWindow window(f.state);
    window.show();
    auto* editors = new EditorWindows(f.state, f.messages, window);

    emit window.newSongRequested();
    QPointer<SongEditor> editor = editors->OpenSongEditor();
    QVERIFY(editor);
    QVERIFY(editor->IsNew());
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->parentWidget(), &window);
    QCOMPARE(editor->windowModality(), Qt::WindowModal);
    QVERIFY(QApplication::activeModalWidget() == editor.data());
    QCOMPARE(uitest::ReadBytes(f.data + "/id.dat"), QByteArray("2\r\n"));
    editor->reject();
    QTRY_VERIFY(editor.isNull());
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    window.GroupSongList()->SelectRow(0);
    window.SetCurrentSongList(SongListId::Group);
    window.ContextMenu()->Action(SongMenuCommand::EditSong)->trigger();
    editor = editors->OpenSongEditor();
    QVERIFY(editor);
    QVERIFY(!editor->IsNew());
    QCOMPARE(editor->EditRecord().substr(0, 2), std::string("1\t"));
    editor->reject();
    QTRY_VERIFY(editor.isNull());

    window.ContextMenu()->Action(SongMenuCommand::NewSong)->trigger();
    QVERIFY(editors->OpenSongEditor() && editors->OpenSongEditor()->IsNew());
    editors->OpenSongEditor()->reject();
  }

  void layoutsMenuOpensTheLayoutWindow() {
    Fixture f;
    MainWindow window(f.state);
    auto* editors = new EditorWindows(f.state, f.messages, window);
    window.Menu()->Action(MenuCommand::Layouts)->trigger();
    QPointer<LayoutWindow> layouts = editors->OpenLayoutWindow();
    QVERIFY(layouts);
    QCOMPARE(layouts->windowModality(), Qt::WindowModal);
    QCOMPARE(layouts->ShownKey(), std::string("1"));
    layouts->close();
    QTRY_VERIFY(layouts.isNull());
  }

  void helpOpensThePageAtTheTopic() {
    Fixture f;
    MainWindow window(f.state);
    auto* editors = new EditorWindows(f.state, f.messages, window);
    emit window.helpRequested();
    QVERIFY(editors->Help());
    QVERIFY(editors->Help()->isVisible());
    QCOMPARE(editors->Help()->windowTitle(), QString("Hilfe"));
    QTRY_COMPARE_WITH_TIMEOUT(editors->Help()->View()->url().fileName(), QString("help.htm"), 15000);
    QVERIFY(!editors->Help()->View()->url().hasFragment());

    emit window.newSongRequested();
    editors->OpenSongEditor()->HelpButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(editors->Help()->View()->url().fragment(), QString("neues-lied-erstellen"), 15000);
    // A window of its own: the editor's modality does not block it.
    QVERIFY(editors->Help()->parentWidget() == nullptr);
    editors->OpenSongEditor()->reject();
  }
};

}  // namespace psalmora

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  psalmora::EditorWindowsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "editor_windows_test.moc"
