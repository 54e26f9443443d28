// The command table of psalmora-tool. A new command group adds its file and one line here.
#include <sstream>

#include "cli/tool.h"

namespace psalmora::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> all;
    for (auto group : {StoreCommands, TextCommands, SearchCommands, CollectionCommands, RenderCommands, StatsCommands,
                       TransferCommands, FileImportCommands, OnlineCommands, BibleCommands, VideoCommands}) {
      for (const Command& command : group()) all.push_back(command);
    }
    return all;
  }();
  return commands;
}

std::string UsageText() {
  std::ostringstream text;
  text << "usage: psalmora-tool [--program-dir DIR] [--data-dir DIR] COMMAND [ARGUMENTS]\n"
       << "       psalmora-tool --help | --version\n\n"
       << "  --program-dir DIR  folder of the program's own files (config/, layouts/, bibel/)\n"
       << "  --data-dir DIR     data folder to use instead of the one remembered in the registry file\n\n"
       << "commands:\n";
  for (const Command& command : AllCommands()) {
    std::string head = std::string(command.name);
    if (!command.arguments.empty()) head += " " + std::string(command.arguments);
    text << "  " << head;
    text << std::string(head.size() < 40 ? 40 - head.size() : 1, ' ') << command.summary << "\n";
  }
  return text.str();
}

}  // namespace psalmora::cli
