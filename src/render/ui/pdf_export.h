// Song sheets as PDF: writing the page a web view shows into a PDF file, and the one-shot export of the
// GUI program's "--print-pdf" option, which renders "drucken" for given songs without a window.
#pragma once

#include <QPageLayout>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QWebEnginePage;

namespace psalmora {

// A4 portrait with 15 mm margins: the sheets of the print window and of the export.
QPageLayout SongSheetPageLayout();

// Lays out the page as the web engine prints it and writes the PDF whole (a failed or interrupted write
// leaves no half file). done runs later, on the interface thread, with an empty error on success.
void WritePagePdf(QWebEnginePage* page, const QString& file, std::function<void(const QString& error)> done);

struct PdfExportJob {
  std::filesystem::path output;
  std::filesystem::path programDir;  // empty: as the program chooses it at start
  std::filesystem::path dataDir;     // empty: the registry's data folder
  std::string layoutKey;             // empty: the setting "format"
  std::vector<std::string> songIds;  // Windows-1252
};

// Renders "drucken" for the songs, in the order given, into a temporary page (the data folder's own
// "drucken.htm" is the print window's), and writes it as PDF. Needs a QApplication. Returns an empty
// text on success, else a one-line reason.
std::string ExportSongsToPdf(const PdfExportJob& job);

}  // namespace psalmora
