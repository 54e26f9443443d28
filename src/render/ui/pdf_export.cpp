// The export waits in local event loops: the web engine loads and prints asynchronously, and the
// one-shot program has nothing else to serve meanwhile.
#include "render/ui/pdf_export.h"

#include <QEventLoop>
#include <QMarginsF>
#include <QPageSize>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <memory>

#include "core/atomic_file.h"
#include "core/data_folder.h"
#include "core/program_folder.h"
#include "core/registry_store.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "platform/page_view.h"
#include "render/layout_file.h"
#include "render/page_file.h"
#include "render/render_page.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;

constexpr int kLoadTimeoutMs = 60000;

std::optional<fs::path> ExportDataFolder(const PdfExportJob& job, std::string& error) {
  if (!job.dataDir.empty()) return job.dataDir;
  const std::string stored = RegistryStore(RegistryStore::DefaultFile()).Read(kRegistryDataFolder);
  if (stored.empty() || stored == kRegistryErrorOpeningKey || stored == kRegistryErrorReadingKey) {
    error = "no data folder is set; pass --data-dir DIR";
    return std::nullopt;
  }
  return fs::path(stored);
}

// Runs the loop until quit or the time is up; false on timeout.
bool WaitFor(QEventLoop& loop, int timeoutMs) {
  QTimer timer;
  timer.setSingleShot(true);
  bool timedOut = false;
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    timedOut = true;
    loop.quit();
  });
  timer.start(timeoutMs);
  loop.exec();
  return !timedOut;
}

}  // namespace

QPageLayout SongSheetPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                     QPageLayout::Millimeter);
}

void WritePagePdf(QWebEnginePage* page, const QString& file, std::function<void(const QString& error)> done) {
  const fs::path path = file.toStdString();
  page->printToPdf(
      [path, done = std::move(done)](const QByteArray& pdf) {
        if (pdf.isEmpty()) {
          done(QStringLiteral("the page could not be laid out for printing"));
          return;
        }
        const WriteResult written = WriteFileAtomically(path, std::string_view(pdf.constData(), pdf.size()));
        done(written ? QString() : QString::fromStdString(written.error));
      },
      SongSheetPageLayout());
}

std::string ExportSongsToPdf(const PdfExportJob& job) {
  if (job.songIds.empty()) return "no song ids given";
  std::error_code code;
  const fs::path outputFolder = fs::absolute(job.output, code).parent_path();
  if (!fs::is_directory(outputFolder, code)) {
    return "cannot write " + job.output.string() + ": the folder " + outputFolder.string() + " does not exist";
  }
  std::string error;
  const std::optional<fs::path> dataFolder = ExportDataFolder(job, error);
  if (!dataFolder) return error;
  if (!fs::is_directory(*dataFolder, code)) return "the data folder " + dataFolder->string() + " does not exist";

  const fs::path executableFolder = RunningProgramFolder();
  const fs::path programFolder = ChooseProgramFolder(job.programDir, executableFolder);
  fs::create_directories(programFolder, code);
  InstallDefaults(FindDefaultsFolder(executableFolder), programFolder);
  const Settings settings = LoadSettings(programFolder / kSettingsFileName, std::string());
  const std::string layoutKey = job.layoutKey.empty() ? settings.layouts.format : job.layoutKey;
  const fs::path layoutFolder = programFolder / "layouts";
  const std::optional<fs::path> layoutFile = LayoutFilePath(layoutFolder, layoutKey);
  if (!layoutFile || !fs::is_regular_file(*layoutFile, code)) {
    return "no layout " + Cp1252ToUtf8(layoutKey) + " in " + layoutFolder.string();
  }

  SongStore store(DataFiles::For(*dataFolder));
  store.LoadSongList();
  if (store.SongListUnreadable()) return "cannot read " + store.Files().lieder.string();
  RenderRequest request;
  request.mode = RenderMode::kDrucken;
  request.layoutKey = layoutKey;
  for (const std::string& id : job.songIds) {
    if (!store.FindSongPosition(id)) return "no song with the id " + Cp1252ToUtf8(id);
    request.renderList.push_back(store.FindSongRecord(id));
  }

  RenderState state;
  RenderResult result;
  const std::string page = BuildPage(request, RenderFolders{*dataFolder, layoutFolder}, state, result);
  QTemporaryDir temp;
  if (!temp.isValid()) return "cannot create a temporary folder";
  const fs::path pageFile = fs::path(temp.path().toStdString()) / PageFileName(RenderMode::kDrucken);
  if (const WriteResult written = WritePageFile(pageFile, page); !written) {
    return "cannot write " + pageFile.string() + ": " + written.error;
  }

  PageView view;
  QEventLoop loading;
  bool loaded = false;
  QObject::connect(&view, &PageView::pageLoaded, &loading, [&](bool ok) {
    loaded = ok;
    loading.quit();
  });
  view.LoadPageFile(pageFile);
  if (!WaitFor(loading, kLoadTimeoutMs) || !loaded) return "the page could not be loaded";

  // Shared with the callback: on a timeout the view's end may still run it after this frame is gone.
  struct Outcome {
    QEventLoop loop;
    QString error = QStringLiteral("printing did not finish");
    bool done = false;
  };
  auto outcome = std::make_shared<Outcome>();
  WritePagePdf(view.page(), QString::fromStdString(job.output.string()), [outcome](const QString& failure) {
    if (outcome->done) return;
    outcome->done = true;
    outcome->error = failure;
    outcome->loop.quit();
  });
  WaitFor(outcome->loop, kLoadTimeoutMs);
  const QString printError = outcome->error;
  outcome->done = true;
  if (!printError.isEmpty()) return "cannot write " + job.output.string() + ": " + printError.toStdString();
  return {};
}

}  // namespace psalmora
