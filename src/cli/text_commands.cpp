// psalmora-tool commands that turn values into texts: timestamp, translate.
#include "cli/tool.h"
#include "core/text_encoding.h"
#include "songdb/timestamp.h"

namespace psalmora::cli {
namespace {

int Timestamp(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return context.UsageFail("timestamp", "timestamp needs one time value");
  const std::optional<long long> seconds = WholeNumber(arguments[0]);
  if (!seconds) return context.UsageFail("timestamp", "not a whole number of seconds: " + arguments[0]);
  const std::string stamp = FormatTimestamp(*seconds);
  if (stamp.empty()) return context.Fail("time value out of range: " + arguments[0]);
  context.out << stamp << "\n";
  return kExitOk;
}

int Translate(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {"--language"});
  if (!parsed.error.empty()) return context.UsageFail("translate", parsed.error);
  if (parsed.positional.size() != 1) return context.UsageFail("translate", "translate needs one key");
  int language = 0;
  if (const std::optional<std::string> number = parsed.Option("--language")) {
    const std::optional<long long> value = WholeNumber(*number);
    if (!value || *value < kGerman || *value > kItalian) {
      return context.UsageFail("translate", "--language takes 1 (Deutsch) to 4 (Italienisch)");
    }
    language = static_cast<int>(*value);
  }
  context.out << context.Language(language).TranslateUtf8(parsed.positional[0]) << "\n";
  return kExitOk;
}

}  // namespace

std::vector<Command> TextCommands() {
  return {
      {"timestamp", "SECONDS", "the song store's time stamp text of a time value (0 = now)", Timestamp},
      {"translate", "KEY [--language N]", "the text of a translation key (language 1 to 4, else the setting)",
       Translate},
  };
}

}  // namespace psalmora::cli
