// Message boxes behind a small interface, so the start-up and the dialogs can be driven by tests without
// a box blocking them. The real one shows QMessageBox windows that block only their parent window. Title
// and text are plain text: song titles and names reach them unchanged.
#pragma once

#include <QString>

class QWidget;

namespace psalmora {

enum class MessageIcon { Information, Warning, Error, Question };

class Messages {
 public:
  virtual ~Messages() = default;
  // A box with an OK button.
  virtual void Show(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
};

class QtMessages : public Messages {
 public:
  void Show(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace psalmora
