// QProcess under the LibreOffice automation.
#include "platform/office_process.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace psalmora {
namespace {

QStringList Arguments(const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  return list;
}

}  // namespace

ProgramTools QtProgramTools() {
  ProgramTools tools;
  tools.find = [](std::string_view name) {
    return QStandardPaths::findExecutable(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
        .toStdString();
  };
  tools.run = [](const std::string& program, const std::vector<std::string>& arguments, int timeoutMs) {
    ProgramRun run;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QString::fromStdString(program), Arguments(arguments));
    if (!process.waitForStarted()) return run;
    run.started = true;
    if (!process.waitForFinished(timeoutMs)) {
      run.timedOut = true;
      process.kill();
      process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
      run.exitCode = process.exitCode();
    }
    run.output = process.readAllStandardOutput().toStdString();
    return run;
  };
  tools.startDetached = [](const std::string& program, const std::vector<std::string>& arguments) {
    return QProcess::startDetached(QString::fromStdString(program), Arguments(arguments));
  };
  return tools;
}

std::unique_ptr<OfficeAutomation> CreateOfficeAutomation() {
  return std::make_unique<LibreOfficeAutomation>(QtProgramTools());
}

}  // namespace psalmora
