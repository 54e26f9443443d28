// SingleInstance: one claim per name, a second start asks the first to raise its window, and a lock
// left by a crashed run does not block the next start.
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <chrono>
#include <future>

#include "platform/single_instance.h"
#include "ui_test_support.h"

namespace psalmora {

// A second start as another process makes it: blocking, while this thread's event loop serves the first.
struct OtherStart {
  bool claimed = true;
  QString runningDataFolder;
};
OtherStart ClaimElsewhere(const QString& folder, const QString& name, const QStringList& files = {}) {
  auto other = std::async(std::launch::async, [folder, name, files] {
    SingleInstance second(folder, name);
    second.SetFilesToHandOver(files);
    OtherStart start;
    start.claimed = second.Claim();
    start.runningDataFolder = second.RunningDataFolder();
    return start;
  });
  while (other.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) QCoreApplication::processEvents();
  return other.get();
}

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void aSecondClaimFailsAndRaisesTheFirst() {
    QTemporaryDir temp;
    SingleInstance first(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(first.Claim());
    QVERIFY(QFileInfo::exists(first.LockPath()));
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    const OtherStart second = ClaimElsewhere(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(!second.claimed);
    QTRY_COMPARE(raised.count(), 1);
    QVERIFY(second.runningDataFolder.isEmpty());  // not known yet

    first.SetDataFolder("/srv/lieder ä");
    const OtherStart third = ClaimElsewhere(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(!third.claimed);
    QTRY_COMPARE(raised.count(), 2);
    QCOMPARE(third.runningDataFolder, QString("/srv/lieder ä"));
  }

  void filesOfASecondStartReachTheFirstAsAbsolutePaths() {
    QTemporaryDir temp;
    SingleInstance first(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(first.Claim());
    QSignalSpy opened(&first, &SingleInstance::openRequested);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    const OtherStart second =
        ClaimElsewhere(temp.path(), "psalmora Psalmora 3.12", {"lied.usr", "/tmp/Lieder ä/export.exp", "a\nb.usr"});
    QVERIFY(!second.claimed);
    QTRY_COMPARE(opened.count(), 1);
    QCOMPARE(raised.count(), 1);
    QCOMPARE(opened[0][0].toStringList(),
             (QStringList{QDir::current().absoluteFilePath("lied.usr"),
                          "/tmp/Lieder ä/export.exp"}));

    // A plain second start opens nothing.
    ClaimElsewhere(temp.path(), "psalmora Psalmora 3.12");
    QTRY_COMPARE(raised.count(), 2);
    QCOMPARE(opened.count(), 1);
  }

  void anotherNameIsAnotherProgram() {
    QTemporaryDir temp;
    SingleInstance first(temp.path(), "psalmora Psalmora 3.12");
    SingleInstance other(temp.path(), "psalmora Psalmora 3.13");
    QVERIFY(first.Claim());
    QVERIFY(other.Claim());
  }

  void theClaimIsFreeAgainAfterTheFirstEnds() {
    QTemporaryDir temp;
    {
      SingleInstance first(temp.path(), "psalmora Psalmora 3.12");
      QVERIFY(first.Claim());
    }
    SingleInstance next(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(next.Claim());
  }

  void aCrashedRunsLockAndSocketDoNotBlock() {
    QTemporaryDir temp;
    const QString lockPath = SingleInstance(temp.path(), "psalmora Psalmora 3.12").LockPath();
    const QString socketPath = SingleInstance(temp.path(), "psalmora Psalmora 3.12").SocketPath();
    const pid_t child = fork();
    if (child == 0) {
      // The child takes the lock and dies without releasing it, like a crash.
      QLockFile lock(lockPath);
      lock.tryLock(0);
      _exit(lock.isLocked() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY(QFileInfo::exists(lockPath));
    uitest::WriteBytes(socketPath, "");  // a leftover socket file

    SingleInstance next(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(next.Claim());
    QSignalSpy raised(&next, &SingleInstance::raiseRequested);
    SingleInstance second(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(!second.Claim());
    QTRY_COMPARE(raised.count(), 1);
  }
};

}  // namespace psalmora

QTEST_GUILESS_MAIN(psalmora::SingleInstanceTest)
#include "single_instance_test.moc"
