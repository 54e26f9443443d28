// LibreOffice headless and poppler behind OfficeAutomation, and the POSIX way of running them.
#include "transfer/libreoffice_automation.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <system_error>

#include "core/text_encoding.h"
#include "transfer/libreoffice_show_profile.h"

namespace psalmora {
namespace {

constexpr int kConvertTimeoutMs = 180000;  // a first start builds the profile; big files take long
constexpr int kPopplerTimeoutMs = 60000;

std::vector<char*> ArgumentVector(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return argv;
}

void NullStandardFiles(bool keepOutput) {
  const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null < 0) return;
  ::dup2(null, STDIN_FILENO);
  if (!keepOutput) ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
}

std::string FindOnPath(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    if (!folder.empty()) {
      const std::string candidate = std::string(folder) + "/" + std::string(name);
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

ProgramRun RunPosix(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs) {
  ProgramRun run;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return run;
  std::vector<char*> argv = ArgumentVector(program, arguments);
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    return run;
  }
  if (pid == 0) {
    ::setpgid(0, 0);  // its own group, so a timeout ends the helpers it starts as well
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    NullStandardFiles(true);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  run.started = true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  char buffer[65536];
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      run.timedOut = true;
      ::kill(-pid, SIGKILL);
      break;
    }
    pollfd readable{pipeEnds[0], POLLIN, 0};
    const int ready = ::poll(&readable, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!run.timedOut && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (run.exitCode == 127) run.started = false;
  return run;
}

bool StartDetachedPosix(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv = ArgumentVector(program, arguments);
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    // The grandchild is adopted by init, so nobody has to wait for it.
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    NullStandardFiles(false);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::string FileUrl(const std::filesystem::path& folder) { return "file://" + folder.string(); }

}  // namespace

ProgramTools PosixProgramTools() { return {FindOnPath, RunPosix, StartDetachedPosix}; }

std::string SlideTextFromPdfText(std::string_view pdfText) {
  // pdftotext ends every page with a form feed; a text without one is one page.
  std::vector<std::string_view> pages;
  std::size_t start = 0;
  for (std::size_t feed = pdfText.find('\f'); feed != std::string_view::npos; feed = pdfText.find('\f', start)) {
    pages.push_back(pdfText.substr(start, feed - start));
    start = feed + 1;
  }
  if (start < pdfText.size() && !TrimBlanks(pdfText.substr(start)).empty()) pages.push_back(pdfText.substr(start));
  std::string out;
  for (std::size_t page = 0; page < pages.size(); ++page) {
    if (page > 0) out += "#Seitenwechsel#";
    bool firstLine = true;
    std::string_view rest = pages[page];
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      const std::string_view line = TrimBlanks(rest.substr(0, end));
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
      if (line.empty()) continue;
      if (!firstLine) out += '\r';
      out += line;
      firstLine = false;
    }
  }
  return out;
}

LibreOfficeAutomation::LibreOfficeAutomation(ProgramTools tools) : tools_(std::move(tools)) {}

LibreOfficeAutomation::~LibreOfficeAutomation() {
  if (workFolder_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(workFolder_, error);
}

const std::filesystem::path& LibreOfficeAutomation::WorkFolder() {
  if (workFolder_.empty()) {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "psalmora-office-XXXXXX").string();
    if (::mkdtemp(pattern.data())) workFolder_ = pattern;
  }
  return workFolder_;
}

LibreOfficeAutomation::Pdf LibreOfficeAutomation::ConvertToPdf(const std::filesystem::path& presentation) {
  Pdf pdf;
  const std::string soffice = tools_.find("soffice");
  if (soffice.empty()) {
    pdf.status = OfficeStatus::kNoOffice;
    return pdf;
  }
  pdf.status = OfficeStatus::kCannotRead;
  std::error_code error;
  if (!std::filesystem::is_regular_file(presentation, error) || WorkFolder().empty()) return pdf;
  const std::filesystem::path out = workFolder_ / ("pdf" + std::to_string(++conversions_));
  std::filesystem::create_directories(out, error);
  const ProgramRun run = tools_.run(
      soffice,
      {"-env:UserInstallation=" + FileUrl(workFolder_ / "profile"), "--headless", "--norestore", "--nologo",
       "--convert-to", "pdf", "--outdir", out.string(), std::filesystem::absolute(presentation, error).string()},
      kConvertTimeoutMs);
  if (!run.started) {
    pdf.status = OfficeStatus::kNoOffice;
    return pdf;
  }
  // LibreOffice says nothing through its exit code when it cannot read a file: only the PDF tells.
  for (const auto& entry : std::filesystem::directory_iterator(out, error)) {
    if (entry.path().extension() == ".pdf" && entry.file_size(error) > 0) {
      pdf.status = OfficeStatus::kOk;
      pdf.file = entry.path();
    }
  }
  return pdf;
}

PresentationText LibreOfficeAutomation::ExtractPresentationText(const std::filesystem::path& presentation) {
  PresentationText result;
  const Pdf pdf = ConvertToPdf(presentation);
  result.status = pdf.status;
  if (pdf.status != OfficeStatus::kOk) return result;
  const std::string pdftotext = tools_.find("pdftotext");
  const ProgramRun run =
      pdftotext.empty() ? ProgramRun{} : tools_.run(pdftotext, {"-enc", "UTF-8", pdf.file.string(), "-"}, kPopplerTimeoutMs);
  if (!run.started || run.exitCode != 0) {
    result.status = pdftotext.empty() ? OfficeStatus::kNoOffice : OfficeStatus::kCannotRead;
    return result;
  }
  result.text = Utf8ToCp1252(SlideTextFromPdfText(run.output));
  return result;
}

SlideConversion LibreOfficeAutomation::ConvertPresentationToImages(const std::filesystem::path& presentation,
                                                                   const std::filesystem::path& targetFolder) {
  SlideConversion result;
  const Pdf pdf = ConvertToPdf(presentation);
  result.status = pdf.status;
  if (pdf.status != OfficeStatus::kOk) return result;
  const std::string pdftoppm = tools_.find("pdftoppm");
  if (pdftoppm.empty()) {
    result.status = OfficeStatus::kNoOffice;
    return result;
  }
  const std::filesystem::path pictures = pdf.file.parent_path() / "png";
  std::error_code error;
  std::filesystem::create_directories(pictures, error);
  const ProgramRun run =
      tools_.run(pdftoppm, {"-png", "-r", "96", pdf.file.string(), (pictures / "Folie").string()}, kPopplerTimeoutMs);
  if (!run.started || run.exitCode != 0) {
    result.status = OfficeStatus::kCannotRead;
    return result;
  }
  // pdftoppm names the pages "Folie-1.png" or, with more pages, "Folie-01.png": the number decides.
  std::vector<std::pair<int, std::filesystem::path>> pages;
  for (const auto& entry : std::filesystem::directory_iterator(pictures, error)) {
    const std::string name = entry.path().stem().string();
    const std::size_t dash = name.rfind('-');
    if (dash == std::string::npos) continue;
    pages.emplace_back(std::atoi(name.c_str() + dash + 1), entry.path());
  }
  std::sort(pages.begin(), pages.end());
  std::filesystem::create_directories(targetFolder, error);
  int count = 0;
  for (const auto& [number, file] : pages) {
    const std::filesystem::path target = targetFolder / ("Folie" + std::to_string(++count) + ".PNG");
    std::filesystem::rename(file, target, error);
    if (error) std::filesystem::copy_file(file, target, std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
      result.status = OfficeStatus::kCannotRead;
      return result;
    }
  }
  for (int stale = count + 1; std::filesystem::remove(targetFolder / ("Folie" + std::to_string(stale) + ".PNG"), error);
       ++stale) {
  }
  std::filesystem::remove_all(pdf.file.parent_path(), error);
  result.slideCount = count;
  return result;
}

OfficeStatus LibreOfficeAutomation::ShowPresentationInViewer(const std::filesystem::path& presentation, int screen) {
  const std::string soffice = tools_.find("soffice");
  if (soffice.empty()) return OfficeStatus::kNoOffice;
  std::error_code error;
  if (!std::filesystem::is_regular_file(presentation, error)) return OfficeStatus::kCannotRead;
  if (showProfile_.empty()) showProfile_ = DefaultShowProfileFolder();
  // Without its profile the show would still run, only on a screen of LibreOffice's choosing.
  std::vector<std::string> arguments;
  if (PrepareShowProfile(showProfile_, screen)) arguments.push_back("-env:UserInstallation=" + FileUrl(showProfile_));
  for (const char* option : {"--norestore", "--nologo", "--show"}) arguments.emplace_back(option);
  arguments.push_back(std::filesystem::absolute(presentation, error).string());
  return tools_.startDetached(soffice, arguments) ? OfficeStatus::kOk : OfficeStatus::kCannotRead;
}

}  // namespace psalmora
