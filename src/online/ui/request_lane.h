// One kind of network request run beside the interface thread, one at a time: while one runs, the newest
// request waiting takes the place of an older one (or a request is skipped, for polls). The result is
// handled on the interface thread. A slow or dead server thus never holds the window.
#pragma once

#include <QObject>
#include <functional>

class QThread;

namespace psalmora {

class RequestLane : public QObject {
  Q_OBJECT

 public:
  // Runs on the worker; returns what is then run on the interface thread (may be empty).
  using Work = std::function<std::function<void()>()>;

  explicit RequestLane(QObject* parent = nullptr);
  // Waits for the request that runs (they all have short time limits); its result is dropped.
  ~RequestLane() override;

  // Runs work now, or after the running request (replacing any other waiting one).
  void Submit(Work work);
  // Runs work now; false (and nothing done) while a request runs.
  bool SubmitUnlessBusy(Work work);
  bool Busy() const { return thread_ != nullptr; }

 signals:
  // The lane has nothing running or waiting any more.
  void idle();

 private:
  void Start(Work work);
  void Finish(const std::function<void()>& done);

  QThread* thread_ = nullptr;
  Work waiting_;
  bool closing_ = false;
};

}  // namespace psalmora
