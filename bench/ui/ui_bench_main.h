// The main() of the Qt benchmarks: the QApplication they need (offscreen unless a platform is set, web
// engine without sandbox), with the offscreen platform's per-window warnings kept out of the results.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <cstdio>

#include "core/ui/ui_resources.h"

namespace psalmora::bench {

inline int RunUiBenchmarks(int argc, char** argv, const QByteArray& defaultPlatform = "offscreen") {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", defaultPlatform);
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
  }
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && !message.contains(QLatin1String("propagateSizeHints"))) {
      std::fprintf(stderr, "%s\n", qPrintable(message));
    }
  });
  // Qt WebEngine shares its OpenGL context with the other users; it must be said before the application.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  InitUiResources();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace psalmora::bench
