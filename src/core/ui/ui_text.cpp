// Translation lookups for the Qt side.
#include "core/ui/ui_text.h"

#include "core/language.h"
#include "core/text_encoding.h"
#include "core/ui/app_state.h"

namespace psalmora {

QString Tr(std::string_view key, LanguageTable& language) {
  return QString::fromStdString(language.TranslateUtf8(key));
}

QString Tr(std::string_view key, AppState& state) {
  return Tr(key, state.language);
}

QString FromCp1252(std::string_view bytes) {
  return QString::fromStdString(Cp1252ToUtf8(bytes));
}

std::string ToCp1252(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

}  // namespace psalmora
