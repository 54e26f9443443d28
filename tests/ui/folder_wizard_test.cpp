// FolderWizard: the proposal, level-by-level creation, the registry value and the failure messages.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/registry_store.h"
#include "core/ui/folder_wizard.h"
#include "ui_test_support.h"

namespace psalmora {

using uitest::RecordingMessages;

class FolderWizardTest : public QObject {
  Q_OBJECT

 private slots:
  void proposesTheProfileFolderPlusPsalmora() {
    QCOMPARE(FolderWizard::DefaultProposal(), QDir(QDir::homePath()).filePath("Psalmora"));
  }

  void continueCreatesMissingLevelsAndStoresThePath() {
    QTemporaryDir temp;
    RegistryStore registry((temp.path() + "/config/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard wizard(registry, messages, "unused");
    QCOMPARE(wizard.windowTitle(), QString("Datenordner festlegen"));
    const QString target = temp.path() + "/a/b/c/";
    wizard.SetPathText(target);
    QTest::mouseClick(wizard.ContinueButton(), Qt::LeftButton);

    QCOMPARE(wizard.result(), int(QDialog::Accepted));
    QVERIFY(QFileInfo(temp.path() + "/a/b/c").isDir());
    QCOMPARE(QString::fromStdString(wizard.ChosenFolder().string()), temp.path() + "/a/b/c");
    QCOMPARE(QString::fromStdString(registry.Read(kRegistryDataFolder)), temp.path() + "/a/b/c");
    QVERIFY(messages.shown.empty());
  }

  void aTildeMeansTheHomeFolderAndARelativePathIsRefused() {
    QTemporaryDir temp;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", temp.path().toUtf8());
    RegistryStore registry((temp.path() + "/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard relative(registry, messages, "Lieder");
    relative.show();
    relative.Continue();
    QVERIFY(relative.isVisible());
    QVERIFY(messages.Has("Datenordner festlegen"));
    QVERIFY(!QFileInfo::exists(QDir::current().filePath("Lieder")));
    relative.close();

    FolderWizard tilde(registry, messages, "~/Lieder");
    tilde.Continue();
    qputenv("HOME", oldHome);
    QCOMPARE(tilde.result(), int(QDialog::Accepted));
    QVERIFY(QFileInfo(temp.path() + "/Lieder").isDir());
    QCOMPARE(QString::fromStdString(registry.Read(kRegistryDataFolder)), temp.path() + "/Lieder");
  }

  void anExistingFolderIsAcceptedAsItIs() {
    QTemporaryDir temp;
    RegistryStore registry((temp.path() + "/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard wizard(registry, messages, temp.path());
    wizard.Continue();
    QCOMPARE(wizard.result(), int(QDialog::Accepted));
    QCOMPARE(QString::fromStdString(registry.Read(kRegistryDataFolder)), temp.path());
  }

  void aLevelThatCannotBeCreatedKeepsTheWizardOpen() {
    QTemporaryDir temp;
    uitest::WriteBytes(temp.path() + "/file", "x");  // a file where a folder level should go
    RegistryStore registry((temp.path() + "/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard wizard(registry, messages, temp.path() + "/file/songs");
    wizard.show();
    wizard.Continue();

    QVERIFY(wizard.isVisible());
    QCOMPARE(wizard.result(), int(QDialog::Rejected));  // not decided
    QVERIFY(messages.Has("Neuen Ordner anlegen"));
    QCOMPARE(messages.shown.front().text, QString("Der Ordner konnte nicht angelegt werden!"));
    QCOMPARE(messages.shown.front().icon, MessageIcon::Information);
    QCOMPARE(registry.Read(kRegistryDataFolder), std::string(kRegistryErrorOpeningKey));
    wizard.close();
  }

  void aFileInThePlaceOfTheFolderIsAnsweredWithTheMessage() {
    QTemporaryDir temp;
    uitest::WriteBytes(temp.path() + "/file", "x");
    RegistryStore registry((temp.path() + "/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard wizard(registry, messages, temp.path() + "/file");
    wizard.show();
    wizard.Continue();

    QVERIFY(wizard.isVisible());
    QCOMPARE(messages.shown.size(), std::size_t(1));
    QCOMPARE(messages.shown[0].title, QString("Neuen Ordner anlegen"));
    QCOMPARE(registry.Read(kRegistryDataFolder), std::string(kRegistryErrorOpeningKey));
    wizard.close();
  }

  void aRegistryWriteFailureEndsTheWizardWithTheMessage() {
    QTemporaryDir temp;
    uitest::WriteBytes(temp.path() + "/blocked", "x");
    RegistryStore registry((temp.path() + "/blocked/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard wizard(registry, messages, temp.path() + "/data");
    wizard.Continue();

    QVERIFY(wizard.StoreFailed());
    QCOMPARE(wizard.result(), int(QDialog::Rejected));
    QCOMPARE(messages.shown.size(), std::size_t(1));
    QCOMPARE(messages.shown[0].title, QString("Eintrag in Registry"));
    QCOMPARE(messages.shown[0].text, QString("Der angegebene Pfad konnte nicht gespeichert werden!"));
    QCOMPARE(messages.shown[0].icon, MessageIcon::Error);
  }

  void theFolderButtonOffersTheChooserAtTheProposal() {
    QTemporaryDir temp;
    RegistryStore registry((temp.path() + "/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard wizard(registry, messages, "/start/here");
    QString prompt, start;
    QString answer = "/chosen/folder";
    wizard.SetFolderChooser([&](QWidget*, const QString& p, const QString& s) {
      prompt = p;
      start = s;
      return answer;
    });
    QTest::mouseClick(wizard.FolderButton(), Qt::LeftButton);
    QCOMPARE(prompt, QString("Wähle den Ordner aus in dem die Liederdaten zukünftig gespeichert werden sollen"));
    QCOMPARE(start, QString("/start/here"));
    QCOMPARE(wizard.PathText(), QString("/chosen/folder"));

    answer.clear();  // the chooser was cancelled
    wizard.ChooseFolder();
    QCOMPARE(wizard.PathText(), QString("/chosen/folder"));
  }

  void cancelLeavesTheRegistryAlone() {
    QTemporaryDir temp;
    RegistryStore registry((temp.path() + "/registry.ini").toStdString());
    RecordingMessages messages;
    FolderWizard wizard(registry, messages, temp.path() + "/never");
    QCOMPARE(wizard.CancelButton()->text(), QString("Abbrechen"));
    QCOMPARE(wizard.ContinueButton()->text(), QString("Weiter >>"));
    QTest::mouseClick(wizard.CancelButton(), Qt::LeftButton);
    QCOMPARE(wizard.result(), int(QDialog::Rejected));
    QVERIFY(!QFileInfo::exists(temp.path() + "/never"));
    QVERIFY(!QFileInfo::exists(temp.path() + "/registry.ini"));
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::FolderWizardTest)
#include "folder_wizard_test.moc"
