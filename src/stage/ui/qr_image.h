// A QR code of a text (the stage address) as an image a phone's camera reads off the screen.
#pragma once

#include <QImage>
#include <QString>

namespace psalmora {

// Black modules on white with the four-module quiet zone the standard asks for; moduleSize pixels per
// module. A null image when the text cannot be encoded.
QImage QrImage(const QString& text, int moduleSize = 6);

}  // namespace psalmora
