// Lock file plus local socket. The lock's stale detection (owner process gone) frees a crashed run's
// lock; the socket is only created by the lock's owner, so a stale socket file may be removed safely.
#include "platform/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace psalmora {
namespace {

constexpr char kRaiseMessage[] = "raise\n";
constexpr int kConnectTimeoutMs = 2000;

QString SafeFileName(const QString& name) {
  QString out;
  for (const QChar c : name) out += (c.isLetterOrNumber() || c == '.' || c == '-') ? c : QChar('_');
  return out;
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder, const QString& name, QObject* parent) : QObject(parent) {
  QDir().mkpath(folder);
  const QString base = QDir(folder).filePath(SafeFileName(name));
  lockPath_ = base + ".lock";
  socketPath_ = base + ".socket";
}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();
  if (lock_) lock_->unlock();
}

QString SingleInstance::DefaultFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder;
}

bool SingleInstance::Claim() {
  lock_ = std::make_unique<QLockFile>(lockPath_);
  // No age limit: a lock is stale only when its process is gone, which QLockFile checks itself.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) {
    Listen();
    return true;
  }
  if (lock_->error() == QLockFile::LockFailedError) {
    runningDataFolder_ = AskRunningToRaise(socketPath_);
    lock_.reset();
    return false;
  }
  // The folder cannot hold a lock (read-only, missing): run without the guard rather than not at all.
  qWarning("psalmora: cannot create the lock file %s", qPrintable(lockPath_));
  lock_.reset();
  return true;
}

void SingleInstance::Listen() {
  QLocalServer::removeServer(socketPath_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(socketPath_)) {
    qWarning("psalmora: cannot listen on %s: %s", qPrintable(socketPath_), qPrintable(server_->errorString()));
    return;
  }
  connect(server_.get(), &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      // The asking program may already be gone; what it wrote is still buffered.
      const auto read = [this, socket] {
        if (socket->bytesAvailable() == 0) return;
        if (socket->readAll().contains("raise")) {
          socket->write(dataFolder_.toUtf8() + '\n');
          emit raiseRequested();
        }
        socket->disconnectFromServer();  // after what was written has gone out
      };
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, read);
      read();
    }
  });
}

QString SingleInstance::AskRunningToRaise(const QString& socketPath) {
  QLocalSocket socket;
  socket.connectToServer(socketPath);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return {};
  socket.write(kRaiseMessage);
  if (!socket.waitForBytesWritten(kConnectTimeoutMs)) return {};
  QByteArray answer;
  while (!answer.contains('\n') && socket.waitForReadyRead(kConnectTimeoutMs)) answer += socket.readAll();
  answer += socket.readAll();
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
  return QString::fromUtf8(answer.left(answer.indexOf('\n')));
}

}  // namespace psalmora
