// SettingsDialog: captions, layout combo boxes from the program folder, number-only fields, the
// read-only data folder, and "Speichern" writing its keys while every other key of the file stays.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "core/ini_file.h"
#include "core/settings.h"
#include "core/ui/app_state.h"
#include "core/ui/settings_dialog.h"
#include "ui_test_support.h"

namespace psalmora {

namespace {

// A program folder with three layouts and a settings file holding keys the dialog does not own.
struct Fixture {
  QTemporaryDir temp;
  AppState state;

  Fixture() {
    const QString program = temp.path() + "/program";
    uitest::WriteBytes(program + "/layouts/1.lay", "Standard\r\nNormal\r\n");
    uitest::WriteBytes(program + "/layouts/2.lay", "Gro\xDF und hell\r\nBeamer\r\n");
    uitest::WriteBytes(program + "/layouts/10.lay", "Druck\r\n\r\n");
    uitest::WriteBytes(program + "/layouts/layout.ini", "[Layout]\r\nid=10\r\n");
    uitest::WriteBytes(program + "/config/einstellungen.ini",
                       "[Layouts]\r\nvorschau=2\r\nbeamer=1\r\nformat=10\r\nkopfzeile=1\r\nfu\xDFzeile=2\r\n"
                       "[sonstiges]\r\nautoopen=0\r\nwarnungmaus=1\r\nakkordzeilehoehe=44\r\nfu\xDFzeilenhoehe=33\r\n"
                       "scrollweite=25\r\nein_pmo_username=anna\r\nein_pmo_passwort=geheim\r\nuseridcb=U77\r\n"
                       "loeschstringclient=g1|g2|\r\n"
                       "[voreinstellung]\r\nhaupt=3\r\nvor=2\r\nsprache=1\r\nupdateauto=-1\r\n"
                       "[dateitypen]\r\nfilm=avi, mkv\r\n");
    state.programFolder = program.toStdString();
    state.dataFiles = DataFiles::For((temp.path() + "/Lieder Daten").toStdString());
    state.settings = LoadSettings(state.programFolder / kSettingsFileName, "/home/x");
    state.language.Load(uitest::LanguageFile(), 1);
  }
  QString SettingsFile() const { return temp.path() + "/program/config/einstellungen.ini"; }
};

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }
  void showsBothPagesWithTheCurrentValues() {
    Fixture f;
    SettingsDialog dialog(f.state);
    QCOMPARE(dialog.windowTitle(), QString("Einstellungen allgemein"));
    QCOMPARE(dialog.Tabs()->count(), 2);
    QCOMPARE(dialog.Tabs()->tabText(0), QString("Layout Zuordnung"));
    QCOMPARE(dialog.Tabs()->tabText(1), QString("sonstiges"));
    QVERIFY(dialog.LayoutFolderRead());

    QComboBox* combo = dialog.VorschauLayout();
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QString("Standard"));
    QCOMPARE(combo->itemText(1), QString("Groß und hell"));
    QCOMPARE(combo->itemText(2), QString("Druck"));  // "10" after "2": keys in number order
    QCOMPARE(combo->currentData().toString(), QString("2"));
    QCOMPARE(dialog.FormatLayout()->currentData().toString(), QString("10"));
    QCOMPARE(dialog.FusszeileLayout()->currentData().toString(), QString("2"));

    QCOMPARE(dialog.KopfzeileHeight()->text(), QString("44"));
    QCOMPARE(dialog.FusszeileHeight()->text(), QString("33"));
    QCOMPARE(dialog.ScrollStep()->text(), QString("25"));
    QVERIFY(!dialog.AutoOpen()->isChecked());
    QVERIFY(dialog.MouseWarning()->isChecked());
    QCOMPARE(dialog.UpdateAuto()->checkState(), Qt::PartiallyChecked);  // not asked yet (-1)
    QVERIFY(dialog.DataFolderField()->isReadOnly());
    QCOMPARE(dialog.DataFolderField()->text(), f.temp.path() + "/Lieder Daten");

    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains("Präsentation Fußzeile"));
    QVERIFY(labels.contains("Scrollweite bei Präsentation"));
    QVERIFY(labels.contains("Pixel"));
    QCOMPARE(dialog.SaveButton()->text(), QString("Speichern"));
  }

  void numberFieldsTakeDigitsOnly() {
    Fixture f;
    SettingsDialog dialog(f.state);
    dialog.ScrollStep()->clear();
    QTest::keyClicks(dialog.ScrollStep(), "3x5-");
    QCOMPARE(dialog.ScrollStep()->text(), QString("35"));
  }

  void saveWritesTheDialogKeysAndKeepsEveryOtherKey() {
    Fixture f;
    SettingsDialog dialog(f.state);
    dialog.BeamerLayout()->setCurrentIndex(2);
    dialog.KopfzeileLayout()->setCurrentIndex(1);
    dialog.AutoOpen()->setChecked(true);
    dialog.MouseWarning()->setChecked(false);
    dialog.UpdateAuto()->click();  // the third state gives way to a decision
    dialog.KopfzeileHeight()->setText("50");
    dialog.FusszeileHeight()->setText("");
    dialog.ScrollStep()->setText("15");
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const IniFile ini = IniFile::Load(f.SettingsFile().toStdString());
    QCOMPARE(ini.ValueOr("Layouts", "beamer", "?"), std::string("10"));
    QCOMPARE(ini.ValueOr("Layouts", "kopfzeile", "?"), std::string("2"));
    QCOMPARE(ini.ValueOr("Layouts", "vorschau", "?"), std::string("2"));
    QCOMPARE(ini.ValueOr("sonstiges", "autoopen", "?"), std::string("1"));
    QCOMPARE(ini.ValueOr("sonstiges", "warnungmaus", "?"), std::string("0"));
    QCOMPARE(ini.ValueOr("sonstiges", "akkordzeilehoehe", "?"), std::string("50"));
    QCOMPARE(ini.ValueOr("sonstiges", kKeyFooterHeight, "?"), std::string("0"));
    QCOMPARE(ini.ValueOr("sonstiges", "scrollweite", "?"), std::string("15"));
    QCOMPARE(ini.ValueOr("sonstiges", "ein_pmo_username", "?"), std::string("anna"));
    QCOMPARE(ini.ValueOr("sonstiges", "ein_pmo_passwort", "?"), std::string("geheim"));
    // Keys that are not the dialog's survive the save.
    QCOMPARE(ini.ValueOr("sonstiges", "useridcb", "?"), std::string("U77"));
    QCOMPARE(ini.ValueOr("sonstiges", "loeschstringclient", "?"), std::string("g1|g2|"));
    QCOMPARE(ini.ValueOr("voreinstellung", "haupt", "?"), std::string("3"));
    QCOMPARE(ini.ValueOr("voreinstellung", "updateauto", "?"), std::string("-1"));  // reaches the file at shutdown
    QCOMPARE(ini.ValueOr("dateitypen", "film", "?"), std::string("avi, mkv"));

    QCOMPARE(f.state.settings.layouts.beamer, std::string("10"));
    QCOMPARE(f.state.settings.akkordzeilehoehe, 50);
    QCOMPARE(f.state.settings.updateauto, 1);
  }

  void theServerAddressIsShownAndSaved() {
    struct Case {
      const char* typed;
      const char* stored;
    };
    const Case cases[] = {{"  https://lieder.example.org:8443/ ", "https://lieder.example.org:8443"},
                          {"", "http://localhost:8750"}};
    for (const Case& c : cases) {
      Fixture f;
      uitest::WriteBytes(f.SettingsFile(),
                         uitest::ReadBytes(f.SettingsFile())
                             .replace("useridcb=U77\r\n", "useridcb=U77\r\nserveradresse=http://10.0.0.5:8750\r\n"));
      f.state.settings = LoadSettings(f.state.programFolder / kSettingsFileName, "/home/x");
      SettingsDialog dialog(f.state);
      QCOMPARE(dialog.ServerAddressField()->text(), QString("http://10.0.0.5:8750"));
      QStringList frames;
      for (QGroupBox* frame : dialog.findChildren<QGroupBox*>()) frames << frame->title();
      QVERIFY(frames.contains("Serveradresse"));
      dialog.ServerAddressField()->setText(c.typed);
      dialog.Save();
      QCOMPARE(f.state.settings.serveradresse, std::string(c.stored));
      const IniFile ini = IniFile::Load(f.SettingsFile().toStdString());
      QCOMPARE(ini.ValueOr("sonstiges", "serveradresse", "?"), std::string(c.stored));
      QCOMPARE(ini.ValueOr("sonstiges", "useridcb", "?"), std::string("U77"));
    }
  }

  void theDataPoolAccountIsShownAndSaved() {
    Fixture f;
    SettingsDialog dialog(f.state);
    QCOMPARE(dialog.PoolUserField()->text(), QString("anna"));
    QCOMPARE(dialog.PoolPasswordField()->echoMode(), QLineEdit::Password);
    dialog.PoolUserField()->setText(" bernd@example.org ");
    dialog.PoolPasswordField()->setText("Psalm 23 & mehr");
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    const IniFile ini = IniFile::Load(f.SettingsFile().toStdString());
    QCOMPARE(ini.ValueOr("sonstiges", "ein_pmo_username", "?"), std::string("bernd@example.org"));
    QCOMPARE(ini.ValueOr("sonstiges", "ein_pmo_passwort", "?"), std::string("Psalm 23 & mehr"));
    QCOMPARE(f.state.settings.pmoUsername, std::string("bernd@example.org"));
  }

  void theVideoDownloaderIsShownAndSavedAndBlankMeansTheDefault() {
    for (const auto& [typed, stored] : {std::pair{" /opt/yt/yt-dlp ", "/opt/yt/yt-dlp"}, std::pair{"", "yt-dlp"}}) {
      Fixture f;
      SettingsDialog dialog(f.state);
      QCOMPARE(dialog.VideoDownloaderField()->text(), QString("yt-dlp"));
      dialog.VideoDownloaderField()->setText(typed);
      dialog.Save();
      QCOMPARE(f.state.settings.videodownloader, std::string(stored));
      const IniFile ini = IniFile::Load(f.SettingsFile().toStdString());
      QCOMPARE(ini.ValueOr("sonstiges", "videodownloader", "?"), std::string(stored));
    }
  }

  void untouchedUndecidedUpdateSwitchSavesAsNo() {
    Fixture f;
    SettingsDialog dialog(f.state);
    dialog.Save();
    QCOMPARE(f.state.settings.updateauto, 0);
  }

  void cancelWritesNothing() {
    Fixture f;
    const QByteArray before = uitest::ReadBytes(f.SettingsFile());
    SettingsDialog dialog(f.state);
    dialog.ScrollStep()->setText("99");
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(uitest::ReadBytes(f.SettingsFile()), before);
    QCOMPARE(f.state.settings.scrollweite, 25);
  }

  void aMissingLayoutKeepsTheStoredIdAndAMissingFolderIsReported() {
    Fixture f;
    QDir(f.temp.path() + "/program/layouts").removeRecursively();
    f.state.settings.layouts.vorschau.assign(1, '7');  // (assigning a literal trips a g++ 12 -Wrestrict false alarm)
    uitest::RecordingMessages messages;
    uitest::WhenModal<SettingsDialog>([](SettingsDialog* dialog) {
      QCOMPARE(dialog->VorschauLayout()->count(), 1);
      QCOMPARE(dialog->VorschauLayout()->currentData().toString(), QString("7"));
      dialog->Save();
    });
    QWidget mainWindow;
    mainWindow.show();
    SettingsDialog::Run(f.state, messages, &mainWindow);
    QVERIFY(messages.Has("Fehler"));
    QCOMPARE(messages.shown[0].text, QString("Layoutordner konnte nicht geöffnet werden!"));
    const IniFile ini = IniFile::Load(f.SettingsFile().toStdString());
    QCOMPARE(ini.ValueOr("Layouts", "vorschau", "?"), std::string("7"));
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::SettingsDialogTest)
#include "settings_dialog_test.moc"
