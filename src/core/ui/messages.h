// Message boxes (and the one-line text question) behind a small interface, so the start-up and the dialogs can be driven by tests without
// a box blocking them. The real one shows QMessageBox windows that block only their parent window. Title
// and text are plain text: song titles and names reach them unchanged.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace psalmora {

enum class MessageIcon { Information, Warning, Error, Question, None };

class Messages {
 public:
  virtual ~Messages() = default;
  // A box with an OK button.
  virtual void Show(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
  // One line of text with OK and Cancel; nothing when cancelled. A secret (a password) is typed hidden.
  // The base class has no dialog and always answers "cancelled", so sinks that never ask need not
  // implement it.
  virtual std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& label, bool secret);
};

class QtMessages : public Messages {
 public:
  void Show(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
  std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& label, bool secret) override;
};

}  // namespace psalmora
