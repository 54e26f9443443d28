#include "stage/stage_settings.h"

#include <random>

#include "core/ini_file.h"

namespace psalmora {

StageSettings LoadStageSettings(const std::filesystem::path& settingsFile) {
  const IniFile ini = IniFile::Load(settingsFile);
  StageSettings settings;
  settings.on = ini.IntOr(kGroupStage, kKeyStageOn, 0) != 0;
  const int port = ini.IntOr(kGroupStage, kKeyStagePort, kDefaultStagePort);
  settings.port = port >= 1 && port <= 65535 ? port : kDefaultStagePort;
  settings.pin = ini.ValueOr(kGroupStage, kKeyStagePin, "");
  return settings;
}

WriteResult SaveStageSettings(const std::filesystem::path& settingsFile, const StageSettings& settings) {
  return WriteSettingKeys(settingsFile, {{std::string(kGroupStage), std::string(kKeyStageOn), settings.on ? "1" : "0"},
                                         {std::string(kGroupStage), std::string(kKeyStagePort), std::to_string(settings.port)},
                                         {std::string(kGroupStage), std::string(kKeyStagePin), settings.pin}});
}

std::string NewStagePin() {
  std::random_device random;
  std::string pin;
  for (int i = 0; i < 4; ++i) pin += static_cast<char>('0' + random() % 10);
  return pin;
}

}  // namespace psalmora
