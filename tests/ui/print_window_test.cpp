// Printing: the song lists' item "Drucken" opens "Lieder ausdrucken" with the print layout of the
// settings, the page numbers the chosen songs and gives each its own sheet, another layout renders
// again, PDF and printer output, failures reported, and "psalmora --print-pdf".
#include <QComboBox>
#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "app/controller_wiring.h"
#include "app/main_window.h"
#include "app/song_context_menu.h"
#include "core/ui/common_dialogs.h"
#include "platform/page_view.h"
#include "render/ui/pdf_export.h"
#include "render/ui/print_controller.h"
#include "render/ui/print_window.h"
#include "song_folder_fixture.h"

namespace psalmora {
namespace {

// The print layout: number and title, then the text; each song on a sheet of its own.
const QByteArray kSheetLayout =
    "Ausdruck\r\nBlatt\r\nwhite\r\n\r\n<div "
    "style='page-break-after:always'><h2>#$count#<span>#$3#</span></h2>#$text1#</div>"
    "\r\nak|1|Arial|0|700|13|0,0,150\r\nte|1|Arial|0|400|14|0,0,0\r\nub|1|Arial|0|400|13|90,90,90\r\n"
    "ko|1|Arial|0|400|12|110,110,110\r\n";
const QByteArray kPlainLayout =
    "Schlicht\r\nohne Nummern\r\nwhite\r\n\r\n<p>#$3#</p>#$text1#\r\nak|1|Arial|0|700|16|0,0,255\r\n"
    "te|1|Arial|0|700|16|0,0,0\r\nub|1|Arial|0|400|16|255,0,0\r\nko|0|Arial|0|400|14|0,0,0\r\n";

class SaveDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  QString SaveFile(QWidget*, const QString&, const QString& start, const QString&) override {
    starts << start;
    return answer;
  }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return {}; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return {}; }
  QString answer;
  QStringList starts;
};

struct Window {
  uitest::SongFolder folder;
  uitest::RecordingMessages messages;
  SaveDialogs dialogs;
  MainWindow window{folder.state};

  Window() {
    uitest::WriteBytes(folder.temp.path() + "/programm/layouts/5.lay", kSheetLayout);
    uitest::WriteBytes(folder.temp.path() + "/programm/layouts/1.lay", kPlainLayout);
    folder.state.settings.layouts.format = "5";
    new PrintController(folder.state, window, messages, &dialogs);
    ConnectControllers(window);
  }

  PrintWindow* OpenWith(const QStringList& ids) {
    window.SetCurrentSongList(SongListId::Selection);
    uitest::SelectIds(window.SelectionSongList(), ids);
    window.ContextMenu()->Action(SongMenuCommand::Print)->trigger();
    return PrintController::Of(window)->Window();
  }
};

bool WaitLoaded(PrintWindow* print) {
  QSignalSpy loaded(print->View(), &PageView::pageLoaded);
  return loaded.wait(20000) && loaded.front().front().toBool();
}

QString PdfText(const QString& file) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
  text.waitForFinished(20000);
  return QString::fromUtf8(text.readAllStandardOutput());
}

int PdfPages(const QString& file) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {file});
  info.waitForFinished(20000);
  for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n'))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
}

// The songs' numbers and titles appear in this order.
bool ShowsInOrder(const QString& text, const QStringList& parts) {
  qsizetype from = 0;
  for (const QString& part : parts) {
    from = text.indexOf(part, from);
    if (from < 0) return false;
  }
  return true;
}

const QStringList kNumberedSongs = {QStringLiteral("1 Zion"), QStringLiteral("2 über den Wolken"),
                                    QStringLiteral("3 Ärger")};

}  // namespace

class PrintWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutChosenSongsTheTitlePageStaysAndThePrintPageIsEmpty() {
    Window w;
    w.window.SetCurrentSongList(SongListId::Selection);
    w.window.SelectionSongList()->clearSelection();
    w.window.ContextMenu()->Action(SongMenuCommand::Print)->trigger();
    PrintWindow* print = PrintController::Of(w.window)->Window();
    QVERIFY(print);
    QCOMPARE(print->windowTitle(), QStringLiteral("Lieder ausdrucken"));
    QVERIFY(print->isMaximized());
    QCOMPARE(print->LayoutChooser()->currentText(), QStringLiteral("Ausdruck"));
    QVERIFY(print->View()->PageFile().empty());
    QVERIFY(QFileInfo::exists(w.folder.data + "/drucken.htm"));
    QCOMPARE(w.folder.File("drucken.htm"), QByteArray());
    QVERIFY(!print->PrintButton()->isEnabled() && !print->PdfButton()->isEnabled());
    print->close();
  }

  void threeSongsAreNumberedEachOnItsOwnSheetInThePdf() {
    Window w;
    PrintWindow* print = w.OpenWith({"1", "2", "3"});
    QVERIFY(WaitLoaded(print));
    // No suffix typed: the file gets ".pdf"; the chooser starts in the documents folder.
    w.dialogs.answer = w.folder.temp.path() + "/lieder";
    QSignalSpy finished(print, &PrintWindow::pdfFinished);
    print->PdfButton()->click();
    QVERIFY(print->Busy());
    QVERIFY(!print->PdfButton()->isEnabled());
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.front().at(1).toBool(), true);
    QVERIFY(!print->Busy());
    QVERIFY(print->PdfButton()->isEnabled());
    QCOMPARE(w.dialogs.starts.front(),
             QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath("Lieder.pdf"));
    const QString pdf = w.folder.temp.path() + "/lieder.pdf";
    QVERIFY2(ShowsInOrder(PdfText(pdf), kNumberedSongs), qPrintable(PdfText(pdf)));
    QCOMPARE(PdfPages(pdf), 3);
    QVERIFY(w.messages.shown.empty());
    print->close();
  }

  void anotherLayoutRendersThePageAgain() {
    Window w;
    PrintWindow* print = w.OpenWith({"1", "2"});
    QVERIFY(WaitLoaded(print));
    QVERIFY(w.folder.File("drucken.htm").contains("page-break-after"));
    QSignalSpy rendered(print, &PrintWindow::pageRendered);
    print->LayoutChooser()->setCurrentIndex(print->LayoutChooser()->findText(QStringLiteral("Schlicht")));
    QCOMPARE(rendered.size(), 1);
    const QByteArray page = w.folder.File("drucken.htm");
    QVERIFY(!page.contains("page-break-after"));
    QVERIFY(page.contains("<p>Zion</p>"));
    print->close();
  }

  void aPdfThatCannotBeWrittenIsReportedAndTheWindowStaysUsable() {
    Window w;
    PrintWindow* print = w.OpenWith({"1"});
    QVERIFY(WaitLoaded(print));
    QSignalSpy finished(print, &PrintWindow::pdfFinished);
    print->SaveAsPdf(w.folder.temp.path() + "/missing/folder/x.pdf");
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.front().at(1).toBool(), false);
    QCOMPARE(w.messages.shown.size(), std::size_t(1));
    QCOMPARE(w.messages.shown.front().icon, MessageIcon::Error);
    QVERIFY(w.messages.shown.front().text.contains("x.pdf"));
    QVERIFY(print->PdfButton()->isEnabled() && print->LayoutChooser()->isEnabled());
    print->close();
  }

  void printingGoesToThePrinterChosen() {
    Window w;
    PrintWindow* print = w.OpenWith({"1", "2", "3"});
    QVERIFY(WaitLoaded(print));
    const QString file = w.folder.temp.path() + "/printer.pdf";
    int asked = 0;
    print->SetPrinterChooser([&](QPrinter& printer, QWidget*) {
      ++asked;
      if (asked == 1) return false;  // cancelled: nothing printed
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      return true;
    });
    print->PrintButton()->click();
    QVERIFY(!print->Busy());
    QSignalSpy finished(print, &PrintWindow::printFinished);
    print->PrintButton()->click();
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.front().front().toBool(), true);
    // The web view hands the printer pictures of its pages: the sheets are there, not their text.
    QCOMPARE(PdfPages(file), 3);
    print->close();
  }

  void theGuiProgramWritesThePdfWithoutAWindow() {
    uitest::SongFolder folder;
    uitest::WriteBytes(folder.temp.path() + "/programm/layouts/5.lay", kSheetLayout);
    const QString program = QCoreApplication::applicationDirPath() + "/../src/psalmora";
    QVERIFY2(QFileInfo::exists(program), "build the target psalmora first");
    const QString pdf = folder.temp.path() + "/out.pdf";
    const QStringList common = {"--program-dir", folder.temp.path() + "/programm", "--data-dir", folder.data};
    struct Case {
      QStringList arguments;
      int status;
      QString message;
    };
    const Case cases[] = {
        {QStringList{"--print-pdf", pdf, "--layout", "5", "1", "2", "3"}, 0, {}},
        {QStringList{"--print-pdf", pdf, "1", "77"}, 1, "psalmora: no song with the id 77"},
        {QStringList{"--print-pdf", pdf, "--layout", "9", "1"}, 1,
         "psalmora: no layout 9 in " + folder.temp.path() + "/programm/layouts"},
        {QStringList{"--print-pdf", pdf, "5"}, 1, "psalmora: no song with the id 5"},  // in the trash
        {QStringList{"--print-pdf", folder.temp.path() + "/fehlt/out.pdf", "1"}, 1, "does not exist"},
    };
    for (const Case& c : cases) {
      QProcess run;
      run.start(program, common + c.arguments);
      QVERIFY(run.waitForFinished(60000));
      QCOMPARE(run.exitCode(), c.status);
      const QString errors = QString::fromUtf8(run.readAllStandardError());
      if (!c.message.isEmpty()) QVERIFY2(errors.contains(c.message), qPrintable(errors));
      if (c.status != 0) QVERIFY2(errors.trimmed().endsWith(c.message), qPrintable(errors));
      if (c.status == 0) QVERIFY(ShowsInOrder(PdfText(pdf), kNumberedSongs));
    }
  }
};

}  // namespace psalmora

QTEST_MAIN(psalmora::PrintWindowTest)
#include "print_window_test.moc"
