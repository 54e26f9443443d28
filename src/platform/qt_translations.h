// Qt's own texts (the buttons of message boxes, the standard file, font and colour dialogs) in the
// interface language, from the translations Qt ships.
#pragma once

#include <QTranslator>
#include <memory>

namespace psalmora {

class QtTranslations {
 public:
  // language as the setting "sprache" counts it: 1 Deutsch, 2 Englisch, 3 Spanisch, 4 Italienisch.
  // English, an unknown number or a missing translation file leave Qt's built-in English texts.
  void Use(int language);

 private:
  std::unique_ptr<QTranslator> translator_;
};

}  // namespace psalmora
