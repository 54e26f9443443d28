// The presentation statistics of "statistik.dat": its lines, the years they fall in, the count per song
// for one year or all, and the licence report (one line per song with its rights and count) as CSV.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace psalmora {

class SongStore;

// `StatisticsLines`: the non-empty lines of the file, in file order. A missing file reads as empty; a
// file that is there but cannot be read gives an error and no lines.
struct StatisticsFile {
  std::vector<std::string> lines;
  std::string error;
};
StatisticsFile ReadStatisticsLines(const std::filesystem::path& file);

// The four-digit year of a line's time value (local-calendar seconds since 1970; a value that is no
// number counts as 0).
std::string StatisticsYear(std::string_view line);

// The years of the lines in file order, one entry each time the year differs from the previous line's,
// so a year that comes back after another is listed again.
std::vector<std::string> StatisticsYears(const std::vector<std::string>& lines);

struct StatisticsRow {
  std::string id;
  std::string title;  // field 3 of the song's record
  int count = 0;
  std::string record;  // the song's whole record
};

// `FilterStatistics`: the lines of year (all of them without one) sorted as plain text, one row per run
// of equal id with its length, in that order; ids that are no active song of the store (purged, in the
// trash) give no row.
std::vector<StatisticsRow> FilterStatistics(const std::vector<std::string>& lines,
                                            const std::optional<std::string>& year, const SongStore& songs);

// The licence report of the rows: ordered by count, highest first (equal counts by id as a number), with
// id, title, authors ("Text u. Musik", field 7), copyright (field 8), CCLI song number (field 11) and
// count. CSV as spreadsheets read it: UTF-8 with byte order mark, a header line, CR LF, fields quoted
// where they hold a comma, a quote or a line break.
std::vector<StatisticsRow> LicenceReportOrder(std::vector<StatisticsRow> rows);
std::string LicenceReportCsv(const std::vector<StatisticsRow>& rows);
WriteResult SaveLicenceReport(const std::filesystem::path& file, const std::vector<StatisticsRow>& rows);

}  // namespace psalmora
