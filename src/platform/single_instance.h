// One running program per user: a lock file claims the run, a local socket beside it lets a second
// start ask the running program to bring its window to the front.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace psalmora {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // `name` names the lock and the socket (the window title); `folder` holds both files.
  SingleInstance(const QString& folder, const QString& name, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Claims the run. A lock left behind by a crashed run is taken over. Returns false when another
  // running program holds it; that program has then been asked to raise its window.
  bool Claim();

  // The folder for the lock and the socket: the per-user runtime folder, else the temporary folder.
  static QString DefaultFolder();

  QString LockPath() const { return lockPath_; }
  QString SocketPath() const { return socketPath_; }

 signals:
  // Another start asked this program to show its window.
  void raiseRequested();

 private:
  void Listen();
  static bool AskRunningToRaise(const QString& socketPath);

  QString lockPath_;
  QString socketPath_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace psalmora
