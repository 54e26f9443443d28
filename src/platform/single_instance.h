// One running program per user: a lock file claims the run, a local socket beside it lets a second
// start ask the running program to bring its window to the front (and to open the files the second start
// was given) and tells it the data folder the running program uses.
#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
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

  // What the running program answers a second start: the data folder it uses (empty until known).
  void SetDataFolder(const QString& folder) { dataFolder_ = folder; }
  // Files a failed claim hands to the running program; relative names are made absolute.
  void SetFilesToHandOver(const QStringList& files);

  // After a failed claim: the data folder the running program named (empty when it did not answer).
  QString RunningDataFolder() const { return runningDataFolder_; }

  // The folder for the lock and the socket: the per-user runtime folder, else the temporary folder.
  static QString DefaultFolder();

  QString LockPath() const { return lockPath_; }
  QString SocketPath() const { return socketPath_; }

 signals:
  // Another start asked this program to show its window.
  void raiseRequested();
  // Another start was given these files (absolute paths) to open.
  void openRequested(const QStringList& files);

 private:
  void Listen();
  // A whole request of a second start, ended by an empty line.
  void Answer(QLocalSocket* socket, const QByteArray& request);
  // Returns the running program's answer (its data folder), empty when none came.
  static QString AskRunningToRaise(const QString& socketPath, const QStringList& files);

  QString lockPath_;
  QString socketPath_;
  QString dataFolder_;
  QString runningDataFolder_;
  QStringList filesToHandOver_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace psalmora
