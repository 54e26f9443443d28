// Installs Qt's own translation catalogue for the interface language; English needs none.
#include "platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>

namespace psalmora {
namespace {

QString LanguageCode(int language) {
  switch (language) {
    case 1:
      return QStringLiteral("de");
    case 3:
      return QStringLiteral("es");
    case 4:
      return QStringLiteral("it");
    default:
      return {};
  }
}

}  // namespace

void QtTranslations::Use(int language) {
  if (translator_) {
    QCoreApplication::removeTranslator(translator_.get());
    translator_.reset();
  }
  const QString code = LanguageCode(language);
  if (code.isEmpty()) return;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return;
  QCoreApplication::installTranslator(translator.get());
  translator_ = std::move(translator);
}

}  // namespace psalmora
