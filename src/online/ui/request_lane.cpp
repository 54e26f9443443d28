// RequestLane: a QThread per request; the result comes back as a queued call on the lane, which Qt drops
// when the lane has gone.
#include "online/ui/request_lane.h"

#include <QThread>
#include <utility>

namespace psalmora {

RequestLane::RequestLane(QObject* parent) : QObject(parent) {}

RequestLane::~RequestLane() {
  closing_ = true;
  if (thread_) {
    thread_->wait();
    delete thread_;
  }
}

void RequestLane::Submit(Work work) {
  if (Busy()) {
    waiting_ = std::move(work);
    return;
  }
  Start(std::move(work));
}

bool RequestLane::SubmitUnlessBusy(Work work) {
  if (Busy()) return false;
  Start(std::move(work));
  return true;
}

void RequestLane::Start(Work work) {
  thread_ = QThread::create([this, work = std::move(work)] {
    std::function<void()> done = work();
    QMetaObject::invokeMethod(
        this, [this, done = std::move(done)] { Finish(done); }, Qt::QueuedConnection);
  });
  thread_->start();
}

void RequestLane::Finish(const std::function<void()>& done) {
  // The worker posted its result as its last act; it ends right after.
  if (thread_) {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
  }
  if (done && !closing_) done();
  if (waiting_) {
    Work next = std::move(waiting_);
    waiting_ = nullptr;
    Start(std::move(next));
    return;
  }
  emit idle();
}

}  // namespace psalmora
