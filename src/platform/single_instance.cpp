// Lock file plus local socket. The lock's stale detection (owner process gone) frees a crashed run's
// lock; the socket is only created by the lock's owner, so a stale socket file may be removed safely.
#include "platform/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

namespace psalmora {
namespace {

// A request: "raise", then one "open " line per file, then an empty line.
constexpr char kRaiseMessage[] = "raise\n";
constexpr char kOpenPrefix[] = "open ";
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

void SingleInstance::SetFilesToHandOver(const QStringList& files) {
  filesToHandOver_.clear();
  for (const QString& file : files) filesToHandOver_ << QFileInfo(file).absoluteFilePath();
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
    runningDataFolder_ = AskRunningToRaise(socketPath_, filesToHandOver_);
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
      // The asking program may already be gone; what it wrote is still buffered. A request may arrive in
      // pieces: it is answered once its empty line is there.
      const auto read = [this, socket] {
        if (socket->bytesAvailable() == 0) return;
        const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (request.contains("\n\n")) Answer(socket, request);
      };
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, read);
      read();
    }
  });
}

void SingleInstance::Answer(QLocalSocket* socket, const QByteArray& request) {
  QStringList files;
  bool raise = false;
  for (const QByteArray& line : request.left(request.indexOf("\n\n")).split('\n')) {
    if (line == "raise") raise = true;
    if (line.startsWith(kOpenPrefix)) files << QString::fromUtf8(line.mid(int(sizeof(kOpenPrefix)) - 1));
  }
  if (raise) {
    socket->write(dataFolder_.toUtf8() + '\n');
    emit raiseRequested();
  }
  if (!files.isEmpty()) emit openRequested(files);
  socket->disconnectFromServer();  // after what was written has gone out
}

QString SingleInstance::AskRunningToRaise(const QString& socketPath, const QStringList& files) {
  QLocalSocket socket;
  socket.connectToServer(socketPath);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return {};
  QByteArray request = kRaiseMessage;
  // A file name holding a line break cannot be told apart from the next line; such a file stays behind.
  for (const QString& file : files) {
    if (!file.contains(QLatin1Char('\n'))) request += kOpenPrefix + file.toUtf8() + '\n';
  }
  request += '\n';
  socket.write(request);
  if (!socket.waitForBytesWritten(kConnectTimeoutMs)) return {};
  QByteArray answer;
  while (!answer.contains('\n') && socket.waitForReadyRead(kConnectTimeoutMs)) answer += socket.readAll();
  answer += socket.readAll();
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
  return QString::fromUtf8(answer.left(answer.indexOf('\n')));
}

}  // namespace psalmora
