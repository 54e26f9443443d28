// The programs of the office automation run through QProcess, for the window program.
#pragma once

#include <memory>

#include "transfer/libreoffice_automation.h"

namespace psalmora {

// find through QStandardPaths, run through QProcess (usable on a worker thread: it waits for the
// program without an event loop), startDetached through QProcess::startDetached.
ProgramTools QtProgramTools();

// LibreOffice behind the OfficeAutomation interface, with QtProgramTools.
std::unique_ptr<OfficeAutomation> CreateOfficeAutomation();

}  // namespace psalmora
