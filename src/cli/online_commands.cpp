// psalmora-tool commands of the song-management service: login and sync.
#include <iostream>
#include <string>

#include "cli/tool.h"
#include "collections/pending_deletions.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "core/text_encoding.h"
#include "online/song_sync.h"

namespace psalmora::cli {
namespace {

// The one line of stdin, without its line end.
std::string ReadPasswordLine() {
  std::string line;
  std::getline(std::cin, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int Login(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {"--server"});
  if (!parsed.error.empty()) return context.UsageFail("login", parsed.error);
  if (parsed.positional.size() != 1) return context.UsageFail("login", "login needs exactly one e-mail address");
  const std::optional<std::filesystem::path> folder = context.DataFolder(true);
  if (!folder || !context.LockForWriting(*folder)) return kExitError;
  Settings settings = LoadSettings(context.SettingsFile(), std::string());
  if (const std::optional<std::string> server = parsed.Option("--server")) {
    settings.serveradresse = *server;
    const WriteResult written = WriteSettingKey(kGroupMisc, kKeyServerAddress, *server, context.SettingsFile());
    if (!written) return context.Fail(written.error);
  }
  const std::string email = Utf8ToCp1252(parsed.positional[0]);
  const std::string password = Utf8ToCp1252(ReadPasswordLine());
  if (email.empty() || password.empty()) return context.Fail("login needs an e-mail address and a password");
  const LoginResult login = LoginCantabox(CurlHttpGet(), settings.serveradresse, email, password);
  if (!login.ok) return context.Fail("login failed: " + ForTerminal(login.error));
  const WriteResult stored = StoreUserId({settings, context.SettingsFile()}, login.userId);
  if (!stored) return context.Fail(stored.error);
  context.out << "logged in as " << parsed.positional[0] << "\n";
  return kExitOk;
}

void PrintTitles(ToolContext& context, std::string_view what, const std::vector<std::string>& titles) {
  for (const std::string& title : titles) context.out << what << ": " << ForTerminal(title) << "\n";
}

int Sync(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {"--server"});
  if (!parsed.error.empty()) return context.UsageFail("sync", parsed.error);
  if (!parsed.positional.empty()) return context.UsageFail("sync", "sync takes no arguments");
  std::optional<SongStore> store = context.OpenSongStore(ToolContext::Access::kWrite);
  if (!store) return kExitError;
  Settings settings = LoadSettings(context.SettingsFile(), std::string());
  if (settings.useridcb.empty()) return context.Fail("not logged in; run: psalmora-tool login EMAIL");
  if (const std::optional<std::string> server = parsed.Option("--server")) settings.serveradresse = *server;
  const SyncReport report = SyncWithCantabox(*store, {settings, context.SettingsFile()}, CurlHttpGet());
  PrintTitles(context, "uploaded", report.uploaded);
  PrintTitles(context, "downloaded", report.downloaded);
  PrintTitles(context, "changed", report.changed);
  PrintTitles(context, "deleted", report.deleted);
  PrintTitles(context, "sent", report.sent);
  context.out << "songs: " << report.uploaded.size() << " uploaded, " << report.downloaded.size() << " downloaded, "
              << report.changed.size() << " changed, " << report.deleted.size() << " deleted, " << report.sent.size()
              << " sent\n"
              << "selections: " << report.selectionsUploaded << " uploaded, " << report.selectionsDownloaded
              << " downloaded, " << report.selectionsChanged << " changed, " << report.selectionsDeleted << " deleted, "
              << report.selectionsSent << " sent\n";
  if (!report.Ok()) return context.Fail("sync failed: " + ForTerminal(report.errorText));
  if (!report.problems.empty()) return context.Fail("sync incomplete: " + ForTerminal(report.problems.front()));
  return kExitOk;
}

}  // namespace

std::vector<Command> OnlineCommands() {
  return {
      {"login", "EMAIL [--server URL]",
       "log in at the song-management service (password: one line on stdin); stores the user id", Login},
      {"sync", "[--server URL]", "synchronise songs and selections with the song-management service", Sync},
  };
}

}  // namespace psalmora::cli
