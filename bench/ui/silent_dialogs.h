// Message boxes and common dialogs that show nothing and answer "no": a benchmark times the work, never
// a person clicking.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"

namespace psalmora::bench {

class SilentMessages : public Messages {
 public:
  void Show(QWidget*, MessageIcon, const QString&, const QString&) override {}
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
};

class NoDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return {}; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return {}; }
};

}  // namespace psalmora::bench
