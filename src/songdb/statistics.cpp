// Years come from the time value by the civil calendar alone: the value already is local time counted
// as if it were UTC, so no time zone is applied again.
#include "songdb/statistics.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

// Days since 1970-01-01 to the proleptic Gregorian year (H. Hinnant's civil_from_days).
long long YearFromDays(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthIndex = (5 * dayOfYear + 2) / 153;
  return yearOfEra + era * 400 + (monthIndex >= 10 ? 1 : 0);
}

// Song fields come from other teams and data pools: a text a spreadsheet would take for a formula
// ("=HYPERLINK(...)", "+1", "@SUM") gets a leading apostrophe, so it is shown, never run.
std::string CsvField(std::string_view cp1252) {
  std::string text = Cp1252ToUtf8(cp1252);
  if (!text.empty() && std::string_view("=+-@\t").find(text.front()) != std::string_view::npos) text.insert(0, "'");
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

StatisticsFile ReadStatisticsLines(const std::filesystem::path& file) {
  StatisticsFile result;
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return result;
  const std::optional<std::string> text = ReadWholeFile(file);
  if (!text) {
    result.error = "cannot read " + file.string();
    return result;
  }
  for (std::string& line : SplitLines(*text)) {
    if (!line.empty()) result.lines.push_back(std::move(line));
  }
  return result;
}

std::string StatisticsYear(std::string_view line) {
  const long long seconds = LeadingNumber(RecordField(line, 2));
  long long days = seconds / 86400;
  if (seconds % 86400 < 0) --days;
  const long long year = YearFromDays(days);
  char text[24];
  std::snprintf(text, sizeof text, "%04lld", year);
  return text;
}

std::vector<std::string> StatisticsYears(const std::vector<std::string>& lines) {
  std::vector<std::string> years;
  std::string previous;
  for (const std::string& line : lines) {
    std::string year = StatisticsYear(line);
    if (year != previous) years.push_back(year);
    previous = std::move(year);
  }
  return years;
}

std::vector<StatisticsRow> FilterStatistics(const std::vector<std::string>& lines,
                                            const std::optional<std::string>& year, const SongStore& songs) {
  std::vector<std::string_view> working;
  working.reserve(lines.size());
  for (const std::string& line : lines) {
    if (!year || StatisticsYear(line) == *year) working.emplace_back(line);
  }
  std::sort(working.begin(), working.end());

  std::vector<StatisticsRow> rows;
  for (std::size_t start = 0; start < working.size();) {
    const std::string_view id = RecordField(working[start], 1);
    std::size_t end = start + 1;
    while (end < working.size() && RecordField(working[end], 1) == id) ++end;
    if (songs.FindSongPosition(id)) {
      StatisticsRow row;
      row.id = std::string(id);
      row.record = songs.FindSongRecord(id);
      row.title = std::string(RecordField(row.record, 3));
      row.count = static_cast<int>(end - start);
      rows.push_back(std::move(row));
    }
    start = end;
  }
  return rows;
}

std::vector<StatisticsRow> LicenceReportOrder(std::vector<StatisticsRow> rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const StatisticsRow& a, const StatisticsRow& b) {
    if (a.count != b.count) return a.count > b.count;
    const long long idA = LeadingNumber(a.id);
    const long long idB = LeadingNumber(b.id);
    return idA != idB ? idA < idB : a.id < b.id;
  });
  return rows;
}

std::string LicenceReportCsv(const std::vector<StatisticsRow>& rows) {
  std::string csv = "\xEF\xBB\xBF";
  csv += "ID,Titel,Text u. Musik,Copyright,CCLI Liednummer,Anzahl\r\n";
  for (const StatisticsRow& row : LicenceReportOrder(rows)) {
    csv += CsvField(row.id) + ',' + CsvField(row.title) + ',' + CsvField(RecordField(row.record, 7)) + ',' +
           CsvField(RecordField(row.record, 8)) + ',' + CsvField(RecordField(row.record, 11)) + ',' +
           std::to_string(row.count) + "\r\n";
  }
  return csv;
}

WriteResult SaveLicenceReport(const std::filesystem::path& file, const std::vector<StatisticsRow>& rows) {
  return WriteFileAtomically(file, LicenceReportCsv(rows));
}

}  // namespace psalmora
