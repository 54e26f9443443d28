// The pointer is polled a few times a second instead of waiting for mouse-move events: moves over the
// beamer's web frames or another program's window never reach the main window.
#include "render/ui/mouse_over_warning.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace psalmora {
namespace {
constexpr int kPollMs = 150;
}  // namespace

bool PointerOnPresentation(const QPoint& pointer, const Monitors& monitors) {
  if (!monitors.HasSecond()) return false;
  // One pixel of the neighbouring monitor counts, as the edge the pointer is about to cross.
  return monitors.second.adjusted(-1, -1, 1, 1).contains(pointer);
}

MouseOverWarning::MouseOverWarning(std::function<bool()> enabled, MonitorSource monitors, const QString& firstLine,
                                   const QString& secondLine, QObject* parent)
    : QObject(parent),
      enabled_(std::move(enabled)),
      monitors_(std::move(monitors)),
      firstLine_(firstLine),
      secondLine_(secondLine) {
  poll_ = new QTimer(this);
  poll_->setInterval(kPollMs);
  connect(poll_, &QTimer::timeout, this, [this] { Check(QCursor::pos()); });
  poll_->start();
}

MouseOverWarning::~MouseOverWarning() {
  delete info_;
}

QWidget* MouseOverWarning::InfoWindow() const {
  return info_ && info_->isVisible() ? info_ : nullptr;
}

void MouseOverWarning::Check(const QPoint& pointer) {
  const bool warn = enabled_() && PointerOnPresentation(pointer, monitors_());
  if (!warn) {
    if (info_) info_->hide();
    return;
  }
  if (!info_) {
    info_ = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    info_->setObjectName(QStringLiteral("mouseWarning"));
    info_->setWindowTitle(QStringLiteral("Info"));
    info_->setAttribute(Qt::WA_ShowWithoutActivating);
    info_->setFixedSize(200, 100);
    for (const auto& [text, y] : {std::pair{firstLine_, 30}, std::pair{secondLine_, 50}}) {
      auto* label = new QLabel(text, info_);
      label->move(10, y - label->fontMetrics().ascent());
      label->adjustSize();
    }
  }
  if (info_->isVisible()) return;
  // Centred on the operator's screen.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    info_->move(screen->geometry().center() - QPoint(100, 50));
  }
  info_->show();
}

}  // namespace psalmora
