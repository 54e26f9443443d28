// QMessageBox-backed messages, always plain text; with a parent the box is window modal and hands the focus
// back to it.
#include "core/ui/messages.h"

#include <QInputDialog>
#include <QLineEdit>
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
    case MessageIcon::None:
      return QMessageBox::NoIcon;
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

namespace psalmora {

std::optional<QString> Messages::AskText(QWidget*, const QString&, const QString&, bool) {
  return std::nullopt;
}

std::optional<QString> QtMessages::AskText(QWidget* parent, const QString& title, const QString& label, bool secret) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(title);
  dialog.setLabelText(label);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextEchoMode(secret ? QLineEdit::Password : QLineEdit::Normal);
  if (parent) dialog.setWindowModality(Qt::WindowModal);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (parent) parent->activateWindow();
  if (!accepted) return std::nullopt;
  return dialog.textValue();
}

}  // namespace psalmora
