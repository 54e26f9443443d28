// `EditStyle`: the style button of a layout's text style. The font dialog starts from the style specification
// and a confirmed choice becomes the seven-field specification; also the outline colour as the layout
// file stores it (a decimal number with red in the low byte).
#pragma once

#include <QColor>
#include <optional>
#include <string>
#include <string_view>

#include "core/ui/common_dialogs.h"

namespace psalmora {

// The font and colour a specification describes: family field 3, italic field 4 ("-1"), weight field 5,
// size field 6 (points), colour field 7 ("r,g,b").
FontChoice StyleFontChoice(std::string_view spec);

// The style specification after a confirmed choice: fields 1 and 2 kept, then font, italic, weight, point size
// and colour (seven fields; a background colour is dropped).
std::string StyleSpecFromChoice(std::string_view spec, const FontChoice& choice);

// Runs the font dialog; the new specification, or nothing when it was cancelled.
std::optional<std::string> EditStyle(CommonDialogs& dialogs, QWidget* parent, std::string_view spec,
                                     const QString& title);

// Outline colour text <-> QColor (red in the low byte, green in the middle, blue in the high byte).
QColor OutlineColour(std::string_view colourText);
std::string OutlineColourText(const QColor& colour);

}  // namespace psalmora
