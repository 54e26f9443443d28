// The application object: start-up order with the wizard, the stored folder, the "Ordner Check"
// message, the language dialog, the movie playback check, the update question, the single-instance
// guard, the menu items of the application core, and the shutdown (page files, run values, SIGTERM).
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <csignal>
#include <future>

#include "app/application.h"
#include "app/main_menu_bar.h"
#include "app/main_window.h"
#include "core/ini_file.h"
#include "core/registry_store.h"
#include "core/settings.h"
#include "core/ui/language_dialog.h"
#include "core/ui/settings_dialog.h"
#include "core/ui/ui_resources.h"
#include "platform/quit_signals.h"
#include "platform/single_instance.h"
#include "ui_test_support.h"

namespace psalmora {

namespace {

struct StartedProgram {
  QString program;
  QStringList arguments;
};

// Temporary program folder, registry file and instance folder; movies can play; started programs are
// recorded instead of run.
struct Fixture {
  QTemporaryDir temp;
  uitest::RecordingMessages messages;
  std::vector<StartedProgram> started;
  StartOptions options;

  explicit Fixture(const QByteArray& settings = "[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n") {
    options.programDir = Path("program").toStdString();
    options.registryFile = Path("registry.ini").toStdString();
    options.instanceFolder = Path("run");
    if (!settings.isNull()) uitest::WriteBytes(SettingsFile(), settings);
  }
  QString Path(const QString& name) const { return temp.path() + "/" + name; }
  QString SettingsFile() const { return Path("program/config/einstellungen.ini"); }
  StartupServices Services(bool moviesPlay = true, bool startSucceeds = false) {
    StartupServices services;
    services.canPlayMovies = [moviesPlay] { return moviesPlay; };
    services.startProgram = [this, startSucceeds](const QString& program, const QStringList& arguments,
                                                  const QString&) {
      started.push_back({program, arguments});
      return startSucceeds;
    };
    return services;
  }
  void InstallUpdater(const QByteArray& content = "#!/bin/sh\n") const {
    uitest::WriteBytes(Path("program/psalmora-update"), content);
  }
  RegistryStore Registry() const { return RegistryStore(Path("registry.ini").toStdString()); }
  std::string Setting(const char* group, const char* key) const {
    return IniFile::Load(SettingsFile().toStdString()).ValueOr(group, key, "<missing>");
  }
};

// Drives the wizard: the given folder, then "Weiter >>".
void ContinueWizardWith(const QString& folder, bool* shown = nullptr) {
  uitest::WhenModal<FolderWizard>([folder, shown](FolderWizard* wizard) {
    if (shown) *shown = true;
    wizard->SetPathText(folder);
    QTest::mouseClick(wizard->ContinueButton(), Qt::LeftButton);
  });
}

void CancelWizard(bool* shown) {
  uitest::WhenModal<FolderWizard>([shown](FolderWizard* wizard) {
    *shown = true;
    wizard->reject();
  });
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }
  void initTestCase() { InitUiResources(); }

  void firstStartRunsTheWizardSeedsTheFolderAndShowsTheFirstSong() {
    Fixture f;
    const QString data = f.Path("home/Meine Lieder");
    ContinueWizardWith(data + "/");
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());

    QCOMPARE(QString::fromStdString(f.Registry().Read(kRegistryDataFolder)), data);
    QVERIFY(uitest::ReadBytes(data + "/lieder.dat").contains("\tDas erste Lied\tD A G A D (2x)"));
    QCOMPARE(uitest::ReadBytes(data + "/auswahl.dat"), QByteArray("Neue Auswahl\r\n"));
    QVERIFY(QFileInfo(data + "/youtube/youtube.dat").isFile());
    QCOMPARE(QFileInfo(data + "/youtube/youtube.dat").size(), 0);
    const QByteArray id = uitest::ReadBytes(data + "/id.dat").trimmed();
    QVERIFY(uitest::ReadBytes(data + "/" + id + ".dat").contains(";Hier ein Komentar"));
    QCOMPARE(f.Setting("voreinstellung", "vor"), std::string("0"));

    QVERIFY(app.Window());
    QVERIFY(app.Window()->isVisible());
    QCOMPARE(app.Window()->windowTitle(), QString("Psalmora 3.12"));
    QVERIFY(uitest::AnyViewShows(app.Window(), "Das erste Lied"));
    QCOMPARE(app.State().songs.SongList().size(), std::size_t(1));
    QVERIFY(f.messages.shown.empty());
    // Shipped program files are in place.
    QVERIFY(QFileInfo(f.Path("program/config/sprachen.spr")).isFile());
    QVERIFY(QFileInfo(f.Path("program/layouts/1.lay")).isFile());
  }

  void secondStartFindsTheStoredFolder() {
    Fixture f;
    const QString data = f.Path("lieder");
    QDir().mkpath(data);
    uitest::WriteBytes(data + "/lieder.dat", "7\t01.01.2024-10:00\tAmazing Grace\t\r\n");
    uitest::WriteBytes(data + "/id.dat", "7\r\n");
    QVERIFY(f.Registry().Write(kRegistryDataFolder, data.toStdString()).ok);
    bool wizardShown = false;
    CancelWizard(&wizardShown);
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QVERIFY(!wizardShown);
    QCOMPARE(QString::fromStdString(app.State().dataFiles.folder.string()), data);
    QVERIFY(uitest::AnyViewShows(app.Window(), "Amazing Grace"));
    QVERIFY(!uitest::ReadBytes(data + "/lieder.dat").contains("Das erste Lied"));
    QVERIFY(f.messages.shown.empty());
  }

  // Message-box buttons and the standard dialogs speak the interface language too.
  void qtsOwnTextsFollowTheInterfaceLanguage() {
    Fixture f;
    const QString data = f.Path("lieder");
    QDir().mkpath(data);
    f.options.dataDir = data.toStdString();
    {
      Application app(f.options, f.messages, f.Services());
      QCOMPARE(app.Start(), std::optional<int>());
      QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Ja"));
      app.Shutdown();
    }
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Yes"));  // gone with the program
  }

  void aRemovedFolderShowsOrdnerCheckAndTheWizard() {
    Fixture f;
    const QString gone = f.Path("weg");
    QVERIFY(f.Registry().Write(kRegistryDataFolder, gone.toStdString()).ok);
    bool wizardShown = false;
    CancelWizard(&wizardShown);
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>(0));  // cancelled: the program ends
    QVERIFY(wizardShown);
    QVERIFY(!app.Window());
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].title, QString("Ordner Check"));
    // The key "Der Order existiert nicht mehr" reads "Der Ordner existiert nicht mehr" in German.
    QCOMPARE(f.messages.shown[0].text, "Der Ordner existiert nicht mehr " + gone);
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Information);
    QVERIFY(!QFileInfo::exists(gone));
  }

  void aRemovedFolderCanBeChosenAgain() {
    Fixture f;
    QVERIFY(f.Registry().Write(kRegistryDataFolder, f.Path("weg").toStdString()).ok);
    ContinueWizardWith(f.Path("neu"));
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QCOMPARE(QString::fromStdString(f.Registry().Read(kRegistryDataFolder)), f.Path("neu"));
    QVERIFY(uitest::ReadBytes(f.Path("neu/lieder.dat")).contains("Das erste Lied"));
  }

  void noMoviePlaybackEndsBeforeTheDataFolder() {
    Fixture f;
    bool wizardShown = false;
    CancelWizard(&wizardShown);
    Application app(f.options, f.messages, f.Services(/*moviesPlay=*/false));
    QCOMPARE(app.Start(), std::optional<int>(1));
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].title, QString("Error"));
    QCOMPARE(f.messages.shown[0].text, QString("Can't initialize movie playback !"));
    QVERIFY(!wizardShown);
    QVERIFY(!app.Window());
    QVERIFY(!QFileInfo::exists(f.Path("registry.ini")));
  }

  void theLanguageDialogComesFirstWhenNoneIsChosen() {
    Fixture f("[voreinstellung]\r\nupdateauto=0\r\n");
    f.options.dataDir = f.Path("daten").toStdString();
    bool dialogShown = false;
    uitest::WhenModal<LanguageDialog>([&dialogShown](LanguageDialog* dialog) {
      dialogShown = true;
      QCOMPARE(dialog->Option(kGerman)->text(), QString("Deutsch"));  // captions before any choice
      QVERIFY(dialog->Option(kGerman)->isChecked());
      dialog->Option(kEnglish)->click();
      dialog->OkButton()->click();
    });
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QVERIFY(dialogShown);
    QCOMPARE(app.State().settings.sprache, int(kEnglish));
    QCOMPARE(app.Window()->menuBar()->actions().first()->text(), QString("Song management"));
    app.Shutdown();
    QCOMPARE(f.Setting("voreinstellung", "sprache"), std::string("2"));
  }

  void theDataDirOptionBypassesTheRegistry() {
    Fixture f;
    f.options.dataDir = f.Path("a/b/daten").toStdString();
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QVERIFY(uitest::ReadBytes(f.Path("a/b/daten/lieder.dat")).contains("Das erste Lied"));
    QVERIFY(!QFileInfo::exists(f.Path("registry.ini")));
  }

  void filesGivenAtTheStartOrByASecondStartAreImported() {
    Fixture f;
    f.options.dataDir = f.Path("daten").toStdString();
    uitest::WriteBytes(f.Path("erst.usr"), "[S A1]\r\nTitle=Beim Start\r\nWords=a/t\r\n");
    uitest::WriteBytes(f.Path("spaeter.usr"), "[S A2]\r\nTitle=Nachgereicht\r\nWords=b/t\r\n");
    f.options.openFiles = {f.Path("erst.usr")};
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QTRY_VERIFY(uitest::ReadBytes(f.Path("daten/lieder.dat")).contains("Beim Start"));

    // A second start (another process in real life, hence the thread) hands its file to this one.
    auto second = std::async(std::launch::async, [&f] {
      SingleInstance other(f.Path("run"), "psalmora Psalmora 3.12");
      other.SetFilesToHandOver({f.Path("spaeter.usr")});
      return other.Claim();
    });
    while (second.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) QCoreApplication::processEvents();
    QVERIFY(!second.get());
    QTRY_VERIFY(uitest::ReadBytes(f.Path("daten/lieder.dat")).contains("Nachgereicht"));
  }

  void songsWithoutIdCounterReportTheInconsistency() {
    Fixture f;
    f.options.dataDir = f.Path("daten").toStdString();
    uitest::WriteBytes(f.Path("daten/lieder.dat"), "3\t01.01.2024-10:00\tLied\t\r\n");
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].title, QString("Fehler"));  // "Error" and "Fehler Inkonsistenz" are keys
    QVERIFY(f.messages.shown[0].text.startsWith("ID=0\n"));
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Error);
  }

  void theUpdateQuestionIsAskedOnceAndYesStartsTheUpdater() {
    Fixture f("[voreinstellung]\r\nsprache=1\r\n");
    f.options.dataDir = f.Path("daten").toStdString();
    f.InstallUpdater();
    f.messages.answer = true;
    {
      Application app(f.options, f.messages, f.Services());
      QCOMPARE(app.Start(), std::optional<int>());
      QCOMPARE(f.messages.shown.size(), std::size_t(1));
      QCOMPARE(f.messages.shown[0].title, QString("Psalmora Online-Update"));  // German text of the key
      QCOMPARE(f.messages.shown[0].icon, MessageIcon::Question);
      QCOMPARE(f.started.size(), std::size_t(1));
      QCOMPARE(f.started[0].program, f.Path("program/psalmora-update"));
      QCOMPARE(f.started[0].arguments, QStringList{"auto"});
      app.Shutdown();
    }
    QCOMPARE(f.Setting("voreinstellung", "updateauto"), std::string("1"));
    f.messages.shown.clear();
    Application again(f.options, f.messages, f.Services());
    QCOMPARE(again.Start(), std::optional<int>());
    QVERIFY(f.messages.shown.empty());
    QCOMPARE(f.started.size(), std::size_t(2));
  }

  void answeringNoStartsTheUpdaterOnlyFromTheMenu() {
    Fixture f("[voreinstellung]\r\nsprache=1\r\n");
    f.options.dataDir = f.Path("daten").toStdString();
    f.InstallUpdater();
    f.messages.answer = false;
    {
      Application app(f.options, f.messages, f.Services());
      QCOMPARE(app.Start(), std::optional<int>());
      QCOMPARE(f.messages.shown.size(), std::size_t(1));
      QVERIFY(f.started.empty());
      app.Shutdown();
    }
    QCOMPARE(f.Setting("voreinstellung", "updateauto"), std::string("0"));
    f.messages.shown.clear();
    Application app(f.options, f.messages, f.Services(/*moviesPlay=*/true, /*startSucceeds=*/true));
    QCOMPARE(app.Start(), std::optional<int>());
    QVERIFY(f.messages.shown.empty());  // decided: not asked again
    QVERIFY(f.started.empty());
    app.Window()->Menu()->Action(MenuCommand::OnlineUpdate)->trigger();
    QCOMPARE(f.started.size(), std::size_t(1));
    QCOMPARE(f.started[0].program, f.Path("program/psalmora-update"));
    QCOMPARE(f.started[0].arguments, QStringList());
    QVERIFY(f.messages.shown.empty());
  }

  void withoutAnUpdaterNothingIsAskedOrStartedAndTheMenuSaysSo() {
    Fixture f("[voreinstellung]\r\nsprache=1\r\n");
    f.options.dataDir = f.Path("daten").toStdString();
    f.messages.answer = true;
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QVERIFY(f.messages.shown.empty());
    QCOMPARE(app.UpdaterStarts(), 0);
    app.Window()->Menu()->Action(MenuCommand::OnlineUpdate)->trigger();
    QCOMPARE(app.UpdaterStarts(), 0);
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].title, QString("Psalmora Online-Update"));
    QCOMPARE(f.messages.shown[0].text,
             QString("Das Update-Programm ist nicht installiert:\n") + f.Path("program/psalmora-update"));
    app.Shutdown();
    QCOMPARE(f.Setting("voreinstellung", "updateauto"), std::string("-1"));  // still to be asked
  }

  void aMenuStartThatFailsIsReported() {
    Fixture f;
    f.options.dataDir = f.Path("daten").toStdString();
    f.InstallUpdater();
    Application app(f.options, f.messages, f.Services());  // the recorded start fails
    QCOMPARE(app.Start(), std::optional<int>());
    app.Window()->Menu()->Action(MenuCommand::OnlineUpdate)->trigger();
    QCOMPARE(f.started.size(), std::size_t(1));
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QVERIFY(f.messages.shown[0].text.startsWith("Das Update-Programm konnte nicht gestartet werden:\n"));
  }

  void aNewUpdaterCopyReplacesTheOldOneOnlyWhenItIsNotEmpty() {
    for (const QByteArray& fresh : {QByteArray(), QByteArray("new updater")}) {
      Fixture f;
      f.options.dataDir = f.Path("daten").toStdString();
      f.InstallUpdater("old updater");
      uitest::WriteBytes(f.Path("program/psalmora-update-neu"), fresh);
      Application app(f.options, f.messages, f.Services());
      QCOMPARE(app.Start(), std::optional<int>());
      QCOMPARE(uitest::ReadBytes(f.Path("program/psalmora-update")),
               fresh.isEmpty() ? QByteArray("old updater") : fresh);
      QCOMPARE(QFileInfo::exists(f.Path("program/psalmora-update-neu")), fresh.isEmpty());
    }
  }

  void aQuitWhileTheUpdateQuestionIsUpLeavesItUnanswered() {
    Fixture f("[sonstiges]\r\nautoopen=1\r\n[voreinstellung]\r\nsprache=1\r\n");
    f.options.dataDir = f.Path("daten").toStdString();
    f.InstallUpdater();
    struct QuitOnQuestion : uitest::RecordingMessages {
      Application* app = nullptr;
      bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override {
        app->RequestQuit();  // the session ends while the question is shown
        return RecordingMessages::AskYesNo(parent, title, text);
      }
    } messages;
    Application app(f.options, messages, f.Services());
    messages.app = &app;
    QCOMPARE(app.Start(), std::optional<int>());
    QCOMPARE(messages.shown.size(), std::size_t(1));
    QCOMPARE(app.UpdaterStarts(), 0);
    QCOMPARE(app.PresentationMode(), 0);  // no presentation window on the way out
    app.Shutdown();
    QCOMPARE(f.Setting("voreinstellung", "updateauto"), std::string("-1"));
  }

  void autoOpenAsksForThePresentationOnTheSecondMonitor() {
    Fixture f("[sonstiges]\r\nautoopen=1\r\n[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n");
    f.options.dataDir = f.Path("daten").toStdString();
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    QCOMPARE(app.PresentationMode(), 1);

    Fixture off("[sonstiges]\r\nautoopen=0\r\n[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n");
    off.options.dataDir = off.Path("daten").toStdString();
    off.options.instanceFolder = off.Path("run2");
    Application other(off.options, off.messages, off.Services());
    QCOMPARE(other.Start(), std::optional<int>());
    QCOMPARE(other.PresentationMode(), 0);
  }

  void shutdownDeletesThePagesAndWritesOnlyTheRunValues() {
    Fixture f(
        "[sonstiges]\r\nuseridcb=U5\r\n[voreinstellung]\r\nsprache=1\r\nupdateauto=0\r\n"
        "containerlinks=300\r\n[dateitypen]\r\nfilm=mkv\r\n");
    const QString data = f.Path("daten");
    f.options.dataDir = data.toStdString();
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    for (const char* page : {"vorschau.htm", "beamer.htm", "akkord.htm", "drucken.htm", "layout.htm", "fuss.htm"})
      uitest::WriteBytes(data + "/" + page, "<html></html>");
    const QByteArray songs = uitest::ReadBytes(data + "/lieder.dat");
    const QByteArray selections = uitest::ReadBytes(data + "/auswahl.dat");
    QDir(data).setFilter(QDir::Files);
    const QStringList before = QDir(data).entryList(QDir::Files);

    app.Window()->close();  // the close box
    app.Shutdown();
    app.Shutdown();  // only once

    for (const char* page : {"vorschau.htm", "beamer.htm", "akkord.htm", "drucken.htm", "layout.htm", "fuss.htm"})
      QVERIFY2(!QFileInfo::exists(data + "/" + page), page);
    QCOMPARE(uitest::ReadBytes(data + "/lieder.dat"), songs);
    QCOMPARE(uitest::ReadBytes(data + "/auswahl.dat"), selections);
    QCOMPARE(QDir(data).entryList(QDir::Files).size(), before.size() - 7);  // the pages and the lock

    for (const char* key :
         {"haupt", "vor", "bibel", "frametop", "framefeet", "pfadhgbild", "pfadimport", "folie", "updateauto",
          "sprache", "containerlinks", "containermitte", "showwindowkontroll", "showwindowablauf"})
      QVERIFY2(f.Setting("voreinstellung", key) != "<missing>", key);
    QCOMPARE(f.Setting("voreinstellung", "containerlinks"), std::to_string(app.Window()->LeftColumnWidth()));
    QCOMPARE(f.Setting("dateitypen", "film"), std::string("mkv"));
    QCOMPARE(f.Setting("dateitypen", "bild"), std::string("jpg, jpeg, ico, png, bmp, gif, tif, tiff"));
    QCOMPARE(f.Setting("sonstiges", "useridcb"), std::string("U5"));
    // Windows that do not exist leave their positions alone.
    QCOMPARE(f.Setting("voreinstellung", "windowkontrollx"), std::string("<missing>"));
  }

  void theCoreMenuItemsOpenTheirDialogsOverTheMainWindow() {
    Fixture f;
    f.options.dataDir = f.Path("daten").toStdString();
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>());
    MainWindow* window = app.Window();

    bool settingsShown = false;
    uitest::WhenModal<SettingsDialog>([&](SettingsDialog* dialog) {
      settingsShown = true;
      QCOMPARE(dialog->parentWidget(), window);
      QCOMPARE(dialog->windowModality(), Qt::WindowModal);
      dialog->ScrollStep()->setText("42");
      dialog->SaveButton()->click();
    });
    window->Menu()->Action(MenuCommand::SettingsGeneral)->trigger();
    QVERIFY(settingsShown);
    QCOMPARE(f.Setting("sonstiges", "scrollweite"), std::string("42"));
    QCOMPARE(f.Setting("voreinstellung", "sprache"), std::string("1"));  // kept

    uitest::WhenModal<LanguageDialog>([](LanguageDialog* dialog) {
      dialog->Option(kEnglish)->click();
      dialog->OkButton()->click();
    });
    window->Menu()->Action(MenuCommand::Languages)->trigger();
    QCOMPARE(window->menuBar()->actions().first()->text(), QString("Song management"));
    QCOMPARE(window->Menu()->Action(MenuCommand::SettingsGeneral)->text(), QString("General"));

    window->Menu()->Action(MenuCommand::About)->trigger();
    QCOMPARE(f.messages.shown.back().title, QString("Psalmora 3.12"));
    QVERIFY(f.messages.shown.back().text.startsWith("Version: 3.12\nLast update: "));
  }

  void aSecondStartRaisesTheFirstAndEnds() {
    Fixture f;
    f.options.dataDir = f.Path("daten").toStdString();
    Application first(f.options, f.messages, f.Services());
    QCOMPARE(first.Start(), std::optional<int>());
    first.Window()->showMinimized();
    QTRY_VERIFY(first.Window()->isMinimized());

    bool languageShown = false;
    uitest::WhenModal<LanguageDialog>(
        [&languageShown](LanguageDialog* dialog) {
          languageShown = true;
          dialog->reject();
        },
        500);
    uitest::WriteBytes(f.SettingsFile(), "[voreinstellung]\r\nupdateauto=0\r\n");  // would ask for a language
    Application second(f.options, f.messages, f.Services());
    QCOMPARE(second.Start(), std::optional<int>(0));
    QVERIFY(!second.Window());
    QTRY_VERIFY(!first.Window()->isMinimized());
    QVERIFY(!languageShown);
  }

  void aFolderHeldByAnotherComputerIsNotWrittenAndTheHolderIsNamed() {
    Fixture f;
    const QString data = f.Path("daten");
    uitest::WriteBytes(data + "/psalmora.lock", "computer=kirche-buero\r\npid=4242\r\nkind=program\r\nboot=x\r\n");
    f.options.dataDir = data.toStdString();
    Application app(f.options, f.messages, f.Services());
    QCOMPARE(app.Start(), std::optional<int>(1));
    QVERIFY(!app.Window());
    QVERIFY(f.messages.shown.back().text.contains("kirche-buero"));
    QVERIFY(!QFileInfo::exists(data + "/lieder.dat"));  // not even seeded

    // The program holds the folder while it runs and lets go at the end.
    Fixture g;
    g.options.dataDir = g.Path("daten").toStdString();
    Application running(g.options, g.messages, g.Services());
    QCOMPARE(running.Start(), std::optional<int>());
    QVERIFY(QFileInfo::exists(g.Path("daten/psalmora.lock")));
    running.Shutdown();
    QVERIFY(!QFileInfo::exists(g.Path("daten/psalmora.lock")));
  }

  void sigtermEndsThroughTheNormalShutdown() {
    Fixture f;
    const QString data = f.Path("daten");
    f.options.dataDir = data.toStdString();
    Application app(f.options, f.messages, f.Services());
    QuitSignals quitSignals;
    connect(&quitSignals, &QuitSignals::quitRequested, &app, &Application::QuitFromSignal);
    QTimer::singleShot(300, [data] {
      uitest::WriteBytes(data + "/vorschau.htm", "<html></html>");
      std::raise(SIGTERM);
    });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(3); });  // the signal was lost: fail, don't hang
    QCOMPARE(app.Run(), 0);
    QVERIFY(!QFileInfo::exists(data + "/vorschau.htm"));
    QVERIFY(f.Setting("voreinstellung", "containermitte") != "<missing>");
    QVERIFY(f.Setting("dateitypen", "ppt") != "<missing>");
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::StartupTest)
#include "startup_test.moc"
