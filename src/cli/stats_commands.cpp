// psalmora-tool stats: the presentation counts of the statistics window, or the licence report as CSV.
#include "cli/tool.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "songdb/song_store.h"
#include "songdb/statistics.h"

namespace psalmora::cli {
namespace {

int Stats(ToolContext& context, const std::vector<std::string>& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {"--csv"});
  if (!parsed.error.empty()) return context.UsageFail("stats", parsed.error);
  if (parsed.positional.size() > 1) return context.UsageFail("stats", "stats takes at most one year");
  std::optional<std::string> year;
  if (!parsed.positional.empty()) {
    year = parsed.positional[0];
    if (year->size() != 4 || !AllDigits(*year)) return context.UsageFail("stats", "not a four-digit year: " + *year);
  }

  const std::optional<SongStore> store = context.OpenSongStore();
  if (!store) return kExitError;
  const StatisticsFile file = ReadStatisticsLines(store->Files().statistik);
  if (!file.error.empty()) return context.Fail(file.error);
  const std::vector<StatisticsRow> rows = FilterStatistics(file.lines, year, *store);
  if (parsed.Flag("--csv")) {
    context.out << LicenceReportCsv(rows);
    return kExitOk;
  }
  for (const StatisticsRow& row : rows) {
    context.out << ForTerminal(row.id) << "\t" << ForTerminal(row.title) << "\t" << row.count << "\n";
  }
  return kExitOk;
}

}  // namespace

std::vector<Command> StatsCommands() {
  return {
      {"stats", "[YEAR] [--csv]",
       "presentations per song (id, title, count) as the statistics window lists them; --csv: the licence "
       "report with authors, copyright and CCLI number, by count",
       Stats},
  };
}

}  // namespace psalmora::cli
