// OfficeAutomation on LibreOffice run headless: the presentation becomes a PDF in a private folder, with
// a private user profile so a LibreOffice the user has open neither blocks nor receives the job; then
// poppler's pdftotext and pdftoppm give the slides' text and pictures. How programs are found and run
// is handed in, so the GUI runs them through Qt and the command-line tool without.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/office_automation.h"

namespace psalmora {

struct ProgramRun {
  bool started = false;
  bool timedOut = false;
  int exitCode = -1;
  std::string output;  // standard output
};

struct ProgramTools {
  // The full path of a program found on PATH, or empty.
  std::function<std::string(std::string_view name)> find;
  // Runs a program to its end (killed after timeoutMs) and collects its standard output.
  std::function<ProgramRun(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs)> run;
  // Starts a program that outlives the caller; false when it could not be started.
  std::function<bool(const std::string& program, const std::vector<std::string>& arguments)> startDetached;
};

// The tools on POSIX calls alone (fork, exec, a pipe), for code without an event loop.
ProgramTools PosixProgramTools();

// The text of a PDF as pdftotext gives it (pages ended by form feeds) in the shape of an extracted
// presentation text: blanks around lines and empty lines dropped, lines joined by CR, pages by
// "#Seitenwechsel#".
std::string SlideTextFromPdfText(std::string_view pdfText);

class LibreOfficeAutomation : public OfficeAutomation {
 public:
  explicit LibreOfficeAutomation(ProgramTools tools);
  ~LibreOfficeAutomation() override;
  LibreOfficeAutomation(const LibreOfficeAutomation&) = delete;
  LibreOfficeAutomation& operator=(const LibreOfficeAutomation&) = delete;

  PresentationText ExtractPresentationText(const std::filesystem::path& presentation) override;
  SlideConversion ConvertPresentationToImages(const std::filesystem::path& presentation,
                                              const std::filesystem::path& targetFolder) override;
  OfficeStatus ShowPresentationInViewer(const std::filesystem::path& presentation, int screen) override;
  // Where the slide show's own profile lives (the default is in the user's cache folder).
  void SetShowProfileFolder(std::filesystem::path folder) { showProfile_ = std::move(folder); }

 private:
  struct Pdf {
    OfficeStatus status = OfficeStatus::kOk;
    std::filesystem::path file;
  };
  // The presentation as a PDF in a fresh folder of the work folder.
  Pdf ConvertToPdf(const std::filesystem::path& presentation);
  const std::filesystem::path& WorkFolder();

  ProgramTools tools_;
  std::filesystem::path workFolder_;  // private profile and PDFs; removed with the object
  std::filesystem::path showProfile_;
  int conversions_ = 0;
};

}  // namespace psalmora
