// LanguageDialog (flags, options that set "sprache" at once, OK and the close box) and AboutBox.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/settings.h"
#include "core/ui/about_box.h"
#include "core/ui/app_state.h"
#include "core/ui/language_dialog.h"
#include "core/ui/ui_resources.h"
#include "ui_test_support.h"

namespace psalmora {

class LanguageDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }
  void initTestCase() { InitUiResources(); }

  void notChosenYetPreselectsDeutschWithFlags() {
    Settings settings;
    LanguageTable language;
    QVERIFY(language.Load(uitest::LanguageFile(), kGerman));
    LanguageDialog dialog(settings, language);
    QCOMPARE(dialog.windowTitle(), QString("Sprache"));
    QCOMPARE(settings.sprache, int(kGerman));
    QVERIFY(dialog.Option(kGerman)->isChecked());
    QCOMPARE(dialog.Option(kGerman)->text(), QString("Deutsch"));
    QCOMPARE(dialog.Option(kItalian)->text(), QString("Italienisch"));
    int flags = 0;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      const QPixmap pixmap = label->pixmap();
      if (!pixmap.isNull()) ++flags;
    }
    QCOMPARE(flags, 4);
  }

  void anOptionSetsTheLanguageAtOnceAndOkCloses() {
    Settings settings;
    settings.sprache = kItalian;
    LanguageTable language;
    language.Load(uitest::LanguageFile(), kGerman);
    LanguageDialog dialog(settings, language);
    QVERIFY(dialog.Option(kItalian)->isChecked());
    dialog.show();
    QTest::mouseClick(dialog.Option(kEnglish), Qt::LeftButton);
    QCOMPARE(settings.sprache, int(kEnglish));
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(settings.sprache, int(kEnglish));
  }

  void theCloseBoxKeepsTheChoiceAndCaptionsFollowTheLoadedLanguage() {
    Settings settings;
    settings.sprache = kEnglish;
    LanguageTable language;
    language.Load(uitest::LanguageFile(), kEnglish);
    QWidget mainWindow;
    mainWindow.show();
    uitest::WhenModal<LanguageDialog>([](LanguageDialog* dialog) {
      QCOMPARE(dialog->Option(kGerman)->text(), QString("German"));
      QCOMPARE(dialog->windowModality(), Qt::WindowModal);
      dialog->Option(kSpanish)->click();
      dialog->close();  // the close box
    });
    LanguageDialog::Run(settings, language, &mainWindow);
    QCOMPARE(settings.sprache, int(kSpanish));
  }

  void aboutBoxShowsVersionAndLastUpdateUnderTheWindowTitle() {
    AppState state;
    state.language.Load(uitest::LanguageFile(), kGerman);
    state.versionText = "3.12";
    state.versionDate = "07.12.2026";
    state.windowTitle = "Psalmora 3.12";
    QCOMPARE(AboutText(state), QString("Version: 3.12\nLetztes Update: 07.12.2026\n\n"));
    uitest::RecordingMessages messages;
    ShowAboutBox(state, messages, nullptr);
    QCOMPARE(messages.shown.size(), std::size_t(1));
    QCOMPARE(messages.shown[0].title, QString("Psalmora 3.12"));

    state.language.Load(uitest::LanguageFile(), kEnglish);
    QCOMPARE(AboutText(state), QString("Version: 3.12\nLast update: 07.12.2026\n\n"));
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::LanguageDialogTest)
#include "language_dialog_test.moc"
