// Translated interface texts for Qt widgets. Keys are written in the sources as UTF-8 literals and always
// as the first argument of Tr/TrKey, so a source scan can check that the language file has every key.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "core/language.h"

namespace psalmora {

struct AppState;

// The translation of `key` (a UTF-8 literal) in the loaded language, as a QString.
QString Tr(std::string_view key, LanguageTable& language);
QString Tr(std::string_view key, AppState& state);

// UTF-8 <-> QString helpers for Windows-1252 core texts.
QString FromCp1252(std::string_view bytes);
std::string ToCp1252(const QString& text);

}  // namespace psalmora
