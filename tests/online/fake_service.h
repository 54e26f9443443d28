// A fake transport for the synchronisation tests: it records every request and answers from a
// handler per action, decoding the query as the real service does.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "online/web_access.h"

namespace psalmora::testing {

using Query = std::map<std::string, std::string>;

// "a=1&b=%26" -> {a: "1", b: "&"}; "\'" becomes "'" before the percent-decoding.
Query DecodeQuery(std::string_view url);

class FakeService {
 public:
  FakeService();
  // Answers for an action; the default: "ok|psalmora-server" for ping, "ok|g<n>" for new songs and
  // selections, "ok" for every other action, and an empty compare ("[zeile][zeile][zeile]").
  std::map<std::string, std::function<std::string(const Query&)>> handlers;
  std::vector<Query> requests;
  std::vector<std::string> urls;

  HttpGet Transport();
  std::vector<Query> Requests(std::string_view action) const;

 private:
  int next_ = 0;
};

}  // namespace psalmora::testing
