// SingleInstance: one claim per name, a second start asks the first to raise its window, and a lock
// left by a crashed run does not block the next start.
#include <sys/wait.h>
#include <unistd.h>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>

#include "platform/single_instance.h"
#include "ui_test_support.h"

namespace psalmora {

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void aSecondClaimFailsAndRaisesTheFirst() {
    QTemporaryDir temp;
    SingleInstance first(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(first.Claim());
    QVERIFY(QFileInfo::exists(first.LockPath()));
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    SingleInstance second(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(!second.Claim());
    QTRY_COMPARE(raised.count(), 1);

    SingleInstance third(temp.path(), "psalmora Psalmora 3.12");
    QVERIFY(!third.Claim());
    QTRY_COMPARE(raised.count(), 2);
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
