// psalmora-tool stats: the statistics window's list for all years or one, and the licence report.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace psalmora::testing {
namespace {

struct StatsSandbox : ToolSandbox {
  StatsSandbox() {
    EXPECT_EQ(RunInData({"init"}).status, 0);
    std::string songs;
    for (const auto& [id, title, authors, ccli] :
         std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"5", "F\xFCnf", "Ann, Bo", "5005"}, {"12", "Zw\xF6lf", "", "1212"}, {"40", "Vierzig", "", ""}}) {
      std::vector<std::string> fields(21);
      fields[0] = id, fields[2] = title, fields[6] = authors, fields[7] = "\xA9 Verlag", fields[10] = ccli;
      for (const std::string& field : fields) songs += field + "\t";
      songs += "\r\n";
    }
    songs += "#gel\xF6scht#\t7\t\tSieben\t\r\n";
    WriteFileBytes(dataDir() / "lieder.dat", songs);
    // 2017-06-01 and 2018-03-01, local time; 7 is in the trash, 99 purged.
    WriteFileBytes(dataDir() / "statistik.dat",
                   "5\t1496275200\r\n12\t1519862400\r\n5\t1519862400\r\n7\t1519862400\r\n99\t1519862400\r\n"
                   "40\t1519862400\r\n40\t1519862400\r\n40\t1519862400\r\n");
  }
};

TEST(ToolStats, ListsCountsAsTheWindowDoesForAllYearsOrOne) {
  StatsSandbox sandbox;
  const ToolRun all = sandbox.RunInData({"stats"});
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, "12\tZwölf\t1\n40\tVierzig\t3\n5\tFünf\t2\n");
  EXPECT_EQ(sandbox.RunInData({"stats", "2017"}).out, "5\tFünf\t1\n");
  EXPECT_EQ(sandbox.RunInData({"stats", "2019"}).out, "");
}

TEST(ToolStats, CsvIsTheLicenceReportInUtf8WithBomByCount) {
  StatsSandbox sandbox;
  const ToolRun csv = sandbox.RunInData({"stats", "--csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out,
            "\xEF\xBB\xBFID,Titel,Text u. Musik,Copyright,CCLI Liednummer,Anzahl\r\n"
            "40,Vierzig,,© Verlag,,3\r\n"
            "5,Fünf,\"Ann, Bo\",© Verlag,5005,2\r\n"
            "12,Zwölf,,© Verlag,1212,1\r\n");
  EXPECT_EQ(sandbox.RunInData({"stats", "2018", "--csv"}).out,
            "\xEF\xBB\xBFID,Titel,Text u. Musik,Copyright,CCLI Liednummer,Anzahl\r\n"
            "40,Vierzig,,© Verlag,,3\r\n"
            "5,Fünf,\"Ann, Bo\",© Verlag,5005,1\r\n"
            "12,Zwölf,,© Verlag,1212,1\r\n");
}

TEST(ToolStats, AMissingFileIsEmptyAndBadArgumentsAreRefused) {
  StatsSandbox sandbox;
  std::filesystem::remove(sandbox.dataDir() / "statistik.dat");
  const ToolRun empty = sandbox.RunInData({"stats"});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "");
  EXPECT_EQ(sandbox.RunInData({"stats", "18"}).status, 2);
  EXPECT_EQ(sandbox.RunInData({"stats", "2017", "2018"}).status, 2);
  std::filesystem::create_directories(sandbox.dataDir() / "statistik.dat");
  const ToolRun unreadable = sandbox.RunInData({"stats"});
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.err.find("statistik.dat"), std::string::npos);
}

}  // namespace
}  // namespace psalmora::testing
