// Shared pieces of psalmora-tool: the command table, the run context (program folder, data folder,
// language) and the small argument parser every command uses.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_folder_lock.h"
#include "core/language.h"
#include "core/registry_store.h"
#include "songdb/song_store.h"

namespace psalmora::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

class ToolContext;

struct Command {
  std::string_view name;
  std::string_view arguments;  // shown in the usage text after the name
  std::string_view summary;
  int (*run)(ToolContext& context, const std::vector<std::string>& arguments);
};

// Every command group registers itself here with one line in commands.cpp.
std::vector<Command> StoreCommands();
std::vector<Command> TextCommands();
std::vector<Command> SearchCommands();
std::vector<Command> CollectionCommands();
std::vector<Command> RenderCommands();
std::vector<Command> TransferCommands();
std::vector<Command> FileImportCommands();
std::vector<Command> StatsCommands();
std::vector<Command> OnlineCommands();
std::vector<Command> BibleCommands();
std::vector<Command> VideoCommands();
const std::vector<Command>& AllCommands();

// The usage text of the whole tool.
std::string UsageText();

class ToolContext {
 public:
  ToolContext(std::filesystem::path programDirOption, std::filesystem::path dataDirOption, std::ostream& out,
              std::ostream& err);

  std::ostream& out;
  std::ostream& err;

  // The program folder (--program-dir, else the program's own when writable, else the user's); the
  // shipped defaults are copied into it the first time it is asked for.
  const std::filesystem::path& ProgramFolder();
  std::filesystem::path SettingsFile();
  // The language table in the language of the settings, or languageOverride when it is 1 to 4.
  LanguageTable& Language(int languageOverride = 0);
  RegistryStore& Registry() { return registry_; }

  // The data folder from --data-dir, else from the registry. Prints the error and returns nothing when
  // none is set or, with mustExist, when the folder is missing.
  std::optional<std::filesystem::path> DataFolder(bool mustExist);
  bool DataFolderGiven() const { return !dataDirOption_.empty(); }
  // Whether a command only reads the data folder or changes it.
  enum class Access { kRead, kWrite };
  // The song store of DataFolder(true) with its song list loaded; nothing (the error printed) when there
  // is no data folder or "lieder.dat" is there but cannot be read. For writing, the data folder's lock
  // is taken first (LockForWriting).
  std::optional<SongStore> OpenSongStore(Access access = Access::kRead);
  // Takes the data folder's lock for the rest of the run, waiting a few seconds while another
  // psalmora-tool writes. When the program or a writer that does not finish holds it, the holder is
  // named on stderr and false returned. Reading commands never take it.
  bool LockForWriting(const std::filesystem::path& folder);

  // One-line error on stderr; returns kExitError.
  int Fail(std::string_view message);
  // The message and the command's usage on stderr; returns kExitUsage.
  int UsageFail(std::string_view commandName, std::string_view message);

 private:
  std::filesystem::path programDirOption_;
  std::filesystem::path dataDirOption_;
  std::filesystem::path programFolder_;
  RegistryStore registry_;
  LanguageTable language_;
  bool languageLoaded_ = false;
  std::optional<DataFolderLock> lock_;
};

// Arguments of one command: options with a value ("--title TEXT" or "--title=TEXT"), flags, positionals.
struct ParsedArguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string, std::less<>> options;
  std::vector<std::string> flags;
  std::string error;  // empty when the arguments were understood

  std::optional<std::string> Option(std::string_view name) const;
  bool Flag(std::string_view name) const;
};

ParsedArguments ParseArguments(const std::vector<std::string>& arguments, const std::vector<std::string>& valueOptions,
                               const std::vector<std::string>& flagOptions = {});

// A whole decimal number with an optional sign ("+2", "-1", "7") and nothing else around it.
std::optional<long long> WholeNumber(std::string_view text);

// A Windows-1252 text for the terminal: UTF-8, with CR line breaks turned into LF.
std::string ForTerminal(std::string_view cp1252);

}  // namespace psalmora::cli
