// The settings of the stage view and remote, group "buehne" of "config/einstellungen.ini": switched on,
// the port the phones use, the remote's PIN.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/atomic_file.h"

namespace psalmora {

inline constexpr std::string_view kGroupStage = "buehne";
inline constexpr std::string_view kKeyStageOn = "aktiv";
inline constexpr std::string_view kKeyStagePort = "port";
inline constexpr std::string_view kKeyStagePin = "pin";
inline constexpr int kDefaultStagePort = 8760;

struct StageSettings {
  bool on = false;  // off until the user switches it on
  int port = kDefaultStagePort;
  std::string pin;  // empty: the remote lets nobody in
};

// Missing keys give the defaults; a port outside 1-65535 reads as the default.
StageSettings LoadStageSettings(const std::filesystem::path& settingsFile);
WriteResult SaveStageSettings(const std::filesystem::path& settingsFile, const StageSettings& settings);

// A PIN of four random digits, offered when the remote is switched on without one.
std::string NewStagePin();

}  // namespace psalmora
