// Helpers shared by the Qt Test files: a message sink that records instead of blocking, a driver for
// modal dialogs, temporary program/data folders and small file helpers.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/ui/messages.h"

namespace psalmora::uitest {

// The search keeps a text index per data folder in the user's cache folder; the tests point that at a
// folder of their own, removed when the test program ends.
inline const bool kCacheFolderIsTemporary = [] {
  static QTemporaryDir cache;
  qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
  return true;
}();

// The language table shipped with the program (German and English filled).
inline const std::filesystem::path& LanguageFile() {
  static const std::filesystem::path file = std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr";
  return file;
}

struct RecordedMessage {
  MessageIcon icon;
  QString title;
  QString text;
};

class RecordingMessages : public Messages {
 public:
  void Show(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
    shown.push_back({icon, title, text});
  }
  bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
    shown.push_back({MessageIcon::Question, title, text});
    return answer;
  }
  // Text questions are recorded apart from the boxes (icon Question, the label as text); each takes the
  // next of textAnswers, and "cancelled" when none is left.
  std::optional<QString> AskText(QWidget*, const QString& title, const QString& label, bool secret) override {
    asked.push_back({MessageIcon::Question, title, label});
    askedSecret.push_back(secret);
    if (textAnswers.isEmpty()) return std::nullopt;
    return textAnswers.takeFirst();
  }
  bool Has(const QString& title) const {
    for (const RecordedMessage& message : shown)
      if (message.title == title) return true;
    return false;
  }
  std::vector<RecordedMessage> shown;
  bool answer = false;
  std::vector<RecordedMessage> asked;
  std::vector<bool> askedSecret;
  QStringList textAnswers;
};

// Owner of the dialog drivers that are still waiting; CancelDrivers() ends them (call it from each
// test's cleanup() so a driver never acts on the next test's dialog).
inline QObject& DriverRoot() {
  static QObject root;
  return root;
}

inline void CancelDrivers() {
  for (QObject* driver : DriverRoot().children()) delete driver;
}

// Waits (in the event loop) for a modal dialog of type T and hands it to act, once. A check that fails
// inside act returns from it early, before the step that would end the dialog: the dialog is then
// closed here, so the test reports the failure instead of hanging in the dialog's event loop.
template <typename T>
void WhenModal(std::function<void(T*)> act, int timeoutMs = 10000) {
  auto* timer = new QTimer(&DriverRoot());
  auto elapsed = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, elapsed, act, timeoutMs] {
    *elapsed += 10;
    if (T* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      QPointer<T> guarded(dialog);
      act(dialog);
      if (QTest::currentTestFailed() && guarded && guarded->isVisible()) guarded->close();
    } else if (*elapsed > timeoutMs) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start();
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

// Every item view below root that shows text somewhere in its first three columns.
inline bool AnyViewShows(QWidget* root, const QString& text) {
  for (QAbstractItemView* view : root->findChildren<QAbstractItemView*>()) {
    QAbstractItemModel* model = view->model();
    if (!model) continue;
    for (int column = 0; column < std::min(3, model->columnCount()); ++column) {
      const QModelIndex start = model->index(0, column);
      if (start.isValid() && !model->match(start, Qt::DisplayRole, text, 1, Qt::MatchExactly).isEmpty()) return true;
    }
  }
  return false;
}

}  // namespace psalmora::uitest
