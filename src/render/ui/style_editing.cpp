// Conversions between a layout's style specification and the font dialog's font and colour.
#include "render/ui/style_editing.h"

#include <QFontInfo>
#include <algorithm>
#include <cmath>

#include "core/record_fields.h"
#include "core/ui/ui_text.h"
#include "render/style_spec.h"

namespace psalmora {
namespace {

QColor ColourOfSpec(std::string_view rgb) {
  const int red = static_cast<int>(LeadingNumber(FieldAt(rgb, 1, ',')));
  const int green = static_cast<int>(LeadingNumber(FieldAt(rgb, 2, ',')));
  const int blue = static_cast<int>(LeadingNumber(FieldAt(rgb, 3, ',')));
  return QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
}

// A CSS family list ("Arial, Helvetica, sans-serif") as the font's families in order; the CSS generic
// names become the font-config ones.
QStringList FontFamilies(std::string_view cssFamilies) {
  QStringList families;
  for (QString family : FromCp1252(cssFamilies).split(QChar(','), Qt::SkipEmptyParts)) {
    family = family.trimmed();
    family.remove(QChar('"'));
    family.remove(QChar('\''));
    if (family == QLatin1String("sans-serif")) family = QStringLiteral("Sans Serif");
    if (family == QLatin1String("serif")) family = QStringLiteral("Serif");
    if (family == QLatin1String("monospace")) family = QStringLiteral("Monospace");
    if (!family.isEmpty()) families << family;
  }
  return families;
}

}  // namespace

FontChoice StyleFontChoice(std::string_view spec) {
  const TextStyle style = ParseStyleSpec(spec);
  FontChoice choice;
  choice.font.setFamilies(FontFamilies(style.font));
  choice.font.setItalic(style.italic == "-1");
  const long long weight = LeadingNumber(style.weight);
  choice.font.setWeight(static_cast<QFont::Weight>(std::clamp<long long>(weight > 0 ? weight : 400, 1, 1000)));
  // The stored size is the point size the dialog gave (its height × 75 / 100 at the screen's 96 dpi).
  const long long size = LeadingNumber(style.size);
  if (size > 0) choice.font.setPointSize(static_cast<int>(std::min<long long>(size, 1000)));
  choice.colour = ColourOfSpec(style.colour);
  return choice;
}

std::string StyleSpecFromChoice(std::string_view spec, const FontChoice& choice) {
  int pointSize = choice.font.pointSize();
  if (pointSize <= 0) pointSize = static_cast<int>(std::lround(QFontInfo(choice.font).pointSizeF()));
  const QColor colour = choice.colour.isValid() ? choice.colour : QColor(Qt::black);
  // The same families as the style specification names keep its text (with its fallbacks); a chosen font
  // replaces it.
  const bool sameFamilies =
      choice.font.families() == FontFamilies(PartAt(spec, 3)) ||
      (choice.font.families().isEmpty() && choice.font.family() == FontFamilies(PartAt(spec, 3)).value(0));
  const std::string family = sameFamilies ? std::string(PartAt(spec, 3)) : ToCp1252(choice.font.family());
  return EditedStyleSpec(spec, family, choice.font.italic(), choice.font.weight(), pointSize, colour.red(),
                         colour.green(), colour.blue());
}

std::optional<std::string> EditStyle(CommonDialogs& dialogs, QWidget* parent, std::string_view spec,
                                     const QString& title) {
  const std::optional<FontChoice> chosen = dialogs.ChooseFont(parent, StyleFontChoice(spec), title);
  if (!chosen) return std::nullopt;
  return StyleSpecFromChoice(spec, *chosen);
}

QColor OutlineColour(std::string_view colourText) {
  const unsigned long value = static_cast<unsigned long>(LeadingNumber(colourText)) & 0xFFFFFFul;
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

std::string OutlineColourText(const QColor& colour) {
  const long value = colour.red() | (colour.green() << 8) | (colour.blue() << 16);
  return std::to_string(value);
}

}  // namespace psalmora
