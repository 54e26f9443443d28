// The psalmora program: command line, Qt application object, then the application core's start-up.
#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <optional>

#include "app/application.h"
#include "core/data_folder.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "core/ui/ui_resources.h"
#include "platform/quit_signals.h"
#include "render/ui/pdf_export.h"

namespace {

struct CommandLine {
  psalmora::StartOptions options;
  int exitStatus = -1;  // >= 0: end at once with this status (version, help, wrong usage)
  std::optional<psalmora::PdfExportJob> pdf;  // --print-pdf: write the songs' sheets and end, no window
};

// Parsed before the QApplication exists, so "--version" and "--help" work without a display.
CommandLine ParseCommandLine(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Psalmora: song database and projector for church music teams"));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
  const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version."));
  const QCommandLineOption programDir(QStringLiteral("program-dir"),
                                      QStringLiteral("Use DIR as the program folder (config/, layouts/, bibel/)."),
                                      QStringLiteral("DIR"));
  const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                   QStringLiteral("Use DIR as the data folder instead of the stored one."),
                                   QStringLiteral("DIR"));
  const QCommandLineOption printPdf(QStringLiteral("print-pdf"),
                                    QStringLiteral("Write the song sheets of the song IDs into OUT.pdf and end."),
                                    QStringLiteral("OUT.pdf"));
  const QCommandLineOption layout(QStringLiteral("layout"),
                                  QStringLiteral("Print layout for --print-pdf (default: the setting \"format\")."),
                                  QStringLiteral("KEY"));
  const QCommandLineOption stagePort(QStringLiteral("stage-port"),
                                     QStringLiteral("Serve the stage view and phone remote on PORT for this run."),
                                     QStringLiteral("PORT"));
  parser.addOptions({help, version, programDir, dataDir, printPdf, layout, stagePort});
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("Export files (.exp) and CCLI song files (.usr) to import; with "
                                              "--print-pdf the song ids."),
                               QStringLiteral("[FILE...|ID...]"));

  CommandLine result;
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, "psalmora: %s\n", qPrintable(parser.errorText()));
    result.exitStatus = 2;
  } else if (parser.isSet(help)) {
    // Without an application object Qt does not know the program's name yet.
    std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("psalmora"))),
               stdout);
    result.exitStatus = 0;
  } else if (parser.isSet(version)) {
    std::printf("Psalmora %s (%s)\n", psalmora::VersionText(PSALMORA_VERSION_DIGITS).c_str(), PSALMORA_VERSION_DATE);
    result.exitStatus = 0;
  } else if (parser.isSet(printPdf)) {
    if (parser.positionalArguments().isEmpty()) {
      std::fprintf(stderr, "psalmora: --print-pdf needs song ids\n");
      result.exitStatus = 1;
    }
    psalmora::PdfExportJob job;
    job.output = parser.value(printPdf).toStdString();
    job.layoutKey = psalmora::ToCp1252(parser.value(layout));
    for (const QString& id : parser.positionalArguments()) job.songIds.push_back(psalmora::ToCp1252(id));
    result.pdf = std::move(job);
  } else {
    // Export and CCLI song files, as the desktop passes them on a double-click.
    for (const QString& file : parser.positionalArguments()) {
      result.options.openFiles << QFileInfo(file).absoluteFilePath();
    }
  }
  if (parser.isSet(programDir)) result.options.programDir = parser.value(programDir).toStdString();
  if (parser.isSet(dataDir)) result.options.dataDir = parser.value(dataDir).toStdString();
  if (parser.isSet(stagePort) && result.exitStatus < 0) {
    bool number = false;
    const int port = parser.value(stagePort).toInt(&number);
    if (!number || port < 1 || port > 65535) {
      std::fprintf(stderr, "psalmora: --stage-port needs a port number from 1 to 65535\n");
      result.exitStatus = 2;
    }
    result.options.stagePort = port;
  }
  return result;
}

// For bench/startup_time.sh: once the event loop takes its first turn after the start-up (main window
// shown, lists filled), print the wall clock in nanoseconds and end the run normally.
void ReportStartupWhenAsked(psalmora::Application& application) {
  if (!qEnvironmentVariableIsSet("PSALMORA_STARTUP_PROBE")) return;
  QTimer::singleShot(0, &application, [&application] {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("startup-shown %lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
    application.RequestQuit();
  });
}

// --print-pdf: a one-shot job without a window, so it neither needs a display nor hands over to (or is
// refused by) a running program.
int PrintPdf(int argc, char* argv[], psalmora::PdfExportJob job, const psalmora::StartOptions& options) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The engine's start-up report would bury the one line that says how the job ended.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  job.programDir = options.programDir;
  job.dataDir = options.dataDir;
  const std::string error = psalmora::ExportSongsToPdf(job);
  if (error.empty()) return 0;
  std::fprintf(stderr, "psalmora: %s\n", error.c_str());
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  CommandLine commandLine = ParseCommandLine(argc, argv);
  if (commandLine.exitStatus >= 0) return commandLine.exitStatus;
  if (commandLine.pdf) return PrintPdf(argc, argv, *commandLine.pdf, commandLine.options);

  // Qt WebEngine shares OpenGL contexts with the video widgets; this must precede the QApplication.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Psalmora"));
  // Ties the windows to the installed desktop entry (its icon and name on Wayland and in task bars).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.psalmora.Psalmora"));
  // Quitting is the application object's decision (main window closed, "beenden", SIGTERM).
  QApplication::setQuitOnLastWindowClosed(false);
  psalmora::InitUiResources();

  psalmora::QtMessages messages;
  psalmora::Application application(std::move(commandLine.options), messages);
  psalmora::QuitSignals quitSignals;
  QObject::connect(&quitSignals, &psalmora::QuitSignals::quitRequested, &application,
                   &psalmora::Application::QuitFromSignal);
  ReportStartupWhenAsked(application);
  return application.Run();
}
