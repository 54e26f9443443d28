// Song data shown in widgets is text, never markup: a title such as "<b>x</b>" or "<img src=...>" in a
// message box, or a tempo field in the preview's tempo label, is shown as typed.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <string>

#include "app/main_status_bar.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "render/ui/preview_pane.h"
#include "ui_test_support.h"

namespace psalmora {
namespace {

const QString kTitle = QStringLiteral("<b>x</b><img src='bild.png'>");

}  // namespace

class PlainTextTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { uitest::CancelDrivers(); }

  void messageBoxesShowTitlesAsTyped_data() {
    QTest::addColumn<bool>("question");
    QTest::newRow("message") << false;
    QTest::newRow("question") << true;
  }

  void messageBoxesShowTitlesAsTyped() {
    QFETCH(bool, question);
    bool seen = false;
    uitest::WhenModal<QMessageBox>([&](QMessageBox* box) {
      seen = true;
      QLabel* shown = nullptr;
      for (QLabel* label : box->findChildren<QLabel*>())
        if (label->text().contains(kTitle)) shown = label;
      QVERIFY(shown);
      QCOMPARE(shown->textFormat(), Qt::PlainText);
      box->button(question ? QMessageBox::No : QMessageBox::Ok)->click();
    });
    QtMessages messages;
    const QString text = QStringLiteral("Das Lied ") + kTitle + QStringLiteral(" ist schon in der Auswahl.");
    if (question)
      messages.AskYesNo(nullptr, QStringLiteral("Frage"), text);
    else
      messages.Show(nullptr, MessageIcon::Information, QStringLiteral("Meldung"), text);
    QVERIFY(seen);
  }

  void theTempoLabelShowsTheFieldAsTyped() {
    AppState state;
    PreviewPane pane(state);
    std::string record;
    for (int field = 1; field <= 21; ++field) record += (field == 16 ? kTitle.toStdString() : std::string()) + "\t";
    pane.SetShownRecord(record);
    QVERIFY(pane.TempoLabel()->text().contains(kTitle));
    QCOMPARE(pane.TempoLabel()->textFormat(), Qt::PlainText);

    MainStatusBar status(QStringLiteral("Psalmora"));
    QCOMPARE(status.TitleLabel()->textFormat(), Qt::PlainText);  // the title of the song on the beamer
  }
};

}  // namespace psalmora

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  psalmora::PlainTextTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "plain_text_test.moc"
