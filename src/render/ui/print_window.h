// "Lieder ausdrucken": the chosen songs rendered one after the other through a print layout into
// "drucken.htm", shown in a web view, and from there printed on a printer or saved as PDF.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "render/layout_file.h"

class QComboBox;
class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;

namespace psalmora {

struct AppState;
class CommonDialogs;
class Messages;
class PageView;

class PrintWindow : public QWidget {
  Q_OBJECT

 public:
  // renderList: the records of the songs to print, in order. The window is a top-level window that
  // deletes itself when closed.
  PrintWindow(AppState& state, Messages& messages, CommonDialogs& dialogs, std::vector<std::string> renderList,
              QWidget* parent = nullptr);
  ~PrintWindow() override;

  // Asks for a printer before printing; false when cancelled. The default is the system print dialog.
  using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
  void SetPrinterChooser(PrinterChooser chooser) { chooser_ = std::move(chooser); }

  // Another set of songs (the print item used again while the window is open): rendered at once.
  void SetRenderList(std::vector<std::string> renderList);

  // `RenderPage` with "drucken" and the layout of the chooser.
  void RenderPrintPage();
  // "Drucken…": the printer chooser, then the page printed as the web view lays it out.
  void Print();
  // "Als PDF speichern…": the file chooser, then SaveAsPdf.
  void ChoosePdfFile();
  // Writes the page shown as PDF into file; pdfFinished follows.
  void SaveAsPdf(const QString& file);
  bool Busy() const { return busy_; }

  QComboBox* LayoutChooser() const { return layoutChooser_; }
  PageView* View() const { return view_; }
  QPushButton* PrintButton() const { return printButton_; }
  QPushButton* PdfButton() const { return pdfButton_; }
  QProgressBar* Progress() const { return progress_; }

 signals:
  // A page was rendered and handed to the view (load: it is loading now; else the title page stays).
  void pageRendered(bool load);
  void printFinished(bool ok);
  void pdfFinished(const QString& file, bool ok);

 private:
  void FillLayouts();
  void BeginWork(const QString& text);
  void EndWork();
  void OnPrinted(bool ok);

  AppState& state_;
  Messages& messages_;
  CommonDialogs& dialogs_;
  std::vector<std::string> renderList_;
  std::vector<LayoutEntry> layouts_;
  PrinterChooser chooser_;
  std::unique_ptr<QPrinter> printer_;  // alive until the web view has printed
  bool busy_ = false;

  QComboBox* layoutChooser_ = nullptr;
  PageView* view_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* pdfButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* progressText_ = nullptr;
};

}  // namespace psalmora
