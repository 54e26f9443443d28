#include "stage/ui/qr_image.h"

#include <qrencode.h>

#include <QPainter>

namespace psalmora {

QImage QrImage(const QString& text, int moduleSize) {
  const QByteArray bytes = text.toUtf8();
  QRcode* code = QRcode_encodeString(bytes.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
  if (!code) return {};
  constexpr int kQuiet = 4;
  const int modules = code->width + 2 * kQuiet;
  QImage image(modules * moduleSize, modules * moduleSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  for (int y = 0; y < code->width; ++y) {
    for (int x = 0; x < code->width; ++x) {
      // Bit 0 of each byte is the module's colour (1: dark); the other bits describe its role.
      if (code->data[y * code->width + x] & 1) {
        painter.fillRect((x + kQuiet) * moduleSize, (y + kQuiet) * moduleSize, moduleSize, moduleSize, Qt::black);
      }
    }
  }
  QRcode_free(code);
  return image;
}

}  // namespace psalmora
