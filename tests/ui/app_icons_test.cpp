// Every icon role has a bundled picture that renders, so a desktop without an icon theme still shows
// every button.
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "core/ui/app_icons.h"

namespace psalmora {

class AppIconsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyRoleHasABundledPictureThatIsNotBlank() {
    for (int role = 0; role <= static_cast<int>(IconId::SlideShow); ++role) {
      const IconId id = static_cast<IconId>(role);
      const QIcon icon = BundledIcon(id);
      QVERIFY2(!icon.isNull(), qPrintable(QString("role %1").arg(role)));
      const QImage image = icon.pixmap(QSize(24, 24)).toImage();
      QCOMPARE(image.size(), QSize(24, 24));
      int drawn = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
      }
      QVERIFY2(drawn > 20, qPrintable(QString("role %1 draws nothing").arg(role)));
      QVERIFY(!AppIcon(id).isNull());
    }
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::AppIconsTest)
#include "app_icons_test.moc"
