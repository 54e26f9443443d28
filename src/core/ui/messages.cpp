// QMessageBox-backed messages, always plain text; with a parent the box is window modal and hands the focus
// back to it.
#include "core/ui/messages.h"

#include <QMessageBox>

namespace psalmora {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

int RunBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text,
           QMessageBox::StandardButtons buttons) {
  QMessageBox box(ToQt(icon), title, text, buttons, parent);
  // Texts carry song titles, layout names and file names; a "<" in one is a character, never markup.
  box.setTextFormat(Qt::PlainText);
  if (parent) box.setWindowModality(Qt::WindowModal);
  const int answer = box.exec();
  if (parent) parent->activateWindow();
  return answer;
}

}  // namespace

void QtMessages::Show(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) {
  RunBox(parent, icon, title, text, QMessageBox::Ok);
}

bool QtMessages::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return RunBox(parent, MessageIcon::Question, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace psalmora
