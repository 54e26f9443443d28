// The run context of psalmora-tool: folders, registry, language, error reporting, argument parsing.
#include <algorithm>
#include <charconv>

#include "cli/tool.h"
#include "core/atomic_file.h"
#include "core/ini_file.h"
#include "core/program_folder.h"
#include "core/settings.h"
#include "core/text_encoding.h"

namespace psalmora::cli {

ToolContext::ToolContext(std::filesystem::path programDirOption, std::filesystem::path dataDirOption,
                         std::ostream& output, std::ostream& errors)
    : out(output),
      err(errors),
      programDirOption_(std::move(programDirOption)),
      dataDirOption_(std::move(dataDirOption)),
      registry_(RegistryStore::DefaultFile()) {}

const std::filesystem::path& ToolContext::ProgramFolder() {
  if (programFolder_.empty()) {
    const std::filesystem::path executableFolder = RunningProgramFolder();
    programFolder_ = ChooseProgramFolder(programDirOption_, executableFolder);
    std::error_code error;
    std::filesystem::create_directories(programFolder_, error);
    InstallDefaults(FindDefaultsFolder(executableFolder), programFolder_);
  }
  return programFolder_;
}

std::filesystem::path ToolContext::SettingsFile() {
  return ProgramFolder() / kSettingsFileName;
}

LanguageTable& ToolContext::Language(int languageOverride) {
  if (!languageLoaded_) {
    int language = languageOverride;
    if (language < kGerman || language > kItalian) {
      language = IniFile::Load(SettingsFile()).IntOr("voreinstellung", "sprache", 0);
    }
    // Not chosen yet: the language dialog would preselect Deutsch.
    if (language < kGerman || language > kItalian) language = kGerman;
    language_.Load(ProgramFolder() / kLanguageFileName, language);
    languageLoaded_ = true;
  }
  return language_;
}

std::optional<std::filesystem::path> ToolContext::DataFolder(bool mustExist) {
  std::filesystem::path folder = dataDirOption_;
  if (folder.empty()) {
    const std::string stored = registry_.Read(kRegistryDataFolder);
    if (stored == kRegistryErrorOpeningKey || stored == kRegistryErrorReadingKey || stored.empty()) {
      Fail("no data folder is set in " + registry_.File().string() +
           "; pass --data-dir DIR, or remember one with: psalmora-tool --data-dir DIR init --remember");
      return std::nullopt;
    }
    folder = stored;
  }
  std::error_code error;
  if (mustExist && !std::filesystem::is_directory(folder, error)) {
    Fail("the data folder " + folder.string() + " does not exist; create it with: psalmora-tool --data-dir " +
         folder.string() + " init");
    return std::nullopt;
  }
  return folder;
}

std::optional<SongStore> ToolContext::OpenSongStore(Access access) {
  const std::optional<std::filesystem::path> folder = DataFolder(true);
  if (!folder) return std::nullopt;
  if (access == Access::kWrite && !LockForWriting(*folder)) return std::nullopt;
  RemoveStaleTemporaryFiles(*folder);
  SongStore store(DataFiles::For(*folder));
  store.LoadSongList();
  // Without the list no command can answer truthfully, and none may write.
  if (store.SongListUnreadable()) {
    Fail("cannot read " + store.Files().lieder.string() + "; it is left as it is");
    return std::nullopt;
  }
  return store;
}

bool ToolContext::LockForWriting(const std::filesystem::path& folder) {
  if (lock_) return true;
  // Long enough for a queue of other psalmora-tool writers, each done in a moment.
  constexpr std::chrono::seconds kWaitForAnotherTool(3);
  std::variant<DataFolderLock, LockRefusal> acquired =
      DataFolderLock::Acquire(folder, LockHolderKind::kTool, kWaitForAnotherTool);
  if (LockRefusal* refusal = std::get_if<LockRefusal>(&acquired)) {
    Fail(refusal->message);
    return false;
  }
  lock_.emplace(std::move(std::get<DataFolderLock>(acquired)));
  return true;
}

int ToolContext::Fail(std::string_view message) {
  err << "psalmora-tool: " << message << "\n";
  return kExitError;
}

int ToolContext::UsageFail(std::string_view commandName, std::string_view message) {
  err << "psalmora-tool: " << message << "\n";
  for (const Command& command : AllCommands()) {
    if (command.name == commandName) {
      err << "usage: psalmora-tool [global options] " << command.name << " " << command.arguments << "\n";
      return kExitUsage;
    }
  }
  err << UsageText();
  return kExitUsage;
}

std::optional<std::string> ParsedArguments::Option(std::string_view name) const {
  const auto found = options.find(name);
  if (found == options.end()) return std::nullopt;
  return found->second;
}

bool ParsedArguments::Flag(std::string_view name) const {
  return std::find(flags.begin(), flags.end(), name) != flags.end();
}

ParsedArguments ParseArguments(const std::vector<std::string>& arguments, const std::vector<std::string>& valueOptions,
                               const std::vector<std::string>& flagOptions) {
  ParsedArguments parsed;
  const auto known = [](const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--") {
      parsed.positional.insert(parsed.positional.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                               arguments.end());
      break;
    }
    if (argument.size() < 3 || argument.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(argument);
      continue;
    }
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (known(flagOptions, name) && equals == std::string::npos) {
      parsed.flags.push_back(name);
    } else if (!known(valueOptions, name)) {
      parsed.error = "unknown option " + name;
    } else if (equals != std::string::npos) {
      parsed.options[name] = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      parsed.options[name] = arguments[++i];
    } else {
      parsed.error = "option " + name + " needs a value";
    }
    if (!parsed.error.empty()) break;
  }
  return parsed;
}

std::optional<long long> WholeNumber(std::string_view text) {
  long long value = 0;
  const char* begin = text.data();
  const char* const end = text.data() + text.size();
  // from_chars takes a minus but no plus; an offset is often written "+2".
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) ++begin;
  if (begin == end || (plus && *begin == '-')) return std::nullopt;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string ForTerminal(std::string_view cp1252) {
  const std::string utf8 = Cp1252ToUtf8(cp1252);
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] != '\r') {
      text.push_back(utf8[i]);
    } else if (i + 1 >= utf8.size() || utf8[i + 1] != '\n') {
      text.push_back('\n');
    }
  }
  return text;
}

}  // namespace psalmora::cli
