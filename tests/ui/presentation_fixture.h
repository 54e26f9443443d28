// Shared by the presentation tests: a program folder with the shipped layouts, a data folder with two
// songs, the main window with its preview and presentation controllers, and page-view helpers.
#pragma once

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <filesystem>
#include "app/application.h"
#include "app/controller_wiring.h"
#include "app/left_column.h"
#include "app/main_menu_bar.h"
#include "app/main_status_bar.h"
#include "app/main_window.h"
#include "bible/ui/bible_page.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "core/ui/ui_resources.h"
#include "platform/page_view.h"
#include "platform/screens.h"
#include "render/ui/control_window.h"
#include "render/ui/mouse_over_warning.h"
#include "render/ui/presentation_controller.h"
#include "render/ui/presentation_toolbar.h"
#include "render/ui/presentation_window.h"
#include "render/ui/preview_controller.h"
#include "render/ui/preview_pane.h"
#include "render/ui/song_order_window.h"
#include "songdb/ui/song_list_widget.h"
#include "ui_test_support.h"

namespace psalmora::presentationtest {

namespace fs = std::filesystem;

const fs::path kSourceDir(PSALMORA_SOURCE_DIR);
const QRect kFirst(0, 0, 1280, 1024);
const QRect kSecond(1280, 0, 1024, 768);

// Program folder with the shipped layouts, data folder with two songs: "1" has four blocks and an author
// (its footer band names her), "2" eleven blocks.
struct Fixture {
  QTemporaryDir temp;
  AppState state;
  uitest::RecordingMessages messages;
  long long statsNow = 1700000000;
  std::unique_ptr<MainWindow> window;
  PresentationController* presentation = nullptr;

  explicit Fixture(int folie = 0, bool withPreview = true) {
    const QString data = temp.path() + "/daten";
    uitest::WriteBytes(data + "/lieder.dat",
                       "1\t05.03.2018-14:07\tZion\t\t\t\tAnna Autorin\t\t\t\t\t\t0\tStrophe 1\x81Refrain\t\t120\t\t\t\t\t\t\r\n"
                       "2\t01.12.2017-09:05\tAbend\t\t\t\t\t\t\t\t\t\t0\t\t\t61\t\t\t\t\t\t\r\n");
    uitest::WriteBytes(data + "/1.dat",
                       ">G       D\r\nErste Zeile\r\n\r\nZweite Zeile\r\n#Second line\r\n\r\nDritte Zeile\r\n\r\n"
                       "Vierte Zeile\r\n");
    // Eleven blocks: slides 10 and 11 are out of reach of the digit keys.
    QByteArray eleven;
    for (int block = 1; block <= 11; ++block) eleven += QByteArray("Block ") + QByteArray::number(block) + "\r\n\r\n";
    uitest::WriteBytes(data + "/2.dat", eleven);
    uitest::WriteBytes(data + "/auswahl.dat", "Sonntag\t|1|2\t\t\t\t\t\t\t\r\n");
    const QString program = temp.path() + "/programm";
    fs::create_directories(fs::path(program.toStdString()) / "layouts");
    for (const auto& entry : fs::directory_iterator(kSourceDir / "data/layouts")) {
      fs::copy_file(entry.path(), fs::path(program.toStdString()) / "layouts" / entry.path().filename());
    }
    state.programFolder = program.toStdString();
    state.dataFiles = DataFiles::For(data.toStdString());
    state.settings.folie = folie;
    state.settings.akkordzeilehoehe = 40;
    state.settings.fusszeilenhoehe = 25;
    state.settings.scrollweite = 20;
    state.windowTitle = "Psalmora 3.12";
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.songs = SongStore(state.dataFiles);
    state.songs.LoadSongList();

    window = std::make_unique<MainWindow>(state);
    if (withPreview) new PreviewController(state, *window);
    PresentationServices services;
    services.statsClock = [this] { return statsNow; };
    presentation = new PresentationController(state, *window, messages, services);
    ConnectControllers(*window);
    window->resize(1000, 700);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) qWarning("main window not exposed");
  }

  fs::path DataFile(const char* name) const { return state.dataFiles.folder / name; }
  std::string Page(const char* name) const { return ReadText(DataFile(name)); }
  static std::string ReadText(const fs::path& path) {
    return uitest::ReadBytes(QString::fromStdString(path.string())).toStdString();
  }
  fs::path BeamerLayout() const { return state.programFolder / "layouts" / "2.lay"; }

  // Chooses a song of the selection list as a click would.
  void ChooseSong(int row) {
    window->SelectionSongList()->SelectRow(row);
    window->SetCurrentSongList(SongListId::Selection);
  }
  PresentationWindow* Beamer() const { return presentation->Window(); }
};

inline bool WaitForLoad(PageView* view) {
  QSignalSpy loaded(view, &PageView::pageLoaded);
  return loaded.wait(15000);
}

// The page source as the engine holds it now (empty when it does not answer within five seconds: a
// busy two-core machine can take more than one).
inline QString PageHtml(PageView* view) {
  // The answer may come after this function gave up: it writes into storage it shares.
  auto answer = std::make_shared<std::pair<bool, QString>>(false, QString());
  view->page()->toHtml([answer](const QString& page) { *answer = {true, page}; });
  if (!QTest::qWaitFor([&] { return answer->first; }, 5000)) return {};
  return answer->second;
}

}  // namespace psalmora::presentationtest

// Two monitors side by side, set before the QApplication reads the platform.
#define PSALMORA_PRESENTATION_TEST_MAIN(TestClass)                                                 \
  int main(int argc, char* argv[]) {                                                               \
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + PSALMORA_TWO_SCREENS_CONFIG); \
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                    \
    QApplication app(argc, argv);                                                                  \
    psalmora::InitUiResources();                                                                   \
    TestClass test;                                                                                \
    return QTest::qExec(&test, argc, argv);                                                        \
  }
