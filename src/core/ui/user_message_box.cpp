// Core texts break lines with CR (or CR LF); the message box wants LF.
#include "core/ui/user_message_box.h"

#include "core/ui/ui_text.h"

namespace psalmora {
namespace {

QString BoxText(const std::string& cp1252) {
  QString text = FromCp1252(cp1252);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

MessageIcon BoxIcon(UserMessage::Icon icon) {
  switch (icon) {
    case UserMessage::Icon::Warning:
      return MessageIcon::Warning;
    case UserMessage::Icon::Error:
      return MessageIcon::Error;
    case UserMessage::Icon::Information:
      break;
  }
  return MessageIcon::Information;
}

}  // namespace

void ShowUserMessage(Messages& messages, QWidget* parent, const UserMessage& message) {
  messages.Show(parent, BoxIcon(message.icon), BoxText(message.title), BoxText(message.text));
}

}  // namespace psalmora
